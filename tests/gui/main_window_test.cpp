// The desktop program through its real main window, its dialogs and boxes, and a second copy of itself.
#include "shell/main_window.h"

#include <unistd.h>
#include <QtNetwork>
#include <QtTest>
#include <QtWidgets>
#include <filesystem>
#include <map>
#include <tuple>

#include "encode/image/bmp.h"
#include "granvel_version.h"
#include "gui/gui_support.h"
#include "shell/options_dialog.h"
#include "shell/package_dialog.h"
#include "shell/progress_panel.h"
#include "shell/qt_host.h"
#include "shell/report_box.h"
#include "shell/single_instance.h"
#include "support/temp_dir.h"

namespace granvel::shell {
namespace {

using test::TempDir;

// Starts the program in `folder`, which stands in for the temp folder, offscreen and without
// $XDG_RUNTIME_DIR or $WAYLAND_DISPLAY; `changes` sets other values (an empty one removes the variable).
std::unique_ptr<QProcess> StartProgram(const std::string& folder, const QStringList& arguments,
                                       std::map<QString, std::string> changes = {}) {
  changes.insert({{"TMPDIR", folder}, {"XDG_RUNTIME_DIR", ""}, {"WAYLAND_DISPLAY", ""}});
  changes.insert({"QT_QPA_PLATFORM", "offscreen"});  // insert keeps the values given
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  for (const auto& [name, value] : changes)
    value.empty() ? environment.remove(name) : environment.insert(name, QString::fromStdString(value));
  auto process = std::make_unique<QProcess>();
  process->setProcessEnvironment(environment);
  process->setWorkingDirectory(QString::fromStdString(folder));
  process->start(QStringLiteral(GRANVEL_GUI_PATH), arguments);
  return process;
}

// Drags `paths` onto the window and drops them there, as a file manager does.
void Drop(QWidget* window, const std::vector<std::string>& paths) {
  QMimeData data;
  QList<QUrl> urls;
  for (const std::string& path : paths)
    urls << QUrl::fromLocalFile(QString::fromStdString(path));
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &enter);
  QVERIFY(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &drop);
}

QStringList CheckedActions(const QWidget* window) {
  QStringList checked;
  for (const QAction* action : window->findChildren<QAction*>()) {
    if (action->isChecked())
      checked << action->text();
  }
  return checked;
}

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

// Each visible button, label and group box of `window` whose text does not fit, as "text: needed > width".
QStringList TooNarrow(QWidget* window) {
  QStringList narrow;
  for (QWidget* widget : window->findChildren<QWidget*>()) {
    const auto* group = qobject_cast<QGroupBox*>(widget);
    const QString text = group ? group->title() : widget->property("text").toString();
    const bool hasText = group || qobject_cast<QAbstractButton*>(widget) || qobject_cast<QLabel*>(widget);
    if (hasText && widget->isVisible() && NeededWidth(widget) > widget->width())
      narrow << QStringLiteral("%1: %2 > %3").arg(text).arg(NeededWidth(widget)).arg(widget->width());
  }
  return narrow;
}

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // The window and its menus; a drop is one run that ends in the "Finished" box, which a run handed over
  // while it is open joins; the question that can keep its answer; a second start without files.
  void theWindowItsMenusItsBoxesAndItsQuestion() {
    TempDir dir;
    for (const char* name : {"a_mem.txt", "b_mem.txt", "c_mem.txt"})
      test::WriteText(dir / name, "MEM$ = \"A\"\r\n");
    MainWindow window(dir.Path());
    QString opened;
    window.SetFolderOpener([&opened](const QString& folder) {
      opened = folder;
      return false;  // no file manager
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.centralWidget()->size(), QSize(280, 160));
    QCOMPARE(window.minimumSize(), window.maximumSize());
    // "GRANVEL v" with the major version, a dot, then the minor and patch numbers: 2.0.0 is "GRANVEL v2.00".
    const QStringList version = QStringLiteral(GRANVEL_VERSION).split('.');
    QCOMPARE(window.windowTitle(), "GRANVEL v" + version[0] + "." + version[1] + version[2]);
    test::SaveScreenshot(&window, QStringLiteral("main_window"));
    QMenu* types = window.menuBar()->actions()[1]->menu();
    for (QMenu* menu : {window.menuBar()->actions()[0]->menu(), types, types->actions()[2]->menu()}) {
      menu->popup(window.mapToGlobal(QPoint(0, 0)));
      QVERIFY(QTest::qWaitForWindowExposed(menu));
      test::SaveScreenshot(
          menu, "main_window_menu_" + menu->title().section('(', 0, 0).trimmed().toLower().replace(' ', '_'));
      menu->close();
    }
    QCOMPARE(types->actions()[1]->text(), QStringLiteral("Screen (CHR + SCR)"));  // after "BG / Font (CHR)"
    QCOMPARE(CheckedActions(&window), QStringList{"BG / Font (CHR)"});
    QCOMPARE(window.Hint()->text(), QString::fromUtf8("Drop files here · BG / Font (CHR)"));
    // A command moves the one check mark to itself (chosen again, it stays) and names its type in the hint.
    for (const char* type : {"32x16", "Graphics (GRP)", "Graphics (GRP)", "Screen (CHR + SCR)"}) {
      test::FindByText<QAction>(&window, type)->trigger();
      QCOMPARE(CheckedActions(&window), QStringList{type});
      QVERIFY(window.Hint()->text().endsWith(type));
    }

    bool shown = false;
    test::WhenModalShows([&](QWidget* modal) {
      auto* box = qobject_cast<ReportBox*>(modal);
      QVERIFY(box && box->windowTitle() == QStringLiteral("Finished"));
      shown = true;
      const QString first = QString::fromUtf8("2 files converted\nSuccessed：2\nFailured：0");
      QCOMPARE(box->Text(), first);
      // A second box would wait for a click: it is closed after a while, so that the check fails, not hangs.
      QTimer::singleShot(2000, box, [box] {
        if (QWidget* other = QApplication::activeModalWidget(); other && other != box)
          other->close();
      });
      window.ConvertPathsWhenShown({QString::fromStdString(dir / "c_mem.txt")});
      QTRY_COMPARE(box->Text(),
                   first + QString::fromUtf8("\n\n1 files converted\nSuccessed：1\nFailured：0"));
      QCOMPARE(box->Details(), QString::fromStdString("wrote " + dir / "a_mem_MEM.zkp\nwrote " +
                                                      dir / "b_mem_MEM.zkp\nwrote " + dir / "c_mem_MEM.zkp"));
      box->DetailsButton()->click();
      QTRY_VERIFY(box->DetailsView()->isVisible());
      const QSize before = box->DetailsView()->size();
      box->resize(box->size() + QSize(120, 90));
      QTRY_COMPARE(box->DetailsView()->size(), before + QSize(120, 90));
      test::SaveScreenshot(box, QStringLiteral("summary_box_with_details"), true);
      QString failed;
      test::WhenModalShows(
          [&failed](QWidget* message) { failed = qobject_cast<QMessageBox*>(message)->text(); },
          &QMessageBox::staticMetaObject);
      box->OpenFolderButton()->click();
      QCOMPARE(opened, QString::fromStdString(dir.Path() + "/"));
      QCOMPARE(failed, QString::fromStdString("No file manager could open the folder " + dir.Path()));
      QVERIFY(box->isVisible());
      QTest::keyClick(box->DetailsView(), Qt::Key_Escape);
      QVERIFY(!box->isVisible());
    });
    Drop(&window, {dir / "a_mem.txt", dir / "b_mem.txt"});
    QTRY_VERIFY(shown && !QApplication::activeModalWidget());

    // A project opened through the Files menu builds on the window's worker and ends in the "Finished" box;
    // a second build finds nothing to do, a refused file shows its place, and "Close project" brings back
    // the drop hint.
    std::filesystem::create_directory(dir / "game");
    test::WriteText(dir / "game/notes_mem.txt", "MEM$ = \"N\"\r\n");
    test::WriteText(dir / "game/granvel.toml",
                    "[[asset]]\nname = \"notes\"\ninputs = \"notes_mem.txt\"\n[[package]]\nname = \"GAME\"\n"
                    "output = \"out/GAME.zkp\"\nslots = { MEM = \"notes\" }\n");
    test::WriteText(dir / "bad.toml", "[[asset]]\nname = \"a\"\ninputs = \"a_mem.txt\"\nouput = \"out\"\n");
    QVERIFY(!window.BuildProjectAction()->isEnabled());
    const auto open = [&](const std::string& file) {
      test::WhenModalShows(
          [&](QWidget* modal) {
            auto* files = qobject_cast<QFileDialog*>(modal);
            QCOMPARE(files->windowTitle(), QStringLiteral("Open a project"));
            files->selectFile(QString::fromStdString(file));
            static_cast<QDialog*>(files)->accept();
          },
          &QFileDialog::staticMetaObject);
      test::FindByText<QAction>(&window, "Open project...")->trigger();
    };
    const auto build = [&] {
      QStringList said;
      test::WhenModalShows(
          [&](QWidget* modal) {
            auto* box = qobject_cast<ReportBox*>(modal);
            said << box->windowTitle() << box->Text() << box->Details();
            box->OkButton()->click();
          },
          &ReportBox::staticMetaObject);
      window.BuildProjectAction()->trigger();
      [&] { QTRY_VERIFY_WITH_TIMEOUT(!said.isEmpty() && !window.Running(), 30000); }();
      return said;
    };
    open(dir / "game/granvel.toml");
    QCOMPARE(window.Hint()->text(), QStringLiteral("Project: game (granvel.toml)"));
    QVERIFY(window.BuildProjectAction()->isEnabled());
    QStringList said = build();
    QCOMPARE(said.mid(0, 2), (QStringList{"Finished", "Built 1 of 1 asset and 1 of 1 package"}));
    QVERIFY2(said[2].startsWith("notes: no state\n"), qPrintable(said[2]));
    QVERIFY(test::Exists(dir / "game/out/notes_mem_MEM.zkp") && test::Exists(dir / "game/out/GAME.zkp"));
    QCOMPARE(build()[1], QStringLiteral("Nothing to build: 1 asset and 1 package up to date"));
    open(dir / "bad.toml");
    said = build();
    QCOMPARE(said[1], QStringLiteral("The project file was refused; nothing was built"));
    QVERIFY2(said[2].startsWith(QString::fromStdString(dir / "bad.toml:4:1: unknown key \"ouput\"")),
             qPrintable(said[2]));
    test::FindByText<QAction>(&window, "Close project")->trigger();
    QVERIFY(window.Hint()->text().endsWith("Screen (CHR + SCR)") &&
            !window.BuildProjectAction()->isEnabled());

    // The check box under the question comes back as `keep`, ticked or not, whichever the answer.
    QtHost host(&window);
    for (const bool tick : {true, false}) {
      test::WhenModalShows([tick](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        QVERIFY(box->checkBox());
        QCOMPARE(box->checkBox()->text(), QStringLiteral("Use this answer for the rest of this run"));
        box->checkBox()->setChecked(tick);
        if (tick)
          test::SaveScreenshot(box, QStringLiteral("palette_question_keep_answer"), true);
        box->button(tick ? QMessageBox::No : QMessageBox::Yes)->click();
      });
      bool keep = !tick;
      QCOMPARE(host.AskYesNoForRun(kPaletteQuestionCaption, dir / "font.bmp" + kPaletteQuestionText, keep),
               !tick);
      QCOMPARE(keep, tick);
    }

    // A second start without files brings the minimised window to the front.
    const QString runtime = QString::fromStdString(dir.Path());
    SingleInstance first(runtime), second(runtime);
    QVERIFY(first.IsFirst() && !second.IsFirst());
    window.showMinimized();
    QVERIFY(first.Listen(
        [&window](const QStringList& paths) { paths.isEmpty() ? window.BringToFront() : void(); }));
    QVERIFY(second.HandOver({}));
    QTRY_VERIFY(!window.isMinimized());
  }

  // A long run converts on a thread of its own: the black area shows its progress and Cancel while the
  // menus answer (a convert type chosen now is the next run's), a folder dropped and one chosen meanwhile
  // wait for it and then convert the files under them, and Cancel ends it with whole pages only, as closing
  // the window does.
  void aLongRunShowsItsProgressWhileTheMenusAnswerAndEndsOnCancel() {
    namespace fs = std::filesystem;
    TempDir dir;
    fs::create_directories(dir / "folder/sub");
    fs::create_directory(dir / "out");
    for (const char* name : {"folder/sub/a_mem.txt", "folder/z_mem.txt", "folder/.hidden_mem.txt"})
      test::WriteText(dir / name, "MEM$ = \"A\"\r\n");
    test::WriteText(dir / "GRANVEL.ini",
                    "[Directory]\nSelect=770\nUser=" + dir / "out\n[Convert]\nTextOut=0\n");
    // 400 MiB of zeros that take no room until read: 8534 pages as "Binary data (GRP)".
    test::WriteText(dir / "big.txt", "");
    fs::resize_file(dir / "big.txt", 400 << 20);
    MainWindow window(dir.Path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    test::FindByText<QAction>(&window, "Binary data (GRP)")->trigger();
    Drop(&window, {dir / "big.txt"});
    ProgressPanel* panel = window.Progress();
    QTRY_VERIFY(panel->Bar()->value() >= 2);  // 18 pages made: the first 16, made together, are written
    QVERIFY(panel->isVisible() && !window.Hint()->isVisible() && panel->Bar()->maximum() == 1000);
    QVERIFY2(panel->Line()->text().startsWith(QString::fromUtf8("0 of 1 files · big.txt · part ")),
             qPrintable(panel->Line()->text()));
    QCOMPARE(panel->CancelButton()->shortcut(), QKeySequence(Qt::Key_Escape));
    // The folder waits for the run; the type chosen after it is the one its run starts with.
    Drop(&window, {dir / "folder"});
    test::FindByText<QAction>(&window, "Graphics (GRP)")->trigger();
    QCOMPARE(CheckedActions(&window), QStringList{"Graphics (GRP)"});
    test::WhenModalShows(
        [&](QWidget* modal) {
          auto* folders = qobject_cast<QFileDialog*>(modal);
          QCOMPARE(folders->windowTitle(), QStringLiteral("Choose a folder to convert"));
          QCOMPARE(folders->fileMode(), QFileDialog::Directory);
          folders->selectFile(QString::fromStdString(dir / "folder/sub"));
          static_cast<QDialog*>(folders)->accept();  // as the dialog's own button does
        },
        &QFileDialog::staticMetaObject);
    test::FindByText<QAction>(&window, "Convert folder")->trigger();
    QVERIFY(panel->Line()->text().startsWith(QString::fromUtf8("0 of 1 files · big.txt")));
    test::SaveScreenshot(&window, QStringLiteral("main_window_progress"));

    // The run ends with its box, which the two runs that waited join in order.
    QString summary;
    test::WhenModalShows(
        [&](QWidget* modal) {
          auto* box = qobject_cast<ReportBox*>(modal);
          QTRY_VERIFY_WITH_TIMEOUT(box->Text().count(QStringLiteral("files converted")) == 3, 60000);
          summary = box->Text();
          box->OkButton()->click();
        },
        &ReportBox::staticMetaObject);
    QTest::mouseClick(panel->CancelButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!summary.isEmpty() && !window.Running(), 60000);
    QCOMPARE(summary,
             QString::fromUtf8("Cancelled after 0 of 1 files\n0 files converted\nSuccessed：0\nFailured：0"
                               "\n\n2 files converted\nSuccessed：2\nFailured：0"
                               "\n\n1 files converted\nSuccessed：1\nFailured：0"));
    QVERIFY(window.Hint()->isVisible() && window.Hint()->text().endsWith("Graphics (GRP)") &&
            !panel->isVisible());
    // Closing the window during a run cancels it and waits for its thread; its summary is not shown.
    test::FindByText<QAction>(&window, "Binary data (GRP)")->trigger();
    Drop(&window, {dir / "big.txt"});
    QTRY_VERIFY(panel->Bar()->value() >= 2);
    QVERIFY(window.close() && !window.Running());
    bool boxShown = false;  // a box would be open when this call, posted after its own, comes
    QTimer::singleShot(0, &window, [&boxShown] {
      if (QWidget* box = QApplication::activeModalWidget())
        boxShown = box->close();
    });
    QCoreApplication::sendPostedEvents();
    QVERIFY(!boxShown);
    // The pages finished before Cancel or the close, each whole (36 bytes of header and digest, the page's
    // 49152 bytes and its tag less the brand word, 12), and the folders' texts as MEM (the type chosen during
    // the run): no temporary file, no DATA text, nothing of the hidden file.
    QStringList others;
    int pages = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir / "out")) {
      const std::string name = entry.path().filename().string();
      if (name.starts_with("big_BIN") && name.ends_with(".zkp") && entry.file_size() == 49200)
        ++pages;
      else
        others << QString::fromStdString(name);
    }
    others.sort();
    QVERIFY(pages >= 16 && pages < 8534);
    QCOMPARE(others, (QStringList{"a_mem_MEM.zkp", "z_mem_MEM.zkp"}));
  }

