// The main window driven through its real menu, drops and boxes.
#include "shell/main_window.h"

#include <QApplication>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "gui/gui_support.h"
#include "package/package_dialog.h"
#include "shell/options_dialog.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel::shell {
namespace {

using test::FakeHost;
using test::FindAction;
using test::TempDir;

// The summary of three files of which one failed, as the design words it (full-width colons).
const std::string kThreeTwoOne =
    "3 files converted\nSuccessed\xEF\xBC\x9A"
    "2\nFailured\xEF\xBC\x9A"
    "1";

// Three MEM texts; the middle one has no assignment and cannot be converted.
std::vector<std::string> WriteThreeMemTexts(const TempDir& dir) {
  test::WriteText(dir / "a_mem.txt", "MEM$ = \"A\"\r\n");
  test::WriteText(dir / "b_mem.txt", "no assignment here\r\n");
  test::WriteText(dir / "c_mem.txt", "MEM$ = \"C\"\r\n");
  return {dir / "a_mem.txt", dir / "b_mem.txt", dir / "c_mem.txt"};
}

void Drop(QWidget* target, const std::vector<std::string>& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const std::string& path : paths)
    urls << QUrl::fromLocalFile(QString::fromStdString(path));
  data.setUrls(urls);
  const QPoint centre = target->rect().center();
  QDragEnterEvent enter(centre, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(centre), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(target, &drop);
  QVERIFY(drop.isAccepted());
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void clientAreaIs280By160AndTheWindowIsFixed() {
    TempDir dir;
    FakeHost host;
    MainWindow window(dir.Path(), &host);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("GRANVEL v2.00"));
    QCOMPARE(window.centralWidget()->size(), QSize(280, 160));
    QCOMPARE(window.centralWidget()->palette().color(QPalette::Window), QColor(Qt::black));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    QVERIFY(window.acceptDrops());
    test::SaveScreenshot(&window, QStringLiteral("main_window"));
  }

  void menusCarryTheirLabelsInOrder() {
    TempDir dir;
    FakeHost host;
    MainWindow window(dir.Path(), &host);
    QCOMPARE(test::ActionTexts(window.menuBar()->actions()),
             (QStringList{"Files(&F)", "Convert type(&T)", "Options(&O)"}));
    const QList<QAction*> top = window.menuBar()->actions();
    QVERIFY(top[0]->menu());
    QCOMPARE(test::ActionTexts(top[0]->menu()->actions()),
             (QStringList{"Make ZKP package", "File convert", "Exit"}));
    QVERIFY(top[1]->menu());
    QCOMPARE(test::ActionTexts(top[1]->menu()->actions()),
             (QStringList{"BG / Font (CHR)", "Sprites (CHR)", "Graphics (GRP)", "Binary data (GRP)"}));
    QMenu* sprites = top[1]->menu()->actions()[1]->menu();
    QVERIFY(sprites);
    QCOMPARE(test::ActionTexts(sprites->actions()),
             (QStringList{"16x16", "32x16", "16x32", "32x32", "64x32", "32x64", "64x64"}));
    QVERIFY(!top[2]->menu());  // a command of its own, not a menu

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    top[0]->menu()->popup(window.mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(top[0]->menu()));
    test::SaveScreenshot(top[0]->menu(), QStringLiteral("main_window_files_menu"));
    top[0]->menu()->close();
  }

  void startsWithBgFontCheckedAndAnEightByEightUnit() {
    TempDir dir;
    FakeHost host;
    MainWindow window(dir.Path(), &host);
    QCOMPARE(window.Settings().ConvertType, std::uint16_t{257});
    QCOMPARE(window.Settings().UnitWidth, 8);
    QCOMPARE(window.Settings().UnitHeight, 8);
    QVERIFY(FindAction(&window, "BG / Font (CHR)")->isChecked());
    QCOMPARE(CheckedCount(window), 1);
  }

