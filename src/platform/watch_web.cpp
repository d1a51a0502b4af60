// The browser edition has no changes to watch for: its files live in memory or, under Node, are read once.
#include "platform/watch.h"

namespace granvel {

struct FolderWatch::State {};

FolderWatch::FolderWatch() = default;
FolderWatch::~FolderWatch() = default;

bool FolderWatch::Start(const std::string& folder, std::string& error) {
  (void)folder;
  error = "watching for changes is not available in this edition";
  return false;
}

bool FolderWatch::Wait(int timeoutMs) {
  (void)timeoutMs;
  return false;
}

}  // namespace granvel
