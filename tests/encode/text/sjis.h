// Shift JIS bytes of a UTF-8 text, through the system's converter, for writing full-width test inputs.
#pragma once

#ifdef _WIN32
#include <windows.h>

#include "platform/windows_text.h"
#else
#include <iconv.h>
#endif

#include <stdexcept>
#include <string>

namespace granvel::test {

// The text in code page 932, the Shift JIS of the PC side.
inline std::string Sjis(std::string in) {
  std::string out(in.size() * 2 + 4, '\0');
#ifdef _WIN32
  const std::wstring wide = windows::Widen(in);
  BOOL lost = FALSE;
  const int length = ::WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), out.data(),
                                           static_cast<int>(out.size()), nullptr, &lost);
  if (length <= 0 || lost)
    throw std::runtime_error("not convertible to CP932: " + in);
  out.resize(static_cast<std::size_t>(length));
#else
  const iconv_t cd = iconv_open("CP932", "UTF-8");
  char *inPtr = in.data(), *outPtr = out.data();
  std::size_t inLeft = in.size(), outLeft = out.size();
  if (cd == reinterpret_cast<iconv_t>(-1) || iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == std::size_t(-1))
    throw std::runtime_error("not convertible to CP932: " + in);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
#endif
  return out;
}

}  // namespace granvel::test
