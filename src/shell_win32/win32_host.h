// The Host of the Win32 program: questions and messages as message boxes owned by a window (a question
// that can keep its answer for the run as a task dialog with a check box), the run's reports in the report
// box, and files or a folder chosen with the system's file dialogs (no limit on a path's length or on how
// many files are chosen at once).
#pragma once

#include "platform/host.h"
#include "shell_win32/report_dialog.h"
#include "shell_win32/win32.h"

namespace granvel::win32 {

class Win32Host : public Host {
 public:
  explicit Win32Host(HWND owner = nullptr);
  void SetOwner(HWND owner) { owner_ = owner; }
  // What "Open folder" does; Explorer by default.
  void SetFolderOpener(FolderOpener open) { openFolder_ = std::move(open); }

  bool AskYesNo(const std::string& caption, const std::string& text) override;
  // Yes and No with the check box kKeepAnswerLabel; a plain question (keep false) where comctl32 has no
  // task dialog.
  bool AskYesNoForRun(const std::string& caption, const std::string& text, bool& keep) override;
  void ShowMessage(const std::string& caption, const std::string& text) override;
  void ShowReport(const MessageReport& report) override;
  bool ChooseFile(FileChoice& choice) override;

 private:
  HWND owner_;
  FolderOpener openFolder_;
};

// Where a file dialog opens for a suggested path: its folder ("C:\\dir\\" and "Z:/dir/" are folders alone,
// with the system's separators) and the file name to suggest.
struct StartPlace {
  std::wstring Folder, Name;
};
StartPlace StartPlaceOf(const std::string& initialPath);

// The folder browser of the options dialog: a folder, or empty when the user cancelled.
std::string ChooseFolder(HWND owner, const std::string& title, const std::string& start);

}  // namespace granvel::win32
