// Every text of every dialog fits its control at the dialog's font: no label, button or group title is cut.
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTabWidget>
#include <QTest>

#include "encode/image/bmp.h"
#include "gui/gui_support.h"
#include "shell/options_dialog.h"
#include "shell/package_dialog.h"
#include "shell/qt_host.h"
#include "shell/report_box.h"
#include "support/temp_dir.h"

namespace granvel::shell {
namespace {

// The width the text of `widget` needs with the style's margins around it; 0 for a label that wraps.
int NeededWidth(QWidget* widget) {
  QStyle* style = widget->style();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    QStyleOptionGroupBox option;
    option.initFrom(group);
    option.text = group->title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    option.textAlignment = group->alignment();
    // The style sets the title in from the left; as much room is due on the right.
    const QRect title = style->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, group);
    return 2 * title.left() + group->fontMetrics().horizontalAdvance(group->title());
  }
  if (auto* push = qobject_cast<QPushButton*>(widget)) {
    // The text within the style's frame: a push button's size hint is at least a minimum width whatever
    // its text, and a narrow "..." would never pass.
    QStyleOptionButton option;
    option.initFrom(push);
    option.text = push->text();
    if (push->autoDefault() || push->isDefault())
      option.features |= QStyleOptionButton::AutoDefaultButton;
    const QRect contents = style->subElementRect(QStyle::SE_PushButtonContents, &option, push);
    return push->width() - contents.width() + push->fontMetrics().horizontalAdvance(push->text());
  }
  if (auto* label = qobject_cast<QLabel*>(widget))
    return label->wordWrap() ? 0 : label->sizeHint().width();
  return widget->sizeHint().width();  // check boxes and radio buttons: indicator, spacing and text
}

// Each visible text of `dialog` that does not fit, as "text: needed > width".
QStringList TooNarrow(QWidget* dialog) {
  QStringList narrow;
  QList<QWidget*> widgets;
  for (auto* w : dialog->findChildren<QAbstractButton*>())
    widgets << w;
  for (auto* w : dialog->findChildren<QLabel*>())
    widgets << w;
  for (auto* w : dialog->findChildren<QGroupBox*>())
    widgets << w;
  for (QWidget* widget : widgets) {
    if (!widget->isVisible())
      continue;
    const int needed = NeededWidth(widget);
    if (needed > widget->width()) {
      const QVariant text = widget->property(qobject_cast<QGroupBox*>(widget) ? "title" : "text");
      narrow << QStringLiteral("%1: %2 > %3").arg(text.toString()).arg(needed).arg(widget->width());
    }
  }
  return narrow;
}

}  // namespace

class LabelsFitTest : public QObject {
  Q_OBJECT

 private slots:
  // At the font the tests render with, and at half as large again, as a desktop with large text has it.
  void everyTextFitsItsControl_data() {
    QTest::addColumn<qreal>("scale");
    QTest::newRow("desktop font") << 1.0;
    QTest::newRow("large font") << 1.5;
  }

  void everyTextFitsItsControl() {
    QFETCH(qreal, scale);
    const QFont original = QApplication::font();
    QFont font = original;
    font.setPointSizeF(original.pointSizeF() * scale);
    QApplication::setFont(font);
    const auto restore = qScopeGuard([&original] { QApplication::setFont(original); });
    test::TempDir dir;
    ConvertSettings settings;
    QStringList narrow;

    OptionsDialog options(settings, dir / "GRANVEL.ini");
    options.show();
    QVERIFY(QTest::qWaitForWindowExposed(&options));
    narrow << TooNarrow(&options);

    PackageDialog package(settings);
    package.show();
    QVERIFY(QTest::qWaitForWindowExposed(&package));
    for (int page = 0; page < package.Pages()->count(); ++page) {
      package.Pages()->setCurrentIndex(page);
      narrow << TooNarrow(&package);
    }

    ReportBox report({"Finished", "3 files converted\nSuccessed：2\nFailured：1",
                      dir / "b_mem.txt: no MEM$ = \" assignment with text after its quote", dir.Path() + "/"},
                     {});
    report.show();
    QVERIFY(QTest::qWaitForWindowExposed(&report));
    report.DetailsButton()->click();
    QTRY_VERIFY(report.DetailsView()->isVisible());
    narrow << TooNarrow(&report);

    // The question that can keep its answer, as the palette question asks it.
    QtHost host(&options);
    test::WhenModalShows([&narrow](QWidget* box) {
      narrow << TooNarrow(box);
      qobject_cast<QMessageBox*>(box)->button(QMessageBox::No)->click();
    });
    bool keep = false;
    host.AskYesNoForRun(kPaletteQuestionCaption, dir / "font.bmp" + kPaletteQuestionText, keep);
    QVERIFY2(narrow.isEmpty(), qPrintable(narrow.join(QStringLiteral("; "))));
  }
};

}  // namespace granvel::shell

QTEST_MAIN(granvel::shell::LabelsFitTest)
#include "labels_fit_test.moc"
