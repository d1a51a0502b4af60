// Shift JIS bytes of a UTF-8 text, through the C library's converter, for writing full-width test inputs.
#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>

namespace granvel::test {

// The text in code page 932, the Shift JIS of the PC side.
inline std::string Sjis(std::string in) {
  const iconv_t cd = iconv_open("CP932", "UTF-8");
  std::string out(in.size() * 2 + 4, '\0');
  char *inPtr = in.data(), *outPtr = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  if (cd == reinterpret_cast<iconv_t>(-1) || iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == std::size_t(-1))
    throw std::runtime_error("not convertible to CP932: " + in);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace granvel::test
