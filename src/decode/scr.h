// SCR screen maps to a raw screen file (".rscr") and a text of BGPUT statements.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "convert/context.h"

namespace granvel {

// The 4096 cells of SCR data (8192 bytes, four 32 x 32 quarters: top left, top right, bottom left, bottom
// right) in reading order, y from 0 to 63 and x from 0 to 63 within y.
std::vector<std::uint16_t> ScrCellsInReadingOrder(std::span<const std::uint8_t> data);

// The raw screen file: the cells in reading order, high byte first (8192 bytes).
std::vector<std::uint8_t> RawScreenBytes(const std::vector<std::uint16_t>& cells);

// The screen text: four header lines, then one 37-byte BGPUT line per cell (151658 bytes in all).
std::vector<std::uint8_t> ScreenTextBytes(const std::vector<std::uint16_t>& cells);

// Writes "<stem><ending>_SCR.rscr", then "<stem><ending>_SCR.txt". Nothing is written for data that is not
// 8192 bytes long.
bool DecodeScr(std::span<const std::uint8_t> data, const std::string& stem, std::string_view ending,
               const ConvertContext& ctx);

}  // namespace granvel
