// One copy of the desktop program at a time.
#include "shell/single_instance.h"

#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <memory>

#include "support/temp_dir.h"

namespace granvel::shell {
namespace {

// Starts the program with `tempFolder` as its temp folder (where the lock lives) and working directory.
std::unique_ptr<QProcess> StartProgram(const std::string& tempFolder, const QStringList& arguments = {}) {
  auto process = std::make_unique<QProcess>();
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("TMPDIR"), QString::fromStdString(tempFolder));
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  process->setProcessEnvironment(environment);
  process->setWorkingDirectory(QString::fromStdString(tempFolder));
  process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
  process->start(QStringLiteral(GRANVEL_GUI_PATH), arguments);
  return process;
}

}  // namespace

class SingleInstanceTest : public QObject {
  Q_OBJECT

 private slots:
  void secondLockOfTheSameFolderIsRefusedUntilTheFirstGoes() {
    test::TempDir dir;
    const QString folder = QString::fromStdString(dir.Path());
    {
      const SingleInstance first(folder);
      QVERIFY(first.IsFirst());
      QVERIFY(QFileInfo::exists(SingleInstance::LockPath(folder)));
      QVERIFY(QFileInfo(SingleInstance::LockPath(folder)).fileName().startsWith(QStringLiteral("TOLMERA")));
      const SingleInstance second(folder);
      QVERIFY(!second.IsFirst());
    }
    const SingleInstance again(folder);
    QVERIFY(again.IsFirst());
  }

  void lockLeftByACopyThatDiedIsTakenOver() {
    test::TempDir live, dir;
    // The lock a copy writes, with the id of a process that has ended in place of its own.
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    QVERIFY(ended.waitForStarted());
    const qint64 endedId = ended.processId();
    QVERIFY(ended.waitForFinished());
    std::string lockText;
    {
      const SingleInstance holder(QString::fromStdString(live.Path()));
      QVERIFY(holder.IsFirst());
      lockText = test::ReadText(SingleInstance::LockPath(QString::fromStdString(live.Path())).toStdString());
    }
    lockText = std::to_string(endedId) + lockText.substr(lockText.find('\n'));
    test::WriteText(SingleInstance::LockPath(QString::fromStdString(dir.Path())).toStdString(), lockText);
    const SingleInstance instance(QString::fromStdString(dir.Path()));
    QVERIFY(instance.IsFirst());
  }

  void secondCopyOfTheProgramExitsSilentlyWithStatusZero() {
    test::TempDir dir;
    const SingleInstance running(QString::fromStdString(dir.Path()));
    QVERIFY(running.IsFirst());
    const auto second = StartProgram(dir.Path());
    QVERIFY(second->waitForFinished(60000));
    QCOMPARE(second->exitStatus(), QProcess::NormalExit);
    QCOMPARE(second->exitCode(), 0);
    QVERIFY(second->readAllStandardOutput().isEmpty());
  }

  void whileTheProgramRunsASecondCopyLeavesAndTheFirstStays() {
    test::TempDir dir;
    const auto first = StartProgram(dir.Path());
    QVERIFY(first->waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(
        QFileInfo::exists(SingleInstance::ChannelPath(QString::fromStdString(dir.Path()))), 60000);
    const auto second = StartProgram(dir.Path());
    QVERIFY(second->waitForFinished(60000));
    QCOMPARE(second->exitCode(), 0);
    QCOMPARE(first->state(), QProcess::Running);
    first->terminate();
    QVERIFY(first->waitForFinished(30000));
  }

  void pathsHandedOverReachTheCopyThatListens() {
    test::TempDir dir;
    const QString folder = QString::fromStdString(dir.Path());
    SingleInstance first(folder);
    QVERIFY(first.IsFirst());
    QList<QStringList> received;
    QVERIFY(first.Listen([&](const QStringList& paths) { received << paths; }));
    const SingleInstance second(folder);
    QVERIFY(!second.IsFirst());
    const QStringList paths{QStringLiteral("/pics/Hero 1.bmp"), QStringLiteral("/texts/\u3042_mem.txt")};
    QVERIFY(second.HandOver(paths));
    QTRY_COMPARE(received.size(), 1);
    QCOMPARE(received[0], paths);
  }

  void handOverWithNoCopyListeningFails() {
    test::TempDir dir;
    const SingleInstance alone(QString::fromStdString(dir.Path()));
    QVERIFY(!alone.HandOver({QStringLiteral("/a")}, 500));
  }

  void aSecondCopyHandsItsFilesToTheRunningCopyWhichConvertsThem() {
    test::TempDir dir;
    test::WriteText(dir / "late_mem.txt", "MEM$ = \"L\"\r\n");
    const auto first = StartProgram(dir.Path());
    QVERIFY(first->waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(
        QFileInfo::exists(SingleInstance::ChannelPath(QString::fromStdString(dir.Path()))), 60000);
    const auto second = StartProgram(dir.Path(), {QStringLiteral("late_mem.txt")});  // relative to its folder
    QVERIFY(second->waitForFinished(60000));
    QCOMPARE(second->exitCode(), 0);
    QTRY_VERIFY_WITH_TIMEOUT(test::Exists(dir / "late_mem_MEM.zkp"), 30000);
    QCOMPARE(first->state(), QProcess::Running);
    first->terminate();
    QVERIFY(first->waitForFinished(30000));
  }
};

}  // namespace granvel::shell

QTEST_MAIN(granvel::shell::SingleInstanceTest)
#include "single_instance_test.moc"
