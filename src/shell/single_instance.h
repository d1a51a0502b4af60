// Keeps one copy of the desktop program running per user: a lock file named after "TOLMERA" in a folder
// (the temp folder by default), held for the life of this object. The copy that holds it also listens
// beside it, so a later copy can hand over the paths it was started with before it leaves.
#pragma once

#include <QLockFile>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLocalServer;

namespace granvel::shell {

class SingleInstance {
 public:
  explicit SingleInstance(const QString& folder = DefaultFolder());
  ~SingleInstance();

  // True when this copy holds the lock; false when another running copy does.
  bool IsFirst() const { return first_; }

  // The first copy: accepts paths handed over by later copies and passes each list to `onPaths` from the
  // event loop. False when it cannot listen (later copies then just leave).
  bool Listen(std::function<void(const QStringList&)> onPaths);
  // A later copy: hands `paths` to the running copy. False when it cannot be reached in time.
  bool HandOver(const QStringList& paths, int timeoutMs = 3000) const;

  static QString DefaultFolder();
  // "TOLMERA-<user id>.lock" in `folder`: each user has a copy of their own, as each desktop session has.
  static QString LockPath(const QString& folder);
  static QString ChannelPath(const QString& folder);

 private:
  QString folder_;
  QLockFile lock_;
  bool first_;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace granvel::shell
