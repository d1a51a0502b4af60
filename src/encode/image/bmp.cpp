#include "encode/image/bmp.h"

#include <algorithm>
#include <limits>

#include "encode/image/bmp_rle.h"
#include "encode/image/true_colour.h"
#include "format/bytes.h"
#include "format/palettes.h"
#include "platform/files.h"

namespace granvel {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;  // the classic info header; V4 and V5 headers are longer
constexpr std::uint32_t kCompressionNone = 0;
constexpr std::uint32_t kCompressionRle8 = 1;
constexpr std::uint32_t kCompressionRle4 = 2;
constexpr std::uint32_t kCompressionBitfields = 3;  // 32-bit pixels read by their colour masks
// A run-length-encoded image may describe at most this many pixels per byte of its data, and at least
// kRleFreePixels whatever its data: a small file claiming a huge image is refused before anything is
// allocated. A run of 255 pixels takes 2 bytes, an empty row 2 bytes.
constexpr std::uint64_t kRlePixelsPerByte = 4096;
constexpr std::uint64_t kRleFreePixels = 1u << 20;

// The fields of the headers that the reader uses, checked against the file's size.
struct BmpLayout {
  std::uint32_t infoSize = 0;    // the info header's size field: where the colour table starts
  std::uint32_t dataOffset = 0;  // bfOffBits
  std::uint32_t dataEnd = 0;     // bfSize
  std::int32_t width = 0;
  std::int32_t height = 0;  // rows, positive
  bool topDown = false;
  int bits = 0;
  std::uint32_t compression = 0;
  std::uint32_t colours = 0;  // colour-table entries that are read, at most 256
};

// The setting that lifts the unit check, named in its refusals.
constexpr const char* kAnySizeHint = " (AutoTrim=0 takes any size)";

std::string Num(std::uint64_t value) {
  return std::to_string(value);
}

bool ReadLayout(std::span<const std::uint8_t> file, std::uint32_t unitWidth, std::uint32_t unitHeight,
                std::uint8_t pixelMask, const ConvertContext& ctx, BmpLayout& bmp) {
  if (file.size() < 2 || file[0] != 'B' || file[1] != 'M')
    return ctx.Fail("not a BMP file");
  if (file.size() < kFileHeaderSize + 4)
    return ctx.Fail("the file is shorter than its header says");
  bmp.dataEnd = GetU32LE(&file[2]);
  bmp.dataOffset = GetU32LE(&file[10]);
  bmp.infoSize = GetU32LE(&file[14]);
  if (bmp.infoSize < kInfoHeaderSize)
    return ctx.Fail("info header of " + Num(bmp.infoSize) +
                    " bytes; only the 40-byte header and later ones " + "are supported");
  if (bmp.dataOffset < kFileHeaderSize + std::uint64_t{bmp.infoSize})
    return ctx.Fail("pixel data offset " + Num(bmp.dataOffset) + " lies inside the " + Num(bmp.infoSize) +
                    "-byte info header");
  if (bmp.dataOffset > file.size() || bmp.dataEnd > file.size())
    return ctx.Fail("the file is shorter than its header says");
  const std::uint8_t* info = &file[kFileHeaderSize];
  const std::int32_t width = static_cast<std::int32_t>(GetU32LE(info + 4));
  const std::int32_t height = static_cast<std::int32_t>(GetU32LE(info + 8));
  bmp.bits = GetU16LE(info + 14);
  bmp.compression = GetU32LE(info + 16);
  const std::uint32_t clrUsed = GetU32LE(info + 32);

  if (bmp.bits != 1 && bmp.bits != 4 && bmp.bits != 8 && bmp.bits != 24 && bmp.bits != 32)
    return ctx.Fail(Num(bmp.bits) + " bits per pixel; only 1, 4, 8, 24 and 32 are supported");
  const bool rle = bmp.compression == kCompressionRle8 || bmp.compression == kCompressionRle4;
  if (bmp.compression != kCompressionNone && !(bmp.compression == kCompressionRle8 && bmp.bits == 8) &&
      !(bmp.compression == kCompressionRle4 && bmp.bits == 4) &&
      !(bmp.compression == kCompressionBitfields && bmp.bits == 32))
    return ctx.Fail(
        "compression " + Num(bmp.compression) + " with " + Num(bmp.bits) +
        " bits per pixel is not supported; only none, RLE8 for 8, RLE4 for 4 and bit fields for 32 "
        "bits are");
  if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min())
    return ctx.FailSize("the image has no pixels (" + std::to_string(width) + " x " + std::to_string(height) +
                        ")");
  bmp.width = width;
  bmp.topDown = height < 0;
  bmp.height = bmp.topDown ? -height : height;
  if (rle && bmp.topDown)
    return ctx.Fail("a top-down image (negative height) cannot be run-length encoded");
  if (static_cast<std::uint64_t>(bmp.width) * static_cast<std::uint64_t>(bmp.height) >
      static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
    return ctx.FailSize("the image of " + Num(bmp.width) + " x " + Num(bmp.height) + " pixels is too large");

  if (!CheckImageSize(bmp.width, bmp.height, unitWidth, unitHeight, pixelMask, ctx))
    return false;

  if (bmp.bits >= 24) {
    // No colour table; bit fields follow a 40-byte header, or lie inside a longer one.
    const std::uint64_t masksEnd = kFileHeaderSize + kInfoHeaderSize + 12;
    if (bmp.compression == kCompressionBitfields && masksEnd > bmp.dataOffset)
      return ctx.Fail("the colour masks do not fit before the pixel data");
  } else {
    const std::uint32_t count = clrUsed != 0 ? clrUsed : (1u << bmp.bits);
    bmp.colours = std::min<std::uint32_t>(count, 256);
    const std::uint64_t tableEnd = kFileHeaderSize + std::uint64_t{bmp.infoSize} + 4ull * bmp.colours;
    if (tableEnd > bmp.dataOffset)
      return ctx.Fail("the colour table of " + Num(bmp.colours) +
                      " entries does not fit before the pixel data");
  }

  if (bmp.dataEnd <= bmp.dataOffset)
    return ctx.Fail("no pixel data: the file size field " + Num(bmp.dataEnd) + " is not beyond offset " +
                    Num(bmp.dataOffset));
  const std::uint64_t dataSize = bmp.dataEnd - bmp.dataOffset;
  const std::uint64_t pixels = static_cast<std::uint64_t>(bmp.width) * static_cast<std::uint64_t>(bmp.height);
  if (rle) {
    if (pixels > std::max(kRleFreePixels, kRlePixelsPerByte * dataSize))
      return ctx.Fail("the image of " + Num(bmp.width) + " x " + Num(bmp.height) +
                      " pixels is too large for its " + Num(dataSize) + " bytes of run-length-encoded data");
  } else {
    const std::uint64_t rowBytes = (static_cast<std::uint64_t>(bmp.width) * bmp.bits + 31) / 32 * 4;
    if (rowBytes * bmp.height > dataSize)
      return ctx.Fail("the file is shorter than its header says: " + Num(bmp.height) + " rows of " +
                      Num(rowBytes) + " bytes need " + Num(rowBytes * bmp.height) + " bytes of pixel data, " +
                      Num(dataSize) + " are there");
  }
  return true;
}

ResourcePayload ConvertPalette(std::span<const std::uint8_t> file, const BmpLayout& bmp, bool palette15) {
  ResourcePayload col = NewPayload(kTagCol, kColPayloadSize);
  const std::uint8_t* table = &file[kFileHeaderSize + bmp.infoSize];
  for (std::uint32_t p = 0; p < 16; ++p) {
    for (std::uint32_t c = 0; c < 16; ++c) {
      std::uint32_t e = 16 * p + c;
      if (palette15 && c == 1)
        e = 16 * p + 15;
      else if (palette15 && c == 15)
        e = 16 * p + 1;
      if (e < bmp.colours) {
        const std::uint8_t* entry = table + 4 * e;  // blue, green, red, reserved
        PutU16LE(&col[kTagSize + 2 * (16 * p + c)], ColourWord(entry[2], entry[1], entry[0]));
      }
    }
  }
  return col;
}

void UnpackRows(std::span<const std::uint8_t> data, const BmpLayout& bmp, bool palette15,
                std::vector<std::uint8_t>& pixels) {
  const std::size_t width = static_cast<std::size_t>(bmp.width);
  const std::size_t rowBytes = (width * static_cast<std::size_t>(bmp.bits) + 31) / 32 * 4;
  const std::uint8_t one = palette15 ? 15 : 1;
  for (std::size_t stored = 0; stored < static_cast<std::size_t>(bmp.height); ++stored) {
    const std::uint8_t* in = data.data() + stored * rowBytes;
    const std::size_t row = bmp.topDown ? stored : static_cast<std::size_t>(bmp.height) - 1 - stored;
    std::uint8_t* out = pixels.data() + row * width;
    switch (bmp.bits) {
      case 8:
        std::copy(in, in + width, out);
        break;
      case 4:
        for (std::size_t x = 0; x + 1 < width; x += 2) {
          out[x] = in[x / 2] >> 4;
          out[x + 1] = in[x / 2] & 0x0F;
        }
        if (width % 2 != 0)
          out[width - 1] = in[width / 2] >> 4;
        break;
      default:
        for (std::size_t x = 0; x < width; ++x)
          out[x] = ((in[x / 8] >> (7 - x % 8)) & 1) ? one : 0;
        break;
    }
  }
}

// One colour channel of a 32-bit pixel by its mask, scaled to 0-255.
std::uint8_t Channel(std::uint32_t pixel, std::uint32_t mask) {
  if (mask == 0)
    return 0;
  int shift = 0;
  while (((mask >> shift) & 1) == 0)
    ++shift;
  const std::uint64_t top = mask >> shift;
  const std::uint64_t value = (pixel & mask) >> shift;
  return static_cast<std::uint8_t>((value * 255 + top / 2) / top);
}

// The pixels of a 24 or 32-bit file as RGBA, top row first.
RgbaPicture UnpackTrueColour(std::span<const std::uint8_t> file, const BmpLayout& bmp) {
  RgbaPicture picture;
  picture.Width = bmp.width;
  picture.Height = bmp.height;
  const std::size_t width = static_cast<std::size_t>(bmp.width);
  picture.Rgba.resize(width * static_cast<std::size_t>(bmp.height) * 4);
  const std::uint8_t* info = &file[kFileHeaderSize];
  const bool fields = bmp.compression == kCompressionBitfields;
  const std::uint32_t red = fields ? GetU32LE(info + 40) : 0x00FF0000u;
  const std::uint32_t green = fields ? GetU32LE(info + 44) : 0x0000FF00u;
  const std::uint32_t blue = fields ? GetU32LE(info + 48) : 0x000000FFu;
  // The alpha mask lives in the longer headers only; without one every pixel is opaque.
  const std::uint32_t alpha = fields && bmp.infoSize >= 56 ? GetU32LE(info + 52) : 0;
  const std::size_t step = static_cast<std::size_t>(bmp.bits) / 8;
  const std::size_t rowBytes = (width * static_cast<std::size_t>(bmp.bits) + 31) / 32 * 4;
  for (std::size_t stored = 0; stored < static_cast<std::size_t>(bmp.height); ++stored) {
    const std::uint8_t* in = &file[bmp.dataOffset + stored * rowBytes];
    const std::size_t row = bmp.topDown ? stored : static_cast<std::size_t>(bmp.height) - 1 - stored;
    std::uint8_t* out = &picture.Rgba[row * width * 4];
    for (std::size_t x = 0; x < width; ++x, in += step, out += 4) {
      const std::uint32_t pixel = step == 4 ? GetU32LE(in) : in[0] | (in[1] << 8) | (in[2] << 16);
      out[0] = Channel(pixel, red);
      out[1] = Channel(pixel, green);
      out[2] = Channel(pixel, blue);
      out[3] = alpha ? Channel(pixel, alpha) : 255;
    }
  }
  return picture;
}

}  // namespace

