// The package dialog opened from the main window and driven through its real controls, with the file choices
// scripted through a test Host and the images made in a temporary folder.
#include "shell/package_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <algorithm>

#include "gui/gui_support.h"
#include "shell/main_window.h"
#include "shell/report_box.h"
#include "support/bmp_writer.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel::shell {
namespace {

constexpr int kUpperBgu0 = 4096;
constexpr int kUpperCol0 = 7168;

// A 16-colour grey image of width x height whose pixel (x, y) is f(x, y).
void WriteImage(const std::string& path, int width, int height, std::function<int(int, int)> f) {
  test::BmpLayout layout = test::Layout(width, height, 4, test::GreyPalette(16));
  for (std::size_t i = 0; i < layout.pixels.size(); ++i)
    layout.pixels[i] = static_cast<std::uint8_t>(f(static_cast<int>(i) % width, static_cast<int>(i) / width));
  test::WriteBytes(path, test::MakeBmp(layout));
}

// The dialog fits a 1280x720 screen with room for a title bar, and every slot row lies inside it on its page.
void FitsTheScreen(PackageDialog& dialog) {
  QVERIFY(dialog.width() <= 1280 && dialog.height() <= 720 - 40);
  for (const SlotInfo& slot : PackageSlots()) {
    const PackageDialog::SlotRow& row = dialog.Row(slot.SlotId);
    for (int page = 0; page < dialog.Pages()->count(); ++page) {
      if (dialog.Pages()->widget(page)->isAncestorOf(row.Check))
        dialog.Pages()->setCurrentIndex(page);
    }
    QWidget* last = row.PartList ? static_cast<QWidget*>(row.PartList) : row.Browse;
    const QRect area(row.Check->mapTo(&dialog, QPoint(0, 0)),
                     last->mapTo(&dialog, QPoint(last->width(), last->height())));
    QVERIFY2(row.Check->isVisible() && dialog.rect().contains(area), slot.Label);
  }
  test::SaveScreenshot(&dialog, QStringLiteral("package_dialog_down_screen"), true);
  dialog.Pages()->setCurrentIndex(0);
}

// Browses the upper BGU0 slot to an image, picks its second part, adds the image's palette as COL0, names the
// package, is asked before "Cancel" forgets the slots, and makes it.
void FillAndMake(PackageDialog& dialog, const test::TempDir& dir, const test::FakeHost& host) {
  FitsTheScreen(dialog);
  const PackageDialog::SlotRow& bgu0 = dialog.Row(kUpperBgu0);
  QVERIFY(test::Click(bgu0.Browse));  // tiles.bmp
  QVERIFY(bgu0.Check->isChecked() && bgu0.Path->isEnabled() &&
          bgu0.Path->text().toStdString() == dir / "tiles.bmp");
  QCOMPARE(bgu0.PartList->count(), 4);
  bgu0.PartList->setFocus();
  QTest::keyClick(bgu0.PartList, Qt::Key_Down);
  QCOMPARE(bgu0.PartList->currentText(), QStringLiteral("2 of 4"));
  QVERIFY(test::Click(dialog.Row(kUpperCol0).Browse));  // tiles.bmp again
  dialog.NameField()->setFocus();
  QTest::keyClicks(dialog.NameField(), "demo");
  QVERIFY(test::Click(dialog.CancelButton()));  // asked, and the answer is No
  QVERIFY(dialog.isVisible() && host.questions.size() == 1);
  QCOMPARE(dialog.windowTitle(), QString::fromUtf8("ZKPパッケージの作成"));
  test::SaveScreenshot(&dialog, QStringLiteral("package_dialog"), true);
  QVERIFY(test::Click(dialog.MakeButton()));  // saved as out.txt
  QCOMPARE(dialog.NameField()->text(), QStringLiteral("DEMO"));
  QCOMPARE(host.asked.back().InitialPath, dir / "DEMO.zkp");
}

}  // namespace

class PackageDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void browsedSlotsAreBuiltIntoThePackageFile() {
    QVERIFY(!QFontDatabase::families(QFontDatabase::Japanese).isEmpty());  // for the title's screenshot
    test::TempDir dir;
    // Rows 64 to 127 of tiles.bmp are colour 1: with AutoTrim (no INI file) the image is cut into 256x64
    // blocks, so its part 2 is all colour 1.
    WriteImage(dir / "tiles.bmp", 256, 256, [](int, int y) { return y / 64; });
    test::FakeHost host;
    host.choices = {{dir / "tiles.bmp"}, {dir / "tiles.bmp"}, {dir / "out.txt"}};
    MainWindow window(dir.Path(), &host);
    bool shown = false;
    test::WhenModalShows([&](QWidget* modal) {
      auto* dialog = qobject_cast<PackageDialog*>(modal);
      QVERIFY(dialog);
      shown = true;
      FillAndMake(*dialog, dir, host);
      if (dialog->isVisible())
        dialog->reject();  // a failed check must not leave the test waiting
    });
    test::FindByText<QAction>(&window, "Make ZKP package")->trigger();
    QVERIFY(shown);
    QVERIFY(!QApplication::activeModalWidget());
    QCOMPARE(host.messages.back().text, "Conpleted..\nwrote " + dir / "out.zkp");

    // Head 32, BGU0 8204 and COL0 524 bytes: a payload of 8760, a file of 36 + 8752.
    const std::vector<std::uint8_t> file = test::ReadBytes(dir / "out.zkp");
    QCOMPARE(file.size(), std::size_t{8788});
    // The stored payload starts at 36: the name at 12, the mask's low word at 52, the first tag at 60.
    QCOMPARE(std::string(file.begin() + 12, file.begin() + 16), std::string("DEMO"));
    QCOMPARE(file[52] | file[53] << 8 | file[54] << 16 | file[55] << 24, 0x2100);  // bits 8 (BGU0), 13 (COL0)
    QCOMPARE(std::string(file.begin() + 60, file.begin() + 72), std::string("QAVN0100RCHR"));
    QVERIFY(
        std::all_of(file.begin() + 72, file.begin() + 72 + 8192, [](std::uint8_t b) { return b == 0x11; }));
  }

  // The program's own file dialogs: a slot's lists every kind it takes first and opens where the last one
  // ended; "Completed.." names the package and offers its folder.
  void fileDialogsStartInTheLastFolderAndCompletedOffersTheFolder() {
    test::TempDir dir;
    WriteImage(dir / "tiles.bmp", 256, 256, [](int, int y) { return y / 64; });
    MainWindow window(dir.Path());
    QStringList seen;  // each file dialog's title, selected filter and folder
    QString completed, folder;
    const auto choose = [&](const std::string& file) {
      test::WhenModalShows(
          [&seen, file](QWidget* modal) {
            auto* files = qobject_cast<QFileDialog*>(modal);
            seen << files->windowTitle() + " | " + files->selectedNameFilter() + " | " +
                        files->directory().absolutePath();
            files->selectFile(QString::fromStdString(file));
            static_cast<QDialog*>(files)->accept();  // as the dialog's own button does
          },
          &QFileDialog::staticMetaObject);
    };
    test::WhenModalShows(
        [&](QWidget* modal) {
          auto* dialog = qobject_cast<PackageDialog*>(modal);
          choose(dir / "tiles.bmp");
          QVERIFY(test::Click(dialog->Row(kUpperBgu0).Browse));
          choose(dir / "tiles.bmp");
          QVERIFY(test::Click(dialog->Row(kUpperCol0).Browse));
          choose(dir / "out.zkp");
          test::WhenModalShows(
              [&](QWidget* box) {
                auto* report = qobject_cast<ReportBox*>(box);
                completed = report->Text();
                test::SaveScreenshot(report, QStringLiteral("package_completed_box"), true);
                folder = report->OpenFolderButton()->isVisible() ? report->Folder() : QString();
                report->OkButton()->click();
              },
              &ReportBox::staticMetaObject);
          QVERIFY(test::Click(dialog->MakeButton()));
          if (dialog->isVisible())
            dialog->reject();
        },
        &PackageDialog::staticMetaObject);
    test::FindByText<QAction>(&window, "Make ZKP package")->trigger();
    const QString in = QString::fromStdString(dir.Path());
    QCOMPARE(seen.mid(1),
             QStringList({"Choose a file for COL0 | All accepted files (*.bmp *.png *.zkp) | " + in,
                          "Choose save path | ZKP package (*.zkp) | " + in}));
    QVERIFY(seen[0].startsWith(
        QStringLiteral("Choose a file for BGU0 | All accepted files (*.bmp *.png *.zkp) | ")));
    QCOMPARE(completed, QString::fromStdString("Conpleted..\nwrote " + dir / "out.zkp"));
    QCOMPARE(folder, in + "/");
    QVERIFY(test::Exists(dir / "out.zkp"));
  }
};

}  // namespace granvel::shell

QTEST_MAIN(granvel::shell::PackageDialogTest)
#include "package_dialog_test.moc"
