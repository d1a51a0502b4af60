// Shift JIS through the system's code page 932, without best-fit look-alikes.
#include <windows.h>

#include "platform/shift_jis.h"

namespace granvel {

ShiftJisConverter::ShiftJisConverter() = default;
ShiftJisConverter::~ShiftJisConverter() = default;

bool ShiftJisConverter::Append(char32_t code, std::vector<std::uint8_t>& out) {
  wchar_t units[2];
  int count = 1;
  if (code >= 0x10000) {
    units[0] = static_cast<wchar_t>(0xD800 + ((code - 0x10000) >> 10));
    units[1] = static_cast<wchar_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    count = 2;
  } else {
    units[0] = static_cast<wchar_t>(code);
  }
  char bytes[8];
  BOOL usedDefault = FALSE;
  const int length = ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, units, count, bytes, sizeof bytes,
                                           nullptr, &usedDefault);
  if (length <= 0 || usedDefault)
    return false;
  out.insert(out.end(), bytes, bytes + length);
  return true;
}

bool ShiftJisConverter::Decode(const std::uint8_t* bytes, std::size_t count, char32_t& code) {
  wchar_t unit = 0;
  if (count == 0 || count > 2 ||
      ::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, reinterpret_cast<const char*>(bytes),
                            static_cast<int>(count), &unit, 1) != 1)
    return false;
  code = unit;
  return true;
}

}  // namespace granvel