  void thirtyTwoBySixteenThenGraphicsKeepsTheUnitAndMovesTheCheck() {
    TempDir dir;
    FakeHost host;
    MainWindow window(dir.Path(), &host);
    FindAction(&window, "32x16")->trigger();
    QCOMPARE(window.Settings().ConvertType, std::uint16_t{259});
    QCOMPARE(window.Settings().UnitWidth, 32);
    QCOMPARE(window.Settings().UnitHeight, 16);
    QVERIFY(FindAction(&window, "32x16")->isChecked());
    QVERIFY(!FindAction(&window, "BG / Font (CHR)")->isChecked());

    FindAction(&window, "Graphics (GRP)")->trigger();
    QCOMPARE(window.Settings().ConvertType, std::uint16_t{265});
    QCOMPARE(window.Settings().UnitWidth, 32);
    QCOMPARE(window.Settings().UnitHeight, 16);
    QVERIFY(FindAction(&window, "Graphics (GRP)")->isChecked());
    QVERIFY(!FindAction(&window, "32x16")->isChecked());
    QCOMPARE(CheckedCount(window), 1);

    // Choosing the checked item again keeps it checked.
    FindAction(&window, "Graphics (GRP)")->trigger();
    QVERIFY(FindAction(&window, "Graphics (GRP)")->isChecked());

    QVERIFY(!FindAction(&window, "Graphics (GRP)")->actionGroup());  // a check mark, not a radio dot
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QMenu* types = window.menuBar()->actions()[1]->menu();
    types->popup(window.mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(types));
    test::SaveScreenshot(types, QStringLiteral("main_window_convert_type_menu"));
    QMenu* sprites = types->actions()[1]->menu();
    sprites->popup(window.mapToGlobal(QPoint(0, 0)));
    QVERIFY(QTest::qWaitForWindowExposed(sprites));
    test::SaveScreenshot(sprites, QStringLiteral("main_window_sprites_menu"));
    sprites->close();
    types->close();
  }

  void everySpriteSizeSetsItsUnit() {
    const struct {
      const char* label;
      int id, width, height;
    } rows[] = {{"16x16", 258, 16, 16}, {"32x16", 259, 32, 16},        {"16x32", 260, 16, 32},
                {"32x32", 261, 32, 32}, {"64x32", 262, 64, 32},        {"32x64", 263, 32, 64},
                {"64x64", 264, 64, 64}, {"BG / Font (CHR)", 257, 8, 8}};
    TempDir dir;
    FakeHost host;
    MainWindow window(dir.Path(), &host);
    for (const auto& row : rows) {
      FindAction(&window, row.label)->trigger();
      QCOMPARE(int{window.Settings().ConvertType}, row.id);
      QCOMPARE(window.Settings().UnitWidth, row.width);
      QCOMPARE(window.Settings().UnitHeight, row.height);
      QCOMPARE(CheckedCount(window), 1);
    }
    FindAction(&window, "64x64")->trigger();
    FindAction(&window, "Binary data (GRP)")->trigger();
    QCOMPARE(int{window.Settings().ConvertType}, 266);
    QCOMPARE(window.Settings().UnitWidth, 64);
    QCOMPARE(window.Settings().UnitHeight, 64);
  }

  void loadsTheSettingsOfTheToolFolder() {
    TempDir dir;
    test::WriteText(dir / "GRANVEL.ini",
                    "[Directory]\r\nSelect=770\r\nUser=/out\r\n[Convert]\r\nTextOut=0\r\n");
    FakeHost host;
    MainWindow window(dir.Path(), &host);
    QCOMPARE(window.Settings().Select, 770);
    QCOMPARE(window.Settings().User, std::string("/out"));
    QCOMPARE(window.Settings().TextOut, 0);
    QCOMPARE(window.Settings().ToolDir, dir.Path());
  }

