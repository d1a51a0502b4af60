// Keeps one copy of the desktop program running: a lock file named after "TOLMERA" in a folder (the temp
// folder by default), held for the life of this object.
#pragma once

#include <QLockFile>
#include <QString>

namespace granvel::shell {

class SingleInstance {
 public:
  explicit SingleInstance(const QString& folder = DefaultFolder());

  // True when this copy holds the lock; false when another running copy does.
  bool IsFirst() const { return first_; }

  static QString DefaultFolder();
  static QString LockPath(const QString& folder);

 private:
  QLockFile lock_;
  bool first_;
};

}  // namespace granvel::shell
