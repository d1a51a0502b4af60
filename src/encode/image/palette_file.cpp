#include "encode/image/palette_file.h"

#include <cstdio>
#include <sstream>

#include "convert/job.h"
#include "encode/image/png.h"
#include "format/bytes.h"
#include "format/palettes.h"
#include "format/walk.h"
#include "platform/files.h"

namespace granvel {
namespace {

// "R G B ..." lines of a GIMP or JASC palette, after its header lines; blank and "#" lines are skipped.
bool ReadRgbLines(std::istringstream& in, std::size_t limit, std::vector<std::uint16_t>& words) {
  std::string line;
  while (words.size() < limit && std::getline(in, line)) {
    std::istringstream fields(line);
    int red = -1, green = -1, blue = -1;
    if (line.empty() || line[0] == '#' || line[0] == '\r')
      continue;
    if (!(fields >> red >> green >> blue) || red < 0 || red > 255 || green < 0 || green > 255 || blue < 0 ||
        blue > 255)
      return false;
    words.push_back(ColourWord(static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(green),
                               static_cast<std::uint8_t>(blue)));
  }
  return !words.empty();
}

bool ReadGimp(const std::string& text, std::vector<std::uint16_t>& words) {
  std::istringstream in(text);
  std::string line;
  if (!std::getline(in, line) || line.rfind("GIMP Palette", 0) != 0)
    return false;
  // "Name:" and "Columns:" lines may come before the colours.
  while (in.peek() == 'N' || in.peek() == 'C')
    std::getline(in, line);
  return ReadRgbLines(in, 256, words);
}

bool ReadJasc(const std::string& text, std::vector<std::uint16_t>& words) {
  std::istringstream in(text);
  std::string magic, version;
  std::size_t count = 0;
  if (!(in >> magic >> version >> count) || magic != "JASC-PAL" || count == 0)
    return false;
  in.ignore(1 << 16, '\n');
  return ReadRgbLines(in, std::min<std::size_t>(count, 256), words) &&
         words.size() == std::min<std::size_t>(count, 256);
}

bool ReadAct(const std::vector<std::uint8_t>& bytes, std::vector<std::uint16_t>& words) {
  if (bytes.size() != 768 && bytes.size() != 772)
    return false;
  std::size_t count = 256;
  if (bytes.size() == 772) {
    count = (std::size_t{bytes[768]} << 8) | bytes[769];
    if (count == 0 || count > 256)
      return false;
  }
  for (std::size_t i = 0; i < count; ++i)
    words.push_back(ColourWord(bytes[3 * i], bytes[3 * i + 1], bytes[3 * i + 2]));
  return true;
}

bool ReadCol(const std::vector<std::uint8_t>& bytes, std::vector<std::uint16_t>& words) {
  StoredResource resource;
  std::string reason;
  if (!FindResource(bytes, "COL", resource, reason) || resource.Data.size() < 512)
    return false;
  const ColourWords all = ColourWordsOf(resource.Data);
  words.assign(all.begin(), all.end());
  return true;
}

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
  const std::string text(bytes.begin(), bytes.end());
  const std::string ext = LowerAscii(SplitPath(path).Ext);
  bool ok = false;
  if (ext == ".gpl")
    ok = ReadGimp(text, words);
  else if (ext == ".pal")
    ok = ReadJasc(text, words);
  else if (ext == ".act")
    ok = ReadAct(bytes, words);
  else if (ext == ".zkp")
    ok = ReadCol(bytes, words);
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
