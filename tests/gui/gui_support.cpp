#include "gui/gui_support.h"

#include <QtTest>
#include <QtWidgets>

namespace granvel::test {

void SaveScreenshot(QWidget* widget, const QString& name, bool titleBar) {
  const QPixmap body = widget->grab();
  const int bar = titleBar ? widget->fontMetrics().height() + 14 : 0;
  QPixmap shot(body.width(), body.height() + bar);
  shot.fill(QColor(0x33, 0x5c, 0x99));
  QPainter painter(&shot);
  painter.setPen(Qt::white);
  painter.setFont(widget->font());
  painter.drawText(QRect(10, 0, body.width() - 20, bar), Qt::AlignVCenter, widget->windowTitle());
  painter.drawPixmap(0, bar, body);
  painter.end();
  QDir().mkpath(QStringLiteral(GRANVEL_SCREENSHOT_DIR));
  shot.save(QStringLiteral(GRANVEL_SCREENSHOT_DIR "/") + name + QStringLiteral(".png"));
}

bool Click(QAbstractButton* button) {
  const bool before = button->isChecked();
  QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(8, button->height() / 2));
  return !button->isCheckable() || button->isChecked() != before;
}

void WhenModalShows(std::function<void(QWidget*)> handle, const QMetaObject* type) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, handle, type] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || (type && !modal->metaObject()->inherits(type)))
      return;
    timer->stop();
    timer->deleteLater();
    const QPointer<QWidget> box = modal;
    handle(modal);
    if (box && box->isVisible())  // a failed check returned early: end the test rather than wait
      box->close();
  });
  timer->start();
}

}  // namespace granvel::test
