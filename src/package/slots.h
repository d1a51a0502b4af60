// The 42 slots of a package: the program and the 41 resources of the two screens. One table describes them;
// the package build, the package dialog and the command line all read it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace granvel {

// What a slot carries and which payload builder fills it.
enum class SlotKind {
  Program,  // the program text, the head of the package
  Chr,      // background and font banks, 8x8 units
  Sprite,   // sprite banks, unit chosen from the size list
  Icon,     // icon banks, 32x32 units
  Grp,      // graphic pages
  Col,      // palettes
  Scr,      // screen maps
  Mem,      // string memory
};

enum class SlotScreen { Both, Upper, Lower };

// Which files the slot's browse button offers.
enum class BrowseKind { Bitmap, Text, Screen };

struct SlotInfo {
  int SlotId;         // the slot's base control id; its identity
  const char* Label;  // the check box label ("BGU0", "COL1 (SPU)")
  const char* Name;   // the short name ("BGU0", "COL1")
  SlotScreen Screen;
  SlotKind Kind;
  int Bit;  // its PackageMask bit; -1 for the program
  BrowseKind Browse;
  int CheckUnitWidth;  // the image check when a file is chosen: unit and pixel mask
  int CheckUnitHeight;
  int CheckMask;
  bool HasPartList;
  bool HasSizeList;
  bool DownSuffix;    // the failure report adds " (Down screen)"
  const char* Group;  // the dialog's group box caption
};

inline constexpr int kProgramSlotId = 7936;
inline constexpr int kPackageNameId = 7951;
inline constexpr int kProgramFailedBit = 45;  // FailedMask bit of a failed program slot
inline constexpr int kSlotCount = 42;

// Every slot in the dialog's order: left column top to bottom, then the right column.
std::span<const SlotInfo> PackageSlots();

// The slot with this id, or nullptr.
const SlotInfo* SlotById(int slotId);
// The slot of this PackageMask bit (or kProgramFailedBit for the program), or nullptr.
const SlotInfo* SlotByBit(int bit);
// The slot a command line names: a short name or label without regard to case ("bgu0", "COL1"), the lower
// screen's twins of upper names written "down:BGU0". SPS, SPD and BGD slots need no prefix. nullptr if none.
const SlotInfo* SlotByCommandLineName(const std::string& name);
// The name the command line uses for a slot ("BGU0", "down:BGU0", "SPS0").
std::string CommandLineName(const SlotInfo& slot);

// The seven sprite sizes in size-list order, and the icon list's one entry.
struct UnitSize {
  int Width, Height;
};
std::span<const UnitSize> SpriteSizes();
inline constexpr UnitSize kIconSize{32, 32};
// The unit a sprite or icon slot's size-list selection names; 16x16 for no or another selection.
UnitSize SlotUnit(const SlotInfo& slot, std::optional<int> sizeIndex);

// "16x16" and so on.
std::string UnitSizeText(UnitSize size);

// The slots in the order the failure report lists them.
std::span<const int> FailureReportBits();

}  // namespace granvel
