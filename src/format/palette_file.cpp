#include "format/palette_file.h"

#include <algorithm>
#include <sstream>
#include <string>

#include "format/palettes.h"
#include "format/walk.h"

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

}  // namespace

bool ReadGimpPalette(std::span<const std::uint8_t> bytes, std::vector<std::uint16_t>& words) {
  words.clear();
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string line;
  if (!std::getline(in, line) || line.rfind("GIMP Palette", 0) != 0)
    return false;
  // "Name:" and "Columns:" lines may come before the colours.
  while (in.peek() == 'N' || in.peek() == 'C')
    std::getline(in, line);
  return ReadRgbLines(in, 256, words);
}

bool ReadJascPalette(std::span<const std::uint8_t> bytes, std::vector<std::uint16_t>& words) {
  words.clear();
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string magic, version;
  std::size_t count = 0;
  if (!(in >> magic >> version >> count) || magic != "JASC-PAL" || count == 0)
    return false;
  in.ignore(1 << 16, '\n');
  return ReadRgbLines(in, std::min<std::size_t>(count, 256), words) &&
         words.size() == std::min<std::size_t>(count, 256);
}

bool ReadActPalette(std::span<const std::uint8_t> bytes, std::vector<std::uint16_t>& words) {
  words.clear();
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

bool ReadColPalette(std::span<const std::uint8_t> bytes, std::vector<std::uint16_t>& words) {
  words.clear();
  StoredResource resource;
  std::string reason;
  if (!FindResource(bytes, "COL", resource, reason) || resource.Data.size() < 512)
    return false;
  const ColourWords all = ColourWordsOf(resource.Data);
  words.assign(all.begin(), all.end());
  return true;
}

}  // namespace granvel
