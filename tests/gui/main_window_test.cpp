// The desktop program through its real main window, its boxes, and a second copy of itself.
#include "shell/main_window.h"

#include <unistd.h>
#include <QApplication>
#include <QCheckBox>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLocalServer>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <filesystem>
#include <tuple>

#include "encode/image/bmp.h"
#include "granvel_version.h"
#include "gui/gui_support.h"
#include "shell/qt_host.h"
#include "shell/report_box.h"
#include "shell/single_instance.h"
#include "support/temp_dir.h"

namespace granvel::shell {
namespace {

using test::TempDir;

// Starts the program in `folder`, which stands in for the temp folder; `runtime` is its $XDG_RUNTIME_DIR
// (none when empty).
std::unique_ptr<QProcess> StartProgram(const std::string& folder, const QStringList& arguments = {},
                                       const std::string& runtime = {}) {
  auto process = std::make_unique<QProcess>();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("TMPDIR"), QString::fromStdString(folder));
  environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
  if (!runtime.empty())
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(runtime));
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  process->setProcessEnvironment(environment);
  process->setWorkingDirectory(QString::fromStdString(folder));
  process->setProcessChannelMode(QProcess::ForwardedOutputChannel);  // standard error is read by the test
  process->start(QStringLiteral(GRANVEL_GUI_PATH), arguments);
  return process;
}

void SaveMenu(QWidget* window, QMenu* menu, const QString& name) {
  menu->popup(window->mapToGlobal(QPoint(0, 0)));
  QVERIFY(QTest::qWaitForWindowExposed(menu));
  test::SaveScreenshot(menu, name);
  menu->close();
}

