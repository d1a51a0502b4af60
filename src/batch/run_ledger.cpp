#include "batch/run_ledger.h"

#include "platform/files.h"

namespace granvel {

std::string NumberedPath(const std::string& path, int number) {
  const auto slash = path.find_last_of(kPathSeparators);
  const auto dot = path.find_last_of('.');
  const bool hasExtension = dot != std::string::npos && (slash == std::string::npos || dot > slash + 1);
  const std::size_t at = hasExtension ? dot : path.size();
  return path.substr(0, at) + "_" + std::to_string(number) + path.substr(at);
}

bool RunLedger::Claim(const std::string& input, std::string& path, std::string& note, std::string& error) {
  std::string identity = identities_.Of(path);
  const auto earlier = written_.find(identity);
  if (earlier != written_.end() && earlier->second.Serial != input_) {
    error = earlier->second.Path + " was written from " + earlier->second.Input + " in this run" +
            (earlier->second.Input == input ? " (the file is named twice)" : "");
    return false;
  }
  if (earlier != written_.end()) {
    std::string free = path;
    for (int number = 2; written_.count(identity = identities_.Of(free)) != 0; ++number)
      free = NumberedPath(path, number);
    note = path + " was written from this file already; this one is " + free;
    path = free;
  }
  written_[identity] = {path, input, input_};
  return true;
}

std::optional<bool> RunLedger::KeptAnswer(const std::string& caption) const {
  const auto kept = answers_.find(caption);
  return kept == answers_.end() ? std::nullopt : std::optional<bool>(kept->second);
}

}  // namespace granvel
