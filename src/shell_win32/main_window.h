// The main window "GRANVEL vX.YY" (the version): class "MainWindow", a 280 x 160 black client area under the
// menu ("Files(&F)", "Convert type(&T)" with its moving check mark, "Options(&O)"). Files dropped on it,
// chosen with "File convert", a folder chosen with "Convert folder" and files handed over by a second copy
// are each a run on a thread of its own, in the order they came; while one goes on, the black area shows its
// progress and "Cancel", the menus stay in use, and each run ends with the "Finished" box. "Open project..."
// makes a project file the window's own until "Close project"; "Build project" builds it as such a run.
#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "convert/settings.h"
#include "shell_win32/progress_panel.h"
#include "shell_win32/run_thread.h"
#include "shell_win32/win32_host.h"

namespace granvel::win32 {

class MainWindow {
 public:
  // Settings from GRANVEL.ini in `toolDir`. Questions, messages and file dialogs go to `host`, or to the
  // window's own boxes when null; a run's reach it on the window's thread too.
  explicit MainWindow(const std::string& toolDir, Host* host = nullptr);
  // Stops a run still going on.
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Registers the class, makes the window with its client area 280 x 160 (at 96 dots per inch), centres
  // and shows it. False when Windows refused either.
  bool Create(int showCommand);
  HWND Window() const { return window_; }
  // Closing the window ends the thread's message loop (the program's; tests keep theirs).
  void SetQuitOnClose(bool quit) { quitOnClose_ = quit; }

  // The settings of the next run (a run converts with a copy taken as it starts).
  ConvertSettings& Settings() { return settings_; }
  // Converts `paths` as one run once the runs before it have ended; at once when none goes on.
  void Convert(std::vector<std::string> paths);
  bool Running() const { return run_ && run_->Running(); }

  // The text in the black area while no run goes on: the convert type's, or the open project's.
  std::wstring Hint() const;
  // The open project's file; empty while none is open.
  const std::string& ProjectFile() const { return projectFile_; }

 private:
  static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void FillConvertTypeMenu();
  void ChooseConvertType(int commandId);
  void Command(int id);
  void ConvertChosen(FileChoice choice);
  void AddProjectCommands();
  void OpenProject();
  // Opens `file` as the window's project (empty: closes it), greys the commands that need one.
  void SetProject(std::string file);
  void Queue(RunThread::Work work);
  void Dropped(HDROP drop);
  void StartNextRun();
  void RunEnded();
  void CancelRun();
  void Paint();
  void SizeClientArea();

  ConvertSettings settings_;
  std::unique_ptr<Win32Host> ownHost_;
  Host* host_;
  HWND window_ = nullptr;
  HFONT hintFont_ = nullptr;
  bool quitOnClose_ = true;
  std::unique_ptr<RunThread> run_;
  ProgressPanel panel_;
  std::deque<RunThread::Work> queue_;  // the runs waiting for the one going on
  std::string projectFile_;
  bool closeWhenRunEnds_ = false;  // closed while a dialog of the run was open
  std::string browseFolder_;       // where the package dialog's next file dialog opens
};

}  // namespace granvel::win32
