#include "decode/bitmap.h"

#include <algorithm>

#include "format/bytes.h"

namespace granvel {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kPixelOffset = kFileHeaderSize + kInfoHeaderSize + 256 * 4;  // 1078

}  // namespace

IndexedImage PlaceTiles(std::span<const std::uint8_t> data, int bitsPerPixel, int width, int height,
                        int unitWidth, int unitHeight) {
  const bool sizesFit = (bitsPerPixel == 4 || bitsPerPixel == 8) && width > 0 && height > 0 &&
                        unitWidth > 0 && unitHeight > 0 && unitWidth % 8 == 0 && unitHeight % 8 == 0 &&
                        width % unitWidth == 0 && height % unitHeight == 0;
  if (!sizesFit)
    return {};
  const std::size_t pixelCount = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (data.size() != pixelCount * static_cast<std::size_t>(bitsPerPixel) / 8)
    return {};

  IndexedImage image{width, height, std::vector<std::uint8_t>(pixelCount, 0)};
  std::size_t k = 0;  // pixel index in the data
  for (int uy = 0; uy < height; uy += unitHeight) {
    for (int ux = 0; ux < width; ux += unitWidth) {
      for (int ty = 0; ty < unitHeight; ty += 8) {
        for (int tx = 0; tx < unitWidth; tx += 8) {
          for (int r = 0; r < 8; ++r) {
            std::uint8_t* row = &image.Pixels[static_cast<std::size_t>(uy + ty + r) * width + ux + tx];
            for (int c = 0; c < 8; ++c, ++k) {
              if (bitsPerPixel == 8) {
                row[c] = data[k];
              } else {
                const std::uint8_t pair = data[k / 2];
                row[c] = (k % 2 == 0) ? (pair & 0x0F) : (pair >> 4);
              }
            }
          }
        }
      }
    }
  }
  return image;
}

IndexedImage PaletteSwatch() {
  IndexedImage image{16, 16, std::vector<std::uint8_t>(256)};
  for (std::size_t i = 0; i < 256; ++i)
    image.Pixels[i] = static_cast<std::uint8_t>(i);
  return image;
}

std::vector<std::uint8_t> IndexedBitmapBytes(const IndexedImage& image, const ColourWords& palette) {
  const auto width = static_cast<std::size_t>(image.Width);
  const auto height = static_cast<std::size_t>(image.Height);
  std::vector<std::uint8_t> file(kPixelOffset + width * height, 0);
  file[0] = 'B';
  file[1] = 'M';
  PutU32LE(&file[2], static_cast<std::uint32_t>(file.size()));
  PutU32LE(&file[10], static_cast<std::uint32_t>(kPixelOffset));
  PutU32LE(&file[14], static_cast<std::uint32_t>(kInfoHeaderSize));
  PutU32LE(&file[18], static_cast<std::uint32_t>(width));
  PutU32LE(&file[22], static_cast<std::uint32_t>(height));
  PutU16LE(&file[26], 1);    // planes
  PutU16LE(&file[28], 8);    // bits per pixel
  PutU32LE(&file[46], 256);  // colours used; compression, image size, resolutions and important stay 0
  for (std::size_t i = 0; i < palette.size(); ++i) {
    const auto entry = ColourTableEntry(palette[i]);
    std::copy(entry.begin(), entry.end(), file.begin() + kFileHeaderSize + kInfoHeaderSize + 4 * i);
  }
  for (std::size_t stored = 0; stored < height; ++stored) {
    const std::size_t row = height - 1 - stored;
    std::copy_n(image.Pixels.begin() + row * width, width, file.begin() + kPixelOffset + stored * width);
  }
  return file;
}

bool WriteIndexedBitmap(const std::string& path, const IndexedImage& image, const ColourWords& palette,
                        const ConvertContext& ctx) {
  if (image.Width <= 0 || image.Height <= 0 || image.Width % 4 != 0 ||
      image.Pixels.size() != static_cast<std::size_t>(image.Width) * static_cast<std::size_t>(image.Height))
    return ctx.Fail("no picture to write to " + path);
  return ctx.WriteOutput(path, IndexedBitmapBytes(image, palette));
}

}  // namespace granvel
