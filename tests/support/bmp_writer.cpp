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

std::vector<std::uint8_t> PackRows(const BmpSpec& spec) {
  const std::size_t rowBytes = (static_cast<std::size_t>(spec.width) * spec.bits + 31) / 32 * 4;
  std::vector<std::uint8_t> data(rowBytes * spec.height, 0);
  for (int stored = 0; stored < spec.height; ++stored) {
    const int y = spec.topDown ? stored : spec.height - 1 - stored;
    std::uint8_t* row = &data[stored * rowBytes];
    for (int x = 0; x < spec.width; ++x) {
      const std::uint8_t v = spec.pixels[static_cast<std::size_t>(y) * spec.width + x];
      if (spec.bits == 8)
        row[x] = v;
      else if (spec.bits == 4)
        row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? (v & 0x0F) << 4 : (v & 0x0F));
      else if (spec.bits == 1)
        row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8));
    }
  }
  return data;
}

}  // namespace

std::vector<std::uint8_t> MakeBmpWithData(const BmpSpec& spec, const std::vector<std::uint8_t>& data,
                                          std::uint32_t compression) {
  const std::size_t offset = 14 + spec.headerSize + 4 * spec.palette.size();
  std::vector<std::uint8_t> file(offset, 0);
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 2, static_cast<std::uint32_t>(offset + data.size()));
  Put32(file, 10, static_cast<std::uint32_t>(offset));
  Put32(file, 14, spec.headerSize);
  Put32(file, 18, static_cast<std::uint32_t>(spec.width));
  Put32(file, 22, static_cast<std::uint32_t>(spec.topDown ? -spec.height : spec.height));
  Put16(file, 26, 1);
  Put16(file, 28, static_cast<std::uint32_t>(spec.bits));
  Put32(file, 30, compression);
  Put32(file, 34, static_cast<std::uint32_t>(data.size()));
  Put32(file, 46, spec.clrUsed);
  for (std::size_t i = 0; i < spec.palette.size(); ++i) {
    const std::size_t at = 14 + spec.headerSize + 4 * i;
    file[at] = spec.palette[i].b;
    file[at + 1] = spec.palette[i].g;
    file[at + 2] = spec.palette[i].r;
  }
  file.insert(file.end(), data.begin(), data.end());
  return file;
}

std::vector<std::uint8_t> MakeBmp(const BmpSpec& spec) {
  return MakeBmpWithData(spec, PackRows(spec), 0);
}

BmpSpec Spec(int width, int height, int bits, std::vector<Rgb> palette) {
  BmpSpec spec;
  spec.width = width;
  spec.height = height;
  spec.bits = bits;
  spec.palette = std::move(palette);
  spec.pixels.assign(static_cast<std::size_t>(width) * height, 0);
  return spec;
}

std::vector<Rgb> GreyPalette(int n) {
  std::vector<Rgb> palette;
  for (int i = 0; i < n; ++i)
    palette.push_back(
        {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i)});
  return palette;
}

}  // namespace granvel::test
