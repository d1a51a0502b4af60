#include <objbase.h>

#include <cstdio>

#include "platform/windows_com.h"

namespace granvel::windows {

ComScope::ComScope() : result_(::CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}

ComScope::~ComScope() {
  if (SUCCEEDED(result_))
    ::CoUninitialize();
}

std::string ComFailure(const char* what, long result) {
  char text[96];
  std::snprintf(text, sizeof text, "%s failed (0x%08lX)", what, static_cast<unsigned long>(result));
  return text;
}

}  // namespace granvel::windows
