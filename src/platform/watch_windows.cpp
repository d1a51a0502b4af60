#include "platform/watch.h"

#include <windows.h>

#include <vector>

#include "platform/windows_text.h"

namespace granvel {

struct FolderWatch::State {
  HANDLE folder = INVALID_HANDLE_VALUE;
  HANDLE event = nullptr;
  OVERLAPPED overlapped{};
  alignas(DWORD) std::vector<std::uint8_t> buffer = std::vector<std::uint8_t>(65536);
  bool pending = false;

  bool Arm() {
    overlapped = OVERLAPPED{};
    overlapped.hEvent = event;
    constexpr DWORD kFilter = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                              FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SIZE;
    pending = ::ReadDirectoryChangesW(folder, buffer.data(), static_cast<DWORD>(buffer.size()), TRUE, kFilter,
                                      nullptr, &overlapped, nullptr) != 0;
    return pending;
  }
};

FolderWatch::FolderWatch() : state_(std::make_unique<State>()) {}

FolderWatch::~FolderWatch() {
  if (state_->folder != INVALID_HANDLE_VALUE) {
    ::CancelIoEx(state_->folder, &state_->overlapped);
    DWORD got = 0;
    if (state_->pending)
      ::GetOverlappedResult(state_->folder, &state_->overlapped, &got, TRUE);
    ::CloseHandle(state_->folder);
  }
  if (state_->event)
    ::CloseHandle(state_->event);
}

bool FolderWatch::Start(const std::string& folder, std::string& error) {
  const std::wstring path = windows::FilePath(folder.empty() ? "." : folder);
  state_->folder =
      ::CreateFileW(path.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
  state_->event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (state_->folder == INVALID_HANDLE_VALUE || !state_->event || !state_->Arm()) {
    error = "cannot watch " + folder + ": " + windows::ErrorText(::GetLastError());
    return false;
  }
  return true;
}

bool FolderWatch::Wait(int timeoutMs) {
  if (!state_->pending && !state_->Arm())
    return false;
  if (::WaitForSingleObject(state_->event, static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0)
    return false;
  DWORD got = 0;
  state_->pending = false;
  ::ResetEvent(state_->event);
  if (!::GetOverlappedResult(state_->folder, &state_->overlapped, &got, FALSE))
    return false;
  bool changed = got == 0;  // the buffer overflowed: something changed
  for (DWORD offset = 0; got > 0;) {
    const auto* info = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(state_->buffer.data() + offset);
    const std::wstring name(info->FileName, info->FileNameLength / sizeof(WCHAR));
    // Hidden names (".granvel\state") are the build's own.
    if (!name.empty() && name[0] != L'.' && name.find(L"\\.") == std::wstring::npos)
      changed = true;
    if (info->NextEntryOffset == 0)
      break;
    offset += info->NextEntryOffset;
  }
  state_->Arm();
  return changed;
}

}  // namespace granvel
