// The package dialog opened from the main window and driven through its real controls and the program's own
// file dialogs and boxes, with the image made in a temporary folder.
#include "shell/package_dialog.h"

#include <QtTest>
#include <QtWidgets>
#include <algorithm>
#include <filesystem>

#include "format/container.h"
#include "gui/gui_support.h"
#include "shell/main_window.h"
#include "shell/report_box.h"
#include "support/bmp_writer.h"
#include "support/temp_dir.h"

namespace granvel::shell {
namespace {

constexpr int kUpperBgu0 = 4096;
constexpr int kUpperCol0 = 7168;

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

// Answers the next file dialog with `file` once its title, selected filter and folder are as `expected` says.
void ChooseInFileDialog(const QString& expected, const std::string& file) {
  test::WhenModalShows(
      [expected, file](QWidget* modal) {
        auto* files = qobject_cast<QFileDialog*>(modal);
        QCOMPARE(files->windowTitle() + " | " + files->selectedNameFilter() + " | " +
                     files->directory().absolutePath(),
                 expected);
        files->selectFile(QString::fromStdString(file));
        static_cast<QDialog*>(files)->accept();  // as the dialog's own button does
      },
      &QFileDialog::staticMetaObject);
}

}  // namespace

class PackageDialogTest : public QObject {
  Q_OBJECT

