// The desktop program's Host: its boxes and file dialog, answered from a timer.
#include "shell/qt_host.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "gui/gui_support.h"
#include "support/temp_dir.h"

namespace granvel::shell {

class QtHostTest : public QObject {
  Q_OBJECT

 private slots:
  void paletteQuestionIsAYesNoBoxOwnedByTheWindow() {
    const std::string text =
        "/pics/Hero.bmp\nThis image was type of 1bit ( 2 colors ) BMP image.\nNow, It is uses the palette "
        "number 1.\nDo you make use of the palette number 15?";
    QWidget owner;
    QtHost host(&owner);
    for (const bool yes : {true, false}) {
      QWidget* parent = nullptr;
      test::WhenModalShows([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box);
        parent = box->parentWidget();
        QCOMPARE(box->windowTitle(), QStringLiteral("Select a color palette"));
        QCOMPARE(box->text(), QString::fromStdString(text));
        QCOMPARE(box->standardButtons(), QMessageBox::Yes | QMessageBox::No);
        if (yes)
          test::SaveScreenshot(box, QStringLiteral("palette_question"));
        box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
      });
      QCOMPARE(host.AskYesNo("Select a color palette", text), yes);
      QCOMPARE(parent, &owner);
    }
  }

  void messageIsAnOkBoxWithoutIconAndDetailsOnlyWhenSet() {
    QWidget owner;
    QtHost host(&owner);
    host.SetNextMessageDetails("why");
    QString details = QStringLiteral("unset");
    auto capture = [&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box);
      QCOMPARE(box->windowTitle(), QStringLiteral("Finished"));
      QCOMPARE(box->icon(), QMessageBox::NoIcon);
      QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
      details = box->detailedText();
      box->button(QMessageBox::Ok)->click();
    };
    test::WhenModalShows(capture);
    host.ShowMessage("Finished", "text");
    QCOMPARE(details, QStringLiteral("why"));
    test::WhenModalShows(capture);
    host.ShowMessage("Finished", "text");
    QCOMPARE(details, QString());  // the details went with the first box
  }

  void chooseFileOffersEveryFileAndReturnsFullPaths() {
    test::TempDir dir;
    test::WriteText(dir / "a_mem.txt", "x");
    test::WriteText(dir / "noext", "x");
    QWidget owner;
    QtHost host(&owner);
    FileChoice choice;
    choice.Title = "Choose convert files";
    choice.Filter = {{"All files", "*.*"}};
    choice.MultiSelect = true;
    choice.DefaultExt = "bmp";
    test::WhenModalShows([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog);
      QCOMPARE(dialog->windowTitle(), QStringLiteral("Choose convert files"));
      QCOMPARE(dialog->fileMode(), QFileDialog::ExistingFiles);
      QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptOpen);
      QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("All files (*)")});
      const QString folder = QString::fromStdString(dir.Path());
      dialog->setDirectory(folder);
      auto* model = dialog->findChild<QFileSystemModel*>();
      QVERIFY(model);
      QTRY_COMPARE(model->rowCount(model->index(folder)), 2);
      // Once the folder is listed, both files are picked in the list, as with Ctrl and the mouse.
      auto* list = dialog->findChild<QListView*>(QStringLiteral("listView"));
      QVERIFY(list);
      for (const char* name : {"a_mem.txt", "noext"}) {
        const QModelIndex index = model->index(folder + QStringLiteral("/") + QLatin1String(name));
        QVERIFY(index.isValid());
        list->selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
      }
      static_cast<QDialog*>(dialog)->accept();  // as the Open button does
    });
    QVERIFY(host.ChooseFile(choice));
    std::sort(choice.Files.begin(), choice.Files.end());
    QCOMPARE(choice.Files, (std::vector<std::string>{dir / "a_mem.txt", dir / "noext"}));
  }

  void cancelledChoiceReturnsFalseAndNoFiles() {
    QWidget owner;
    QtHost host(&owner);
    FileChoice choice;
    choice.Title = "Save package";
    choice.SaveMode = true;
    choice.Files = {"left over"};
    test::WhenModalShows([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      QVERIFY(dialog);
      QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
      QVERIFY(!dialog->testOption(QFileDialog::DontConfirmOverwrite));
      dialog->reject();
    });
    QVERIFY(!host.ChooseFile(choice));
    QVERIFY(choice.Files.empty());
  }
};

}  // namespace granvel::shell

QTEST_MAIN(granvel::shell::QtHostTest)
#include "qt_host_test.moc"