  void dropOfThreeFilesOneFailingReportsThreeTwoOne() {
    TempDir dir;
    const std::vector<std::string> paths = WriteThreeMemTexts(dir);
    FakeHost host;
    MainWindow window(dir.Path(), &host);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    Drop(&window, paths);
    QTRY_COMPARE(host.messages.size(), std::size_t{1});
    QCOMPARE(host.messages[0].caption, std::string("Finished"));
    QCOMPARE(host.messages[0].text, kThreeTwoOne);
    QVERIFY(test::Exists(dir / "a_mem_MEM.zkp"));
    QVERIFY(!test::Exists(dir / "b_mem_MEM.zkp"));
    QVERIFY(test::Exists(dir / "c_mem_MEM.zkp"));
    QCOMPARE(window.LastFailures().size(), std::size_t{1});
    QCOMPARE(window.LastFailures()[0].Path, dir / "b_mem.txt");
    QVERIFY(!window.LastFailures()[0].Reason.empty());
  }

  void dropOfSomethingOtherThanFilesIsRefused() {
    TempDir dir;
    FakeHost host;
    MainWindow window(dir.Path(), &host);
    QMimeData data;
    data.setText(QStringLiteral("just text"));
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(!enter.isAccepted());
  }

  void fileConvertAsksForAnyNumberOfFilesAndConvertsThem() {
    TempDir dir;
    const std::vector<std::string> paths = WriteThreeMemTexts(dir);
    FakeHost host;
    host.choices.push_back(paths);
    MainWindow window(dir.Path(), &host);
    FindAction(&window, "File convert")->trigger();
    QCOMPARE(host.fileRequests.size(), std::size_t{1});
    const FileChoice& request = host.fileRequests[0];
    QCOMPARE(request.Title, std::string("Choose convert files"));
    QCOMPARE(request.Filter.size(), std::size_t{1});
    QCOMPARE(request.Filter[0].first, std::string("All files"));
    QCOMPARE(request.Filter[0].second, std::string("*.*"));
    QVERIFY(request.MultiSelect);
    QVERIFY(!request.SaveMode);
    QCOMPARE(request.DefaultExt, std::string("bmp"));
    QCOMPARE(host.messages.size(), std::size_t{1});
    QCOMPARE(host.messages[0].caption, std::string("Finished"));
    QCOMPARE(host.messages[0].text, kThreeTwoOne);
  }

  void cancelledFileChoiceConvertsNothingAndShowsNoSummary() {
    TempDir dir;
    FakeHost host;  // no scripted choice: the dialog is cancelled
    MainWindow window(dir.Path(), &host);
    FindAction(&window, "File convert")->trigger();
    QCOMPARE(host.fileRequests.size(), std::size_t{1});
    QVERIFY(host.messages.empty());
  }

  void commandLinePathsAreConvertedOnceTheLoopRuns() {
    TempDir dir;
    test::WriteText(dir / "one_mem.txt", "MEM$ = \"1\"\r\n");
    FakeHost host;
    MainWindow window(dir.Path(), &host);
    window.ConvertPathsWhenShown({QString::fromStdString(dir / "one_mem.txt")});
    QVERIFY(host.messages.empty());  // not before the event loop runs
    QTRY_COMPARE(host.messages.size(), std::size_t{1});
    QCOMPARE(host.messages[0].text, std::string("1 files converted\nSuccessed\xEF\xBC\x9A"
                                                "1\nFailured\xEF\xBC\x9A"
                                                "0"));
    QVERIFY(test::Exists(dir / "one_mem_MEM.zkp"));
  }

  void noCommandLinePathsMeansNoRun() {
    TempDir dir;
    FakeHost host;
    MainWindow window(dir.Path(), &host);
    window.ConvertPathsWhenShown({});
    QTest::qWait(50);
    QVERIFY(host.messages.empty());
  }

