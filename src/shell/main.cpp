// granvel: the desktop program. One copy runs at a time; paths given as arguments (as a file manager's
// "Open with" passes them) are converted like a drop once the window is shown. A copy started while another
// runs hands its paths to the running copy and leaves silently.
#include <cstdio>

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include "shell/main_window.h"
#include "shell/single_instance.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QStringList paths;
  for (const QString& argument : QApplication::arguments().mid(1))
    paths << QFileInfo(argument).absoluteFilePath();

  // The lock and the channel live in the user's private runtime folder; without one this copy runs alone.
  QString reason;
  const QString folder = granvel::shell::SingleInstance::PrivateFolder(&reason);
  if (folder.isEmpty())
    std::fprintf(stderr, "granvel: %s; running without handing files to another copy\n",
                 qUtf8Printable(reason));
  granvel::shell::SingleInstance instance(folder);
  if (!instance.IsFirst()) {
    if (!paths.isEmpty())
      instance.HandOver(paths);
    return 0;
  }

  granvel::shell::MainWindow window(QDir::currentPath().toStdString());
  instance.Listen([&window](const QStringList& handedOver) {
    window.ConvertPathsWhenShown(handedOver);
    window.raise();
    window.activateWindow();
  });
  window.show();
  window.CentreOnScreen();
  window.ConvertPathsWhenShown(paths);
  app.exec();
  return 0;
}
