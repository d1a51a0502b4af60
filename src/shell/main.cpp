// granvel: the desktop program. One copy runs at a time; paths given as arguments (as a file manager's
// "Open with" passes them) are converted like a drop once the window is shown.
#include <QApplication>
#include <QDir>

#include "shell/main_window.h"
#include "shell/single_instance.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  // The lock names this program by its executable, as Qt's default application name does; a lock left by a
  // copy that is no longer running is taken over.
  const granvel::shell::SingleInstance instance;
  if (!instance.IsFirst())
    return 0;  // another copy runs: leave silently

  granvel::shell::MainWindow window(QDir::currentPath().toStdString());
  window.show();
  window.CentreOnScreen();
  window.ConvertPathsWhenShown(QApplication::arguments().mid(1));
  app.exec();
  return 0;
}
