// MEM texts: the MEM$ matcher, the closing-quote search and escapes, from arbitrary bytes.
#include "encode/text/mem.h"
#include "format/bytes.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace granvel;
  if (size < 1)
    return 0;
  ConvertSettings settings;
  settings.PRG_ESCAPE = data[0] & 1;
  const auto text = fuzz::ToBytes(data + 1, size - 1);
  std::string error;
  const ResourcePayload payload = MemPayloadFromText(text, settings, error);
  if (payload.empty()) {
    GRANVEL_FUZZ_CHECK(!error.empty());
    return 0;
  }
  GRANVEL_FUZZ_CHECK(payload.size() == kMemPayloadSize);
  const std::uint32_t count = GetU32LE(&payload[532]);
  GRANVEL_FUZZ_CHECK(count <= 256);
  // Every code after the last character is zero.
  for (std::size_t i = 20 + 2 * count; i < 532; ++i)
    GRANVEL_FUZZ_CHECK(payload[i] == 0);
  return 0;
}
