#include "encode/image/chr.h"

#include "encode/image/bmp.h"
#include "encode/image/data_text.h"
#include "encode/image/image_file.h"
#include "format/container.h"
#include "format/tiles.h"

namespace granvel {
namespace {

constexpr std::int32_t kMaxBlockWidth = 16384;
// The setting that avoids banks as wide as the image, named in their refusals.
constexpr const char* kFixedBanksHint = " (AutoTrim=0 cuts it into 128- or 256-pixel-wide banks)";

}  // namespace

bool ChrBankGeometryFor(std::int32_t width, std::int32_t height, int unitHeight,
                        const ConvertSettings& settings, const ConvertContext& ctx,
                        ChrBankGeometry& geometry) {
  if (width <= 0 || height <= 0)
    return ctx.FailSize("the image has no pixels");
  if (settings.AutoTrim != 0) {
    if (width > kMaxBlockWidth)
      return ctx.FailSize("width " + std::to_string(width) +
                          " is above 16384, the widest block a bank can hold" + kFixedBanksHint);
    std::int32_t blockWidth = 1;
    while (blockWidth < width)
      blockWidth *= 2;
    geometry.BankBlockWidth = blockWidth;
  } else {
    geometry.BankBlockWidth = settings.WideMode != 0 ? 256 : 128;
  }
  geometry.BankBlockHeight = static_cast<std::int32_t>(kChrBlockPixels) / geometry.BankBlockWidth;
  if (geometry.BankBlockHeight < unitHeight)
    return ctx.FailSize("width " + std::to_string(width) + " gives banks " +
                        std::to_string(geometry.BankBlockWidth) + " wide and " +
                        std::to_string(geometry.BankBlockHeight) + " rows high, shallower than the " +
                        std::to_string(unitHeight) + "-pixel-high unit" + kFixedBanksHint);
  geometry.Columns = (width + geometry.BankBlockWidth - 1) / geometry.BankBlockWidth;
  geometry.Rows = (height + geometry.BankBlockHeight - 1) / geometry.BankBlockHeight;
  return true;
}

bool ConvertBmpToChr(ConvertJob job, const ConvertContext& ctx) {
  const ConvertSettings& settings = ctx.Settings();
  const int unitWidth = settings.UnitWidth, unitHeight = settings.UnitHeight;
  if (unitWidth <= 0 || unitHeight <= 0 || unitWidth > 64 || unitHeight > 64 || unitWidth % 8 != 0 ||
      unitHeight % 8 != 0)
    return ctx.Fail("unit " + std::to_string(unitWidth) + "x" + std::to_string(unitHeight) +
                    " is not one of the CHR unit sizes");
  const BmpImage image = ReadImageFile(job.Path, static_cast<std::uint32_t>(unitWidth),
                                       static_cast<std::uint32_t>(unitHeight), 15, ctx);
  if (image.PixelCount == 0)
    return false;
  ChrBankGeometry geometry;
  if (!ChrBankGeometryFor(image.Width, image.Height, unitHeight, settings, ctx, geometry))
    return false;
  if (image.MaskedPixels != 0)
    ctx.Note(std::to_string(image.MaskedPixels) +
             " pixels use colours above 15; CHR tiles keep their low 4 bits (the palette bank belongs in a "
             "screen map)");

  DataText text;
  if (!text.Open(settings.TextOut != 0, job.OutDir + job.FileName + "_CHR_DATA.txt", ctx))
    return false;
  if (text.IsOpen()) {
    WritePaletteData(text.Text(), image);
    text.Text() += "\r' " + std::to_string(unitWidth) + "x" + std::to_string(unitHeight) + " SPRITE DATA\r";
  }

  const std::string base = NoteResourceName(job, "CHR", ctx);
  bool ok = WriteColFile(job, image, base, ctx);
  const std::int64_t count = geometry.Count();
  // The rounded block, so every bank holds exactly 256 tiles whatever the image's width.
  const auto make = [&](std::int64_t i, ResourcePayload& payload) {
    if (!ctx.Step(static_cast<std::uint64_t>(i), static_cast<std::uint64_t>(count)))
      return false;
    payload = BuildTilePayload(image, kChrBlockPixels, static_cast<std::uint32_t>(i), unitWidth, unitHeight,
                               geometry.BankBlockWidth);
    return true;
  };
  const auto write = [&](std::int64_t i, const ResourcePayload& payload, const Md5Digest& digest) {
    if (count >= 2) {
      if (text.IsOpen())
        text.Text() += "' - SPU" + std::to_string(i) + "\r";
      job.OutFile = job.OutDir + job.FileName + "_CHR" + std::to_string(i) + ".zkp";
      job.ResName = base + HexText(static_cast<std::uint32_t>(i));
    } else {
      job.OutFile = job.OutDir + job.FileName + "_CHR.zkp";
      job.ResName = base;
    }
    bool wrote = WriteZkpContainer(job, payload, digest, ResourceType::Chr, ctx);
    if (text.IsOpen()) {
      WriteChrData(text.Text(), payload, static_cast<std::uint8_t>(unitWidth),
                   static_cast<std::uint8_t>(unitHeight), static_cast<int>(i));
      wrote = text.Flush(ctx) && wrote;
    }
    return wrote;
  };
  ok = MakeAndWritePayloads(count, make, write) && ok;
  if (ctx.Cancelled())
    return false;  // a cancelled run puts no DATA text in place; what it wrote stays
  return text.Finish(ctx) && ok;
}

}  // namespace granvel
