// Characters into Shift JIS (code page 932), through the system's own converter.
#pragma once

#include <cstdint>
#include <vector>

namespace granvel {

class ShiftJisEncoder {
 public:
  ShiftJisEncoder();
  ~ShiftJisEncoder();
  ShiftJisEncoder(const ShiftJisEncoder&) = delete;
  ShiftJisEncoder& operator=(const ShiftJisEncoder&) = delete;

  // Appends the code page 932 bytes of the character `code` to `out`. False, with `out` as it was, when
  // the character has no Shift JIS form that reads back as itself (no near look-alikes).
  bool Append(char32_t code, std::vector<std::uint8_t>& out);

 private:
  void* to_ = nullptr;  // the converters of the POSIX build
  void* back_ = nullptr;
};

}  // namespace granvel
