// "Option settings" (the OPTIONMENU template) bound to the core's options form: the controls show the
// form, a click changes the form and what it enables, "Done" writes the settings and saves them. Every
// control has a tooltip with the form's text for it, greyed controls too.
#pragma once

#include <functional>
#include <string>

#include "convert/settings.h"
#include "forms/options_form.h"
#include "shell_win32/win32.h"

namespace granvel::win32 {

class OptionsDialog {
 public:
  // The folder browser behind "Select": the chosen folder, or empty when cancelled.
  using FolderBrowser = std::function<std::string(HWND owner, const std::string& start)>;

  OptionsDialog(ConvertSettings& settings, std::string iniPath);
  void SetFolderBrowser(FolderBrowser browse) { browse_ = std::move(browse); }

  // Shows the dialog owned by `owner` and returns when it closed: true when "Done" wrote the settings.
  bool Run(HWND owner);
  // The same dialog without waiting (tests drive it by messages); it destroys itself when it closes.
  HWND Create(HWND owner);
  HWND Window() const { return window_; }
  bool Saved() const { return saved_; }

  // What the controls show now.
  OptionsForm Form() const;

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  void AddTooltips();
  void RelayToTooltips(WPARAM wParam, LPARAM lParam);
  void Show(const OptionsForm& form);
  void UpdateEnabled();
  bool Command(int id);
  void Close(bool done);

  ConvertSettings& settings_;
  std::string iniPath_;
  FolderBrowser browse_;
  HWND window_ = nullptr;
  HWND tooltips_ = nullptr;  // owned by the dialog, destroyed with it
  bool modal_ = false;
  bool saved_ = false;
};

}  // namespace granvel::win32
