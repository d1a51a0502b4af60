// The main window "GRANVEL vX.YY" (the version): class "MainWindow", a 280 x 160 black client area under the
// menu
// ("Files(&F)", "Convert type(&T)" with its moving check mark, "Options(&O)"), files dropped on it or
// chosen with "File convert" converted in one run that ends with the "Finished" box, and files handed
// over by a second copy.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "batch/dispatch.h"
#include "convert/settings.h"
#include "shell_win32/win32_host.h"

namespace granvel::win32 {

class MainWindow {
 public:
  // Settings from GRANVEL.ini in `toolDir`. Questions, messages and file dialogs go to `host`, or to the
  // window's own boxes when null.
  explicit MainWindow(const std::string& toolDir, Host* host = nullptr);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Registers the class, makes the window with its client area 280 x 160 (at 96 dots per inch), centres
  // and shows it. False when Windows refused either.
  bool Create(int showCommand);
  HWND Window() const { return window_; }
  // Closing the window ends the thread's message loop (the program's; tests keep theirs).
  void SetQuitOnClose(bool quit) { quitOnClose_ = quit; }

  ConvertSettings& Settings() { return settings_; }
  // Converts `paths` as one run, ending with the "Finished" box.
  BatchResult ConvertPaths(const std::vector<std::string>& paths);
  // Converts `paths` once the messages waiting now are handled (after the window is shown).
  void ConvertLater(std::vector<std::string> paths);

  // The text in the black area.
  std::wstring Hint() const;

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void FillConvertTypeMenu();
  void ChooseConvertType(int commandId);
  void Command(int id);
  void Dropped(HDROP drop);
  void Paint();
  void SizeClientArea();

  ConvertSettings settings_;
  std::unique_ptr<Win32Host> ownHost_;
  Host* host_;
  HWND window_ = nullptr;
  HFONT hintFont_ = nullptr;
  bool quitOnClose_ = true;
  std::vector<std::vector<std::string>> pending_;  // runs waiting for ConvertLater's message
  std::string browseFolder_;                       // where the package dialog's next file dialog opens
};

}  // namespace granvel::win32
