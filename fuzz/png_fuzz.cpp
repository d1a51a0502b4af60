// The PNG reader from arbitrary bytes (its chunk checks, the system's decoder, the palette of a true-colour
// picture), as CHR (8x8 units, mask 15) and GRP (mask 255) read it. An accepted image holds Width x Height
// pixels below the mask and a whole COL payload; a refused one leaves a reason and no pixels.
#include "encode/image/png.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace granvel;
  if (size < 1)
    return 0;
  // First byte: GRP's mask (bit 0), PAL_Fix_1bit 0 or 1 (bit 1), AutoTrim (bit 2), a TransparentColour (bit
  // 3).
  ConvertSettings settings;
  settings.PNG_Image = 1;
  settings.PAL_Fix_1bit = (data[0] >> 1) & 1;
  settings.AutoTrim = (data[0] >> 2) & 1;
  if (data[0] & 8)
    settings.TransparentColour = "F80000";
  const std::uint8_t mask = (data[0] & 1) ? 255 : 15;
  fuzz::QuietHost host(false);
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  const auto file = fuzz::ToBytes(data + 1, size - 1);

  const BmpImage image = ReadPngImage(file, "fuzz.png", 8, 8, mask, ctx);
  if (image.PixelCount == 0) {
    GRANVEL_FUZZ_CHECK(!report.Reason.empty() && image.Pixels.empty());
    return 0;
  }
  GRANVEL_FUZZ_CHECK(report.Reason.empty());
  GRANVEL_FUZZ_CHECK(image.Pixels.size() == static_cast<std::size_t>(image.Width) * image.Height);
  GRANVEL_FUZZ_CHECK(image.ColPayload.size() == kColPayloadSize);
  for (const std::uint8_t pixel : image.Pixels)
    GRANVEL_FUZZ_CHECK(pixel <= mask);
  return 0;
}
