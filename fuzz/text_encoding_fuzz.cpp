// Text encodings: any bytes are judged and converted without a fault; a converted Unicode text is never
// longer than it was (no Shift JIS character takes more bytes than its UTF-8 or UTF-16 form), and a text
// judged Shift JIS is left as it is.
#include "encode/text/text_encoding.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace granvel;
  auto text = fuzz::ToBytes(data, size);
  const TextEncoding encoding = DetectTextEncoding(text);
  std::string error;
  const bool ok = ConvertToShiftJis(text, encoding, error);
  GRANVEL_FUZZ_CHECK(ok != !error.empty());
  GRANVEL_FUZZ_CHECK(!ok || text.size() <= size);
  GRANVEL_FUZZ_CHECK(encoding != TextEncoding::ShiftJis || text == fuzz::ToBytes(data, size));
  return 0;
}