// Decides whether the second colour of a 1-bit image goes to slot 15: by PAL_Fix_1bit, or by asking.
bool UsePalette15(const std::string& name, const ConvertContext& ctx) {
  const int fix = ctx.Settings().PAL_Fix_1bit;
  if (fix == 0)
    return false;
  if (fix == 1)
    return true;
  return ctx.Ask(kPaletteQuestionCaption, name + kPaletteQuestionText);
}

void ApplyPixelMask(BmpImage& image, std::uint8_t mask) {
  if (mask == 0xFF)
    return;
  for (std::uint8_t& pixel : image.Pixels) {
    image.MaskedPixels += (pixel & ~mask) != 0;
    pixel &= mask;
  }
}

bool CheckImageSize(std::int64_t width, std::int64_t height, std::uint32_t unitWidth,
                    std::uint32_t unitHeight, std::uint8_t pixelMask, const ConvertContext& ctx) {
  if (pixelMask != 15 || ctx.Settings().AutoTrim == 0)
    return true;
  unitWidth = std::max<std::uint32_t>(unitWidth, 1);
  unitHeight = std::max<std::uint32_t>(unitHeight, 1);
  if (width % unitWidth != 0)
    return ctx.FailSize("width " + Num(static_cast<std::uint64_t>(width)) + " is not a multiple of the " +
                        Num(unitWidth) + "-pixel unit" + kAnySizeHint);
  if (height % unitHeight != 0)
    return ctx.FailSize("height " + Num(static_cast<std::uint64_t>(height)) + " is not a multiple of the " +
                        Num(unitHeight) + "-pixel unit" + kAnySizeHint);
  return true;
}

