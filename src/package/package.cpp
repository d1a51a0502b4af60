#include "package/package.h"

#include "convert/job.h"
#include "encode/image/bmp.h"
#include "encode/image/chr.h"
#include "encode/image/grp.h"
#include "encode/image/image_file.h"
#include "encode/image/palette_file.h"
#include "encode/text/mem.h"
#include "encode/text/prg.h"
#include "encode/text/scr.h"
#include "format/tiles.h"
#include "format/walk.h"
#include "platform/files.h"

namespace granvel {
namespace {

constexpr std::uint8_t kChrMask = 15;
constexpr std::uint8_t kGrpMask = 255;

// The block a CHR slot's image is cut into: with AutoTrim on the bank geometry of the CHR converter (the
// image width rounded up to a power of two), otherwise 256x64 or 128x128 by WideMode.
bool ChrSlotBlockWidth(const BmpImage& image, int unitHeight, const ConvertContext& ctx, int& blockWidth,
                       std::int64_t& blocks) {
  ChrBankGeometry geometry;
  if (!ChrBankGeometryFor(image.Width, image.Height, unitHeight, ctx.Settings(), ctx, geometry))
    return false;
  blockWidth = geometry.BankBlockWidth;
  blocks = geometry.Count();
  return true;
}

std::int64_t GrpPageCount(const BmpImage& image) {
  return ((image.Width + kPageWidth - 1) / kPageWidth) *
         static_cast<std::int64_t>((image.Height + kPageHeight - 1) / kPageHeight);
}

// The block the slot's part list selects, or a failure naming the part.
bool SelectedBlock(const PackageForm& form, const SlotInfo& slot, std::int64_t blocks,
                   const ConvertContext& ctx, std::uint32_t& index) {
  const auto& part = form.Slot(slot).PartIndex;
  if (!part)
    return ctx.Fail("no part of the image is chosen");
  if (*part < 0 || *part >= blocks) {
    return ctx.Fail("part " + std::to_string(*part + 1) + " is beyond the " + std::to_string(blocks) +
                    " parts of the image");
  }
  index = static_cast<std::uint32_t>(*part);
  return true;
}

ResourcePayload TextSlotPayload(const PackageForm& form, const SlotInfo& slot, const ConvertContext& ctx) {
  const ConvertJob job = MakeConvertJob(form.Slot(slot).Path, false, ctx.Settings());
  if (form.Slot(slot).Path.empty()) {
    ctx.Fail("no file given");
    return {};
  }
  switch (slot.Kind) {
    case SlotKind::Program:
      return BuildPrgPayload(job, ctx);
    case SlotKind::Mem:
      return BuildMemPayload(job, ctx);
    default:
      return BuildScrPayload(job, ctx);
  }
}

ResourcePayload StoredSlotPayload(const SlotInfo& slot, const std::string& path, const ConvertContext& ctx) {
  std::string_view letters = "CHR", tag = kTagChr;
  if (slot.Kind == SlotKind::Grp)
    letters = "GRP", tag = kTagGrp;
  else if (slot.Kind == SlotKind::Col)
    letters = "COL", tag = kTagCol;
  else if (slot.Kind == SlotKind::Scr)
    letters = "SCR", tag = kTagScr;
  else if (slot.Kind == SlotKind::Mem)
    letters = "MEM", tag = kTagMem;
  std::vector<std::uint8_t> file;
  std::string error;
  if (!ReadWholeFile(path, file, error)) {
    ctx.Fail(error);
    return {};
  }
  StoredResource resource;
  if (!FindResource(file, letters, resource, error)) {
    const std::string none = "no " + std::string(letters) + " resource";  // FindResource's reason at the end
    ctx.Fail("the file holds " + (error == none ? none : none + ": " + error));
    return {};
  }
  ResourcePayload payload = NewPayload(tag, tag.size() + resource.Data.size());
  std::copy(resource.Data.begin(), resource.Data.end(),
            payload.begin() + static_cast<std::ptrdiff_t>(tag.size()));
  return payload;
}

ResourcePayload SlotPayload(const PackageForm& form, const SlotInfo& slot, const ConvertContext& ctx) {
  if (IsResourceFile(slot, form.Slot(slot).Path))
    return StoredSlotPayload(slot, form.Slot(slot).Path, ctx);
  switch (slot.Kind) {
    case SlotKind::Chr:
      return BuildChrSlotPayload(form, slot, 8, 8, ctx);
    case SlotKind::Sprite:
    case SlotKind::Icon:
      return BuildSpriteSlotPayload(form, slot, ctx);
    case SlotKind::Grp:
      return BuildGrpSlotPayload(form, slot, ctx);
    case SlotKind::Col:
      return BuildColSlotPayload(form, slot, ctx);
    case SlotKind::Scr:
    case SlotKind::Mem:
    case SlotKind::Program:
      return TextSlotPayload(form, slot, ctx);
  }
  return {};
}

}  // namespace

bool IsResourceFile(const SlotInfo& slot, const std::string& path) {
  const PathParts parts = SplitPath(path);
  return slot.Kind != SlotKind::Program && (parts.Ext == ".zkp" || parts.Ext == ".ZKP");
}

ResourcePayload BuildChrSlotPayload(const PackageForm& form, const SlotInfo& slot, int unitWidth,
                                    int unitHeight, const ConvertContext& ctx) {
  const BmpImage image = ReadImageFile(form.Slot(slot).Path, static_cast<std::uint32_t>(unitWidth),
                                       static_cast<std::uint32_t>(unitHeight), kChrMask, ctx, PngUse::Always);
  if (image.PixelCount == 0)
    return {};
  int blockWidth = 0;
  std::int64_t blocks = 0;
  std::uint32_t index = 0;
  if (!ChrSlotBlockWidth(image, unitHeight, ctx, blockWidth, blocks) ||
      !SelectedBlock(form, slot, blocks, ctx, index)) {
    return {};
  }
  ResourcePayload payload =
      BuildTilePayload(image, kChrBlockPixels, index, unitWidth, unitHeight, blockWidth);
  if (payload.empty())
    ctx.Fail("part " + std::to_string(index + 1) + " cannot be cut from the image");
  return payload;
}

ResourcePayload BuildSpriteSlotPayload(const PackageForm& form, const SlotInfo& slot,
                                       const ConvertContext& ctx) {
  const UnitSize unit = SlotUnit(slot, form.Slot(slot).SizeIndex);
  return BuildChrSlotPayload(form, slot, unit.Width, unit.Height, ctx);
}

ResourcePayload BuildGrpSlotPayload(const PackageForm& form, const SlotInfo& slot,
                                    const ConvertContext& ctx) {
  const BmpImage image = ReadImageFile(form.Slot(slot).Path, 1, 1, kGrpMask, ctx, PngUse::Always);
  if (image.PixelCount == 0)
    return {};
  std::uint32_t index = 0;
  if (!SelectedBlock(form, slot, GrpPageCount(image), ctx, index))
    return {};
  ResourcePayload payload = BuildTilePayload(image, kGrpBlockPixels, index, 64, 64, kPageWidth);
  if (payload.empty())
    ctx.Fail("page " + std::to_string(index + 1) + " cannot be cut from the image");
  return payload;
}

ResourcePayload BuildColSlotPayload(const PackageForm& form, const SlotInfo& slot,
                                    const ConvertContext& ctx) {
  BmpImage image = ReadImageFile(form.Slot(slot).Path, 1, 1, kChrMask, ctx, PngUse::Always);
  if (image.PixelCount == 0)
    return {};
  return std::move(image.ColPayload);
}

bool CountParts(const SlotInfo& slot, const std::string& path, const ConvertContext& ctx, int& parts) {
  parts = 0;
  if (slot.Kind == SlotKind::Scr)
    return true;
  if (IsResourceFile(slot, path))
    return !StoredSlotPayload(slot, path, ctx).empty();  // the stored resource is the one part
  const BmpImage image = ReadImageFile(path, static_cast<std::uint32_t>(slot.CheckUnitWidth),
                                       static_cast<std::uint32_t>(slot.CheckUnitHeight),
                                       static_cast<std::uint8_t>(slot.CheckMask), ctx, PngUse::Always);
  if (image.PixelCount == 0)
    return false;
  if (!slot.HasPartList)
    return true;
  std::int64_t blocks = 0;
  if (slot.Kind == SlotKind::Grp) {
    blocks = GrpPageCount(image);
  } else {
    int blockWidth = 0;
    if (!ChrSlotBlockWidth(image, slot.CheckUnitHeight, ctx, blockWidth, blocks))
      return false;
  }
  if (blocks <= 0 || blocks > 1000000)
    return ctx.FailSize("the image gives no usable part");
  parts = static_cast<int>(blocks);
  return true;
}

std::string SuggestedPackagePath(const PackageForm& form, const ConvertSettings& settings) {
  std::string source;
  for (const SlotInfo& slot : PackageSlots()) {
    if (form.Slot(slot).Checked && !form.Slot(slot).Path.empty()) {
      source = form.Slot(slot).Path;
      break;
    }
  }
  std::string folder = MakeConvertJob(source, false, settings).OutDir;
  if (folder.empty() || (settings.Select == kSelectUserFolder && settings.User.empty()))
    folder = settings.ToolDir + "/";
  return folder + PackageResourceName(form.PackageName) + ".zkp";
}

std::string PackageFilePath(const std::string& chosenPath) {
  const PathParts parts = SplitPath(chosenPath);
  return parts.Drive + parts.Dir + parts.Name + ".zkp";
}

bool BuildPackage(const PackageForm& form, const ConvertSettings& settings, Host& host,
                  PackageOutcome& outcome) {
  outcome = {};
  int checked = 0;
  std::vector<std::pair<int, std::string>> reasons;  // failed bit, reason

  // Palette_File's colours, read once for every image slot. When they cannot be read, each image slot reads
  // the file again and fails with the reason.
  ConvertSettings withPalette = settings;
  {
    ConvertReport report;
    ReadRunPalette(withPalette, ConvertContext(settings, host, report));
  }
  const auto build = [&](const SlotInfo& slot, int failBit) {
    ConvertReport report;
    const ConvertContext ctx(withPalette, host, report);
    ResourcePayload payload = SlotPayload(form, slot, ctx);
    for (const std::string& note : report.Notes)
      outcome.Notes.push_back(CommandLineName(slot) + ": " + note);
    if (payload.empty()) {
      outcome.Failed |= PackageMask{1} << failBit;
      reasons.emplace_back(failBit, report.Reason.empty() ? "the slot did not convert" : report.Reason);
    }
    return payload;
  };

  ResourcePayload package;
  const SlotInfo& program = *SlotById(kProgramSlotId);
  if (form.Slot(program).Checked) {
    checked = 1;
    package = build(program, kProgramFailedBit);
  }
  if (package.empty())
    package = EmptyPackageHead();

  for (int bit = 0; bit < kProgramFailedBit; ++bit) {
    const SlotInfo* slot = SlotByBit(bit);
    if (!slot || slot->Kind == SlotKind::Program || !form.Slot(*slot).Checked)
      continue;
    outcome.Mask |= PackageMask{1} << bit;
    ++checked;
    const ResourcePayload payload = build(*slot, bit);
    if (!payload.empty())
      AppendPayload(package, payload);
  }

  if (outcome.Failed != 0) {
    MessageReport message{kPackageErrorCaption, FailureReportText(outcome.Failed), {}, {}};
    for (const int bit : FailureReportBits()) {
      for (const auto& [failedBit, reason] : reasons) {
        if (failedBit != bit)
          continue;
        outcome.SlotFailures.push_back({SlotByBit(bit), reason});
        message.Details +=
            (message.Details.empty() ? "" : "\n") + ReportLabel(*SlotByBit(bit)) + ": " + reason;
      }
    }
    host.ShowReport(message);
    return false;
  }
  StorePackageMask(package, outcome.Mask);
  if (checked == 0) {
    outcome.Reason = "no slot is checked";
    return false;
  }

  FileChoice choice;
  choice.Title = kPackageSaveTitle;
  choice.Filter = {{"ZKP package", "*.zkp"}};
  choice.DefaultExt = ".zkp";
  choice.SaveMode = true;
  choice.InitialPath = SuggestedPackagePath(form, settings);
  if (!host.ChooseFile(choice) || choice.Files.empty()) {
    outcome.Reason = "no save path was chosen";
    return false;
  }

  ConvertJob job = MakeConvertJob(choice.Files.front(), false, settings);
  job.OutFile = PackageFilePath(choice.Files.front());
  job.ResName = PackageResourceName(form.PackageName);
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  if (job.FileName.empty() || !WriteZkpContainer(job, package, ResourceType::Prg, ctx)) {
    outcome.Reason = job.FileName.empty() ? "the save path names no file" : report.Reason;
    host.ShowMessage(kPackageErrorCaption, kPackageWriteFailedText);
    return false;
  }
  outcome.Written = job.OutFile;
  // The box names the package written and offers its folder.
  host.ShowReport({kPackageDoneCaption,
                   std::string(kPackageDoneText) + "\nwrote " + job.OutFile,
                   {},
                   ShownFolderOf(job.OutFile)});
  return true;
}

}  // namespace granvel