QStringList CheckedActions(const QWidget* window) {
  QStringList checked;
  for (const QAction* action : window->findChildren<QAction*>()) {
    if (action->isChecked())
      checked << action->text();
  }
  return checked;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void clientAreaIs280By160AndTheConvertTypeMenuMovesItsOneCheckMark() {
    TempDir dir;
    MainWindow window(dir.Path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.centralWidget()->size(), QSize(280, 160));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    // "GRANVEL v" with the major version, a dot, then the minor and patch numbers of one digit each.
    const QStringList version = QStringLiteral(GRANVEL_VERSION).split('.');
    QCOMPARE(window.windowTitle(), "GRANVEL v" + version[0] + "." + version[1] + version[2]);
    test::SaveScreenshot(&window, QStringLiteral("main_window"));
    QMenu* types = window.menuBar()->actions()[1]->menu();
    SaveMenu(&window, window.menuBar()->actions()[0]->menu(), QStringLiteral("main_window_files_menu"));
    SaveMenu(&window, types, QStringLiteral("main_window_convert_type_menu"));
    SaveMenu(&window, types->actions()[2]->menu(), QStringLiteral("main_window_sprites_menu"));
    QCOMPARE(CheckedActions(&window), QStringList{"BG / Font (CHR)"});
    QCOMPARE(window.Hint()->text(), QString::fromUtf8("Drop files here · BG / Font (CHR)"));
    test::FindByText<QAction>(&window, "32x16")->trigger();
    QCOMPARE(CheckedActions(&window), QStringList{"32x16"});
    QCOMPARE(window.Hint()->text(), QString::fromUtf8("Drop files here · Sprites (CHR) 32x16"));
    QCOMPARE(window.Settings().UnitWidth * 100 + window.Settings().UnitHeight, 3216);
    for (int again = 0; again < 2; ++again)  // chosen again, it stays checked
      test::FindByText<QAction>(&window, "Graphics (GRP)")->trigger();
    QCOMPARE(CheckedActions(&window), QStringList{"Graphics (GRP)"});
    QCOMPARE(int{window.Settings().ConvertType}, 265);
    test::FindByText<QAction>(&window, "Screen (CHR + SCR)")->trigger();  // after "BG / Font (CHR)"
    QCOMPARE(types->actions()[1]->text(), QStringLiteral("Screen (CHR + SCR)"));
    QCOMPARE(CheckedActions(&window), QStringList{"Screen (CHR + SCR)"});
    QCOMPARE(int{window.Settings().ConvertType} * 100 + window.Settings().UnitWidth, 26708);
  }

  void dropOfThreeFilesWithOneFailingShowsTheSummaryWithWhatItWrote() {
    TempDir dir;
    test::WriteText(dir / "a_mem.txt", "MEM$ = \"A\"\r\n");
    test::WriteText(dir / "b_mem.txt", "no assignment here\r\n");
    test::WriteText(dir / "c_mem.txt", "\xEF\xBB\xBFMEM$ = \"C\"\r\n");  // UTF-8 with its mark: a note
    test::WriteText(dir / "d_mem.txt", "MEM$ = \"D\"\r\n");
    MainWindow window(dir.Path());  // its own boxes
    QString opened;
    window.SetFolderOpener([&opened](const QString& folder) {
      opened = folder;
      return false;  // no file manager
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QString caption, text, details, failed;
    test::WhenModalShows([&](QWidget* modal) {
      auto* box = qobject_cast<ReportBox*>(modal);
      QVERIFY(box);
      std::tie(caption, text, details) = std::tuple(box->windowTitle(), box->Text(), box->Details());
      // A run handed over while the box is open ends in this box. A second box would wait for a click: it is
      // closed after a while, so that the check fails rather than hangs.
      QTimer::singleShot(2000, box, [box] {
        if (QWidget* other = QApplication::activeModalWidget(); other && other != box)
          other->close();
      });
      window.ConvertPathsWhenShown({QString::fromStdString(dir / "d_mem.txt")});
      QTRY_VERIFY(box->Text() != text);
      QCOMPARE(window.findChildren<ReportBox*>().size(), 1);

      box->DetailsButton()->click();
      QTRY_VERIFY(box->DetailsView()->isVisible());
      const QSize before = box->DetailsView()->size();
      box->resize(box->size() + QSize(120, 90));
      QTRY_COMPARE(box->DetailsView()->size(), before + QSize(120, 90));
      test::SaveScreenshot(box, QStringLiteral("summary_box_with_details"), true);

      test::WhenModalShows(
          [&](QWidget* message) {
            failed = qobject_cast<QMessageBox*>(message)->text();
            message->close();
          },
          &QMessageBox::staticMetaObject);
      box->OpenFolderButton()->click();
      QVERIFY(box->isVisible());
      QTest::keyClick(box->DetailsView(), Qt::Key_Escape);
      QVERIFY(!box->isVisible());
      text = box->Text();
      details = box->Details();
    });
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir / "a_mem.txt")),
                  QUrl::fromLocalFile(QString::fromStdString(dir / "b_mem.txt")),
                  QUrl::fromLocalFile(QString::fromStdString(dir / "c_mem.txt"))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&window, &drop);
    QTRY_COMPARE(caption, QStringLiteral("Finished"));
    QTRY_VERIFY(!QApplication::activeModalWidget());
    // Both runs' summaries, the second after a blank line.
    QCOMPARE(text, QString::fromUtf8("3 files converted\nSuccessed：2\nFailured：1\n\n"
                                     "1 files converted\nSuccessed：1\nFailured：0"));
    // Failures, notes, then every file written; then the second run's.
    QCOMPARE(details,
             QString::fromStdString(
                 dir / "b_mem.txt: no MEM$ = \" assignment with text after its quote\n" +
                 dir / "c_mem.txt: note: read as UTF-8 and converted to Shift JIS\nwrote " +
                 dir / "a_mem_MEM.zkp\nwrote " + dir / "c_mem_MEM.zkp\nwrote " + dir / "d_mem_MEM.zkp"));
    QCOMPARE(opened, QString::fromStdString(dir.Path() + "/"));
    QCOMPARE(failed, QString::fromStdString("No file manager could open the folder " + dir.Path()));
    QVERIFY(test::Exists(dir / "a_mem_MEM.zkp") && !test::Exists(dir / "b_mem_MEM.zkp"));
  }

  // The question that can keep its answer: the check box under it comes back as `keep`.
  void theKeepAnswerBoxComesBackWithTheAnswer() {
    TempDir dir;
    MainWindow window(dir.Path());
    window.show();
    QtHost host(&window);
    const std::tuple<bool, QMessageBox::StandardButton, bool> rows[] = {{true, QMessageBox::No, false},
                                                                        {false, QMessageBox::Yes, true}};
    for (const auto& [tick, button, answer] : rows) {
      QString label;
      test::WhenModalShows([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (QCheckBox* keepBox = box->checkBox()) {
          label = keepBox->text();
          keepBox->setChecked(tick);
        }
        if (tick)
          test::SaveScreenshot(box, QStringLiteral("palette_question_keep_answer"), true);
        box->button(button)->click();
      });
      bool keep = !tick;
      QCOMPARE(host.AskYesNoForRun(kPaletteQuestionCaption, dir / "font.bmp" + kPaletteQuestionText, keep),
               answer);
      QCOMPARE(label, QStringLiteral("Use this answer for the rest of this run"));
      QCOMPARE(keep, tick);
    }
  }

  void helpVersionAndAMissingDisplayEndAtOnce() {
    TempDir dir;
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
    // clang-format off
    const std::tuple<QStringList, const char*, const char*, int, const char*> rows[] = {
        {{"--help"}, "offscreen", ":0", 0, "Usage: granvel [FILE]..."},
        {{"--version"}, "offscreen", ":0", 0, "granvel " GRANVEL_VERSION "\n"},
        {{"-x"}, "offscreen", ":0", 2, "granvel: unknown option -x (--help lists them)\n"},
        {{}, "", "", 2, "granvel: no display to open a window on ($DISPLAY and $WAYLAND_DISPLAY are empty); granvel-cli converts without one\n"},
        {{}, "xcb", ":987", 2, "granvel: cannot open a window: "}};
    // clang-format on
    for (const auto& [arguments, platform, display, status, printed] : rows) {
      QProcess process;
      QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
      environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
      for (const auto& [name, value] :
           {std::pair{"QT_QPA_PLATFORM", platform}, std::pair{"DISPLAY", display}})
        *value ? environment.insert(name, value) : environment.remove(name);
      environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), QString::fromStdString(dir.Path()));
      process.setProcessEnvironment(environment);
      process.start(QStringLiteral(GRANVEL_GUI_PATH), arguments);
      QVERIFY(process.waitForFinished(60000));
      QCOMPARE(process.exitCode(), status);
      const QByteArray out = status == 0 ? process.readAllStandardOutput() : process.readAllStandardError();
      QVERIFY2(out.startsWith(printed) && out.count('\n') <= (status == 0 ? 20 : 1), out.constData());
    }
  }

  void aSecondStartWithoutFilesBringsTheWindowToTheFront() {
    TempDir dir;
    std::filesystem::permissions(dir.Path(), std::filesystem::perms::owner_all);
    const QString runtime = QString::fromStdString(dir.Path());
    SingleInstance first(runtime), second(runtime);
    QVERIFY(first.IsFirst() && !second.IsFirst());
    MainWindow window(dir.Path());
    window.showMinimized();
    QVERIFY(first.Listen(
        [&window](const QStringList& paths) { paths.isEmpty() ? window.BringToFront() : void(); }));
    QVERIFY(second.HandOver({}));
    QTRY_VERIFY(!window.isMinimized());
  }

  void secondCopyHandsItsFileToTheRunningOneAndExitsWithZero() {
    TempDir dir;
    const std::string runtime = dir / "run";
    std::filesystem::create_directory(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    test::WriteText(dir / "late_mem.txt", "MEM$ = \"L\"\r\n");
    const auto first = StartProgram(dir.Path(), {}, runtime);
    QVERIFY(first->waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(SingleInstance::ChannelPath(QString::fromStdString(runtime))),
                             60000);
    const auto second = StartProgram(dir.Path(), {QStringLiteral("late_mem.txt")}, runtime);
    QVERIFY(second->waitForFinished(60000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(test::Exists(dir / "late_mem_MEM.zkp"), 30000);
    QCOMPARE(first->state(), QProcess::Running);
    first->terminate();
    QVERIFY(first->waitForFinished(30000));
  }

  // A lock held by a live process and a listening socket under the names the shared temp folder once held
  // change nothing: the program uses its own 0700 folder there, becomes the first copy and converts.
  void namesPlantedInTheSharedTempFolderAreIgnored() {
    TempDir dir;
    const QString shared = QString::fromStdString(dir.Path());
    QLockFile planted(SingleInstance::LockPath(shared));
    QVERIFY(planted.tryLock(0));
    QLocalServer listener;
    QVERIFY(listener.listen(SingleInstance::ChannelPath(shared)));
    test::WriteText(dir / "own_mem.txt", "MEM$ = \"O\"\r\n");
    const auto program = StartProgram(dir.Path(), {QStringLiteral("own_mem.txt")});
    QTRY_VERIFY_WITH_TIMEOUT(test::Exists(dir / "own_mem_MEM.zkp"), 60000);
    QCOMPARE(program->state(), QProcess::Running);
    QVERIFY(!listener.hasPendingConnections());
    QVERIFY(
        QFileInfo::exists(SingleInstance::ChannelPath(shared + "/granvel-" + QString::number(::getuid()))));
    program->terminate();
    QVERIFY(program->waitForFinished(30000));
  }

  void privateFolderRefusesLinksOpenFoldersAndFiles() {
    TempDir dir;
    namespace fs = std::filesystem;
    fs::create_directory(dir / "open");
    fs::permissions(dir / "open", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    fs::create_directory(dir / "own");
    fs::permissions(dir / "own", fs::perms::owner_all);
    fs::create_directory_symlink(dir / "own", dir / "link");
    test::WriteText(dir / "file", "");
    const std::tuple<const char*, const char*> rows[] = {
        {"open", " is open to other users"}, {"link", " is a link"}, {"file", " is not a folder"},
        {"missing", " cannot be read"},      {"own", nullptr},
    };
    for (const auto& [name, expected] : rows) {
      const QString folder = QString::fromStdString(dir / name);
      QString reason;
      QCOMPARE(SingleInstance::CheckPrivateFolder(folder, &reason), expected == nullptr);
      if (expected)
        QCOMPARE(reason, folder + QString::fromUtf8(expected));
    }
    // The fallback folder is a link: the program says so on one line and runs alone.
    fs::create_directory_symlink(dir / "own", dir / ("granvel-" + std::to_string(::getuid())));
    test::WriteText(dir / "alone_mem.txt", "MEM$ = \"A\"\r\n");
    const auto program = StartProgram(dir.Path(), {QStringLiteral("alone_mem.txt")});
    QTRY_VERIFY_WITH_TIMEOUT(test::Exists(dir / "alone_mem_MEM.zkp"), 60000);
    QVERIFY(fs::is_empty(dir / "own"));
    QVERIFY(program->readAllStandardError().contains(
        " is a link; running without handing files to another copy\n"));
    program->terminate();
    QVERIFY(program->waitForFinished(30000));
  }
};

}  // namespace granvel::shell

QTEST_MAIN(granvel::shell::MainWindowTest)
#include "main_window_test.moc"
