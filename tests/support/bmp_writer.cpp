#include "support/bmp_writer.h"

#include <algorithm>

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

namespace {

std::uint32_t Crc(const std::uint8_t* bytes, std::size_t size) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    c ^= bytes[i];
    for (int k = 0; k < 8; ++k)
      c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
  }
  return ~c;
}

void PutBE(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void Chunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
  PutBE(out, static_cast<std::uint32_t>(data.size()));
  const std::size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBE(out, Crc(&out[start], out.size() - start));
}

}  // namespace

std::vector<std::uint8_t> MakePng(const BmpLayout& layout) {
  std::vector<std::uint8_t> png{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<std::uint8_t> header;
  PutBE(header, static_cast<std::uint32_t>(layout.width));
  PutBE(header, static_cast<std::uint32_t>(layout.height));
  header.insert(header.end(), {8, 3, 0, 0, 0});  // 8 bits, palette, deflate, filters, no interlace
  Chunk(png, "IHDR", header);
  std::vector<std::uint8_t> palette;
  for (const Rgb& c : layout.palette)
    palette.insert(palette.end(), {c.r, c.g, c.b});
  Chunk(png, "PLTE", palette);
  std::vector<std::uint8_t> raw;  // each row after its filter byte 0
  for (int y = 0; y < layout.height; ++y) {
    raw.push_back(0);
    const auto row = layout.pixels.begin() + static_cast<std::ptrdiff_t>(y) * layout.width;
    raw.insert(raw.end(), row, row + layout.width);
  }
  std::vector<std::uint8_t> zlib{0x78, 0x01};
  std::uint32_t a = 1, b = 0;  // Adler-32
  for (std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  for (std::size_t at = 0; at == 0 || at < raw.size(); at += 65535) {
    const std::size_t size = std::min<std::size_t>(65535, raw.size() - at);
    zlib.push_back(at + size == raw.size() ? 1 : 0);
    zlib.insert(zlib.end(), {static_cast<std::uint8_t>(size), static_cast<std::uint8_t>(size >> 8),
                             static_cast<std::uint8_t>(~size), static_cast<std::uint8_t>(~size >> 8)});
    zlib.insert(zlib.end(), raw.begin() + static_cast<std::ptrdiff_t>(at),
                raw.begin() + static_cast<std::ptrdiff_t>(at + size));
  }
  PutBE(zlib, b << 16 | a);
  Chunk(png, "IDAT", zlib);
  Chunk(png, "IEND", {});
  return png;
}

}  // namespace granvel::test
