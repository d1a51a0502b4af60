#include "encode/image/grp.h"

#include "encode/image/bmp.h"
#include "encode/image/data_text.h"
#include "encode/image/image_file.h"
#include "format/container.h"
#include "format/tiles.h"

namespace granvel {

void NamePage(ConvertJob& job, const std::string& ending, const std::string& base, std::int64_t index,
              std::int64_t count) {
  if (count >= 2) {
    job.OutFile = job.OutDir + job.FileName + ending + std::to_string(index) + ".zkp";
    job.ResName = base + HexText(static_cast<std::uint32_t>(index));
  } else {
    job.OutFile = job.OutDir + job.FileName + ending + ".zkp";
    job.ResName = base;
  }
}

bool ConvertBmpToGrp(ConvertJob job, const ConvertContext& ctx) {
  const BmpImage image = ReadImageFile(job.Path, 1, 1, 255, ctx);
  if (image.PixelCount == 0)
    return false;
  DataText text;
  if (!text.Open(ctx.Settings().TextOut != 0, job.OutDir + job.FileName + "_GRP_DATA.txt", ctx))
    return false;
  if (text.IsOpen()) {
    NoteGrpDataRows(ctx);
    WritePaletteData(text.Text(), image);
    text.Text() += "\r' GRAPHIC DATA\r";
  }

  const std::string base = NoteResourceName(job, "GRP", ctx);
  const std::int64_t columns = (image.Width + kPageWidth - 1) / kPageWidth;
  const std::int64_t count = columns * ((image.Height + kPageHeight - 1) / kPageHeight);
  bool ok = WriteColFile(job, image, base, ctx);
  const auto make = [&](std::int64_t i, ResourcePayload& payload) {
    if (!ctx.Step(static_cast<std::uint64_t>(i), static_cast<std::uint64_t>(count)))
      return false;
    payload = BuildTilePayload(image, kGrpBlockPixels, static_cast<std::uint32_t>(i), 64, 64, kPageWidth);
    return true;
  };
  const auto write = [&](std::int64_t i, const ResourcePayload& payload, const Md5Digest& digest) {
    if (count >= 2 && text.IsOpen())
      text.Text() += "' - GRP" + std::to_string(i) + "\r";
    NamePage(job, "_GRP", base, i, count);
    bool wrote = WriteZkpContainer(job, payload, digest, ResourceType::Grp, ctx);
    if (text.IsOpen()) {
      WriteGrpData(text.Text(), payload, ctx.Settings());
      wrote = text.Flush(ctx) && wrote;
    }
    return wrote;
  };
  ok = MakeAndWritePayloads(count, make, write) && ok;
  if (ctx.Cancelled())
    return false;  // the DATA text of a cancelled run is never put in place; the pages written stay
  return text.Finish(ctx) && ok;
}

}  // namespace granvel
