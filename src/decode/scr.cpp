#include "decode/scr.h"

#include <array>
#include <cstring>

#include "decode/text_form.h"
#include "format/bytes.h"

namespace granvel {
namespace {

constexpr std::size_t kCells = 4096;
constexpr std::size_t kLineSize = 37;
constexpr std::string_view kHeader =
    "' BG SCREEN DATA\r\n"
    "' BGPUT Layer, x, y, Number, Palette, horizonal_reverse, vertical_reverse\r\n"
    "' LAYER=0\r\n"
    "\r\n";

}  // namespace

std::vector<std::uint16_t> ScrCellsInReadingOrder(std::span<const std::uint8_t> data) {
  std::vector<std::uint16_t> cells(kCells, 0);
  for (std::size_t i = 0; i < kCells && 2 * i + 1 < data.size(); ++i) {
    const std::size_t x = (i % 1024) % 32 + 32 * ((i / 1024) % 2);
    const std::size_t y = (i % 1024) / 32 + 32 * (i / 2048);
    cells[y * 64 + x] = GetU16LE(&data[2 * i]);
  }
  return cells;
}

std::vector<std::uint8_t> RawScreenBytes(const std::vector<std::uint16_t>& cells) {
  std::vector<std::uint8_t> raw;
  raw.reserve(2 * cells.size());
  for (std::uint16_t cell : cells) {
    raw.push_back(static_cast<std::uint8_t>(cell >> 8));
    raw.push_back(static_cast<std::uint8_t>(cell));
  }
  return raw;
}

std::vector<std::uint8_t> ScreenTextBytes(const std::vector<std::uint16_t>& cells) {
  std::vector<std::uint8_t> text(kHeader.begin(), kHeader.end());
  text.reserve(kHeader.size() + cells.size() * kLineSize);
  // x, y and palette right-aligned to 2 characters, the character number to 4, blanks in front.
  std::array<char, kLineSize> line;
  std::memcpy(line.data(), "BGPUT LAYER, xx, yy, nnnn, pp, h, v\r\n", kLineSize);
  auto put = [&line](std::size_t end, unsigned value, std::size_t width) {
    for (std::size_t i = 0; i < width; ++i) {
      line[end - i] = (i == 0 || value != 0) ? static_cast<char>('0' + value % 10) : ' ';
      value /= 10;
    }
  };
  for (std::size_t index = 0; index < cells.size(); ++index) {
    const unsigned cell = cells[index];
    put(14, static_cast<unsigned>(index % 64), 2);
    put(18, static_cast<unsigned>(index / 64), 2);
    put(24, cell & 0x3FF, 4);
    put(28, cell >> 12, 2);
    line[31] = static_cast<char>('0' + ((cell >> 10) & 1));
    line[34] = static_cast<char>('0' + ((cell >> 11) & 1));
    text.insert(text.end(), line.begin(), line.end());
  }
  return text;
}

bool DecodeScr(std::span<const std::uint8_t> data, const std::string& stem, std::string_view ending,
               const ConvertContext& ctx) {
  if (data.size() != 2 * kCells)
    return ctx.Fail("SCR data is " + std::to_string(data.size()) + " bytes, not 8192");
  const std::vector<std::uint16_t> cells = ScrCellsInReadingOrder(data);
  const std::string base = stem + std::string(ending) + "_SCR";
  return ctx.WriteOutput(base + ".rscr", RawScreenBytes(cells)) &&
         WriteDecodedText(base + ".txt", ScreenTextBytes(cells), LineEnds::Screen, ctx);
}

}  // namespace granvel
