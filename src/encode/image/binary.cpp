#include "encode/image/binary.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "encode/image/data_text.h"
#include "encode/image/grp.h"
#include "format/tiles.h"
#include "platform/files.h"

namespace granvel {
namespace {

// Reads exactly `bytes.size()` bytes of `in`. False with a reason when the file ends early or cannot be
// read.
bool ReadPages(InputFile& in, const std::string& path, std::span<std::uint8_t> bytes, std::string& error) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::size_t got = 0;
    if (!in.Read(bytes.data() + done, bytes.size() - done, got, error))
      return false;
    if (got == 0) {
      error = path + " became shorter while it was read";
      return false;
    }
    done += got;
  }
  return true;
}

}  // namespace

ResourcePayload BuildBinaryPagePayload(std::span<const std::uint8_t> pageBytes) {
  if (pageBytes.size() > kPageBytes)
    return {};
  if (pageBytes.size() == kPageBytes)
    return BuildTilePayload(PixelGrid{pageBytes, kPageWidth, kPageHeight}, kGrpBlockPixels, 0, 64, 64,
                            kPageWidth);
  std::vector<std::uint8_t> page(kPageBytes, 0);
  std::copy(pageBytes.begin(), pageBytes.end(), page.begin());
  return BuildTilePayload(PixelGrid{page, kPageWidth, kPageHeight}, kGrpBlockPixels, 0, 64, 64, kPageWidth);
}

bool ConvertBinaryToGrp(ConvertJob job, const ConvertContext& ctx) {
  InputFile reader;
  std::string error;
  if (!reader.Open(job.Path, error))
    return ctx.Fail(error);
  const std::uint64_t size = reader.Size();
  if (ctx.Settings().ConvertType != kConvertBinary) {
    if (HasExtension(job, ".png"))
      ctx.NotePngCarried();
    for (const char* other : {".gif", ".jpg", ".jpeg", ".webp", ".tga"}) {
      if (HasExtension(job, other))
        ctx.Note(std::string(other) +
                 " files are carried as binary data; only BMP and PNG images convert as images");
    }
  }
  if (size == 0)
    return ctx.Fail("the file is empty; there is nothing to carry");
  if (size > std::numeric_limits<std::uint32_t>::max())
    return ctx.Fail("the file holds " + std::to_string(size) +
                    " bytes; files over 4 GiB (4294967295 bytes) cannot be carried");

  DataText text;
  if (!text.Open(ctx.Settings().TextOut != 0, job.OutDir + job.FileName + "_DATA.txt", ctx))
    return false;
  if (text.IsOpen())
    NoteGrpDataRows(ctx);
  const std::string base = NoteResourceName(job, "BIN", ctx);
  const std::uint64_t count = (size + kPageBytes - 1) / kPageBytes;
  // The file is read a group of pages at a time, when the group's first page is made: few reads, and no more
  // than one group's 768 KiB of it held.
  constexpr auto kPagesPerRead = static_cast<std::uint64_t>(kPayloadGroup);
  std::vector<std::uint8_t> pages(static_cast<std::size_t>(std::min(count, kPagesPerRead) * kPageBytes));
  const auto make = [&](std::int64_t i, ResourcePayload& payload) {
    if (!ctx.Step(static_cast<std::uint64_t>(i), count))
      return false;
    const std::uint64_t start = kPageBytes * static_cast<std::uint64_t>(i);
    const std::size_t at =
        static_cast<std::size_t>((static_cast<std::uint64_t>(i) % kPagesPerRead) * kPageBytes);
    if (at == 0) {
      const auto wanted = static_cast<std::size_t>(std::min<std::uint64_t>(pages.size(), size - start));
      if (!ReadPages(reader, job.Path, std::span(pages).first(wanted), error))
        return false;
    }
    payload = BuildBinaryPagePayload(
        std::span(pages).subspan(at, static_cast<std::size_t>(std::min(kPageBytes, size - start))));
    return true;
  };
  const auto write = [&](std::int64_t i, const ResourcePayload& payload, const Md5Digest& digest) {
    const std::uint64_t start = kPageBytes * static_cast<std::uint64_t>(i);
    if (count >= 2 && text.IsOpen())
      text.Text() += "' &H" + HexText(start) + " - &H" + HexText(start + kPageBytes - 1) + "\r";
    NamePage(job, "_BIN", base, i, static_cast<std::int64_t>(count));
    bool ok = WriteZkpContainer(job, payload, digest, ResourceType::Grp, ctx);
    if (text.IsOpen()) {
      WriteGrpData(text.Text(), payload, ctx.Settings());
      ok = text.Flush(ctx) && ok;
    }
    return ok;
  };
  const bool ok = MakeAndWritePayloads(static_cast<std::int64_t>(count), make, write);
  if (!error.empty())
    return ctx.Fail(error);  // the file could not be read to its end: the DATA text is never put in place
  if (ctx.Cancelled())
    return false;  // likewise when the run was cancelled; the pages written stay
  return text.Finish(ctx) && ok;
}

}  // namespace granvel
