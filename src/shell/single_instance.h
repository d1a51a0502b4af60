// Keeps one copy of the desktop program running per user: a lock file named after "TOLMERA" in the user's
// private runtime folder, held for the life of this object. The copy that holds it also listens beside it,
// so a later copy can hand over the paths it was started with before it leaves. Without a private folder
// that can be trusted, every copy runs on its own: a name in a folder others can write never decides what
// this program does.
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
  // `folder` empty: no lock and no channel; this copy counts as the first and hands nothing over.
  explicit SingleInstance(const QString& folder);
  ~SingleInstance();

  // True when this copy holds the lock (or runs without one); false when another running copy holds it.
  bool IsFirst() const { return first_; }

  // The first copy: accepts paths handed over by later copies and passes each list to `onPaths` from the
  // event loop, an empty one for a copy started without files. False when it cannot listen (later copies then
  // just leave).
  bool Listen(std::function<void(const QStringList&)> onPaths);
  // A later copy: hands `paths` to the running copy. False when it cannot be reached in time.
  bool HandOver(const QStringList& paths, int timeoutMs = 3000) const;

  // The user's runtime folder ($XDG_RUNTIME_DIR); where there is none, "granvel-<user id>" in the temp
  // folder, made with mode 0700. Either is used only when CheckPrivateFolder accepts it; otherwise empty,
  // with the reason in `reason`.
  static QString PrivateFolder(QString* reason);
  // True when `folder` is a real folder (not a link) owned by this user that no one else may enter.
  static bool CheckPrivateFolder(const QString& folder, QString* reason);
  // "TOLMERA-<user id>.lock" in `folder`.
  static QString LockPath(const QString& folder);
  static QString ChannelPath(const QString& folder);

 private:
  QString folder_;
  std::unique_ptr<QLockFile> lock_;
  bool first_ = true;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace granvel::shell
