#include "shell/single_instance.h"

#include <QDir>

namespace granvel::shell {

SingleInstance::SingleInstance(const QString& folder) : lock_(LockPath(folder)) {
  // A lock left by a copy that died is taken over, so a crash never blocks the next start.
  lock_.setStaleLockTime(0);
  first_ = lock_.tryLock(0);
}

QString SingleInstance::DefaultFolder() {
  return QDir::tempPath();
}

QString SingleInstance::LockPath(const QString& folder) {
  return QDir(folder).filePath(QStringLiteral("TOLMERA.lock"));
}

}  // namespace granvel::shell
