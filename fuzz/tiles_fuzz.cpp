// The tile payload builder on small grids with arbitrary unit sizes, block widths and block indexes: a CHR
// block gives nothing or a whole 8212-byte payload, a GRP block nothing or a whole 49172-byte one.
#include <cstring>

#include "format/tiles.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace granvel;
  constexpr std::size_t kParams = 8;
  if (size < kParams)
    return 0;
  // Bytes 0-7: kind (CHR or GRP), width and height (0 to 96), unit width and height (signed), block width
  // (signed 16 bits), block index. The rest are the pixels, row by row, missing ones 0.
  const bool chr = (data[0] & 1) == 0;
  const std::uint32_t pixelsPerBlock = chr ? kChrBlockPixels : kGrpBlockPixels;
  const std::int32_t width = data[1] % 97;
  const std::int32_t height = data[2] % 97;
  const int unitWidth = static_cast<std::int8_t>(data[3]);
  const int unitHeight = static_cast<std::int8_t>(data[4]);
  const int blockWidth = static_cast<std::int16_t>(data[5] | (data[6] << 8));
  const std::uint32_t blockIndex = data[7];

  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
  if (!pixels.empty())
    std::memcpy(pixels.data(), data + kParams, std::min(pixels.size(), size - kParams));
  const PixelGrid grid{pixels, width, height};

  const ResourcePayload payload =
      BuildTilePayload(grid, pixelsPerBlock, blockIndex, unitWidth, unitHeight, blockWidth);
  if (payload.empty())
    return 0;
  GRANVEL_FUZZ_CHECK(payload.size() == (chr ? kChrPayloadSize : kGrpPayloadSize));
  const std::string_view tag = chr ? kTagChr : kTagGrp;
  GRANVEL_FUZZ_CHECK(std::memcmp(payload.data(), tag.data(), kTagSize) == 0);
  // A block inside an image of all-zero pixels holds nothing but zeros.
  bool allZero = true;
  for (const std::uint8_t p : pixels)
    allZero = allZero && p == 0;
  if (allZero)
    for (std::size_t i = kTagSize; i < payload.size(); ++i)
      GRANVEL_FUZZ_CHECK(payload[i] == 0);
  return 0;
}
