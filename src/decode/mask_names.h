// What each bit of a package's 64-bit slot mask stands for: its kind, the label the package dialog shows, and
// the file-name ending the decoder gives the resource it names.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace granvel {

struct MaskBitName {
  int Bit;
  std::string_view Kind;    // "CHR", "COL", "SCR", "GRP" or "MEM"
  std::string_view Label;   // "BGU0", "BGU0 (Down screen)", ...
  std::string_view Ending;  // "_BGU0", ...; empty for MEM, which takes no bit when decoded
};

// Every named bit, in ascending bit order. Bits 37 to 40 are reserved but still named (the decoder counts
// them as CHR positions of their own); bits 45 to 63 have no name.
std::span<const MaskBitName> MaskBitNames();

// The name of `bit`, or nullptr when the bit has none.
const MaskBitName* FindMaskBitName(int bit);

// The ending for the next resource of `kind` ("CHR", "COL", "SCR" or "GRP") stored in a package: the lowest
// set bit of that kind gives it and is cleared in `mask`; with none set, the kind's own ending ("_CHR", ...).
std::string_view TakeResourceEnding(std::string_view kind, std::uint64_t& mask);

}  // namespace granvel
