#include "format/tiles.h"

#include <algorithm>
#include <cstring>

namespace granvel {
namespace {

// Copies the 8 pixels of one tile row that start at (x, y); those outside the image are 0.
void TileRow(const PixelGrid& image, std::int64_t x, std::int64_t y, std::uint8_t (&row)[8]) {
  std::fill(std::begin(row), std::end(row), 0);
  if (y >= image.Height || x >= image.Width)
    return;
  const std::int64_t inside = std::min<std::int64_t>(8, image.Width - x);
  const std::uint8_t* from = image.Pixels.data() + y * image.Width + x;
  std::copy(from, from + inside, row);
}

// Puts one tile row of 8 pixels: 4 bytes of two pixels each (left pixel in the low nibble) for CHR, the 8
// bytes as they are for GRP.
std::uint8_t* PutTileRow(std::uint8_t* out, const std::uint8_t* row, bool chr) {
  if (!chr) {
    std::memcpy(out, row, 8);
    return out + 8;
  }
  for (int c = 0; c < 8; c += 2)
    *out++ = static_cast<std::uint8_t>((row[c] & 0x0F) | ((row[c + 1] & 0x0F) << 4));
  return out;
}

}  // namespace

ResourcePayload BuildTilePayload(const PixelGrid& image, std::uint32_t pixelsPerBlock,
                                 std::uint32_t blockIndex, int unitWidth, int unitHeight, int blockWidth) {
  if (image.Width <= 0 || image.Height <= 0 ||
      image.Pixels.size() <
          static_cast<std::uint64_t>(image.Width) * static_cast<std::uint64_t>(image.Height))
    return {};
  if (unitWidth <= 0 || unitHeight <= 0 || pixelsPerBlock == 0)
    return {};
  const std::int64_t bw = blockWidth < 0 ? image.Width : blockWidth;
  if (bw == 0)
    return {};
  const std::int64_t bh = pixelsPerBlock / bw;
  if (bh == 0)
    return {};
  const std::int64_t across = (image.Width + bw - 1) / bw;
  const std::int64_t down = (image.Height + bh - 1) / bh;
  if (blockIndex >= across * down)
    return {};

  const bool chr = pixelsPerBlock < kGrpBlockPixels;
  const std::size_t dataSize = chr ? pixelsPerBlock / 2 : pixelsPerBlock;
  ResourcePayload payload = NewPayload(chr ? kTagChr : kTagGrp, kTagSize + dataSize);
  std::uint8_t* out = payload.data() + kTagSize;
  std::uint8_t* const end = out + dataSize;
  const std::size_t rowBytes = chr ? 4 : 8;

  const std::int64_t x0 = (blockIndex % across) * bw;
  const std::int64_t y0 = (blockIndex / across) * bh;
  std::uint8_t edge[8];
  for (std::int64_t uy = 0; uy < bh; uy += unitHeight) {
    for (std::int64_t ux = 0; ux < bw; ux += unitWidth) {
      for (std::int64_t ty = 0; ty < unitHeight; ty += 8) {
        for (std::int64_t tx = 0; tx < unitWidth; tx += 8) {
          const std::int64_t x = x0 + ux + tx, top = y0 + uy + ty;
          if (static_cast<std::size_t>(end - out) >= 8 * rowBytes && x + 8 <= image.Width &&
              top + 8 <= image.Height) {
            // The whole tile lies inside the image and the data: no row needs a check.
            const std::uint8_t* row = image.Pixels.data() + top * image.Width + x;
            for (int r = 0; r < 8; ++r, row += image.Width)
              out = PutTileRow(out, row, chr);
            continue;
          }
          for (std::int64_t y = top; y < top + 8; ++y) {
            if (static_cast<std::size_t>(end - out) < rowBytes)
              return payload;  // the block's units hold more than the data: cut here
            if (x + 8 <= image.Width && y < image.Height) {
              out = PutTileRow(out, image.Pixels.data() + y * image.Width + x, chr);
            } else {
              TileRow(image, x, y, edge);
              out = PutTileRow(out, edge, chr);
            }
          }
        }
      }
    }
  }
  return payload;
}

}  // namespace granvel
