// Building a package from a filled-in package form: every checked slot converted with the same payload
// builders the single-file converters use, joined behind the program head in bit order, and written only when
// every slot converted and a save path was chosen.
#pragma once

#include <string>
#include <vector>

#include "convert/context.h"
#include "convert/settings.h"
#include "package/package_form.h"
#include "package/package_layout.h"
#include "platform/host.h"

namespace granvel {

inline constexpr const char* kPackageSaveTitle = "Choose save path";
inline constexpr const char* kPackageDoneText = "Conpleted..";
inline constexpr const char* kPackageDoneCaption = "Finished";
inline constexpr const char* kPackageWriteFailedText = "File create failed.";
inline constexpr const char* kPackageErrorCaption = "Error";
inline constexpr const char* kImageSizeUnmatched = "Image size unmatched.";

// What a build did, for front ends that show more than the message boxes.
struct PackageOutcome {
  PackageMask Mask = 0;
  PackageMask Failed = 0;
  // Why each failed slot failed, in the failure report's order.
  struct SlotFailure {
    const SlotInfo* Slot;
    std::string Reason;
  };
  std::vector<SlotFailure> SlotFailures;
  // What the slots changed or dropped without failing, each led by its slot's name ("MEM: ...").
  std::vector<std::string> Notes;
  std::string Written;  // the package file, when one was written
  std::string Reason;   // why nothing was written, when that was not a slot failure
};

// Builds the package the form describes. Shows its messages and asks for the save path through `host`; the
// failure report carries each failed slot's reason in its details. Palette_File's colours are read once for
// the build, unless the settings hold them already. True only when a package file was written.
bool BuildPackage(const PackageForm& form, const ConvertSettings& settings, Host& host,
                  PackageOutcome& outcome);

// The parts an image is cut into for a slot, as the build will cut it: the slot's image check (its unit and
// pixel mask) and block size decide. Slots without a part list (palettes, program, string memory) give 0
// parts when the image is usable; screen slots give 0 without reading anything. False with the reason in
// `ctx` when the image does not fit the slot.
bool CountParts(const SlotInfo& slot, const std::string& path, const ConvertContext& ctx, int& parts);

// Whether a slot takes `path` as a resource file: a ".zkp" (or ".ZKP") given for any slot but the program,
// of which the build takes the first resource of the slot's kind as it is stored (the tiles and screen map of
// a picture converted as a screen, a palette, ...).
bool IsResourceFile(const SlotInfo& slot, const std::string& path);

// The payload builders of the slots, each with its reason recorded in `ctx` on failure.
ResourcePayload BuildChrSlotPayload(const PackageForm& form, const SlotInfo& slot, int unitWidth,
                                    int unitHeight, const ConvertContext& ctx);
ResourcePayload BuildSpriteSlotPayload(const PackageForm& form, const SlotInfo& slot,
                                       const ConvertContext& ctx);
ResourcePayload BuildGrpSlotPayload(const PackageForm& form, const SlotInfo& slot, const ConvertContext& ctx);
ResourcePayload BuildColSlotPayload(const PackageForm& form, const SlotInfo& slot, const ConvertContext& ctx);

// The save dialog's suggestion: "<package name>.zkp" in the folder the settings choose for outputs (for
// "Same folder as source", the folder of the first filled slot in the dialog's order).
std::string SuggestedPackagePath(const PackageForm& form, const ConvertSettings& settings);

// Where a package chosen as `chosenPath` is written: its folder, its name with the extension made ".zkp".
std::string PackageFilePath(const std::string& chosenPath);

}  // namespace granvel
