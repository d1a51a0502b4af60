// BMP images read into one palette index per pixel: those with a palette (1, 4 or 8 bits per pixel) keep
// their indices and their colour table becomes the handheld's COL palette of 16 rows of 16 colours;
// true-colour ones (24 and 32 bits) get a palette built from their colours (true_colour.h).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "convert/context.h"
#include "convert/job.h"
#include "format/container.h"
#include "format/tiles.h"

namespace granvel {

// A BMP read into memory. A failed read leaves every field empty or zero; callers test PixelCount.
struct BmpImage {
  ResourcePayload ColPayload;        // 532 bytes: the COL tag, then 256 colour words, slot 0 first
  std::vector<std::uint8_t> Pixels;  // Width x Height palette indices, top row first
  std::uint8_t PaletteRows = 0;      // palettes converted into ColPayload: 16 after a read
  std::int32_t PixelCount = 0;       // Width x Height; 0 means the read failed
  std::int32_t Width = 0;
  std::int32_t Height = 0;         // rows, top-down and bottom-up files alike
  std::int32_t MaskedPixels = 0;   // pixels whose value the pixel mask changed (colours above 15 for CHR)
  bool ZeroIsTransparent = false;  // index 0 stands for transparency, not for its colour (true colour)
  bool TrueColour = false;         // the indices were given by true_colour.h, not read from the file

  PixelGrid Grid() const { return {Pixels, Width, Height}; }
};

// Applies the pixel mask to every pixel, counting in MaskedPixels the pixels it changes.
void ApplyPixelMask(BmpImage& image, std::uint8_t mask);

// The size check of CHR use: with pixel mask 15 and AutoTrim on, width and height must be multiples of the
// unit. False with the reason in `ctx` otherwise.
bool CheckImageSize(std::int64_t width, std::int64_t height, std::uint32_t unitWidth,
                    std::uint32_t unitHeight, std::uint8_t pixelMask, const ConvertContext& ctx);

inline constexpr const char* kPaletteQuestionCaption = "Select a color palette";
// The palette question's text: the file's path followed by this.
inline constexpr const char* kPaletteQuestionText =
    "\nThis image was type of 1bit ( 2 colors ) BMP image.\nNow, It is uses the palette number 1.\nDo you "
    "make "
    "use of the palette number 15?";

// Reads a BMP held in memory. `name` is the file's path, shown in the palette question of 1-bit images.
// The image's width and height must be multiples of unitWidth and unitHeight when pixelMask is 15 and
// AutoTrim is on; pixelMask is applied to the values of 8-bit pixels (15 for CHR use, 255 for GRP use). A
// refused file gives the empty image and a reason in `ctx`.
BmpImage ReadBmpImage(std::span<const std::uint8_t> file, const std::string& name, std::uint32_t unitWidth,
                      std::uint32_t unitHeight, std::uint8_t pixelMask, const ConvertContext& ctx);
// Decides whether the second colour of a two-colour image goes to slot 15 instead of 1: by PAL_Fix_1bit, or
// by asking with the palette question (`name` is the file's path).
bool UsePalette15(const std::string& name, const ConvertContext& ctx);

// The tile payload of one block of a read image (see format/tiles.h).
inline ResourcePayload BuildTilePayload(const BmpImage& image, std::uint32_t pixelsPerBlock,
                                        std::uint32_t blockIndex, int unitWidth, int unitHeight,
                                        int blockWidth) {
  if (image.PixelCount == 0)
    return {};
  return BuildTilePayload(image.Grid(), pixelsPerBlock, blockIndex, unitWidth, unitHeight, blockWidth);
}

// Writes the image's COL resource as "<OutDir><FileName>_COL.zkp" named `resName`.
bool WriteColFile(ConvertJob job, const BmpImage& image, const std::string& resName,
                  const ConvertContext& ctx);

}  // namespace granvel
