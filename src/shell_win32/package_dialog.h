// "ZKPパッケージの作成" bound to the core's package dialog form. Its template is made from the slot table:
// the "ZKP package" group with the name, "Cancel" and "Make" on top, and the 42 slot rows on two pages,
// "Up screen" and "Down screen", in the table's groups and columns, so that it fits a 1280 x 720 screen.
// Each row's controls have the slot's id plus 0 (check box), 1 (path), 2 ("..."), 3 (part list) and
// 4 (size list); each screen's "Fill from screen..." stands in a row under its SCR rows.
#pragma once

#include <memory>
#include <vector>

#include "forms/package_dialog_form.h"
#include "shell_win32/dialog_template.h"
#include "shell_win32/win32_host.h"

namespace granvel::win32 {

class PackageDialog {
 public:
  // Questions, messages and file dialogs go to `host`, or to message boxes owned by the dialog when null.
  PackageDialog(const ConvertSettings& settings, Host* host = nullptr, std::string* browseFolder = nullptr);
  ~PackageDialog();

  // Shows the dialog owned by `owner`; returns when it closed (after a package was written, or cancelled).
  void Run(HWND owner);
  // The same dialog without waiting (tests drive it by messages); it destroys itself when it closes.
  HWND Create(HWND owner);
  HWND Window() const { return window_; }
  const PackageDialogForm& Form() const { return *form_; }

  // The page shown: 0 "Up screen", 1 "Down screen".
  void ShowPage(int page);

  // The template: the frame and every slot row, in dialog units of `font`.
  static DialogTemplate MakeTemplate(const std::wstring& font, int pointSize);
  // The dialog's font: "ＭＳ ゴシック" where Windows has it, else the system's dialog font.
  static std::wstring FontFace(int& pointSize);

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void Init();
  void Command(int id, int code);
  void Refresh();
  void Close();

  std::unique_ptr<Win32Host> ownHost_;
  std::unique_ptr<PackageDialogForm> form_;
  HWND window_ = nullptr;
  bool modal_ = false;
  bool refreshing_ = false;
  std::vector<std::pair<HWND, int>> pageOf_;  // each slot control and group box with its page
};

}  // namespace granvel::win32
