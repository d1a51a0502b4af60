// What the core asks of the program around it: questions, messages and file choices. The desktop program
// answers with dialogs, the command line with the terminal, tests with scripted fakes.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace granvel {

// The request and result of a file dialog.
struct FileChoice {
  std::string Title;
  // Pairs of label and pattern, such as {"ZKP package", "*.zkp"}.
  std::vector<std::pair<std::string, std::string>> Filter;
  bool MultiSelect = false;
  bool SaveMode = false;  // a save dialog asks before overwriting and accepts a name that does not exist
  std::string DefaultExt;
  std::string InitialPath;  // the folder the dialog opens in, with a file name to suggest; may be empty
  std::vector<std::string> Files;  // the result: full paths
};

// A message with the lines behind it: a window shows `Details` on request ("Show Details...") and offers to
// open `Folder` when it names one.
struct MessageReport {
  std::string Caption;
  std::string Text;
  std::string Details;  // one line per item; empty: none
  std::string Folder;   // a folder the files of the report went to; empty: none
};

inline constexpr const char* kKeepAnswerLabel = "Use this answer for the rest of this run";

class Host {
 public:
  virtual ~Host() = default;
  // A question with Yes and No buttons; true for Yes.
  virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
  // A message with an OK button.
  virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
  // A file dialog; true when the user confirmed a choice, with `choice.Files` filled.
  virtual bool ChooseFile(FileChoice& choice) = 0;
  // AskYesNo with a check box kKeepAnswerLabel under the question; `keep` says whether it was ticked. A
  // host without one asks plainly and keeps nothing.
  virtual bool AskYesNoForRun(const std::string& caption, const std::string& text, bool& keep) {
    keep = false;
    return AskYesNo(caption, text);
  }
  // A message with details. A host that shows no details shows the caption and text alone.
  virtual void ShowReport(const MessageReport& report) { ShowMessage(report.Caption, report.Text); }
};

}  // namespace granvel
