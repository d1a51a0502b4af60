// What one run (a batch of files) has written, and from which input: a later input never replaces a file
// an earlier input of the same run wrote, and one input's second file of a name gets a name of its own. It
// also keeps what the run says once and the answers the user kept for the rest of the run.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>

#include "convert/context.h"
#include "platform/files.h"

namespace granvel {

class RunLedger : public RunMemory {
 public:
  // The next input of the run begins: a file named twice in a run is two inputs.
  void BeginInput() { ++input_; }

  bool Claim(const std::string& input, std::string& path, std::string& note, std::string& error) override;
  bool FirstTime(const std::string& topic) override { return said_.insert(topic).second; }
  std::optional<bool> KeptAnswer(const std::string& caption) const override;
  void KeepAnswer(const std::string& caption, bool answer) override { answers_[caption] = answer; }
  // The steps of the current file go to `onAdvance` (the run's progress).
  void OnAdvance(std::function<void(std::uint64_t, std::uint64_t)> onAdvance) {
    onAdvance_ = std::move(onAdvance);
  }
  void Advance(std::uint64_t done, std::uint64_t total) override {
    if (onAdvance_)
      onAdvance_(done, total);
  }

 private:
  struct Entry {
    std::string Path;   // as it was written
    std::string Input;  // the input it came from
    int Serial;         // which input of the run that was
  };
  std::map<std::string, Entry> written_;  // by the file's identity (PathIdentity)
  PathIdentities identities_;
  int input_ = 0;
  std::set<std::string> said_;
  std::map<std::string, bool> answers_;
  std::function<void(std::uint64_t, std::uint64_t)> onAdvance_;
};

// `path` with "_2", "_3", ... before its extension ("A_CHR.bmp" -> "A_CHR_2.bmp").
std::string NumberedPath(const std::string& path, int number);

}  // namespace granvel
