#include "encode/image/true_colour.h"

#include <cstdio>

#include "format/bytes.h"
#include "format/palettes.h"

namespace granvel {
namespace {

std::string RgbAt(const std::uint8_t* rgba, std::int64_t x, std::int64_t y) {
  char text[48];
  std::snprintf(text, sizeof text, "#%02X%02X%02X at (%lld, %lld)", rgba[0], rgba[1], rgba[2],
                static_cast<long long>(x), static_cast<long long>(y));
  return text;
}

}  // namespace

bool ParseRgbText(const std::string& text, std::array<std::uint8_t, 3>& rgb) {
  const std::string digits = !text.empty() && text[0] == '#' ? text.substr(1) : text;
  if (digits.size() != 6)
    return false;
  for (std::size_t i = 0; i < 3; ++i) {
    unsigned value = 0;
    for (std::size_t d = 2 * i; d < 2 * i + 2; ++d) {
      const char c = digits[d];
      const int nibble = c >= '0' && c <= '9'   ? c - '0'
                         : c >= 'A' && c <= 'F' ? c - 'A' + 10
                         : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                : -1;
      if (nibble < 0)
        return false;
      value = value * 16 + static_cast<unsigned>(nibble);
    }
    rgb[i] = static_cast<std::uint8_t>(value);
  }
  return true;
}

bool IndexTrueColour(const RgbaPicture& picture, int maxColours, const ConvertContext& ctx, BmpImage& image) {
  const std::size_t count =
      static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height);
  std::vector<int> indexOf(65536, -1);  // by colour word
  std::vector<std::uint16_t> words;
  bool zeroReserved = false;  // index 0 is the named colour's or the transparent pixels'
  const std::string& named = ctx.Settings().TransparentColour;
  if (!named.empty()) {
    std::array<std::uint8_t, 3> rgb{};
    if (!ParseRgbText(named, rgb))
      return ctx.Fail("TransparentColour \"" + named + "\" is not a colour RRGGBB");
    words.push_back(ColourWord(rgb[0], rgb[1], rgb[2]));
    indexOf[words[0]] = 0;
    zeroReserved = true;
  } else {
    for (std::size_t i = 0; i < count && words.empty(); ++i) {
      if (picture.Rgba[4 * i + 3] < 128)
        words.push_back(0);  // index 0 is the transparent pixels' alone
    }
    zeroReserved = !words.empty();
  }
  std::vector<std::string> over;  // the first colours beyond the limit
  image.Pixels.assign(count, 0);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint8_t* rgba = &picture.Rgba[4 * i];
    if (rgba[3] < 128)
      continue;
    const std::uint16_t word = ColourWord(rgba[0], rgba[1], rgba[2]);
    if (indexOf[word] < 0) {
      indexOf[word] = static_cast<int>(words.size());
      words.push_back(word);
      if (words.size() > static_cast<std::size_t>(maxColours) && over.size() < 3)
        over.push_back(RgbAt(rgba, static_cast<std::int64_t>(i % static_cast<std::size_t>(picture.Width)),
                             static_cast<std::int64_t>(i / static_cast<std::size_t>(picture.Width))));
    }
    image.Pixels[i] = static_cast<std::uint8_t>(indexOf[word] & 0xFF);
  }
  if (words.size() > static_cast<std::size_t>(maxColours)) {
    std::string list;
    for (const std::string& colour : over)
      list += (list.empty() ? "" : ", ") + colour;
    image.Pixels.clear();
    return ctx.Fail("the picture has " + std::to_string(words.size()) + " colours; at most " +
                    std::to_string(maxColours) + " fit its palette (over the limit: " + list + ")");
  }
  image.ColPayload = NewPayload(kTagCol, kColPayloadSize);
  for (std::size_t i = 0; i < words.size(); ++i)
    PutU16LE(&image.ColPayload[kTagSize + 2 * i], words[i]);
  image.PaletteRows = 16;
  image.ZeroIsTransparent = zeroReserved;
  image.TrueColour = true;
  image.Width = picture.Width;
  image.Height = picture.Height;
  image.PixelCount = picture.Width * picture.Height;
  return true;
}

}  // namespace granvel
