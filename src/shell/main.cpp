// granvel: the desktop program. One copy runs at a time; paths given as arguments (as a file manager's
// "Open with" passes them) are converted like a drop once the window is shown. A copy started while another
// runs hands its paths to the running copy, which comes to the front, and leaves.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "granvel_version.h"
#include "shell/main_window.h"
#include "shell/single_instance.h"

namespace {

constexpr int kExitUsage = 2;

constexpr const char* kUsage =
    "Usage: granvel [FILE]...\n"
    "Opens the GRANVEL window and converts each FILE as a drop on it does (BMP images, texts, .zkp files;\n"
    "a folder converts the files under it).\n"
    "When GRANVEL is running already, the files go to that window instead.\n"
    "\n"
    "  --help     print this and exit\n"
    "  --version  print the version and exit\n"
    "  --         every argument after it is a file\n"
    "\n"
    "granvel-cli converts on the command line, without a window.\n";

// Qt would use X11 or Wayland, and neither names a display.
bool NoDisplayNamed() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (!platform.isEmpty() && !platform.startsWith("xcb") && !platform.startsWith("wayland"))
    return false;
  return qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// While the application starts, Qt's messages are held back: when no display can be opened it ends the
// process, and then one line says why instead; otherwise they are printed as usual.
QByteArray heldMessages;
QString platformMessage;  // the first word of the platform plugin, which says why it failed

void HoldStartupMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (platformMessage.isEmpty() && context.category && std::strncmp(context.category, "qt.qpa", 6) == 0)
    platformMessage = message.section(QLatin1Char('\n'), 0, 0);
  if (type != QtFatalMsg) {
    heldMessages += message.toLocal8Bit() + '\n';
    return;
  }
  const QString reason =
      platformMessage.isEmpty() ? message.section(QLatin1Char('\n'), 0, 0) : platformMessage;
  std::fprintf(stderr, "granvel: cannot open a window: %s\n", qPrintable(reason));
  std::_Exit(kExitUsage);
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("granvel %s\n", GRANVEL_VERSION);
      return 0;
    }
  }
  if (NoDisplayNamed()) {
    std::fputs(
        "granvel: no display to open a window on ($DISPLAY and $WAYLAND_DISPLAY are empty); "
        "granvel-cli converts without one\n",
        stderr);
    return kExitUsage;
  }

  qInstallMessageHandler(HoldStartupMessage);
  QApplication app(argc, argv);
  qInstallMessageHandler(nullptr);
  std::fputs(heldMessages.constData(), stderr);

  QStringList paths;
  bool options = true;
  for (const QString& argument : QApplication::arguments().mid(1)) {
    if (options && argument == QStringLiteral("--")) {
      options = false;
    } else if (options && argument.startsWith(QLatin1Char('-'))) {
      std::fprintf(stderr, "granvel: unknown option %s (--help lists them)\n", qPrintable(argument));
      return kExitUsage;
    } else {
      paths << QFileInfo(argument).absoluteFilePath();
    }
  }

  // The lock and the channel live in the user's private runtime folder; without one this copy runs alone.
  QString reason;
  const QString folder = granvel::shell::SingleInstance::PrivateFolder(&reason);
  if (folder.isEmpty())
    std::fprintf(stderr, "granvel: %s; running without handing files to another copy\n",
                 qUtf8Printable(reason));
  granvel::shell::SingleInstance instance(folder);
  if (!instance.IsFirst()) {
    instance.HandOver(paths);  // with no paths, the running copy just comes to the front
    return 0;
  }

  granvel::shell::MainWindow window(QDir::currentPath().toStdString());
  instance.Listen([&window](const QStringList& handedOver) {
    window.BringToFront();
    window.ConvertPathsWhenShown(handedOver);
  });
  window.show();
  window.CentreOnScreen();
  window.ConvertPathsWhenShown(paths);
  app.exec();
  return 0;
}
