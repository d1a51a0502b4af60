// Watching a folder and every folder below it for changes: inotify on Linux, ReadDirectoryChangesW on
// Windows. Hidden folders (".granvel", ".git") are passed over.
#pragma once

#include <memory>
#include <string>

namespace granvel {

class FolderWatch {
 public:
  FolderWatch();
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Starts watching `folder` ("" or "." the working folder) and the folders below it, those made later too.
  // False with a reason.
  bool Start(const std::string& folder, std::string& error);
  // Waits at most `timeoutMs` milliseconds for a file or folder below the folder to be made, changed, moved
  // or removed. True when one was; the changes seen are taken, so the next call waits for new ones.
  bool Wait(int timeoutMs);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace granvel