BmpImage ReadBmpImage(std::span<const std::uint8_t> file, const std::string& name, std::uint32_t unitWidth,
                      std::uint32_t unitHeight, std::uint8_t pixelMask, const ConvertContext& ctx) {
  BmpLayout bmp;
  if (!ReadLayout(file, unitWidth, unitHeight, pixelMask, ctx, bmp))
    return {};
  if (bmp.bits >= 24) {
    BmpImage image;
    if (!IndexTrueColour(UnpackTrueColour(file, bmp), pixelMask + 1, ctx, image))
      return {};
    return image;
  }
  const bool palette15 = bmp.bits == 1 && UsePalette15(name, ctx);

  BmpImage image;
  image.ColPayload = ConvertPalette(file, bmp, palette15);
  image.PaletteRows = 16;
  image.Width = bmp.width;
  image.Height = bmp.height;
  image.PixelCount = bmp.width * bmp.height;
  image.Pixels.assign(static_cast<std::size_t>(image.PixelCount), 0);
  const auto data = file.subspan(bmp.dataOffset, bmp.dataEnd - bmp.dataOffset);
  if (bmp.compression == kCompressionNone)
    UnpackRows(data, bmp, palette15, image.Pixels);
  else
    DecodeRle(data, bmp.bits, 0xFF, bmp.width, bmp.height, image.Pixels);
  // The mask last, counting the pixels it changes.
  ApplyPixelMask(image, pixelMask);
  return image;
}

bool WriteColFile(ConvertJob job, const BmpImage& image, const std::string& resName,
                  const ConvertContext& ctx) {
  job.OutFile = job.OutDir + job.FileName + "_COL.zkp";
  job.ResName = resName;
  return WriteZkpContainer(job, image.ColPayload, ResourceType::Col, ctx);
}

}  // namespace granvel
