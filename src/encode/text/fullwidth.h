// The handheld's single-byte codes for the full-width Shift JIS characters of a program typed in full width.
#pragma once

#include <cstdint>

namespace granvel {

// What one full-width character becomes: one byte, or two (a voiced kana and its sound mark, or "<=" and
// ">="). `size` 0 means the character has no entry.
struct FullWidthCode {
  std::uint8_t size = 0;
  std::uint8_t first = 0;
  std::uint8_t second = 0;
};

// The code of the two-byte character `lead`, `trail`. Only lead bytes 0x81 to 0x84 have entries: the symbols
// of 0x81, the digits, letters and hiragana of 0x82, the katakana of 0x83 and the box-drawing shapes of 0x84.
FullWidthCode FullWidthCodeOf(std::uint8_t lead, std::uint8_t trail);

}  // namespace granvel
