// The main window: a fixed 280x160 black client area under the menu bar, with a small hint that files can be
// dropped there and the current convert type. The "File convert" and "Convert folder" commands, files and
// folders dropped on the window and paths from the command line each queue one run, which converts on a
// thread of its own while the black area shows its progress and a Cancel button, and ends with the
// "Finished" box. "Open project..." makes a project file the window's own until "Close project"; "Build
// project" builds it as such a run. The "Convert type" menu decides what a BMP image becomes in the runs that
// start later.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "convert/settings.h"
#include "platform/host.h"

class QAction;
class QLabel;

namespace granvel::shell {

class ProgressPanel;
class QtHost;
class RunQueue;

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // Loads the settings of `toolDir` (its GRANVEL.ini). Questions, messages and file choices go through
  // `host` when given, else through dialogs owned by this window.
  explicit MainWindow(const std::string& toolDir, Host* host = nullptr, QWidget* parent = nullptr);
  ~MainWindow() override;

  const ConvertSettings& Settings() const { return settings_; }
  // The action of a "Convert type" command id (257 to 266), or nullptr.
  QAction* ConvertTypeAction(int commandId) const;

  // The hint in the black area.
  QLabel* Hint() const { return hint_; }
  // The open project's file; empty while none is open.
  const std::string& ProjectFile() const { return projectFile_; }
  // The Files menu's "Build project" (greyed while no project is open).
  QAction* BuildProjectAction() const { return buildProject_; }
  // Replaces what the report box's "Open folder" does (tests record it), unless a host was given.
  void SetFolderOpener(std::function<bool(const QString&)> open);

  // What the black area shows while a run goes on.
  ProgressPanel* Progress() const { return progress_; }

  // Queues a run of `paths` (files, and folders for the files under them), as a drop does.
  void StartRun(const std::vector<std::string>& paths);
  // A run goes on or waits.
  bool Running() const;
  // Queues a run of the paths once the event loop runs (paths given on the command line or handed over).
  void ConvertPathsWhenShown(const QStringList& paths);
  // Moves the window to the centre of the primary screen.
  void CentreOnScreen();
  // Shows the window if it was minimised, raises it and asks for the focus (a second start does this).
  void BringToFront();

 public slots:
  void FileConvert();
  void FolderConvert();
  // "Open project...", "Build project" and "Close project".
  void OpenProject();
  void BuildCurrentProject();
  void CloseProject();
  void OpenPackageDialog();
  void OpenOptionsDialog();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // During a run: cancels it and waits for its thread before the window closes.
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  void ChooseConvertType(int commandId);
  // The hint for the convert type, or the open project's.
  void ShowHint();

  ConvertSettings settings_;
  std::unique_ptr<QtHost> ownHost_;
  Host* host_;
  std::map<int, QAction*> convertTypeActions_;
  QLabel* hint_ = nullptr;
  ProgressPanel* progress_ = nullptr;
  std::unique_ptr<RunQueue> runs_;
  std::string browseFolder_;
  std::string projectFile_;
  QAction* buildProject_ = nullptr;
  QAction* closeProject_ = nullptr;  // where the package dialog's next file dialog opens
};

}  // namespace granvel::shell
