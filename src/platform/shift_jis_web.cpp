// Shift JIS in the browser, whose C library has no code page 932: the table made from glibc's iconv.
#include "platform/cp932_table.h"
#include "platform/shift_jis.h"

namespace granvel {

ShiftJisConverter::ShiftJisConverter() = default;
ShiftJisConverter::~ShiftJisConverter() = default;

bool ShiftJisConverter::Append(char32_t code, std::vector<std::uint8_t>& out) {
  return Cp932Encode(code, out);
}

bool ShiftJisConverter::Decode(const std::uint8_t* bytes, std::size_t count, char32_t& code) {
  return Cp932Decode(bytes, count, code);
}

}  // namespace granvel
