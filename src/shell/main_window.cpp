#include "shell/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "forms/main_window_form.h"
#include "forms/project_form.h"
#include "granvel_version.h"
#include "shell/options_dialog.h"
#include "shell/package_dialog.h"
#include "shell/progress_panel.h"
#include "shell/qt_host.h"
#include "shell/run_queue.h"

namespace granvel::shell {
namespace {

constexpr int kClientWidth = 280;
constexpr int kClientHeight = 160;

std::vector<std::string> LocalFilesOf(const QMimeData* data) {
  std::vector<std::string> paths;
  if (!data || !data->hasUrls())
    return paths;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile())
      paths.push_back(url.toLocalFile().toStdString());
  }
  return paths;
}

}  // namespace

MainWindow::MainWindow(const std::string& toolDir, Host* host, QWidget* parent)
    : QMainWindow(parent), settings_(LoadSettings(toolDir)) {
  if (host) {
    host_ = host;
  } else {
    ownHost_ = std::make_unique<QtHost>(this);
    host_ = ownHost_.get();
  }

  setWindowTitle(QStringLiteral(GRANVEL_WINDOW_TITLE));
  // A title bar with the system menu, minimize and close: no maximize, no resizing.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowIcon(QIcon(QStringLiteral(":/granvel/granvel.png")));

  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("client"));
  client->setFixedSize(kClientWidth, kClientHeight);
  client->setAutoFillBackground(true);
  QPalette black = client->palette();
  black.setColor(QPalette::Window, Qt::black);
  client->setPalette(black);
  setCentralWidget(client);
  // Small light text in the middle of the black area; drops go through it to the window.
  hint_ = new QLabel(client);
  hint_->setObjectName(QStringLiteral("hint"));
  hint_->setAlignment(Qt::AlignCenter);
  hint_->setGeometry(0, 0, kClientWidth, kClientHeight);
  hint_->setAttribute(Qt::WA_TransparentForMouseEvents);
  QFont small = hint_->font();
  small.setPointSizeF(small.pointSizeF() * 0.85);
  hint_->setFont(small);
  hint_->setStyleSheet(QStringLiteral("color: #a0a0a0;"));
  // In the hint's place while a run goes on.
  progress_ = new ProgressPanel([this] { runs_->Cancel(); }, client);
  progress_->setGeometry(0, 0, kClientWidth, kClientHeight);
  progress_->hide();
  runs_ = std::make_unique<RunQueue>(
      settings_, *host_,
      RunListener{[this] {
                    progress_->Reset();
                    hint_->hide();
                    progress_->show();
                  },
                  [this](const RunProgress& progress) { progress_->Show(progress); },
                  [this](const BatchResult&) {
                    if (!runs_->Busy()) {
                      progress_->hide();
                      hint_->show();
                    }
                  }});

  BuildMenus();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  setAcceptDrops(true);
}

MainWindow::~MainWindow() {
  runs_->Stop();  // before the boxes' owner goes
}

void MainWindow::BuildMenus() {
  QMenu* files = menuBar()->addMenu(QStringLiteral("Files(&F)"));
  connect(files->addAction(QStringLiteral("Make ZKP package")), &QAction::triggered, this,
          &MainWindow::OpenPackageDialog);
  connect(files->addAction(QStringLiteral("File convert")), &QAction::triggered, this,
          &MainWindow::FileConvert);
  connect(files->addAction(QString::fromLatin1(kConvertFolderLabel)), &QAction::triggered, this,
          &MainWindow::FolderConvert);
  files->addSeparator();
  connect(files->addAction(QString::fromLatin1(kOpenProjectLabel)), &QAction::triggered, this,
          &MainWindow::OpenProject);
  buildProject_ = files->addAction(QString::fromLatin1(kBuildProjectLabel));
  connect(buildProject_, &QAction::triggered, this, &MainWindow::BuildCurrentProject);
  closeProject_ = files->addAction(QString::fromLatin1(kCloseProjectLabel));
  connect(closeProject_, &QAction::triggered, this, &MainWindow::CloseProject);
  files->addSeparator();
  connect(files->addAction(QStringLiteral("Exit")), &QAction::triggered, this, &QWidget::close);

  QMenu* types = menuBar()->addMenu(QStringLiteral("Convert type(&T)"));
  auto addType = [this](QMenu* menu, int id, const QString& label) {
    QAction* action = menu->addAction(label);
    action->setCheckable(true);
    convertTypeActions_[id] = action;
    connect(action, &QAction::triggered, this, [this, id] { ChooseConvertType(id); });
  };
  QMenu* sprites = nullptr;
  for (const ConvertTypeItem& item : ConvertTypeItems()) {
    if (item.Sprite && !sprites)
      sprites = types->addMenu(QStringLiteral("Sprites (CHR)"));
    addType(item.Sprite ? sprites : types, item.Id, QString::fromLatin1(item.Label));
  }
  if (QAction* current = ConvertTypeAction(settings_.ConvertType))
    current->setChecked(true);
  ShowHint();

  connect(menuBar()->addAction(QStringLiteral("Options(&O)")), &QAction::triggered, this,
          &MainWindow::OpenOptionsDialog);
}

