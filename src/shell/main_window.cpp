#include "shell/main_window.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include "package/package_dialog.h"
#include "shell/options_dialog.h"
#include "shell/qt_host.h"

namespace granvel::shell {
namespace {

constexpr int kClientWidth = 280;
constexpr int kClientHeight = 160;

struct ConvertTypeItem {
  int id;
  const char* label;
};

constexpr ConvertTypeItem kSpriteSizes[] = {
    {kConvert16x16, "16x16"}, {kConvert32x16, "32x16"}, {kConvert16x32, "16x32"}, {kConvert32x32, "32x32"},
    {kConvert64x32, "64x32"}, {kConvert32x64, "32x64"}, {kConvert64x64, "64x64"},
};

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

  setWindowTitle(QStringLiteral("GRANVEL v2.00"));
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

  BuildMenus();
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  setAcceptDrops(true);
}

MainWindow::~MainWindow() = default;

void MainWindow::BuildMenus() {
  QMenu* files = menuBar()->addMenu(QStringLiteral("Files(&F)"));
  connect(files->addAction(QStringLiteral("Make ZKP package")), &QAction::triggered, this,
          &MainWindow::OpenPackageDialog);
  connect(files->addAction(QStringLiteral("File convert")), &QAction::triggered, this,
          &MainWindow::FileConvert);
  connect(files->addAction(QStringLiteral("Exit")), &QAction::triggered, this, &QWidget::close);

  QMenu* types = menuBar()->addMenu(QStringLiteral("Convert type(&T)"));
  auto addType = [this](QMenu* menu, int id, const QString& label) {
    QAction* action = menu->addAction(label);
    action->setCheckable(true);
    convertTypeActions_[id] = action;
    connect(action, &QAction::triggered, this, [this, id] { ChooseConvertType(id); });
  };
  addType(types, kConvertBgFont, QStringLiteral("BG / Font (CHR)"));
  addType(types, kConvertScreen, QStringLiteral("Screen (CHR + SCR)"));
  QMenu* sprites = types->addMenu(QStringLiteral("Sprites (CHR)"));
  for (const ConvertTypeItem& item : kSpriteSizes)
    addType(sprites, item.id, QString::fromLatin1(item.label));
  addType(types, kConvertGraphics, QStringLiteral("Graphics (GRP)"));
  addType(types, kConvertBinary, QStringLiteral("Binary data (GRP)"));
  if (QAction* current = ConvertTypeAction(settings_.ConvertType))
    current->setChecked(true);

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
}

void MainWindow::FileConvert() {
  FileChoice choice;
  choice.Title = "Choose convert files";
  choice.Filter = {{"All files", "*.*"}};
  choice.MultiSelect = true;
  choice.DefaultExt = "bmp";
  if (!host_->ChooseFile(choice))
    return;
  ConvertPaths(choice.Files);
}

void MainWindow::OpenPackageDialog() {
  // A new dialog each time, so every opening starts empty. Its boxes are its own unless a host was given.
  PackageDialog dialog(settings_, ownHost_ ? nullptr : host_, this);
  dialog.exec();
}

void MainWindow::OpenOptionsDialog() {
  OptionsDialog dialog(settings_, IniPath(settings_.ToolDir), this);
  dialog.exec();
}

BatchResult MainWindow::ConvertPaths(const std::vector<std::string>& paths) {
  lastFailures_.clear();
  lastNotes_.clear();
  if (ownHost_)
    ownHost_->SetNextMessageDetails({});
  return ConvertFileList(paths, settings_, *host_,
                         [this](const std::string& path, bool ok, const ConvertReport& report) {
                           if (!ok)
                             lastFailures_.push_back({path, report.Reason});
                           for (const std::string& note : report.Notes)
                             lastNotes_.push_back(path + ": note: " + note);
                           if (!ownHost_)
                             return;
                           // Failures first, then what converted files changed or dropped.
                           std::string details = FailureDetails(lastFailures_);
                           for (const std::string& line : lastNotes_)
                             details += (details.empty() ? "" : "\n") + line;
                           ownHost_->SetNextMessageDetails(details);
                         });
}

void MainWindow::ConvertPathsWhenShown(const QStringList& paths) {
  std::vector<std::string> absolute;
  for (const QString& path : paths)
    absolute.push_back(QFileInfo(path).absoluteFilePath().toStdString());
  if (absolute.empty())
    return;
  QTimer::singleShot(0, this, [this, absolute] { ConvertPaths(absolute); });
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

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (!LocalFilesOf(event->mimeData()).empty())
    event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event) {
  const std::vector<std::string> paths = LocalFilesOf(event->mimeData());
  if (paths.empty())
    return;
  event->acceptProposedAction();
  // The drop is finished first; the run and its summary box follow from the event loop.
  QTimer::singleShot(0, this, [this, paths] { ConvertPaths(paths); });
}

std::string FailureDetails(const std::vector<MainWindow::FailedFile>& failures) {
  std::string details;
  for (const MainWindow::FailedFile& failure : failures) {
    if (!details.empty())
      details += "\n";
    // Some reasons name their file already; the path is not repeated then.
    if (failure.Reason.rfind(failure.Path + ": ", 0) == 0)
      details += failure.Reason;
    else
      details += failure.Path + ": " + (failure.Reason.empty() ? "no reason given" : failure.Reason);
  }
  return details;
}

}  // namespace granvel::shell
