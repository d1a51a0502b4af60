// The main window: a fixed 280x160 black client area under the menu bar. The "File convert" command, files
// dropped on the window and paths from the command line each run one batch that ends with the "Finished"
// box; the "Convert type" menu decides what a BMP image becomes.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "batch/dispatch.h"
#include "convert/settings.h"
#include "platform/host.h"

class QAction;

namespace granvel::shell {

class QtHost;

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

  // One failed file of the last run and why it failed.
  struct FailedFile {
    std::string Path;
    std::string Reason;
  };
  const std::vector<FailedFile>& LastFailures() const { return lastFailures_; }

  // Converts `paths` in order, as a drop does, and shows the summary.
  BatchResult ConvertPaths(const std::vector<std::string>& paths);
  // Converts the paths once the event loop runs (paths given on the command line).
  void ConvertPathsWhenShown(const QStringList& paths);
  // Moves the window to the centre of the primary screen.
  void CentreOnScreen();

 public slots:
  void FileConvert();
  void OpenPackageDialog();
  void OpenOptionsDialog();

 protected:
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void ChooseConvertType(int commandId);

  ConvertSettings settings_;
  std::unique_ptr<QtHost> ownHost_;
  Host* host_;
  std::map<int, QAction*> convertTypeActions_;
  std::vector<FailedFile> lastFailures_;
  std::vector<std::string> lastNotes_;  // "path: note: ..." for each note of the last run
};

// The details section of the summary box: one line per failed file, "path: reason".
std::string FailureDetails(const std::vector<MainWindow::FailedFile>& failures);

}  // namespace granvel::shell