 private slots:
  // Browses the upper BGU0 slot to an image and picks its second part, adds the image's palette as COL0,
  // fills the lower screen from a screen map, names the package, is asked before "Cancel" forgets the slots,
  // and makes it: a slot's file dialog lists every kind it takes first, the next opens where the last one
  // ended, and "Conpleted.." offers the folder.
  void aPackageIsBuiltThroughTheDialogAndItsFileDialogs() {
    QVERIFY(!QFontDatabase::families(QFontDatabase::Japanese).isEmpty());  // for the title's screenshot
    test::TempDir dir;
    std::filesystem::create_directory(dir / "img");
    const std::string tiles = dir / "img/tiles.bmp";
    // Rows 64 to 127 are colour 1: with AutoTrim (no INI file) the image is cut into 256x64 blocks, so its
    // part 2 is all colour 1.
    test::BmpLayout image = test::Layout(256, 256, 4, test::GreyPalette(16));
    for (std::size_t i = 0; i < image.pixels.size(); ++i)
      image.pixels[i] = static_cast<std::uint8_t>(i / 256 / 64);
    test::WriteBytes(tiles, test::MakeBmp(image));
    // A screen map with its bank and palette beside it, as "Screen (CHR + SCR)" writes them.
    for (const auto& [name, tag, size, type] :
         {std::tuple{"title_SCR.zkp", kTagScr, kScrPayloadSize, ResourceType::Scr},
          {"title_CHR0.zkp", kTagChr, kChrPayloadSize, ResourceType::Chr},
          {"title_COL.zkp", kTagCol, kColPayloadSize, ResourceType::Col}})
      test::WriteBytes(dir / "img/" + name, BuildZkpContainer(NewPayload(tag, size), type, "TITLE"));
    MainWindow window(dir.Path());
    const QString all = " | All accepted files (*.bmp *.png *.zkp) | ",
                  img = QString::fromStdString(dir / "img");
    test::WhenModalShows(
        [&](QWidget* modal) {
          auto* dialog = qobject_cast<PackageDialog*>(modal);
          // A failed check must not end in the question "Cancel" asks: closed without it.
          const auto end =
              qScopeGuard([dialog] { dialog->isVisible() ? dialog->done(QDialog::Rejected) : void(); });
          FitsTheScreen(*dialog);
          const PackageDialog::SlotRow& bgu0 = dialog->Row(kUpperBgu0);
          ChooseInFileDialog("Choose a file for BGU0" + all + QDir::currentPath(), tiles);
          QVERIFY(test::Click(bgu0.Browse));
          QVERIFY(bgu0.Check->isChecked() && bgu0.Path->text().toStdString() == tiles);
          QCOMPARE(bgu0.PartList->itemText(bgu0.PartList->count() - 1), QStringLiteral("4 of 4"));
          bgu0.PartList->setFocus();
          QTest::keyClick(bgu0.PartList, Qt::Key_Down);
          // Qt's own last folder, where a file dialog opens unless told otherwise, is elsewhere.
          QFileDialog().setDirectory(QDir::tempPath());
          ChooseInFileDialog("Choose a file for COL0" + all + img, tiles);
          QVERIFY(test::Click(dialog->Row(kUpperCol0).Browse));
          // "Fill from screen..." of the lower screen: its SCU0, BGU0 and COL0 from the map and its files.
          dialog->Pages()->setCurrentIndex(1);
          ChooseInFileDialog("Choose a screen map for the Down screen | Screen map (*_SCR.zkp) | " + img,
                             dir / "img/title_SCR.zkp");
          test::WhenModalShows(
              [](QWidget* box) {
                QCOMPARE(qobject_cast<ReportBox*>(box)->Text(),
                         QStringLiteral("Filled SCU0, BGU0, COL0 (Down screen) from title_SCR.zkp, "
                                        "title_CHR0.zkp, title_COL.zkp"));
                qobject_cast<ReportBox*>(box)->OkButton()->click();
              },
              &ReportBox::staticMetaObject);
          QVERIFY(test::Click(dialog->FillButton(true)));
          for (const char* slot : {"down:SCU0", "down:BGU0", "down:COL0"}) {
            const PackageDialog::SlotRow& row = dialog->Row(SlotByCommandLineName(slot)->SlotId);
            QVERIFY2(row.Check->isChecked() && row.Path->text().startsWith(img + "/title_"), slot);
          }
          test::SaveScreenshot(dialog, QStringLiteral("package_dialog_filled_from_screen"), true);
          dialog->Pages()->setCurrentIndex(0);
          dialog->NameField()->setFocus();
          QTest::keyClicks(dialog->NameField(), "demo");
          test::WhenModalShows([](QWidget*) {}, &QMessageBox::staticMetaObject);  // closed: the answer No
          QVERIFY(test::Click(dialog->CancelButton()));  // asks before the slots are forgotten
          QVERIFY(dialog->isVisible());
          QCOMPARE(dialog->windowTitle(), QString::fromUtf8("ZKPパッケージの作成"));
          test::SaveScreenshot(dialog, QStringLiteral("package_dialog"), true);
          ChooseInFileDialog("Choose save path | ZKP package (*.zkp) | " + img, dir / "out.zkp");
          test::WhenModalShows(
              [&](QWidget* box) {
                auto* report = qobject_cast<ReportBox*>(box);
                QCOMPARE(report->Text(), QString::fromStdString("Conpleted..\nwrote " + dir / "out.zkp"));
                QVERIFY(report->OpenFolderButton()->isVisible());
                QCOMPARE(report->Folder(), QString::fromStdString(dir.Path() + "/"));
                test::SaveScreenshot(report, QStringLiteral("package_completed_box"), true);
                report->OkButton()->click();
              },
              &ReportBox::staticMetaObject);
          QVERIFY(test::Click(dialog->MakeButton()));
          QVERIFY(!dialog->isVisible());
        },
        &PackageDialog::staticMetaObject);
    test::FindByText<QAction>(&window, "Make ZKP package")->trigger();
    // Head 32, BGU0 8204 and COL0 524 bytes, and the lower screen's BGU0, SCU0 and COL0 (8204, 8204 and 524
    // stored): a file of 36 + 8752 + 16932. The name is at 12 and, after the first tag, at 72 the pixels of
    // the part chosen: all colour 1.
    const std::vector<std::uint8_t> file = test::ReadBytes(dir / "out.zkp");
    QCOMPARE(file.size(), std::size_t{25720});
    QCOMPARE(std::string(file.begin() + 12, file.begin() + 16), std::string("DEMO"));
    QVERIFY(
        std::all_of(file.begin() + 72, file.begin() + 72 + 8192, [](std::uint8_t b) { return b == 0x11; }));
  }
};

}  // namespace granvel::shell

QTEST_MAIN(granvel::shell::PackageDialogTest)
#include "package_dialog_test.moc"
