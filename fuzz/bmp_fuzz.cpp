// The BMP reader from arbitrary bytes, with each CHR unit size and mask 15, and with 1x1 units and mask 255
// as the GRP and binary conversions read. An accepted image holds Width x Height pixels and a whole COL
// payload; under mask 15 every pixel is a palette index below 16.
#include <array>

#include "encode/image/bmp.h"
#include "fuzz_support.h"

namespace {

struct Unit {
  std::uint32_t width, height;
  std::uint8_t mask;
};

// The eight CHR units (background and font, then the seven sprite sizes), then the GRP reading.
// clang-format off
constexpr std::array<Unit, 9> kUnits{{{8, 8, 15}, {16, 16, 15}, {32, 16, 15}, {16, 32, 15}, {32, 32, 15},
                                      {64, 32, 15}, {32, 64, 15}, {64, 64, 15}, {1, 1, 255}}};
// clang-format on

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace granvel;
  if (size < 1)
    return 0;
  // First byte: the unit (low nibble, modulo 9), AutoTrim (bit 4), PAL_Fix_1bit (bits 5-6: ask, 0, 1) and
  // the answer to the palette question (bit 7).
  const Unit unit = kUnits[(data[0] & 0x0F) % kUnits.size()];
  ConvertSettings settings;
  settings.AutoTrim = (data[0] >> 4) & 1;
  settings.PAL_Fix_1bit = ((data[0] >> 5) & 3) % 3 - 1;
  fuzz::QuietHost host((data[0] >> 7) & 1);
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  const auto file = fuzz::ToBytes(data + 1, size - 1);

  const BmpImage image = ReadBmpImage(file, "fuzz.bmp", unit.width, unit.height, unit.mask, ctx);
  if (image.PixelCount == 0) {
    GRANVEL_FUZZ_CHECK(!report.Reason.empty());
    GRANVEL_FUZZ_CHECK(image.Pixels.empty() && image.Width == 0 && image.Height == 0);
    return 0;
  }
  GRANVEL_FUZZ_CHECK(report.Reason.empty());
  GRANVEL_FUZZ_CHECK(image.Width > 0 && image.Height > 0);
  GRANVEL_FUZZ_CHECK(static_cast<std::int64_t>(image.PixelCount) ==
                     static_cast<std::int64_t>(image.Width) * image.Height);
  GRANVEL_FUZZ_CHECK(image.Pixels.size() == static_cast<std::size_t>(image.PixelCount));
  GRANVEL_FUZZ_CHECK(image.ColPayload.size() == kColPayloadSize);
  GRANVEL_FUZZ_CHECK(image.PaletteRows == 16);
  if (unit.mask == 15 && settings.AutoTrim != 0)
    GRANVEL_FUZZ_CHECK(image.Width % unit.width == 0 && image.Height % unit.height == 0);
  if (unit.mask == 15)
    for (const std::uint8_t pixel : image.Pixels)
      GRANVEL_FUZZ_CHECK(pixel < 16);
  return 0;
}
