#include "cli/terminal_host.h"

#include <istream>
#include <ostream>
#include <string>

#include "encode/image/bmp.h"
#include "platform/console.h"

namespace granvel::cli {

TerminalHost::TerminalHost(std::istream& in, std::ostream& out, std::ostream& err, bool interactive)
    : in_(in), out_(out), err_(err), interactive_(interactive) {}

bool TerminalHost::AskYesNo(const std::string& caption, const std::string& text) {
  if (display_)
    display_->Clear();
  if (!interactive_) {
    err_ << "note: " << caption << ": \"" << text << "\" answered No (standard input is not a terminal)";
    // The one question a conversion asks has a setting that answers it for good.
    if (caption == kPaletteQuestionCaption)
      err_ << "; PAL_Fix_1bit=0 or 1 answers it without asking";
    err_ << "\n";
    return false;
  }
  for (;;) {
    out_ << caption << ": " << text << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(in_, answer)) {
      out_ << "\n";
      return false;
    }
    if (answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes")
      return true;
    if (answer.empty() || answer == "n" || answer == "N" || answer == "no" || answer == "No")
      return false;
  }
}

void TerminalHost::ShowMessage(const std::string& caption, const std::string& text) {
  if (display_)
    display_->Clear();
  (void)caption;  // the caption of a message box; on the terminal the text speaks for itself
  out_ << text << "\n";
}

void TerminalHost::ShowProgress(const RunProgress& progress) {
  if (display_)
    display_->Show(progress);
}

bool TerminalHost::CancelRequested() {
  return InterruptRequested();
}

bool TerminalHost::ChooseFile(FileChoice& choice) {
  err_ << "note: " << (choice.Title.empty() ? std::string("a file choice") : choice.Title)
       << " cannot be shown on the command line; give the path as an argument\n";
  return false;
}

}  // namespace granvel::cli
