#include "encode/image/image_file.h"

#include <vector>

#include "encode/image/palette_file.h"
#include "encode/image/png.h"
#include "platform/files.h"

namespace granvel {
namespace {

BmpImage ReadEitherFormat(const std::string& path, std::uint32_t unitWidth, std::uint32_t unitHeight,
                          std::uint8_t pixelMask, const ConvertContext& ctx) {
  std::vector<std::uint8_t> file;
  std::string error;
  if (!ReadWholeFile(path, file, error)) {
    ctx.Fail(error);
    return {};
  }
  if (!HasPngSignature(file))
    return ReadBmpImage(file, path, unitWidth, unitHeight, pixelMask, ctx);
  if (ctx.Settings().PNG_Image == 0) {
    ctx.Fail("a PNG image: PNG files convert as images with PNG_Image=1");
    return {};
  }
  return ReadPngImage(file, path, unitWidth, unitHeight, pixelMask, ctx);
}

}  // namespace

BmpImage ReadImageFile(const std::string& path, std::uint32_t unitWidth, std::uint32_t unitHeight,
                       std::uint8_t pixelMask, const ConvertContext& ctx) {
  const std::string& paletteFile = ctx.Settings().Palette_File;
  if (paletteFile.empty())
    return ReadEitherFormat(path, unitWidth, unitHeight, pixelMask, ctx);
  std::vector<std::uint16_t> words;
  if (!ReadPaletteFile(paletteFile, ctx, words))
    return {};
  BmpImage image = ReadEitherFormat(path, unitWidth, unitHeight, 0xFF, ctx);
  if (image.PixelCount == 0 ||
      !CheckImageSize(image.Width, image.Height, unitWidth, unitHeight, pixelMask, ctx) ||
      !MatchToPalette(image, words, paletteFile, ctx))
    return {};
  ApplyPixelMask(image, pixelMask);
  return image;
}

}  // namespace granvel
