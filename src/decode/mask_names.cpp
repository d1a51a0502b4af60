#include "decode/mask_names.h"

#include <array>

namespace granvel {
namespace {

constexpr std::array<MaskBitName, 45> kNames{{
    {0, "CHR", "SPU0", "_SPU0"},
    {1, "CHR", "SPU1", "_SPU1"},
    {2, "CHR", "SPU2", "_SPU2"},
    {3, "CHR", "SPU3", "_SPU3"},
    {4, "CHR", "SPU4", "_SPU4"},
    {5, "CHR", "SPU5", "_SPU5"},
    {6, "CHR", "SPU6", "_SPU6"},
    {7, "CHR", "SPU7", "_SPU7"},
    {8, "CHR", "BGU0", "_BGU0"},
    {9, "CHR", "BGU1", "_BGU1"},
    {10, "CHR", "BGU2", "_BGU2"},
    {11, "CHR", "BGU3", "_BGU3"},
    {12, "CHR", "BGF0", "_BGF0"},
    {13, "COL", "COL0", "_COL0"},
    {14, "COL", "COL1", "_COL1"},
    {15, "COL", "COL2", "_COL2"},
    {16, "SCR", "SCU0", "_SCR0"},
    {17, "SCR", "SCU1", "_SCR1"},
    {18, "GRP", "GRP0", "_GRP0"},
    {19, "GRP", "GRP1", "_GRP1"},
    {20, "GRP", "GRP2", "_GRP2"},
    {21, "GRP", "GRP3", "_GRP3"},
    {22, "MEM", "MEM", ""},
    {23, "CHR", "SPD0", "_SPD0"},
    {24, "CHR", "SPD1", "_SPD1"},
    {25, "CHR", "SPD2", "_SPD2"},
    {26, "CHR", "SPD3", "_SPD3"},
    {27, "CHR", "BGU0 (Down screen)", "_BGS0"},
    {28, "CHR", "BGU1 (Down screen)", "_BGS1"},
    {29, "CHR", "BGU2 (Down screen)", "_BGS2"},
    {30, "CHR", "BGU3 (Down screen)", "_BGS3"},
    {31, "CHR", "BGF0 (Down screen)", "_BGF1"},
    {32, "COL", "COL0 (Down screen)", "_COL0_S"},
    {33, "COL", "COL1 (Down screen)", "_COL1_S"},
    {34, "COL", "COL2 (Down screen)", "_COL2_S"},
    {35, "SCR", "SCU0 (Down screen)", "_SCR2"},
    {36, "SCR", "SCU1 (Down screen)", "_SCR3"},
    {37, "CHR", "reserved (SPS_NO_USE0)", "_SPS_NO_USE0"},
    {38, "CHR", "reserved (SPS_NO_USE1)", "_SPS_NO_USE1"},
    {39, "CHR", "reserved (BGD_NO_USE0)", "_BGD_NO_USE0"},
    {40, "CHR", "reserved (BGD_NO_USE1)", "_BGD_NO_USE1"},
    {41, "CHR", "SPS0", "_SPS0"},
    {42, "CHR", "SPS1", "_SPS1"},
    {43, "CHR", "BGD0", "_BGD0"},
    {44, "CHR", "BGD1", "_BGD1"},
}};

}  // namespace

std::span<const MaskBitName> MaskBitNames() {
  return kNames;
}

const MaskBitName* FindMaskBitName(int bit) {
  for (const MaskBitName& name : kNames) {
    if (name.Bit == bit)
      return &name;
  }
  return nullptr;
}

std::string_view TakeResourceEnding(std::string_view kind, std::uint64_t& mask) {
  for (const MaskBitName& name : kNames) {
    const std::uint64_t bit = std::uint64_t{1} << name.Bit;
    if (name.Kind == kind && !name.Ending.empty() && (mask & bit) != 0) {
      mask &= ~bit;
      return name.Ending;
    }
  }
  if (kind == "CHR")
    return "_CHR";
  if (kind == "COL")
    return "_COL";
  if (kind == "SCR")
    return "_SCR";
  if (kind == "GRP")
    return "_GRP";
  return "";
}

}  // namespace granvel
