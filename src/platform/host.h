// What the core asks of the program around it: questions, messages and file choices. The desktop program
// answers with dialogs, the command line with the terminal, tests with scripted fakes.
#pragma once

#include <cstdint>
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
  bool SaveMode = false;    // a save dialog asks before overwriting and accepts a name that does not exist
  bool FolderMode = false;  // chooses one folder (Filter, MultiSelect and DefaultExt do not apply)
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

// How far a run is: files finished of the run's total, the file being converted, and within a long file
// (pages, banks) its steps done of its total; StepsTotal is 0 for a file that reports no steps.
struct RunProgress {
  int FilesDone = 0;
  int FilesTotal = 0;
  std::string CurrentFile;  // empty once the last file is finished
  std::uint64_t StepsDone = 0;
  std::uint64_t StepsTotal = 0;
  std::uint64_t FileBytes = 0;  // the current input's size, when known (0 otherwise)
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
  // How far the run is. Called by the thread that converts (a desktop's worker thread) as each file begins
  // and after each step of a long file, so often: a host shows it without waiting and may skip some.
  virtual void ShowProgress(const RunProgress& progress) { (void)progress; }
  // True once the user asked to stop the run. Asked by the converting thread before each file and between
  // the steps of a long file; a host answers from a flag that another thread (or a signal) sets.
  virtual bool CancelRequested() { return false; }
};

}  // namespace granvel
