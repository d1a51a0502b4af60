#include "forms/package_dialog_form.h"

#include "convert/job.h"
#include "package/package_layout.h"
#include "package/screen_fill.h"
#include "platform/files.h"

namespace granvel {

std::vector<SlotGroup> PackageDialogGroups() {
  std::vector<SlotGroup> groups;
  bool right = false;
  for (const SlotInfo& slot : PackageSlots()) {
    if (groups.empty() || std::string(groups.back().Caption) != slot.Group) {
      right = right || slot.Kind == SlotKind::Sprite;
      groups.push_back({slot.Group, {}, slot.Screen == SlotScreen::Lower, right});
    }
    groups.back().Members.push_back(&slot);
  }
  return groups;
}

PackageDialogForm::PackageDialogForm(const ConvertSettings& settings, Host& host, std::string* browseFolder)
    : settings_(settings), host_(host), browseFolder_(browseFolder) {}

std::vector<std::string> PackageDialogForm::PartEntries(int slotId) const {
  std::vector<std::string> entries;
  const int count = form_.Slot(slotId).PartCount;
  for (int k = 1; k <= count; ++k)
    entries.push_back(std::to_string(k) + " of " + std::to_string(count));
  return entries;
}

std::vector<std::string> PackageDialogForm::SizeEntries(const SlotInfo& slot) {
  std::vector<std::string> entries;
  if (slot.Kind == SlotKind::Icon) {
    entries.push_back(UnitSizeText(kIconSize));
  } else if (slot.HasSizeList) {
    for (const UnitSize& size : SpriteSizes())
      entries.push_back(UnitSizeText(size));
  }
  return entries;
}

FileChoice PackageDialogForm::BrowseChoice(const SlotInfo& slot, const std::string& folder) {
  struct Kind {
    const char* Label;
    const char* Pattern;
  };
  static constexpr Kind kBitmap{"Bitmap image", "*.bmp"}, kPng{"PNG image", "*.png"},
      kText{"Text document", "*.txt"}, kRawScreen{"SCR resource file", "*.rscr"},
      kResource{"ZKP resource", "*.zkp"};
  std::vector<Kind> kinds;
  FileChoice choice;
  switch (slot.Browse) {
    case BrowseKind::Bitmap:
      kinds = {kBitmap, kPng, kResource};
      choice.DefaultExt = ".bmp";
      break;
    case BrowseKind::Text:
      // The program is always a text; a MEM slot also takes a resource file, stored as it is.
      kinds = {kText};
      if (slot.Kind != SlotKind::Program)
        kinds.push_back(kResource);
      choice.DefaultExt = ".txt";
      break;
    case BrowseKind::Screen:
      kinds = {kText, kRawScreen, kResource};
      choice.DefaultExt = ".txt";
      break;
  }
  std::string all;
  for (const Kind& kind : kinds)
    all += (all.empty() ? "" : " ") + std::string(kind.Pattern);
  choice.Filter.emplace_back("All accepted files", all);
  for (const Kind& kind : kinds)
    choice.Filter.emplace_back(kind.Label, kind.Pattern);
  choice.Title = "Choose a file for " + ReportLabel(slot);
  choice.InitialPath = folder;
  return choice;
}

FileChoice PackageDialogForm::FillChoice(bool lowerScreen, const std::string& folder) {
  FileChoice choice;
  choice.Title = std::string("Choose a screen map for the ") + (lowerScreen ? "Down" : "Up") + " screen";
  choice.Filter = {{"Screen map", "*_SCR.zkp"}, {"ZKP resource", "*.zkp"}};
  choice.DefaultExt = ".zkp";
  choice.InitialPath = folder;
  return choice;
}

void PackageDialogForm::EditName(std::string text) {
  form_.PackageName = std::move(text);
}

void PackageDialogForm::UseControl() {
  const std::string name = NormalizePackageName(form_.PackageName);
  if (name != form_.PackageName) {
    form_.PackageName = name;
    Changed();
  }
}

void PackageDialogForm::EditPath(int slotId, std::string text) {
  UseControl();
  form_.Slot(slotId).Path = std::move(text);
}

void PackageDialogForm::SelectPart(int slotId, int index) {
  UseControl();
  SlotState& slot = form_.Slot(slotId);
  if (index >= 0 && index < slot.PartCount)
    slot.PartIndex = index;
}

void PackageDialogForm::SelectSize(int slotId, int index) {
  UseControl();
  if (index >= 0 && index < static_cast<int>(SizeEntries(*SlotById(slotId)).size()))
    form_.Slot(slotId).SizeIndex = index;
}

void PackageDialogForm::SetChecked(int slotId, bool checked) {
  UseControl();
  // The path stays when the box is cleared; an unchecked slot is left out of the build whatever it holds.
  form_.Slot(slotId).Checked = checked;
  Changed();
}

void PackageDialogForm::Browse(int slotId) {
  UseControl();
  const SlotInfo& info = *SlotById(slotId);
  FileChoice choice = BrowseChoice(info, browseFolder_ ? *browseFolder_ : std::string());
  if (!host_.ChooseFile(choice) || choice.Files.empty())
    return;
  SlotState& slot = form_.Slot(slotId);
  slot.Path = choice.Files.front();
  slot.Checked = true;
  if (browseFolder_)
    *browseFolder_ = FolderOf(slot.Path);
  Changed();
  // Only a chosen image is read now; any other file is read by the build.
  const std::string extension = LowerAscii(SplitPath(slot.Path).Ext);
  if (extension != ".bmp" && extension != ".png")
    return;
  ConvertReport report;
  const ConvertContext ctx(settings_, host_, report);
  int parts = 0;
  if (!CountParts(info, slot.Path, ctx, parts)) {
    const PathParts file = SplitPath(slot.Path);
    if (report.SizeUnmatched)
      Refuse(slot, kImageSizeUnmatched, report.Reason);
    else
      Refuse(slot, file.Name + file.Ext + ": " + report.Reason, {});
    return;
  }
  if (info.HasPartList) {  // the part list keeps its filling when an image is refused
    slot.PartCount = parts;
    slot.PartIndex = 0;
    Changed();
  }
}

void PackageDialogForm::FillFromScreen(bool lowerScreen) {
  UseControl();
  FileChoice choice = FillChoice(lowerScreen, browseFolder_ ? *browseFolder_ : std::string());
  if (!host_.ChooseFile(choice) || choice.Files.empty())
    return;
  const std::string& map = choice.Files.front();
  if (browseFolder_)
    *browseFolder_ = FolderOf(map);
  const std::string down = lowerScreen ? "down:" : "";
  const SlotState& scu0 = form_.Slot(*SlotByCommandLineName(down + "SCU0"));
  const bool second = !scu0.Path.empty() && scu0.Path != map &&
                      form_.Slot(*SlotByCommandLineName(down + "SCU1")).Path.empty();
  std::vector<ScreenFillRow> rows;
  std::string reason;
  if (!FindScreenFill(*SlotByCommandLineName(down + (second ? "SCU1" : "SCU0")), map, rows, reason)) {
    host_.ShowMessage(kPackageErrorCaption, reason);
    return;
  }
  for (const ScreenFillRow& row : rows) {
    SlotState& slot = form_.Slot(*row.Slot);
    slot.Checked = true;
    slot.Path = row.Path;
    slot.PartCount = 0;  // a resource file is taken whole
    slot.PartIndex.reset();
  }
  Changed();
  host_.ShowMessage(kFillFromScreenCaption, "Filled " + DescribeScreenFill(rows, false));
}

void PackageDialogForm::Refuse(SlotState& slot, const std::string& text, const std::string& details) {
  host_.ShowReport({kPackageErrorCaption, text, details, {}});
  // A refused file never reaches a build.
  slot.Checked = false;
  slot.Path.clear();
  Changed();
}

bool PackageDialogForm::Make() {
  if (building_)
    return false;
  UseControl();
  building_ = true;
  Changed();
  const bool written = BuildPackage(form_, settings_, host_, outcome_);
  building_ = false;
  Changed();
  return written;
}

bool PackageDialogForm::Cancel() {
  if (building_)
    return false;
  int filled = 0;
  for (const SlotInfo& slot : PackageSlots())
    filled += form_.Slot(slot).Path.empty() ? 0 : 1;
  if (filled == 0)
    return true;
  return host_.AskYesNo(kPackageDialogTitle, "Close without making the package? The files chosen for " +
                                                 std::to_string(filled) + (filled == 1 ? " slot" : " slots") +
                                                 " are forgotten.");
}

void PackageDialogForm::Changed() const {
  if (onChange_)
    onChange_();
}

}  // namespace granvel
