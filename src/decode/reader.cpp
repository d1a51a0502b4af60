#include "decode/reader.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <vector>

#include "decode/images.h"
#include "decode/mask_names.h"
#include "decode/mem.h"
#include "decode/prg.h"
#include "decode/render.h"
#include "decode/scr.h"
#include "format/walk.h"
#include "platform/files.h"

namespace granvel {
namespace {

// The palettes a container's images are drawn with: a package's own COL resources by their endings, and the
// Palette_File palette (the colours the run read from it) for the rest.
struct DrawingPalettes {
  std::map<std::string, ColourWords, std::less<>> ByEnding;  // "_COL0", "_COL1_S", ...
  std::optional<ColourWords> File;
  std::map<std::string, std::span<const std::uint8_t>, std::less<>> Backgrounds;  // "_BGU0", "_BGS3", ...

  // A package's screen map drawn with its screen's background banks and COL0, as "<stem>_SCU0_screen.bmp".
  bool RenderScreenMap(std::span<const std::uint8_t> data, const std::string& stem, std::string_view ending,
                       const ConvertContext& ctx) const {
    static constexpr std::array<std::array<std::string_view, 4>, 4> kScreens{{
        {"_SCR0", "_SCU0", "_BGU", "_COL0"},
        {"_SCR1", "_SCU1", "_BGU", "_COL0"},
        {"_SCR2", "_SCU0_S", "_BGS", "_COL0_S"},
        {"_SCR3", "_SCU1_S", "_BGS", "_COL0_S"},
    }};
    for (const auto& [scr, name, banks, col] : kScreens) {
      if (ending != scr)
        continue;
      std::vector<std::span<const std::uint8_t>> tiles(4);
      bool any = false;
      for (std::size_t b = 0; b < tiles.size(); ++b) {
        const auto found = Backgrounds.find(std::string(banks) + std::to_string(b));
        if (found != Backgrounds.end()) {
          tiles[b] = found->second;
          any = true;
        }
      }
      if (!any)
        return true;  // no tiles to draw it with
      const auto palette = ByEnding.find(col);
      return WriteIndexedBitmap(stem + std::string(name) + "_screen.bmp",
                                RenderScreen(ScrCellsInReadingOrder(data), tiles, 512, 512),
                                palette != ByEnding.end() ? palette->second : BuiltInBgPalette(), ctx);
    }
    return true;
  }

  // The COL of the same screen: backgrounds and fonts COL0, sprites and icons COL1, graphic pages COL2.
  const ColourWords* For(std::string_view ending) const {
    static constexpr std::pair<std::string_view, std::string_view> kUses[] = {
        {"_BGU", "_COL0"},    {"_BGF0", "_COL0"},   {"_SPU", "_COL1"},    {"_GRP", "_COL2"},
        {"_BGS", "_COL0_S"},  {"_BGF1", "_COL0_S"}, {"_BGD0", "_COL0_S"}, {"_BGD1", "_COL0_S"},
        {"_SPS0", "_COL1_S"}, {"_SPS1", "_COL1_S"}, {"_SPD", "_COL1_S"}};
    for (const auto& [prefix, col] : kUses) {
      if (ending.substr(0, prefix.size()) == prefix) {
        const auto found = ByEnding.find(col);
        if (found != ByEnding.end())
          return &found->second;
      }
    }
    return File ? &*File : nullptr;
  }
};

// Walks the container once for its COL resources, before anything is drawn. Not `ok` when Palette_File is
// set but its colours were not read.
DrawingPalettes CollectPalettes(std::span<const std::uint8_t> file, const ConvertContext& ctx, bool& ok) {
  DrawingPalettes palettes;
  ok = true;
  if (!ctx.Settings().Palette_File.empty()) {
    const std::vector<std::uint16_t>& words = ctx.Settings().PaletteWords;
    if (words.empty())
      ok = ctx.Fail("palette file " + ctx.Settings().Palette_File + ": its colours were not read");
    palettes.File.emplace();
    palettes.File->fill(0);
    std::copy_n(words.begin(), std::min<std::size_t>(words.size(), 256), palettes.File->begin());
  }
  ResourceWalk walk(file);
  StoredResource resource;
  std::string reason;
  std::uint64_t mask = 0;
  while (walk.Next(resource, reason) == ResourceWalk::Step::Resource) {
    if (resource.Letters == "PRG")
      mask = (std::uint64_t{resource.MaskHigh} << 32) | resource.MaskLow;
    else if (resource.Letters == "MEM")
      continue;
    const bool inPackage = mask != 0;  // a plain file's COL names no screen
    const std::string_view ending = TakeResourceEnding(resource.Letters, mask);
    if (resource.Letters == "COL" && resource.Data.size() >= 512 && inPackage)
      palettes.ByEnding.emplace(std::string(ending), ColourWordsOf(resource.Data));
    if (resource.Letters == "CHR" && inPackage)
      palettes.Backgrounds.emplace(std::string(ending), resource.Data);
  }
  return palettes;
}

bool DecodeResource(const StoredResource& resource, const std::string& stem, std::uint64_t& mask,
                    const DrawingPalettes& palettes, const ConvertContext& ctx) {
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
    return DecodeChr(resource.Data, stem, ending, ctx, palettes.For(ending));
  if (kind == "COL")
    return DecodeCol(resource.Data, stem, ending, ctx);
  if (kind == "GRP")
    return DecodeGrp(resource.Data, stem, ending, ctx, palettes.For(ending));
  if (kind == "SCR")
    return DecodeScr(resource.Data, stem, ending, ctx) &&
           palettes.RenderScreenMap(resource.Data, stem, ending, ctx);
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
  bool palettesRead = true;
  const DrawingPalettes palettes = CollectPalettes(file, ctx, palettesRead);
  if (!palettesRead)
    return false;
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
        if (!DecodeResource(resource, stem, mask, palettes, ctx))
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
