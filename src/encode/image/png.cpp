#include "encode/image/png.h"

#include <algorithm>
#include <array>

#include "encode/image/true_colour.h"
#include "format/bytes.h"
#include "format/palettes.h"
#include "platform/png_decoder.h"

namespace granvel {
namespace {

constexpr std::array<std::uint32_t, 256> kCrcTable = [] {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k)
      c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}();

std::uint32_t Crc32(std::span<const std::uint8_t> bytes) {
  std::uint32_t c = 0xFFFFFFFFu;
  for (const std::uint8_t b : bytes)
    c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
  return c ^ 0xFFFFFFFFu;
}

std::uint32_t GetU32BE(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// Walks the chunks from the signature to IEND, each whole and with its CRC right, and the header's size
// within kMaxPngPixels, so that a damaged file is refused with the same reason whichever decoder the
// system has, and a huge one before anything is decoded.
bool CheckChunks(std::span<const std::uint8_t> file, std::string& error) {
  std::size_t at = 8;
  while (at + 12 <= file.size()) {
    const std::uint32_t length = GetU32BE(&file[at]);
    const std::string type(file.begin() + static_cast<std::ptrdiff_t>(at + 4),
                           file.begin() + static_cast<std::ptrdiff_t>(at + 8));
    if (!std::all_of(type.begin(), type.end(), [](char c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }))
      error = "the chunk at offset " + std::to_string(at) + " has no type of four letters";
    else if (at == 8 && type != "IHDR")
      error = "the first chunk is " + type + ", not IHDR";
    if (!error.empty())
      return false;
    if (length > file.size() - at - 12) {
      error = "the file ends inside its " + type + " chunk at offset " + std::to_string(at);
      return false;
    }
    if (Crc32(file.subspan(at + 4, length + 4)) != GetU32BE(&file[at + 8 + length])) {
      error = "the " + type + " chunk at offset " + std::to_string(at) + " fails its CRC";
      return false;
    }
    if (type == "IHDR" && length >= 8) {
      const std::uint64_t width = GetU32BE(&file[at + 8]), height = GetU32BE(&file[at + 12]);
      if (width * height > kMaxPngPixels) {
        error = "the image of " + std::to_string(width) + " x " + std::to_string(height) +
                " pixels is too large (" + std::to_string(kMaxPngPixels) + " pixels at most)";
        return false;
      }
    }
    if (type == "IEND")
      return true;
    at += 12 + std::size_t{length};
  }
  error = "the file ends before its IEND chunk";
  return false;
}

}  // namespace

bool HasPngSignature(std::span<const std::uint8_t> file) {
  return file.size() >= kPngSignature.size() &&
         std::equal(kPngSignature.begin(), kPngSignature.end(), file.begin());
}

BmpImage ReadPngImage(std::span<const std::uint8_t> file, const std::string& name, std::uint32_t unitWidth,
                      std::uint32_t unitHeight, std::uint8_t pixelMask, const ConvertContext& ctx) {
  DecodedPng png;
  std::string error;
  if (!CheckChunks(file, error) || !DecodePng(file, png, error)) {
    ctx.Fail(error);
    return {};
  }
  if (!CheckImageSize(png.Width, png.Height, unitWidth, unitHeight, pixelMask, ctx))
    return {};
  BmpImage image;
  if (!png.Indexed) {
    RgbaPicture picture{static_cast<std::int32_t>(png.Width), static_cast<std::int32_t>(png.Height),
                        std::move(png.Rgba)};
    if (!IndexTrueColour(picture, pixelMask + 1, ctx, image))
      return {};
    return image;
  }
  // A two-colour image puts its second colour in slot 1 or 15, as a 1-bit BMP does.
  const bool palette15 = png.BitDepth == 1 && UsePalette15(name, ctx);
  image.ColPayload = NewPayload(kTagCol, kColPayloadSize);
  for (std::size_t e = 0; e < png.Palette.size() && e < 256; ++e) {
    const std::size_t slot = palette15 && e % 16 == 1 ? e + 14 : palette15 && e % 16 == 15 ? e - 14 : e;
    const auto& rgb = png.Palette[e];
    PutU16LE(&image.ColPayload[kTagSize + 2 * slot], ColourWord(rgb[0], rgb[1], rgb[2]));
  }
  image.PaletteRows = 16;
  image.Width = static_cast<std::int32_t>(png.Width);
  image.Height = static_cast<std::int32_t>(png.Height);
  image.PixelCount = image.Width * image.Height;
  image.Pixels = std::move(png.Indices);
  if (palette15)
    std::replace(image.Pixels.begin(), image.Pixels.end(), std::uint8_t{1}, std::uint8_t{15});
  ApplyPixelMask(image, pixelMask);
  return image;
}

}  // namespace granvel
