#include "package/slots.h"

#include <strings.h>

#include <array>

namespace granvel {
namespace {

constexpr SlotScreen U = SlotScreen::Upper;
constexpr SlotScreen D = SlotScreen::Lower;
constexpr SlotScreen B = SlotScreen::Both;

constexpr const char* kProgramGroup = "Program text";
constexpr const char* kUpFonts = "Up screen - Fonts (CHR resource)";
constexpr const char* kUpBg = "Up screen - BG (CHR resource)";
constexpr const char* kUpScr = "Up screen - BG (SCR resource)";
constexpr const char* kGrp = "Up / Down screen - GRP resource";
constexpr const char* kDownFonts = "Down screen - Fonts (CHR resource)";
constexpr const char* kDownBg = "Down screen - BG (CHR resource)";
constexpr const char* kDownScr = "Down screen - BG (SCR resource)";
constexpr const char* kUpSprites = "Up screen - Sprites (CHR resource)";
constexpr const char* kUpCol = "Up screen - Color palettes";
constexpr const char* kMemGroup = "MEM$ string resource";
constexpr const char* kDownSprites = "Down screen - Sprites (CHR resource)";
constexpr const char* kDownIcons = "Down screen - Icons (CHR resource)";
constexpr const char* kDownCol = "Down screen - Color palettes";

using K = SlotKind;
using W = BrowseKind;

// id, label, name, screen, kind, bit, browse, check unit w/h and mask, part list, size list, down suffix,
// group
constexpr std::array<SlotInfo, kSlotCount> kSlots{{
    {7936, "PRG", "PRG", B, K::Program, -1, W::Text, 8, 8, 15, false, false, false, kProgramGroup},
    {8176, "BGF0", "BGF0", U, K::Chr, 12, W::Bitmap, 8, 8, 15, true, false, false, kUpFonts},
    {4096, "BGU0", "BGU0", U, K::Chr, 8, W::Bitmap, 8, 8, 15, true, false, false, kUpBg},
    {4112, "BGU1", "BGU1", U, K::Chr, 9, W::Bitmap, 8, 8, 15, true, false, false, kUpBg},
    {4128, "BGU2", "BGU2", U, K::Chr, 10, W::Bitmap, 8, 8, 15, true, false, false, kUpBg},
    {4144, "BGU3", "BGU3", U, K::Chr, 11, W::Bitmap, 8, 8, 15, true, false, false, kUpBg},
    {4256, "SCU0", "SCU0", U, K::Scr, 16, W::Screen, 0, 0, 0, false, false, false, kUpScr},
    {4272, "SCU1", "SCU1", U, K::Scr, 17, W::Screen, 0, 0, 0, false, false, false, kUpScr},
    {4608, "GRP0", "GRP0", B, K::Grp, 18, W::Bitmap, 1, 1, 255, true, false, false, kGrp},
    {4624, "GRP1", "GRP1", B, K::Grp, 19, W::Bitmap, 1, 1, 255, true, false, false, kGrp},
    {4640, "GRP2", "GRP2", B, K::Grp, 20, W::Bitmap, 1, 1, 255, true, false, false, kGrp},
    {4656, "GRP3", "GRP3", B, K::Grp, 21, W::Bitmap, 1, 1, 255, true, false, false, kGrp},
    {8184, "BGF0", "BGF0", D, K::Chr, 31, W::Bitmap, 8, 8, 15, true, false, true, kDownFonts},
    {4160, "BGU0", "BGU0", D, K::Chr, 27, W::Bitmap, 8, 8, 15, true, false, true, kDownBg},
    {4176, "BGU1", "BGU1", D, K::Chr, 28, W::Bitmap, 8, 8, 15, true, false, true, kDownBg},
    {4192, "BGU2", "BGU2", D, K::Chr, 29, W::Bitmap, 8, 8, 15, true, false, true, kDownBg},
    {4208, "BGU3", "BGU3", D, K::Chr, 30, W::Bitmap, 8, 8, 15, true, false, true, kDownBg},
    {4224, "BGD0", "BGD0", D, K::Chr, 43, W::Bitmap, 8, 8, 15, true, false, false, kDownBg},
    {4240, "BGD1", "BGD1", D, K::Chr, 44, W::Bitmap, 8, 8, 15, true, false, false, kDownBg},
    {4288, "SCU0", "SCU0", D, K::Scr, 35, W::Screen, 0, 0, 0, false, false, true, kDownScr},
    {4304, "SCU1", "SCU1", D, K::Scr, 36, W::Screen, 0, 0, 0, false, false, true, kDownScr},
    {4352, "SPU0", "SPU0", U, K::Sprite, 0, W::Bitmap, 16, 16, 15, true, true, false, kUpSprites},
    {4368, "SPU1", "SPU1", U, K::Sprite, 1, W::Bitmap, 16, 16, 15, true, true, false, kUpSprites},
    {4384, "SPU2", "SPU2", U, K::Sprite, 2, W::Bitmap, 16, 16, 15, true, true, false, kUpSprites},
    {4400, "SPU3", "SPU3", U, K::Sprite, 3, W::Bitmap, 16, 16, 15, true, true, false, kUpSprites},
    {4416, "SPU4", "SPU4", U, K::Sprite, 4, W::Bitmap, 16, 16, 15, true, true, false, kUpSprites},
    {4432, "SPU5", "SPU5", U, K::Sprite, 5, W::Bitmap, 16, 16, 15, true, true, false, kUpSprites},
    {4448, "SPU6", "SPU6", U, K::Sprite, 6, W::Bitmap, 16, 16, 15, true, true, false, kUpSprites},
    {4464, "SPU7", "SPU7", U, K::Sprite, 7, W::Bitmap, 16, 16, 15, true, true, false, kUpSprites},
    {7168, "COL0 (BGF/BGU)", "COL0", U, K::Col, 13, W::Bitmap, 8, 8, 15, false, false, false, kUpCol},
    {7184, "COL1 (SPU)", "COL1", U, K::Col, 14, W::Bitmap, 8, 8, 15, false, false, false, kUpCol},
    {7200, "COL2 (GRP)", "COL2", U, K::Col, 15, W::Bitmap, 8, 8, 15, false, false, false, kUpCol},
    {7952, "MEM", "MEM", B, K::Mem, 22, W::Text, 8, 8, 15, false, false, false, kMemGroup},
    {4480, "SPS0", "SPS0", D, K::Sprite, 41, W::Bitmap, 16, 16, 15, true, true, false, kDownSprites},
    {4496, "SPS1", "SPS1", D, K::Sprite, 42, W::Bitmap, 16, 16, 15, true, true, false, kDownSprites},
    {4544, "SPD0", "SPD0", D, K::Icon, 23, W::Bitmap, 32, 32, 15, true, true, false, kDownIcons},
    {4560, "SPD1", "SPD1", D, K::Icon, 24, W::Bitmap, 32, 32, 15, true, true, false, kDownIcons},
    {4576, "SPD2", "SPD2", D, K::Icon, 25, W::Bitmap, 32, 32, 15, true, true, false, kDownIcons},
    {4592, "SPD3", "SPD3", D, K::Icon, 26, W::Bitmap, 32, 32, 15, true, true, false, kDownIcons},
    {7216, "COL0 (BGF/BGU)", "COL0", D, K::Col, 32, W::Bitmap, 8, 8, 15, false, false, true, kDownCol},
    {7232, "COL1 (SPS)", "COL1", D, K::Col, 33, W::Bitmap, 8, 8, 15, false, false, true, kDownCol},
    {7248, "COL2 (GRP)", "COL2", D, K::Col, 34, W::Bitmap, 8, 8, 15, false, false, true, kDownCol},
}};

constexpr std::array<UnitSize, 7> kSpriteSizes{
    {{16, 16}, {32, 16}, {16, 32}, {32, 32}, {64, 32}, {32, 64}, {64, 64}}};

// The failure report's order: PRG, BGF0 up and down, BGU up, BGU down, BGD, SCU up and down, COL up and down,
// GRP, MEM, SPU, SPS, SPD.
constexpr std::array<int, kSlotCount> kReportBits{kProgramFailedBit,
                                                  12,
                                                  31,
                                                  8,
                                                  9,
                                                  10,
                                                  11,
                                                  27,
                                                  28,
                                                  29,
                                                  30,
                                                  43,
                                                  44,
                                                  16,
                                                  17,
                                                  35,
                                                  36,
                                                  13,
                                                  14,
                                                  15,
                                                  32,
                                                  33,
                                                  34,
                                                  18,
                                                  19,
                                                  20,
                                                  21,
                                                  22,
                                                  0,
                                                  1,
                                                  2,
                                                  3,
                                                  4,
                                                  5,
                                                  6,
                                                  7,
                                                  41,
                                                  42,
                                                  23,
                                                  24,
                                                  25,
                                                  26};

bool IsTwinOfUpperSlot(const SlotInfo& slot) {
  if (slot.Screen != SlotScreen::Lower)
    return false;
  for (const SlotInfo& other : kSlots) {
    if (other.Screen == SlotScreen::Upper && std::string(other.Name) == slot.Name)
      return true;
  }
  return false;
}

}  // namespace

std::span<const SlotInfo> PackageSlots() {
  return kSlots;
}

const SlotInfo* SlotById(int slotId) {
  for (const SlotInfo& slot : kSlots) {
    if (slot.SlotId == slotId)
      return &slot;
  }
  return nullptr;
}

const SlotInfo* SlotByBit(int bit) {
  for (const SlotInfo& slot : kSlots) {
    if (slot.Bit == bit || (bit == kProgramFailedBit && slot.Kind == SlotKind::Program))
      return &slot;
  }
  return nullptr;
}

std::string CommandLineName(const SlotInfo& slot) {
  return (IsTwinOfUpperSlot(slot) ? "down:" : "") + std::string(slot.Name);
}

const SlotInfo* SlotByCommandLineName(const std::string& name) {
  for (const SlotInfo& slot : kSlots) {
    const std::string own = CommandLineName(slot);
    if (::strcasecmp(own.c_str(), name.c_str()) == 0)
      return &slot;
    // A full check box label such as "COL1 (SPU)" names the slot too, on the screen its prefix says.
    const std::string label = (IsTwinOfUpperSlot(slot) ? "down:" : "") + std::string(slot.Label);
    if (::strcasecmp(label.c_str(), name.c_str()) == 0)
      return &slot;
  }
  return nullptr;
}

std::span<const UnitSize> SpriteSizes() {
  return kSpriteSizes;
}

UnitSize SlotUnit(const SlotInfo& slot, std::optional<int> sizeIndex) {
  switch (slot.Kind) {
    case SlotKind::Icon:
      return kIconSize;
    case SlotKind::Sprite:
      if (sizeIndex && *sizeIndex >= 0 && *sizeIndex < static_cast<int>(kSpriteSizes.size())) {
        return kSpriteSizes[static_cast<std::size_t>(*sizeIndex)];
      }
      return kSpriteSizes[0];
    default:
      return {8, 8};
  }
}

std::string UnitSizeText(UnitSize size) {
  return std::to_string(size.Width) + "x" + std::to_string(size.Height);
}

std::span<const int> FailureReportBits() {
  return kReportBits;
}

}  // namespace granvel
