#include "platform/watch.h"

#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>
#include <vector>

#include "platform/files.h"

namespace granvel {

struct FolderWatch::State {
  int fd = -1;
  std::map<int, std::string> folders;  // watch descriptor -> folder, with a trailing "/"

  void Add(const std::string& folder) {
    constexpr std::uint32_t kEvents =
        IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE | IN_ONLYDIR;
    const int wd = ::inotify_add_watch(fd, folder.empty() ? "." : folder.c_str(), kEvents);
    if (wd < 0)
      return;
    folders[wd] = folder;
    std::vector<FolderEntry> entries;
    std::string error;
    if (!ListFolder(folder, entries, error))
      return;
    for (const FolderEntry& entry : entries) {
      if (entry.Folder && !entry.Link && !entry.Hidden)
        Add(folder + entry.Name + "/");
    }
  }
};

FolderWatch::FolderWatch() : state_(std::make_unique<State>()) {}

FolderWatch::~FolderWatch() {
  if (state_->fd >= 0)
    ::close(state_->fd);
}

bool FolderWatch::Start(const std::string& folder, std::string& error) {
  state_->fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (state_->fd < 0) {
    error = std::string("cannot watch files: ") + std::strerror(errno);
    return false;
  }
  const std::string root = folder.empty() || folder == "." ? ""
                           : folder.back() == '/'          ? folder
                                                           : folder + "/";
  if (!IsDirectory(root.empty() ? "." : root)) {
    error = "cannot watch " + DisplayPath(folder) + ": no such folder";
    return false;
  }
  state_->Add(root);
  return true;
}

bool FolderWatch::Wait(int timeoutMs) {
  pollfd item{state_->fd, POLLIN, 0};
  if (::poll(&item, 1, timeoutMs) <= 0)
    return false;
  bool changed = false;
  alignas(inotify_event) char buffer[16384];
  ssize_t got;
  while ((got = ::read(state_->fd, buffer, sizeof buffer)) > 0) {
    for (char* at = buffer; at < buffer + got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(at);
      at += sizeof(inotify_event) + event->len;
      const auto folder = state_->folders.find(event->wd);
      if (folder == state_->folders.end() || event->len == 0 || event->name[0] == '.')
        continue;  // a hidden file or folder, such as the build's own state
      changed = true;
      if ((event->mask & IN_ISDIR) && (event->mask & (IN_CREATE | IN_MOVED_TO)))
        state_->Add(folder->second + event->name + "/");
    }
  }
  return changed;
}

}  // namespace granvel
