// PRG programs to text: Shift JIS full-width text (PRG_MultiByte on), or the bytes as they are, with or
// without backslash escapes (PRG_ESCAPE).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "convert/context.h"

namespace granvel {

// Appends what full-width text holds for one program byte: mostly a two-byte Shift JIS character, the tab
// and tilde as themselves, a carriage return as CR LF, and "・" for bytes that have no character of their
// own.
void AppendFullWidth(std::vector<std::uint8_t>& out, std::uint8_t byte);

// The text of a program in the form the settings choose.
std::vector<std::uint8_t> ProgramText(std::span<const std::uint8_t> program, const ConvertSettings& settings);

// Writes "<stem>_PRG.txt".
bool DecodePrg(std::span<const std::uint8_t> program, const std::string& stem, const ConvertContext& ctx);

}  // namespace granvel
