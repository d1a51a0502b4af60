// Small helpers shared by the fuzz targets.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "convert/context.h"
#include "convert/settings.h"
#include "platform/host.h"

namespace granvel::fuzz {

// Stops the run with a finding when an invariant does not hold.
#define GRANVEL_FUZZ_CHECK(condition)                                                         \
  do {                                                                                        \
    if (!(condition)) {                                                                       \
      std::fprintf(stderr, "invariant failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                           \
    }                                                                                         \
  } while (0)

inline std::vector<std::uint8_t> ToBytes(const std::uint8_t* data, std::size_t size) {
  return std::vector<std::uint8_t>(data, data + size);
}

// A host that answers every question from one input byte and shows nothing.
class QuietHost : public Host {
 public:
  explicit QuietHost(bool answer = false) : answer_(answer) {}
  bool AskYesNo(const std::string&, const std::string&) override { return answer_; }
  void ShowMessage(const std::string&, const std::string&) override {}
  bool ChooseFile(FileChoice&) override { return false; }

 private:
  bool answer_;
};

}  // namespace granvel::fuzz
