// The box that ends a run ("Finished") and carries the package builder's longer messages: the text, a
// "Show details" button that opens the list of files written, failures and notes, and "Open folder" when
// the files went to one folder.
#pragma once

#include <functional>
#include <string>

#include "platform/host.h"
#include "shell_win32/win32.h"

namespace granvel::win32 {

using FolderOpener = std::function<void(const std::string& folder)>;

class ReportDialog {
 public:
  // Shows `report` owned by `owner` and returns when the user closed it.
  static void Show(HWND owner, const MessageReport& report, const FolderOpener& openFolder);
  // The same box without waiting for it: the caller drives it and closes it with DestroyWindow.
  static HWND Create(HWND owner, const MessageReport& report, const FolderOpener& openFolder);
};

}  // namespace granvel::win32