QAction* MainWindow::ConvertTypeAction(int commandId) const {
  const auto found = convertTypeActions_.find(commandId);
  return found == convertTypeActions_.end() ? nullptr : found->second;
}

void MainWindow::ChooseConvertType(int commandId) {
  // One check mark (not a radio dot) moves from the current item to the chosen one.
  if (QAction* current = ConvertTypeAction(settings_.ConvertType))
    current->setChecked(false);
  SelectConvertType(settings_, commandId);
  if (QAction* chosen = ConvertTypeAction(settings_.ConvertType))
    chosen->setChecked(true);
  ShowHint();
}

void MainWindow::ShowHint() {
  hint_->setText(
      QString::fromUtf8(projectFile_.empty() ? DropHint(settings_.ConvertType) : ProjectHint(projectFile_)));
  buildProject_->setEnabled(!projectFile_.empty());
  closeProject_->setEnabled(!projectFile_.empty());
}

void MainWindow::OpenProject() {
  FileChoice choice = ProjectFileChoice();
  if (!host_->ChooseFile(choice) || choice.Files.empty())
    return;
  projectFile_ = choice.Files.front();
  ShowHint();
}

void MainWindow::BuildCurrentProject() {
  if (projectFile_.empty())
    return;
  runs_->AddWork([file = projectFile_](const ConvertSettings&, Host& host) {
    BuildProjectFile(file, GRANVEL_VERSION, host);
    return BatchResult{};
  });
}

void MainWindow::CloseProject() {
  projectFile_.clear();
  ShowHint();
}

void MainWindow::FileConvert() {
  FileChoice choice = FileConvertChoice(settings_);
  if (!host_->ChooseFile(choice))
    return;
  StartRun(choice.Files);
}

void MainWindow::FolderConvert() {
  FileChoice choice = FolderConvertChoice();
  if (!host_->ChooseFile(choice))
    return;
  StartRun(choice.Files);
}

void MainWindow::OpenPackageDialog() {
  // A new dialog each time, so every opening starts empty. Its boxes are its own unless a host was given.
  PackageDialog dialog(settings_, ownHost_ ? nullptr : host_, this, &browseFolder_);
  dialog.exec();
}

void MainWindow::OpenOptionsDialog() {
  OptionsDialog dialog(settings_, IniPath(settings_.ToolDir), this);
  dialog.exec();
}

void MainWindow::StartRun(const std::vector<std::string>& paths) {
  runs_->Add(paths);
}

bool MainWindow::Running() const {
  return runs_->Busy();
}

void MainWindow::ConvertPathsWhenShown(const QStringList& paths) {
  std::vector<std::string> absolute;
  for (const QString& path : paths)
    absolute.push_back(QFileInfo(path).absoluteFilePath().toStdString());
  if (absolute.empty())
    return;
  QTimer::singleShot(0, this, [this, absolute] { StartRun(absolute); });
}

void MainWindow::CentreOnScreen() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen)
    return;
  const QRect desktop = screen->availableGeometry();
  QRect frame = frameGeometry();
  frame.moveCenter(desktop.center());
  move(frame.topLeft());
}

void MainWindow::SetFolderOpener(std::function<bool(const QString&)> open) {
  if (ownHost_)
    ownHost_->SetFolderOpener(std::move(open));
}

void MainWindow::BringToFront() {
  setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
  show();
  raise();
  activateWindow();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFilesOf(event->mimeData()).empty())
    event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const std::vector<std::string> paths = LocalFilesOf(event->mimeData());
  if (paths.empty())
    return;
  event->acceptProposedAction();
  StartRun(paths);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (runs_->Busy())
    runs_->Stop();  // the run stops at its next check, within a moment
  QMainWindow::closeEvent(event);
}

}  // namespace granvel::shell