  // Every text fits its control, no label, button or group title cut: in the options dialog, both pages of
  // the package dialog, the report box with its details and the question that can keep its answer, at the
  // font the tests render with and at half as large again, as a desktop with large text has it.
  void everyTextFitsItsControl() {
    const QFont original = QApplication::font();
    const auto restore = qScopeGuard([&original] { QApplication::setFont(original); });
    for (const qreal scale : {1.0, 1.5}) {
      QFont font = original;
      font.setPointSizeF(original.pointSizeF() * scale);
      QApplication::setFont(font);
      TempDir dir;
      ConvertSettings settings;
      OptionsDialog options(settings, dir / "GRANVEL.ini");
      PackageDialog package(settings);
      const std::string details = dir / "b_mem.txt: no MEM$ = \" assignment with text after its quote";
      ReportBox report(
          {"Finished", "3 files converted\nSuccessed：2\nFailured：1", details, dir.Path() + "/"}, {});
      for (QWidget* window : std::initializer_list<QWidget*>{&options, &package, &report}) {
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
      }
      QStringList narrow = TooNarrow(&options);
      for (int page = 0; page < package.Pages()->count(); ++page) {
        package.Pages()->setCurrentIndex(page);
        narrow << TooNarrow(&package);
      }
      report.DetailsButton()->click();
      QTRY_VERIFY(report.DetailsView()->isVisible());
      narrow << TooNarrow(&report);
      QtHost host(&options);
      test::WhenModalShows([&narrow](QWidget* box) {
        narrow << TooNarrow(box);
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::No)->click();
      });
      bool keep = false;
      host.AskYesNoForRun(kPaletteQuestionCaption, dir / "font.bmp" + kPaletteQuestionText, keep);
      QVERIFY2(narrow.isEmpty(),
               qPrintable(QString::number(scale) + " times the font: " + narrow.join("; ")));
    }
  }

  void helpVersionAndAMissingDisplayEndAtOnce() {
    TempDir dir;
    // clang-format off
    const std::tuple<QStringList, const char*, const char*, int, const char*> rows[] = {
        {{"--help"}, "offscreen", ":0", 0, "Usage: granvel [FILE]..."},
        {{"--version"}, "offscreen", ":0", 0, "granvel " GRANVEL_VERSION "\n"},
        {{"-x"}, "offscreen", ":0", 2, "granvel: unknown option -x (--help lists them)\n"},
        {{}, "", "", 2, "granvel: no display to open a window on ($DISPLAY and $WAYLAND_DISPLAY are empty); granvel-cli converts without one\n"},
        {{}, "xcb", ":987", 2, "granvel: cannot open a window: "}};
    // clang-format on
    for (const auto& [arguments, platform, display, status, printed] : rows) {
      const auto process = StartProgram(
          dir.Path(), arguments,
          {{"QT_QPA_PLATFORM", platform}, {"DISPLAY", display}, {"XDG_RUNTIME_DIR", dir.Path()}});
      QVERIFY(process->waitForFinished(60000));
      QCOMPARE(process->exitCode(), status);
      const QByteArray out = status == 0 ? process->readAllStandardOutput() : process->readAllStandardError();
      QVERIFY2(out.startsWith(printed) && out.count('\n') <= (status == 0 ? 20 : 1), out.constData());
    }
  }

  // The lock and the channel live in a private folder: $XDG_RUNTIME_DIR or, without it, the copies' own 0700
  // folder in the temp folder, where a lock held by a live process and a listening socket under the names the
  // temp folder itself once held change nothing. A folder that is not private is refused, and the program
  // then runs alone; otherwise a second copy hands its file to the running one and exits with 0.
  void aSecondCopyHandsItsFileToTheRunningOneThroughAPrivateFolderOnly() {
    TempDir dir;
    namespace fs = std::filesystem;
    fs::create_directory(dir / "open");
    fs::permissions(dir / "open", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    fs::create_directory(dir / "own");
    fs::permissions(dir / "own", fs::perms::owner_all);
    const std::string mine = "granvel-" + std::to_string(::getuid()), fallback = dir / mine;
    fs::create_directory_symlink(dir / "own", fallback);
    test::WriteText(dir / "file", "");
    const std::tuple<std::string, const char*> rows[] = {
        {"open", " is open to other users"}, {mine, " is a link"}, {"file", " is not a folder"},
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
    test::WriteText(dir / "late_mem.txt", "MEM$ = \"L\"\r\n");
    const auto alone = StartProgram(dir.Path(), {QStringLiteral("late_mem.txt")});
    QTRY_VERIFY_WITH_TIMEOUT(test::Exists(dir / "late_mem_MEM.zkp"), 60000);
    QVERIFY(fs::is_empty(dir / "own"));
    QVERIFY(alone->readAllStandardError().contains(
        " is a link; running without handing files to another copy\n"));
    alone->terminate();
    QVERIFY(alone->waitForFinished(30000));
    fs::remove(fallback);

    const QString shared = QString::fromStdString(dir.Path());
    QLockFile planted(SingleInstance::LockPath(shared));
    QVERIFY(planted.tryLock(0));
    QLocalServer listener;
    QVERIFY(listener.listen(SingleInstance::ChannelPath(shared)));
    for (const auto& [runtime, folder] :
         {std::pair{dir / "own", dir / "own"}, std::pair{std::string(), fallback}}) {
      fs::remove(dir / "late_mem_MEM.zkp");
      const auto first = StartProgram(dir.Path(), {}, {{"XDG_RUNTIME_DIR", runtime}});
      QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(SingleInstance::ChannelPath(QString::fromStdString(folder))),
                               60000);
      const auto second =
          StartProgram(dir.Path(), {QStringLiteral("late_mem.txt")}, {{"XDG_RUNTIME_DIR", runtime}});
      QVERIFY(second->waitForFinished(60000));
      QVERIFY(second->exitStatus() == QProcess::NormalExit && second->exitCode() == 0);
      QTRY_VERIFY_WITH_TIMEOUT(test::Exists(dir / "late_mem_MEM.zkp"), 30000);
      QCOMPARE(first->state(), QProcess::Running);
      first->terminate();
      QVERIFY(first->waitForFinished(30000));
    }
    QVERIFY(!listener.hasPendingConnections());
  }
};

}  // namespace granvel::shell

QTEST_MAIN(granvel::shell::MainWindowTest)
#include "main_window_test.moc"
