#include "decode/reader.h"

#include <vector>

#include "decode/images.h"
#include "decode/mask_names.h"
#include "decode/mem.h"
#include "decode/prg.h"
#include "decode/scr.h"
#include "decode/walk.h"
#include "platform/files.h"

namespace granvel {
namespace {

bool DecodeResource(const StoredResource& resource, const std::string& stem, std::uint64_t& mask,
                    const ConvertContext& ctx) {
  const std::string_view kind = resource.Letters;
  if (kind == "PRG") {
    if (!DecodePrg(resource.Data, stem, ctx))
      return false;
    mask = (std::uint64_t{resource.MaskHigh} << 32) | resource.MaskLow;
    return true;
  }
  if (kind == "MEM")
    return DecodeMem(resource.Data, stem, ctx);  // MEM takes no bit from the mask
  const std::string_view ending = TakeResourceEnding(kind, mask);
  if (kind == "CHR")
    return DecodeChr(resource.Data, stem, ending, ctx);
  if (kind == "COL")
    return DecodeCol(resource.Data, stem, ending, ctx);
  if (kind == "GRP")
    return DecodeGrp(resource.Data, stem, ending, ctx);
  if (kind == "SCR")
    return DecodeScr(resource.Data, stem, ending, ctx);
  return ctx.Fail("offset " + std::to_string(resource.DataOffset - 3) + ": no decoder for \"" +
                  resource.Letters + "\"");
}

}  // namespace

std::string SafeFileName(std::string_view name) {
  static constexpr std::string_view kRefused = "/\\:*?\"<>|";
  std::string safe;
  for (char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    const bool printable = byte >= 0x20 && byte < 0x7F;
    safe.push_back(printable && kRefused.find(c) == std::string_view::npos ? c : '_');
  }
  if (safe.empty() || safe == "." || safe == "..")
    return "_";
  return safe;
}

bool DecodeZkpBytes(std::span<const std::uint8_t> file, ConvertJob job, const ConvertContext& ctx) {
  ContainerHeader header;
  std::string reason;
  if (!ReadContainerHeader(file, header, reason))
    return ctx.Fail(reason);
  job.ResName = header.Name;
  const std::string name = SafeFileName(header.Name);
  const std::string folder = job.OutDir + "ZKP_" + name + "/";
  if (!ctx.EnsureOutputFolder(folder))
    return false;
  const std::string stem = folder + name;

  std::uint64_t mask = 0;  // a package's slot mask, from its PRG header
  ResourceWalk walk(file);
  StoredResource resource;
  for (;;) {
    switch (walk.Next(resource, reason)) {
      case ResourceWalk::Step::End:
        return true;
      case ResourceWalk::Step::Malformed:
        return ctx.Fail(reason);
      case ResourceWalk::Step::Resource:
        if (!DecodeResource(resource, stem, mask, ctx))
          return false;
        break;
    }
  }
}

bool DecodeZkpFile(ConvertJob job, const ConvertContext& ctx) {
  std::vector<std::uint8_t> file;
  std::string error;
  if (!ReadWholeFile(job.Path, file, error))
    return ctx.Fail(error);
  return DecodeZkpBytes(file, std::move(job), ctx);
}

}  // namespace granvel
