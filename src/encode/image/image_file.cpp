#include "encode/image/image_file.h"

#include <algorithm>
#include <vector>

#include "encode/image/palette_file.h"
#include "encode/image/png.h"
#include "platform/files.h"

namespace granvel {
namespace {

// A file that says by its name that it is a PNG, but holds no PNG (nor a BMP): why.
bool IsNamedPngButNone(const std::string& path, std::span<const std::uint8_t> file,
                       const ConvertContext& ctx) {
  if (LowerAscii(SplitPath(path).Ext) != ".png" || (file.size() >= 2 && file[0] == 'B' && file[1] == 'M'))
    return false;
  const std::span<const std::uint8_t> start = file.first(std::min(file.size(), kPngSignature.size()));
  if (!file.empty() && std::equal(start.begin(), start.end(), kPngSignature.begin()))
    ctx.Fail("the file is shorter than the " + std::to_string(kPngSignature.size()) + "-byte PNG signature");
  else
    ctx.Fail(file.empty() ? "not a PNG file: the file is empty" : "not a PNG file");
  return true;
}

BmpImage ReadEitherFormat(const std::string& path, std::uint32_t unitWidth, std::uint32_t unitHeight,
                          std::uint8_t pixelMask, const ConvertContext& ctx, PngUse png) {
  std::vector<std::uint8_t> file;
  std::string error;
  if (!ReadWholeFile(path, file, error)) {
    ctx.Fail(error);
    return {};
  }
  if (!HasPngSignature(file)) {
    if (IsNamedPngButNone(path, file, ctx))
      return {};
    return ReadBmpImage(file, path, unitWidth, unitHeight, pixelMask, ctx);
  }
  if (png == PngUse::BySetting && ctx.Settings().PNG_Image == 0) {
    ctx.Fail(std::string("a PNG image; to convert it: ") + kPngImageRemedy);
    return {};
  }
  return ReadPngImage(file, path, unitWidth, unitHeight, pixelMask, ctx);
}

}  // namespace

BmpImage ReadImageFile(const std::string& path, std::uint32_t unitWidth, std::uint32_t unitHeight,
                       std::uint8_t pixelMask, const ConvertContext& ctx, PngUse png) {
  const std::string& paletteFile = ctx.Settings().Palette_File;
  if (paletteFile.empty())
    return ReadEitherFormat(path, unitWidth, unitHeight, pixelMask, ctx, png);
  // The run's colours when they were read for it; otherwise the file, read for this image alone.
  std::vector<std::uint16_t> read;
  if (ctx.Settings().PaletteWords.empty() && !ReadPaletteFile(paletteFile, ctx, read))
    return {};
  const std::vector<std::uint16_t>& words = read.empty() ? ctx.Settings().PaletteWords : read;
  BmpImage image = ReadEitherFormat(path, unitWidth, unitHeight, 0xFF, ctx, png);
  if (image.PixelCount == 0 ||
      !CheckImageSize(image.Width, image.Height, unitWidth, unitHeight, pixelMask, ctx) ||
      !MatchToPalette(image, words, paletteFile, ctx))
    return {};
  ApplyPixelMask(image, pixelMask);
  return image;
}

}  // namespace granvel
