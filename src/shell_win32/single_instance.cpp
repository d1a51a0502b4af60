#include "shell_win32/single_instance.h"

namespace granvel::win32 {

SingleInstance::SingleInstance() {
  mutex_ = CreateMutexW(nullptr, TRUE, kMutexName);
  if (mutex_ && GetLastError() == ERROR_ALREADY_EXISTS)
    first_ = WaitForSingleObject(mutex_, 0) != WAIT_TIMEOUT;
}

SingleInstance::~SingleInstance() {
  if (!mutex_)
    return;
  if (first_)
    ReleaseMutex(mutex_);
  CloseHandle(mutex_);
}

std::vector<wchar_t> HandOverPayload(const std::vector<std::string>& paths) {
  std::vector<wchar_t> payload;
  for (const std::string& path : paths) {
    const std::wstring wide = Widen(path);
    payload.insert(payload.end(), wide.begin(), wide.end());
    payload.push_back(L'\0');
  }
  return payload;
}

std::vector<std::string> ReadHandOver(const COPYDATASTRUCT& data) {
  std::vector<std::string> paths;
  if (data.dwData != kHandOverTag || data.cbData == 0 || data.cbData % sizeof(wchar_t) != 0 || !data.lpData)
    return paths;
  const auto* text = static_cast<const wchar_t*>(data.lpData);
  const std::size_t count = data.cbData / sizeof(wchar_t);
  if (text[count - 1] != L'\0')
    return paths;
  for (std::size_t start = 0; start < count;) {
    const std::wstring path(text + start);
    if (!path.empty())
      paths.push_back(Narrow(path));
    start += path.size() + 1;
  }
  return paths;
}

bool HandOver(const std::vector<std::string>& paths) {
  // The first copy may still be making its window.
  HWND window = nullptr;
  for (int attempt = 0; attempt < 50 && !window; ++attempt) {
    window = FindWindowW(kMainWindowClass, nullptr);
    if (!window)
      Sleep(100);
  }
  if (!window)
    return false;
  std::vector<wchar_t> payload = HandOverPayload(paths);
  payload.push_back(L'\0');  // an empty list is one NUL: "come to the front"
  COPYDATASTRUCT data{kHandOverTag, static_cast<DWORD>(payload.size() * sizeof(wchar_t)), payload.data()};
  DWORD_PTR result = 0;
  const bool sent = SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data),
                                        SMTO_ABORTIFHUNG, 10000, &result) != 0;
  if (IsIconic(window))
    ShowWindow(window, SW_RESTORE);
  // The box the running copy shows, when one is open, rather than its window behind it.
  SetForegroundWindow(GetLastActivePopup(window));
  return sent && result != 0;
}

}  // namespace granvel::win32
