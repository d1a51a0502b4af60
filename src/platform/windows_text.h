// Text and reasons for the Windows half of the platform layer (its *_windows.cpp files) and the Win32
// program: paths stay UTF-8 byte strings everywhere else and become UTF-16 only at the system call.
#pragma once

#include <string>
#include <string_view>

namespace granvel::windows {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// `path` as a UTF-16 path for the file calls: a path too long for the classic 260-character limit gets
// the "\\?\" form, which has none.
std::wstring FilePath(const std::string& path);

// The one-line reason for a system error code, in the words the Linux build uses for the same fault
// ("No such file or directory", "Permission denied", ...), so that both print the same lines.
std::string ErrorText(unsigned long code);

}  // namespace granvel::windows
