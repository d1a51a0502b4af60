// The box that ends a run ("Finished") and carries the package builder's longer messages: the text, a
// "Show details" button that opens the list of files written, failures and notes (long lines wrap), and
// "Open folder" when the files went to one folder. One box at a time: a report that comes while it is open
// (a run started from its message loop by a second copy's hand-over) is added to it.
#pragma once

#include <functional>
#include <string>

#include "platform/host.h"
#include "shell_win32/win32.h"

namespace granvel::win32 {

// Opens a folder in the file manager; false when none could.
using FolderOpener = std::function<bool(const std::string& folder)>;

class ReportDialog {
 public:
  // Shows `report` owned by `owner` and returns when the user closed it; while a box is open, adds the
  // report to it and returns at once.
  static void Show(HWND owner, const MessageReport& report, const FolderOpener& openFolder);
  // A new box without waiting for it: the caller drives it and closes it with DestroyWindow.
  static HWND Create(HWND owner, const MessageReport& report, const FolderOpener& openFolder);
  // Adds `report` to the open box: its text after a blank line, its details after the others, its folder
  // when the box had none. False when no box is open.
  static bool AddToOpen(const MessageReport& report);
};

}  // namespace granvel::win32
