// The screen-text state machine from arbitrary bytes, and the raw screen reader: a text that reads gives a
// whole 8212-byte SCR payload, the same as the payload of the map it filled; a raw screen always does.
#include <cstring>

#include "encode/text/scr.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace granvel;
  const auto text = fuzz::ToBytes(data, size);

  ScreenMap map{};
  std::string readError;
  const bool read = ReadScreenText(text, map, readError);
  std::string error;
  const ResourcePayload payload = ScrPayloadFromText(text, error);
  GRANVEL_FUZZ_CHECK(read == !payload.empty());
  if (payload.empty()) {
    GRANVEL_FUZZ_CHECK(!error.empty() && !readError.empty());
  } else {
    GRANVEL_FUZZ_CHECK(payload.size() == kScrPayloadSize);
    GRANVEL_FUZZ_CHECK(std::memcmp(payload.data(), kTagScr.data(), kTagSize) == 0);
    GRANVEL_FUZZ_CHECK(payload == ScrPayloadFromMap(map));
  }

  const ResourcePayload raw = ScrPayloadFromRaw(text);
  GRANVEL_FUZZ_CHECK(raw.size() == kScrPayloadSize);
  GRANVEL_FUZZ_CHECK(std::memcmp(raw.data(), kTagScr.data(), kTagSize) == 0);
  return 0;
}
