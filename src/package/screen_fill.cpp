#include "package/screen_fill.h"

#include <algorithm>
#include <cstdint>

#include "convert/job.h"
#include "format/walk.h"
#include "package/package.h"
#include "platform/files.h"

namespace granvel {
namespace {

constexpr int kMaxBanks = 4;
constexpr int kTilesPerBank = 256;
constexpr std::uint16_t kTileBits = 0x3FF;  // a cell's character number; flips and palette above it

bool EndsWith(const std::string& text, const std::string& ending) {
  return text.size() > ending.size() && text.compare(text.size() - ending.size(), ending.size(), ending) == 0;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items)
    text += (text.empty() ? "" : ", ") + item;
  return text;
}

// The first resource of kind `letters` in the file `folder` + `name`, or a reason naming the file.
bool ReadResource(const std::string& folder, const std::string& name, const char* letters,
                  std::vector<std::uint8_t>& file, StoredResource& resource, std::string& reason) {
  if (!ReadWholeFile(folder + name, file, reason))
    return false;
  std::string walk;
  if (FindResource(file, letters, resource, walk))
    return true;
  const std::string none = "no " + std::string(letters) + " resource";
  reason = name + " holds " + (walk == none ? none : none + ": " + walk);
  return false;
}

// The tile sets of a folder: every X with an X_CHR0.zkp and an X_COL.zkp.
std::vector<std::string> TileSets(const std::vector<std::string>& names) {
  std::vector<std::string> sets;
  for (const std::string& name : names) {
    const std::string ending = "_CHR0.zkp";
    const std::string stem = name.substr(0, name.size() - std::min(name.size(), ending.size()));
    if (EndsWith(name, ending) && std::binary_search(names.begin(), names.end(), stem + "_COL.zkp"))
      sets.push_back(stem);
  }
  return sets;
}

}  // namespace

bool FindScreenFill(const SlotInfo& scu, const std::string& mapPath, std::vector<ScreenFillRow>& rows,
                    std::string& reason) {
  rows.clear();
  const std::string folder = FolderOf(mapPath);
  const PathParts parts = SplitPath(mapPath);
  const std::string mapName = parts.Name + parts.Ext;
  if (!IsResourceFile(scu, mapPath)) {
    reason = mapName + " is not a .zkp resource file";
    return false;
  }
  std::vector<std::uint8_t> file;
  StoredResource map;
  if (!ReadResource(folder, mapName, "SCR", file, map, reason))
    return false;
  int highest = 0;
  for (std::size_t i = 0; i + 1 < map.Data.size(); i += 2)
    highest = std::max(highest, (map.Data[i] | map.Data[i + 1] << 8) & kTileBits);

  // The map's own banks, or else the folder's one tile set.
  const std::vector<std::string> names = FileNamesIn(folder);
  const auto has = [&names](const std::string& name) {
    return std::binary_search(names.begin(), names.end(), name);
  };
  std::string stem = EndsWith(parts.Name, "_SCR") ? parts.Name.substr(0, parts.Name.size() - 4) : parts.Name;
  if (!has(stem + "_CHR0.zkp") || !has(stem + "_COL.zkp")) {
    const std::vector<std::string> sets = TileSets(names);
    const std::string own =
        "no banks for " + mapName + ": no " + stem + "_CHR0.zkp with " + stem + "_COL.zkp";
    if (sets.empty()) {
      reason = own + ", nor any other tile set (X_CHR0.zkp with X_COL.zkp), in its folder";
      return false;
    }
    if (sets.size() > 1) {
      reason = own + " in its folder, and several tile sets there: " + Joined(sets);
      return false;
    }
    stem = sets.front();
  }
  std::vector<std::string> banks;
  while (static_cast<int>(banks.size()) < kMaxBanks &&
         has(stem + "_CHR" + std::to_string(banks.size()) + ".zkp"))
    banks.push_back(stem + "_CHR" + std::to_string(banks.size()) + ".zkp");
  const int tiles = kTilesPerBank * static_cast<int>(banks.size());
  if (highest >= tiles) {
    reason = "the map uses tile " + std::to_string(highest) + "; the banks beside it hold " +
             std::to_string(tiles) + " (" + Joined(banks) + ")";
    return false;
  }
  StoredResource resource;
  for (const std::string& bank : banks) {
    if (!ReadResource(folder, bank, "CHR", file, resource, reason))
      return false;
  }
  if (!ReadResource(folder, stem + "_COL.zkp", "COL", file, resource, reason))
    return false;

  const std::string down = scu.Screen == SlotScreen::Lower ? "down:" : "";
  rows.push_back({&scu, mapPath});
  for (std::size_t k = 0; k < banks.size(); ++k)
    rows.push_back({SlotByCommandLineName(down + "BGU" + std::to_string(k)), folder + banks[k]});
  rows.push_back({SlotByCommandLineName(down + "COL0"), folder + stem + "_COL.zkp"});
  return true;
}

std::string DescribeScreenFill(const std::vector<ScreenFillRow>& rows, bool commandLineNames) {
  std::vector<std::string> slots, files;
  for (const ScreenFillRow& row : rows) {
    slots.push_back(commandLineNames ? CommandLineName(*row.Slot) : std::string(row.Slot->Name));
    const PathParts parts = SplitPath(row.Path);
    files.push_back(parts.Name + parts.Ext);
  }
  const bool lower = !rows.empty() && rows.front().Slot->Screen == SlotScreen::Lower;
  return Joined(slots) + (lower && !commandLineNames ? " (Down screen)" : "") + " from " + Joined(files);
}

}  // namespace granvel
