#include "encode/image/bmp_rle.h"

namespace granvel {

void DecodeRle(std::span<const std::uint8_t> data, int bitsPerPixel, std::uint8_t mask, std::int32_t width,
               std::int32_t height, std::span<std::uint8_t> pixels) {
  const bool rle4 = bitsPerPixel == 4;
  std::int64_t x = 0, y = 0;  // y counts rows from the bottom
  auto put = [&](std::uint8_t value) {
    if (x < width && y < height)
      pixels[static_cast<std::size_t>((height - 1 - y) * width + x)] = rle4 ? value : (value & mask);
    ++x;
  };
  std::size_t at = 0;
  while (at + 2 <= data.size() && y < height) {
    const std::uint8_t count = data[at];
    const std::uint8_t value = data[at + 1];
    at += 2;
    if (count > 0) {  // an encoded run
      for (int i = 0; i < count; ++i)
        put(rle4 ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // delta
      if (at + 2 > data.size())
        break;
      x += data[at];
      y += data[at + 1];
      at += 2;
    } else {  // an absolute run of `value` pixels, its bytes padded to a 16-bit boundary
      const std::size_t bytes = rle4 ? (value + 1u) / 2 : value;
      for (int i = 0; i < value; ++i) {
        const std::size_t byteAt =
            at + (rle4 ? static_cast<std::size_t>(i / 2) : static_cast<std::size_t>(i));
        if (byteAt >= data.size())
          return;
        const std::uint8_t byte = data[byteAt];
        put(rle4 ? ((i % 2 == 0) ? byte >> 4 : byte & 0x0F) : byte);
      }
      at += bytes + (bytes % 2);
    }
  }
}

}  // namespace granvel
