#include "decode/images.h"

#include <cstdio>

#include "decode/bitmap.h"
#include "format/palettes.h"

namespace granvel {
namespace {

constexpr std::size_t kChrDataSize = 8192;
constexpr std::size_t kGrpDataSize = 49152;
constexpr std::size_t kColDataSize = 512;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool WrongSize(std::span<const std::uint8_t> data, std::size_t expected, const char* kind,
               const ConvertContext& ctx) {
  if (data.size() == expected)
    return false;
  ctx.Fail(std::string(kind) + " data is " + std::to_string(data.size()) + " bytes, not " +
           std::to_string(expected));
  return true;
}

}  // namespace

UnitSize ChrUnitSize(std::string_view ending, const ConvertSettings& settings) {
  if (StartsWith(ending, "_BG"))
    return {8, 8};
  if (StartsWith(ending, "_SPD"))
    return {32, 32};
  switch (settings.ConvertType) {
    case kConvert16x16:
      return {16, 16};
    case kConvert32x16:
      return {32, 16};
    case kConvert16x32:
      return {16, 32};
    case kConvert32x32:
      return {32, 32};
    case kConvert64x32:
      return {64, 32};
    case kConvert32x64:
      return {32, 64};
    case kConvert64x64:
      return {64, 64};
    default:
      return StartsWith(ending, "_S") ? UnitSize{16, 16} : UnitSize{8, 8};
  }
}

bool DecodeChr(std::span<const std::uint8_t> data, const std::string& stem, std::string_view ending,
               const ConvertContext& ctx, const ColourWords* palette) {
  if (WrongSize(data, kChrDataSize, "CHR", ctx))
    return false;
  const bool wide = ctx.Settings().Make_Wide != 0;
  const UnitSize unit = ChrUnitSize(ending, ctx.Settings());
  const IndexedImage image = PlaceTiles(data, 4, wide ? 256 : 128, wide ? 64 : 128, unit.Width, unit.Height);
  return WriteIndexedBitmap(stem + std::string(ending) + ".bmp", image,
                            palette ? *palette : BuiltInBgPalette(), ctx);
}

bool DecodeGrp(std::span<const std::uint8_t> data, const std::string& stem, std::string_view ending,
               const ConvertContext& ctx, const ColourWords* palette) {
  if (WrongSize(data, kGrpDataSize, "GRP", ctx))
    return false;
  const IndexedImage image = PlaceTiles(data, 8, 256, 192, 64, 64);
  return WriteIndexedBitmap(stem + std::string(ending) + ".bmp", image,
                            palette ? *palette : BuiltInGrpPalette(), ctx);
}

bool DecodeCol(std::span<const std::uint8_t> data, const std::string& stem, std::string_view ending,
               const ConvertContext& ctx) {
  if (WrongSize(data, kColDataSize, "COL", ctx))
    return false;
  const ColourWords words = ColourWordsOf(data);
  return WriteIndexedBitmap(stem + std::string(ending) + ".bmp", PaletteSwatch(), words, ctx) &&
         ctx.WriteOutput(stem + std::string(ending) + ".gpl", GimpPalette(words, stem + std::string(ending)));
}

std::vector<std::uint8_t> GimpPalette(const ColourWords& words, const std::string& name) {
  const auto slash = name.find_last_of("/\\");
  std::string text = "GIMP Palette\nName: " + (slash == std::string::npos ? name : name.substr(slash + 1)) +
                     "\nColumns: 16\n#\n";
  for (std::size_t i = 0; i < words.size(); ++i) {
    const auto entry = ColourTableEntry(words[i]);  // blue, green, red
    char line[40];
    std::snprintf(line, sizeof line, "%3d %3d %3d\tIndex %zu\n", entry[2], entry[1], entry[0], i);
    text += line;
  }
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

}  // namespace granvel
