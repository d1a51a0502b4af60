#include "encode/image/palette_file.h"

#include <cstdio>

#include "convert/job.h"
#include "encode/image/png.h"
#include "format/bytes.h"
#include "format/palette_file.h"
#include "format/palettes.h"
#include "platform/files.h"

namespace granvel {
namespace {

std::string Hex(std::uint16_t word) {
  const auto entry = ColourTableEntry(word);  // blue, green, red
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", entry[2], entry[1], entry[0]);
  return text;
}

}  // namespace

bool ReadPaletteFile(const std::string& path, const ConvertContext& ctx, std::vector<std::uint16_t>& words) {
  words.clear();
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!ReadWholeFile(path, bytes, error))
    return ctx.Fail("palette file: " + error);
  const std::string ext = LowerAscii(SplitPath(path).Ext);
  bool ok = false;
  if (ext == ".gpl")
    ok = ReadGimpPalette(bytes, words);
  else if (ext == ".pal")
    ok = ReadJascPalette(bytes, words);
  else if (ext == ".act")
    ok = ReadActPalette(bytes, words);
  else if (ext == ".zkp")
    ok = ReadColPalette(bytes, words);
  else if (ext == ".bmp" || ext == ".png") {
    // An image's colour table: read as an image, whatever the PNG_Image setting.
    ConvertSettings settings = ctx.Settings();
    settings.PNG_Image = 1;
    settings.PAL_Fix_1bit = 0;
    ConvertReport report;
    const ConvertContext inner(settings, ctx.GetHost(), report);
    const BmpImage image = HasPngSignature(bytes) ? ReadPngImage(bytes, path, 1, 1, 255, inner)
                                                  : ReadBmpImage(bytes, path, 1, 1, 255, inner);
    if (image.PixelCount == 0)
      return ctx.Fail("palette file " + path + ": " + report.Reason);
    for (std::size_t i = 0; i < 256; ++i)
      words.push_back(GetU16LE(&image.ColPayload[kTagSize + 2 * i]));
    ok = true;
  } else {
    return ctx.Fail("palette file " + path + ": not a .zkp, .gpl, .pal, .act, .bmp or .png file");
  }
  return ok || ctx.Fail("palette file " + path + " holds no palette its extension promises");
}

bool ReadRunPalette(ConvertSettings& settings, const ConvertContext& ctx) {
  if (settings.Palette_File.empty() || !settings.PaletteWords.empty())
    return true;
  std::vector<std::uint16_t> words;
  if (!ReadPaletteFile(settings.Palette_File, ctx, words))
    return false;
  settings.PaletteWords = std::move(words);
  return true;
}

bool MatchToPalette(BmpImage& image, const std::vector<std::uint16_t>& words, const std::string& paletteName,
                    const ConvertContext& ctx) {
  std::array<int, 256> target{};
  target.fill(-1);
  if (image.ZeroIsTransparent)
    target[0] = 0;
  for (std::size_t i = 0; i < image.Pixels.size(); ++i) {
    const std::uint8_t index = image.Pixels[i];
    if (target[index] < 0) {
      const std::uint16_t word = GetU16LE(&image.ColPayload[kTagSize + 2 * index]);
      for (std::size_t j = 0; j < words.size() && target[index] < 0; ++j) {
        if (words[j] == word)
          target[index] = static_cast<int>(j);
      }
      if (target[index] < 0) {
        const std::size_t width = static_cast<std::size_t>(std::max(image.Width, 1));
        return ctx.Fail("colour " + Hex(word) + " at (" + std::to_string(i % width) + ", " +
                        std::to_string(i / width) + ") is not in the palette " + paletteName);
      }
    }
    image.Pixels[i] = static_cast<std::uint8_t>(target[index]);
  }
  image.ColPayload = NewPayload(kTagCol, kColPayloadSize);
  for (std::size_t j = 0; j < words.size() && j < 256; ++j)
    PutU16LE(&image.ColPayload[kTagSize + 2 * j], words[j]);
  return true;
}

}  // namespace granvel
