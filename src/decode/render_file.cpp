#include "decode/render_file.h"

#include <span>

#include "decode/bitmap.h"
#include "decode/render.h"
#include "decode/scr.h"
#include "format/palettes.h"
#include "format/walk.h"
#include "platform/files.h"
#include "platform/png_encoder.h"

namespace granvel {
namespace {

// The data of the first resource of `letters` in the container at `path`.
bool ResourceData(const std::string& path, const std::string& letters, std::vector<std::uint8_t>& file,
                  std::span<const std::uint8_t>& data, std::string& error) {
  StoredResource resource;
  if (ReadWholeFile(path, file, error) && FindResource(file, letters, resource, error)) {
    data = resource.Data;
    return true;
  }
  error = path + ": " + error;
  return false;
}

// The PNG palette of the colour words: each entry's red, green and blue as the BMP's colour table has them.
PngPalette PngPaletteOf(const ColourWords& words) {
  PngPalette palette;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const auto entry = ColourTableEntry(words[i]);  // blue, green, red, 0
    palette[i] = {entry[2], entry[1], entry[0]};
  }
  return palette;
}

}  // namespace

bool RenderScreenFile(const ScreenFiles& files, int width, int height, bool png,
                      std::vector<std::uint8_t>& image, std::string& error) {
  std::vector<std::uint8_t> scrFile, colFile;
  std::span<const std::uint8_t> scr, col;
  std::vector<std::vector<std::uint8_t>> chrFiles(files.Chr.size());
  std::vector<std::span<const std::uint8_t>> banks(files.Chr.size());
  if (!ResourceData(files.Scr, "SCR", scrFile, scr, error))
    return false;
  for (std::size_t i = 0; i < files.Chr.size(); ++i) {
    if (!ResourceData(files.Chr[i], "CHR", chrFiles[i], banks[i], error))
      return false;
  }
  if (!files.Col.empty() && !ResourceData(files.Col, "COL", colFile, col, error))
    return false;
  const ColourWords palette = col.size() >= 512 ? ColourWordsOf(col) : BuiltInBgPalette();
  const IndexedImage picture = RenderScreen(ScrCellsInReadingOrder(scr), banks, width, height);
  if (!png) {
    image = IndexedBitmapBytes(picture, palette);
    return true;
  }
  return EncodeIndexedPng(static_cast<std::uint32_t>(picture.Width),
                          static_cast<std::uint32_t>(picture.Height), picture.Pixels, PngPaletteOf(palette),
                          image, error);
}

}  // namespace granvel
