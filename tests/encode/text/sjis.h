// Shift JIS bytes of a UTF-8 text, through the C library's converter, for writing full-width test inputs.
#pragma once

#include <iconv.h>

#include <stdexcept>
#include <string>

namespace granvel::test {

// The text in code page 932, the Shift JIS of the PC side.
inline std::string Sjis(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1))
    throw std::runtime_error("no CP932 converter");
  std::string in = utf8;
  std::string out(in.size() * 2 + 4, '\0');
  char* inPtr = in.data();
  char* outPtr = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  const std::size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (done == static_cast<std::size_t>(-1) || inLeft != 0)
    throw std::runtime_error("not convertible to CP932: " + utf8);
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace granvel::test
