#include "encode/text/scr.h"

#include <algorithm>

#include "encode/text/text_encoding.h"
#include "format/bytes.h"
#include "platform/files.h"

namespace granvel {
namespace {

constexpr int kQuarterSide = 32;

// Where the cell (x, y) stands among the payload's cells: quarters top left, top right, bottom left, bottom
// right, each row by row.
std::size_t QuarterIndex(int x, int y) {
  return 2048 * static_cast<std::size_t>(y >= kQuarterSide) +
         1024 * static_cast<std::size_t>(x >= kQuarterSide) +
         kQuarterSide * static_cast<std::size_t>(y % kQuarterSide) +
         static_cast<std::size_t>(x % kQuarterSide);
}

}  // namespace

ScreenMap ReadRawScreen(std::span<const std::uint8_t> file) {
  ScreenMap map{};
  const std::size_t size = std::min(file.size(), 2 * kScreenCells);
  for (std::size_t i = 0; i < size; ++i)
    map[i / 2] |= static_cast<std::uint16_t>(file[i] << (i % 2 == 0 ? 8 : 0));
  return map;
}

ResourcePayload ScrPayloadFromMap(const ScreenMap& map) {
  ResourcePayload payload = NewPayload(kTagScr, kScrPayloadSize);
  for (int y = 0; y < kScreenSide; ++y) {
    for (int x = 0; x < kScreenSide; ++x)
      PutU16LE(&payload[kTagSize + 2 * QuarterIndex(x, y)],
               map[static_cast<std::size_t>(y) * kScreenSide + x]);
  }
  return payload;
}

ResourcePayload ScrPayloadFromRaw(std::span<const std::uint8_t> file) {
  return ScrPayloadFromMap(ReadRawScreen(file));
}

ResourcePayload ScrPayloadFromText(std::span<const std::uint8_t> text, std::string& error) {
  ScreenMap map{};
  if (!ReadScreenText(text, map, error))
    return {};
  return ScrPayloadFromMap(map);
}

ResourcePayload BuildScrPayload(const ConvertJob& job, const ConvertContext& ctx) {
  std::vector<std::uint8_t> file;
  std::string error;
  if (!HasExtension(job, ".txt")) {
    if (!ReadWholeFile(job.Path, file, error)) {
      ctx.Fail(error);
      return {};
    }
    return ScrPayloadFromRaw(file);
  }
  if (!ReadTextInput(job, ctx, file))
    return {};
  ResourcePayload payload = ScrPayloadFromText(file, error);
  if (payload.empty())
    ctx.Fail(error);
  return payload;
}

bool ConvertScrText(ConvertJob job, const ConvertContext& ctx) {
  const ResourcePayload payload = BuildScrPayload(job, ctx);
  if (payload.empty())
    return false;
  job.ResName = NoteResourceName(job, "SCR", ctx);
  job.OutFile = job.OutDir + job.FileName + "_SCR.zkp";
  return WriteZkpContainer(job, payload, ResourceType::Scr, ctx);
}

}  // namespace granvel
