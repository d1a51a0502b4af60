// Characters into Shift JIS (code page 932) and back, through the system's own converter.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace granvel {

class ShiftJisConverter {
 public:
  ShiftJisConverter();
  ~ShiftJisConverter();
  ShiftJisConverter(const ShiftJisConverter&) = delete;
  ShiftJisConverter& operator=(const ShiftJisConverter&) = delete;

  // Appends the code page 932 bytes of the character `code` to `out`. False, with `out` as it was, when
  // the character has no Shift JIS form that reads back as itself (no near look-alikes).
  bool Append(char32_t code, std::vector<std::uint8_t>& out);
  // The character of one Shift JIS character's `count` bytes (1 or 2). False when they stand for none.
  bool Decode(const std::uint8_t* bytes, std::size_t count, char32_t& code);

 private:
  [[maybe_unused]] void* to_ = nullptr;  // the converters of the POSIX build
  [[maybe_unused]] void* back_ = nullptr;
};

}  // namespace granvel
