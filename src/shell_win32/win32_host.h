// The Host of the Win32 program: questions and messages as message boxes owned by a window, the run's
// reports in the report box, and files chosen with the system's file dialogs (no limit on a path's length
// or on how many files are chosen at once).
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
  void ShowMessage(const std::string& caption, const std::string& text) override;
  void ShowReport(const MessageReport& report) override;
  bool ChooseFile(FileChoice& choice) override;

 private:
  HWND owner_;
  FolderOpener openFolder_;
};

// The folder browser of the options dialog: a folder, or empty when the user cancelled.
std::string ChooseFolder(HWND owner, const std::string& title, const std::string& start);

}  // namespace granvel::win32
