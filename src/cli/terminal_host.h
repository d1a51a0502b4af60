// The command line's Host: questions on the terminal, messages on standard output.
#pragma once

#include <iosfwd>

#include "cli/progress_display.h"
#include "platform/host.h"

namespace granvel::cli {

class TerminalHost : public Host {
 public:
  // `interactive`: standard input is a terminal, so questions may be asked there.
  TerminalHost(std::istream& in, std::ostream& out, std::ostream& err, bool interactive);

  bool AskYesNo(const std::string& caption, const std::string& text) override;
  void ShowMessage(const std::string& caption, const std::string& text) override;
  bool ChooseFile(FileChoice& choice) override;
  // The run's progress goes to `display` when one is given; Ctrl+C (once CatchInterrupts was called) asks
  // the run to stop.
  void SetProgressDisplay(ProgressDisplay* display) { display_ = display; }
  void ShowProgress(const RunProgress& progress) override;
  bool CancelRequested() override;

 private:
  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  bool interactive_;
  ProgressDisplay* display_ = nullptr;
};

}  // namespace granvel::cli