  void summaryBoxOffersTheReasonsOfFailedFiles() {
    TempDir dir;
    const std::vector<std::string> paths = WriteThreeMemTexts(dir);
    MainWindow window(dir.Path());  // its own boxes
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    bool seen = false;
    test::WhenModalShows([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box);
      seen = true;
      QCOMPARE(box->windowTitle(), QStringLiteral("Finished"));
      QCOMPARE(box->text(), QString::fromStdString(kThreeTwoOne));
      QCOMPARE(box->icon(), QMessageBox::NoIcon);
      QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
      QVERIFY(box->detailedText().startsWith(QString::fromStdString(dir / "b_mem.txt: ")));
      QVERIFY(!box->detailedText().contains(QStringLiteral("a_mem.txt")));
      for (QAbstractButton* button : box->buttons()) {
        if (box->buttonRole(button) == QMessageBox::ActionRole)
          button->click();  // "Show Details..."
      }
      QTest::qWait(50);
      test::SaveScreenshot(box, QStringLiteral("summary_box_with_details"));
      box->button(QMessageBox::Ok)->click();
    });
    Drop(&window, paths);
    QTRY_VERIFY(seen);
    QTRY_VERIFY(!QApplication::activeModalWidget());
  }

  void summaryBoxWithoutFailuresHasNoDetails() {
    TempDir dir;
    test::WriteText(dir / "one_mem.txt", "MEM$ = \"1\"\r\n");
    MainWindow window(dir.Path());
    bool seen = false;
    test::WhenModalShows([&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      QVERIFY(box);
      seen = true;
      QVERIFY(box->detailedText().isEmpty());
      test::SaveScreenshot(box, QStringLiteral("summary_box"));
      box->button(QMessageBox::Ok)->click();
    });
    window.ConvertPaths({dir / "one_mem.txt"});
    QVERIFY(seen);
  }

  void packageCommandOpensThePackageDialog() {
    TempDir dir;
    MainWindow window(dir.Path());
    QString title;
    test::WhenModalShows([&](QWidget* modal) {
      auto* dialog = qobject_cast<PackageDialog*>(modal);
      QVERIFY(dialog);
      title = dialog->windowTitle();
      dialog->reject();
    });
    FindAction(&window, "Make ZKP package")->trigger();
    QCOMPARE(title, QString::fromUtf8("ZKPパッケージの作成"));
  }

  void optionsCommandOpensTheOptionDialog() {
    TempDir dir;
    MainWindow window(dir.Path());
    QString title;
    test::WhenModalShows([&](QWidget* modal) {
      QVERIFY(qobject_cast<OptionsDialog*>(modal));
      title = modal->windowTitle();
      qobject_cast<QDialog*>(modal)->reject();
    });
    FindAction(&window, "Options(&O)")->trigger();
    QCOMPARE(title, QStringLiteral("Option settings"));
  }

  void exitClosesTheWindow() {
    TempDir dir;
    FakeHost host;
    MainWindow window(dir.Path(), &host);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    FindAction(&window, "Exit")->trigger();
    QVERIFY(!window.isVisible());
  }

  void failureDetailsNameEachFileAndItsReason() {
    QCOMPARE(FailureDetails({{"/a/x_mem.txt", "no MEM$ assignment"}, {"/a/y.bin", ""}}),
             std::string("/a/x_mem.txt: no MEM$ assignment\n/a/y.bin: no reason given"));
    // A reason that starts with its file's path is shown as it is.
    QCOMPARE(FailureDetails({{"/a/x_mem.txt", "/a/x_mem.txt: the file is empty"}}),
             std::string("/a/x_mem.txt: the file is empty"));
  }

 private:
  static int CheckedCount(const MainWindow& window) {
    int checked = 0;
    for (int id = 257; id <= 266; ++id)
      checked += window.ConvertTypeAction(id)->isChecked() ? 1 : 0;
    return checked;
  }
};

}  // namespace granvel::shell

QTEST_MAIN(granvel::shell::MainWindowTest)
#include "main_window_test.moc"
