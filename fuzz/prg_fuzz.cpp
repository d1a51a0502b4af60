// The program encoder from arbitrary texts (ordinary and full-width, escapes and the line limit on and off):
// a payload it accepts has the length its header says, padded with zeros to a multiple of 4.
#include <cstring>

#include "encode/text/prg.h"
#include "format/bytes.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace granvel;
  if (size < 1)
    return 0;
  ConvertSettings settings;
  settings.PRG_ESCAPE = data[0] & 1;
  settings.PRG_Limit = (data[0] >> 1) & 1;
  const auto text = fuzz::ToBytes(data + 1, size - 1);

  std::string error;
  const ResourcePayload payload = PrgPayloadFromText(text, settings, error);
  std::vector<std::uint8_t> program;
  std::string programError;
  const bool encoded = EncodeProgramText(text, settings, program, programError);
  GRANVEL_FUZZ_CHECK(encoded == !payload.empty());
  if (payload.empty()) {
    GRANVEL_FUZZ_CHECK(!error.empty());
    return 0;
  }
  constexpr std::size_t kHeader = 32;  // tag, two zero words, the length
  GRANVEL_FUZZ_CHECK(payload.size() >= kHeader);
  GRANVEL_FUZZ_CHECK(std::memcmp(payload.data(), kTagPrg.data(), kTagSize) == 0);
  const std::uint32_t length = GetU32LE(&payload[28]);
  GRANVEL_FUZZ_CHECK(length == program.size());
  GRANVEL_FUZZ_CHECK(payload.size() == kHeader + (std::size_t{length} + 3) / 4 * 4);
  GRANVEL_FUZZ_CHECK(std::memcmp(&payload[kHeader], program.data(), program.size()) == 0);
  for (std::size_t i = kHeader + length; i < payload.size(); ++i)
    GRANVEL_FUZZ_CHECK(payload[i] == 0);
  return 0;
}
