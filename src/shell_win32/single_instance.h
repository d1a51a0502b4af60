// One copy at a time: the first holds the mutex "TOLMERA"; a later copy hands its files to the first one's
// window with WM_COPYDATA, brings it to the front and leaves.
#pragma once

#include <string>
#include <vector>

#include "shell_win32/win32.h"

namespace granvel::win32 {

inline constexpr const wchar_t* kMutexName = L"TOLMERA";
inline constexpr const wchar_t* kMainWindowClass = L"MainWindow";
// WM_COPYDATA's tag for a list of paths: UTF-16, each ending in a NUL.
inline constexpr ULONG_PTR kHandOverTag = 0x564E5247;

class SingleInstance {
 public:
  SingleInstance();
  ~SingleInstance();
  SingleInstance(const SingleInstance&) = delete;
  SingleInstance& operator=(const SingleInstance&) = delete;
  // True when no other copy holds the mutex.
  bool IsFirst() const { return first_; }

 private:
  HANDLE mutex_ = nullptr;
  bool first_ = true;
};

// Hands `paths` to the running copy's window (waiting a few seconds for it to appear) and brings it to
// the front. False when no window answered.
bool HandOver(const std::vector<std::string>& paths);

// The WM_COPYDATA payload of `paths`, and the paths read back from one; a payload of another tag, of an odd
// size or without its last NUL gives none.
std::vector<wchar_t> HandOverPayload(const std::vector<std::string>& paths);
std::vector<std::string> ReadHandOver(const COPYDATASTRUCT& data);

}  // namespace granvel::win32
