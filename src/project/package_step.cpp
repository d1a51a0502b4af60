#include "project/package_step.h"

#include <algorithm>
#include <map>

#include "convert/job.h"
#include "convert/settings.h"
#include "package/package.h"
#include "package/screen_fill.h"
#include "platform/files.h"
#include "platform/md5.h"
#include "project/quiet_host.h"

namespace granvel {
namespace {

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Whether the stem ends in "_TAG" or "_TAG" and digits.
bool EndsInTag(const std::string& stem, const std::string& tag) {
  std::size_t end = stem.size();
  while (end > 0 && stem[end - 1] >= '0' && stem[end - 1] <= '9')
    --end;
  const std::string ending = "_" + tag;
  return end >= ending.size() && stem.compare(end - ending.size(), ending.size(), ending) == 0;
}

// Whether an output file of an asset is one the slot takes: banks for bank slots, pages for graphic
// slots, and so on, by the ending of its name.
bool SlotTakes(const SlotInfo& slot, const std::string& file) {
  const std::string name = NameOf(file);
  if (name.size() < 4 || LowerAscii(name.substr(name.size() - 4)) != ".zkp")
    return false;
  const std::string stem = name.substr(0, name.size() - 4);
  const auto exact = [&](const char* tag) { return EndsInTag(stem, tag) && stem.back() == tag[2]; };
  switch (slot.Kind) {
    case SlotKind::Chr:
    case SlotKind::Sprite:
    case SlotKind::Icon:
      return EndsInTag(stem, "CHR");
    case SlotKind::Grp:
      return EndsInTag(stem, "GRP") || EndsInTag(stem, "BIN");
    case SlotKind::Col:
      return exact("COL");
    case SlotKind::Scr:
      return exact("SCR");
    case SlotKind::Mem:
      return exact("MEM");
    case SlotKind::Program:
      break;
  }
  return false;
}

// The file a slot takes from its asset: the program's text itself, or the output named, or the first
// output the slot takes. False with the reason.
bool SlotFile(const Project& project, const ProjectSlot& slot, const BuildState& assets, std::string& path,
              std::string& error) {
  const ProjectAsset& asset = *project.FindAsset(slot.Asset);
  const auto record = assets.Assets.find(slot.Asset);
  if (record == assets.Assets.end() || record->second.Key.empty()) {
    error = "asset " + slot.Asset + " did not build";
    return false;
  }
  const bool program = slot.Slot->Kind == SlotKind::Program;
  for (const std::string& file : program ? asset.Inputs : record->second.Outputs) {
    if (slot.File.empty() ? (program || SlotTakes(*slot.Slot, file)) : NameOf(file) == slot.File) {
      path = project.PathOf(file);
      return true;
    }
  }
  error = slot.File.empty() ? "asset " + slot.Asset + " made no file for this slot"
                            : "asset " + slot.Asset + (program ? " has no input " : " made no ") + slot.File;
  return false;
}

std::string KeyOf(const ProjectPackage& package, const std::string& version, const Project& project) {
  std::string text = version + "\n" + package.Name + "\n" + package.Output + "\n";
  for (const auto& [key, value] : project.Settings)
    text += key + "=" + value + "\n";
  for (const ProjectSlot& slot : package.Slots)
    text += (slot.Screen ? "screen " : "slot ") + CommandLineName(*slot.Slot) + "=" + slot.Asset + ":" +
            slot.File + "\n";
  std::string hex;
  for (const std::uint8_t byte :
       ComputeMd5({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}))
    hex += "0123456789abcdef"[byte >> 4], hex += "0123456789abcdef"[byte & 15];
  return hex;
}

}  // namespace

std::vector<PackagePlan> PlanPackages(const Project& project, const std::string& version,
                                      const BuildState& state, bool haveState, bool fresh,
                                      const std::function<bool(const std::string&)>& assetBuilds) {
  std::vector<PackagePlan> plans;
  for (const ProjectPackage& package : project.Packages) {
    PackagePlan plan;
    plan.Package = &package;
    plan.Record.Key = KeyOf(package, version, project);
    const auto old = state.Packages.find(package.Output);
    if (!haveState)
      plan.Reason = "no state";
    else if (fresh)
      plan.Reason = "granvel version changed";
    else if (old == state.Packages.end())
      plan.Reason = "new";
    else if (old->second.Key.empty())
      plan.Reason = "failed last time";
    else if (old->second.Key != plan.Record.Key)
      plan.Reason = "settings changed";
    else if (!PathExists(project.PathOf(package.Output)))
      plan.Reason = DisplayPath(package.Output) + " missing";
    for (const ProjectSlot& slot : package.Slots) {
      if (plan.Reason.empty() && assetBuilds(slot.Asset))
        plan.Reason = slot.Asset + " rebuilt";
    }
    plans.push_back(std::move(plan));
  }
  return plans;
}

void BuildPackageStep(const Project& project, PackagePlan& plan, const BuildState& assets,
                      std::vector<BuildLine>& lines, std::vector<std::string>& failures) {
  const ProjectPackage& package = *plan.Package;
  const std::string target = project.PathOf(package.Output);
  lines.push_back({false, DisplayPath(package.Output) + ": " + plan.Reason});
  const auto fail = [&](const std::string& text) {
    failures.push_back(package.Output + ": " + text);
    lines.push_back({true, DisplayPath(package.Output) + ": failed: " + text});
    plan.Record.Key.clear();
  };
  PackageForm form;
  form.PackageName = NormalizePackageName(package.Name);
  std::map<int, std::string> taken;  // slot id -> path
  const auto take = [&](const SlotInfo& slot, const std::string& path) {
    SlotState& state = form.Slot(slot);
    state.Checked = true;
    state.Path = path;
    if (slot.HasPartList)
      state.PartIndex = 0;
    taken[slot.SlotId] = path;
  };
  for (const ProjectSlot& slot : package.Slots) {
    std::string path, error;
    if (!SlotFile(project, slot, assets, path, error))
      return fail(CommandLineName(*slot.Slot) + ": " + error);
    if (!slot.Screen) {
      take(*slot.Slot, path);
      continue;
    }
    std::vector<ScreenFillRow> rows;
    if (!FindScreenFill(*slot.Slot, path, rows, error))
      return fail(CommandLineName(*slot.Slot) + ": " + error);
    for (const ScreenFillRow& row : rows) {
      const auto earlier = taken.find(row.Slot->SlotId);
      if (earlier != taken.end() && (earlier->second != row.Path || row.Slot->Kind == SlotKind::Scr))
        return fail(CommandLineName(*row.Slot) + " is filled twice");
      take(*row.Slot, row.Path);
    }
  }
  ConvertSettings settings;
  std::string error;
  if (!ProjectSettings(project, settings, error))
    return fail(error);
  // Built aside, then put in place only when its bytes changed.
  const std::string aside = project.PathOf(std::string(kStateFolder) + "/package.zkp");
  if (!EnsureDirectories(FolderOf(aside), error))
    return fail(error);
  QuietHost host(aside);
  PackageOutcome outcome;
  const bool built = BuildPackage(form, settings, host, outcome);
  std::vector<std::uint8_t> bytes, before;
  if (!built || !ReadWholeFile(aside, bytes, error)) {
    for (const auto& failure : outcome.SlotFailures)
      fail(CommandLineName(*failure.Slot) + ": " + failure.Reason);
    if (outcome.SlotFailures.empty())
      fail(!outcome.Reason.empty() ? outcome.Reason : error.empty() ? "not written" : error);
    RemoveFile(aside, error);
    return;
  }
  RemoveFile(aside, error);
  for (const auto& [id, path] : taken) {  // the files it took, each once, for the depfile
    const std::string relative = path.substr(project.Root.size());
    if (std::find(plan.Record.Outputs.begin(), plan.Record.Outputs.end(), relative) ==
        plan.Record.Outputs.end())
      plan.Record.Outputs.push_back(relative);
  }
  for (const std::string& note : outcome.Notes)
    lines.push_back({false, "  note: " + note});
  if (PathExists(target) && ReadWholeFile(target, before, error) && before == bytes) {
    lines.push_back({false, "  unchanged " + DisplayPath(package.Output)});
    return;
  }
  if (!EnsureDirectories(FolderOf(target), error) || !WriteWholeFile(target, bytes, error))
    return fail(error);
  lines.push_back({false, "  wrote " + DisplayPath(package.Output)});
}

}  // namespace granvel
