#include "shell/single_instance.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace granvel::shell {
namespace {

QString UserTag() {
  return QStringLiteral("TOLMERA-") + QString::number(::getuid());
}

// Paths travel as UTF-8, each ended by a NUL byte (a path can hold anything else).
QByteArray Encode(const QStringList& paths) {
  QByteArray data;
  for (const QString& path : paths) {
    data += path.toUtf8();
    data += '\0';
  }
  return data;
}

QStringList Decode(const QByteArray& data) {
  QStringList paths;
  for (const QByteArray& part : data.split('\0')) {
    if (!part.isEmpty())
      paths << QString::fromUtf8(part);
  }
  return paths;
}

}  // namespace

SingleInstance::SingleInstance(const QString& folder) : folder_(folder) {
  if (folder_.isEmpty())
    return;
  lock_ = std::make_unique<QLockFile>(LockPath(folder_));
  // Never stale by age; a lock left by a copy that is no longer running is taken over.
  lock_->setStaleLockTime(0);
  first_ = lock_->tryLock(0);
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::Listen(std::function<void(const QStringList&)> onPaths) {
  if (!first_ || folder_.isEmpty())
    return false;
  const QString channel = ChannelPath(folder_);
  QLocalServer::removeServer(channel);  // left by a copy that died; the lock says none runs
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(channel)) {
    server_.reset();
    return false;
  }
  QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this, onPaths] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      auto buffer = std::make_shared<QByteArray>();
      QObject::connect(socket, &QLocalSocket::readyRead, socket,
                       [socket, buffer] { *buffer += socket->readAll(); });
      QObject::connect(socket, &QLocalSocket::disconnected, socket, [socket, buffer, onPaths] {
        *buffer += socket->readAll();
        socket->deleteLater();
        onPaths(Decode(*buffer));  // no paths: a copy started without files
      });
    }
  });
  return true;
}

bool SingleInstance::HandOver(const QStringList& paths, int timeoutMs) const {
  if (folder_.isEmpty())
    return false;
  QLocalSocket socket;
  socket.connectToServer(ChannelPath(folder_));
  if (!socket.waitForConnected(timeoutMs))
    return false;
  socket.write(Encode(paths));
  const bool written = socket.waitForBytesWritten(timeoutMs) || socket.bytesToWrite() == 0;
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState)
    socket.waitForDisconnected(timeoutMs);
  return written;
}

QString SingleInstance::PrivateFolder(QString* reason) {
  QString folder;
  if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  } else {
    folder = QDir(QDir::tempPath()).filePath(QStringLiteral("granvel-") + QString::number(::getuid()));
    // Made with no rights for others; an existing entry of that name is left as it is and checked below.
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
  }
  if (folder.isEmpty()) {
    *reason = QStringLiteral("no runtime folder");
    return {};
  }
  return CheckPrivateFolder(folder, reason) ? folder : QString();
}

bool SingleInstance::CheckPrivateFolder(const QString& folder, QString* reason) {
  struct stat info {};
  if (::lstat(QFile::encodeName(folder).constData(), &info) != 0) {
    *reason = folder + QStringLiteral(" cannot be read");
    return false;
  }
  if (S_ISLNK(info.st_mode))
    *reason = folder + QStringLiteral(" is a link");
  else if (!S_ISDIR(info.st_mode))
    *reason = folder + QStringLiteral(" is not a folder");
  else if (info.st_uid != ::getuid())
    *reason = folder + QStringLiteral(" belongs to another user");
  else if ((info.st_mode & 077) != 0)
    *reason = folder + QStringLiteral(" is open to other users");
  else
    return true;
  return false;
}

QString SingleInstance::LockPath(const QString& folder) {
  return QDir(folder).filePath(UserTag() + QStringLiteral(".lock"));
}

QString SingleInstance::ChannelPath(const QString& folder) {
  return QDir(folder).filePath(UserTag() + QStringLiteral(".socket"));
}

}  // namespace granvel::shell
