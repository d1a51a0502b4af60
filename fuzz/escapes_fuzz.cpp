// Escapes: decoding never grows a text, and what WriteEscapedByte writes decodes back to the same bytes.
#include "format/escapes.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace granvel;
  ConvertSettings on;
  on.PRG_ESCAPE = 1;
  auto text = fuzz::ToBytes(data, size);
  const std::size_t length = DecodeEscapes(text, on);
  GRANVEL_FUZZ_CHECK(length == text.size());
  GRANVEL_FUZZ_CHECK(length <= size);

  std::vector<std::uint8_t> escaped;
  for (std::size_t i = 0; i < size; ++i)
    WriteEscapedByte(escaped, data[i]);
  DecodeEscapes(escaped, on);
  GRANVEL_FUZZ_CHECK(escaped == fuzz::ToBytes(data, size));
  return 0;
}
