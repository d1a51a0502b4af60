#include "support/bmp_writer.h"

namespace granvel::test {
namespace {

void Put16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

std::vector<std::uint8_t> PackRows(const BmpLayout& layout) {
  const std::size_t rowBytes = (static_cast<std::size_t>(layout.width) * layout.bits + 31) / 32 * 4;
  std::vector<std::uint8_t> data(rowBytes * layout.height, 0);
  for (int stored = 0; stored < layout.height; ++stored) {
    const int y = layout.topDown ? stored : layout.height - 1 - stored;
    std::uint8_t* row = &data[stored * rowBytes];
    for (int x = 0; x < layout.width; ++x) {
      const std::uint8_t v = layout.pixels[static_cast<std::size_t>(y) * layout.width + x];
      if (layout.bits == 8)
        row[x] = v;
      else if (layout.bits == 4)
        row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? (v & 0x0F) << 4 : (v & 0x0F));
      else if (layout.bits == 1)
        row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8));
    }
  }
  return data;
}

}  // namespace

std::vector<std::uint8_t> MakeBmpWithData(const BmpLayout& layout, const std::vector<std::uint8_t>& data,
                                          std::uint32_t compression) {
  const std::size_t offset = 14 + layout.headerSize + 4 * layout.palette.size();
  std::vector<std::uint8_t> file(offset, 0);
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 2, static_cast<std::uint32_t>(offset + data.size()));
  Put32(file, 10, static_cast<std::uint32_t>(offset));
  Put32(file, 14, layout.headerSize);
  Put32(file, 18, static_cast<std::uint32_t>(layout.width));
  Put32(file, 22, static_cast<std::uint32_t>(layout.topDown ? -layout.height : layout.height));
  Put16(file, 26, 1);
  Put16(file, 28, static_cast<std::uint32_t>(layout.bits));
  Put32(file, 30, compression);
  Put32(file, 34, static_cast<std::uint32_t>(data.size()));
  Put32(file, 46, layout.clrUsed);
  for (std::size_t i = 0; i < layout.palette.size(); ++i) {
    const std::size_t at = 14 + layout.headerSize + 4 * i;
    file[at] = layout.palette[i].b;
    file[at + 1] = layout.palette[i].g;
    file[at + 2] = layout.palette[i].r;
  }
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

std::vector<std::uint8_t> MakeBmp(const BmpLayout& layout) {
  return MakeBmpWithData(layout, PackRows(layout), 0);
}

BmpLayout Layout(int width, int height, int bits, std::vector<Rgb> palette) {
  BmpLayout layout;
  layout.width = width;
  layout.height = height;
  layout.bits = bits;
  layout.palette = std::move(palette);
  layout.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  return layout;
}

std::vector<Rgb> GreyPalette(int n) {
  std::vector<Rgb> palette;
  for (int i = 0; i < n; ++i)
    palette.push_back(
        {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i)});
  return palette;
}

}  // namespace granvel::test
