#include "gui/gui_support.h"

#include <QApplication>
#include <QDir>
#include <QTest>
#include <QTimer>

namespace granvel::test {

void SaveScreenshot(QWidget* widget, const QString& name) {
  const QDir dir(QStringLiteral(GRANVEL_SCREENSHOT_DIR));
  dir.mkpath(QStringLiteral("."));
  widget->grab().save(dir.filePath(name + QStringLiteral(".png")));
}

bool Click(QAbstractButton* button) {
  const bool before = button->isChecked();
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(8, button->height() / 2));
  return !button->isCheckable() || button->isChecked() != before;
}

QAction* FindAction(QWidget* root, const QString& text) {
  for (QAction* action : root->findChildren<QAction*>()) {
    if (action->text() == text)
      return action;
  }
  return nullptr;
}

QStringList ActionTexts(const QList<QAction*>& actions) {
  QStringList texts;
  for (const QAction* action : actions) {
    if (!action->isSeparator())
      texts << action->text();
  }
  return texts;
}

void WhenModalShows(std::function<void(QWidget*)> handle) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, handle] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
      return;
    timer->stop();
    timer->deleteLater();
    handle(modal);
  });
  timer->start();
}

}  // namespace granvel::test
