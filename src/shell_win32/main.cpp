// granvel.exe: the desktop program for Windows. One copy runs at a time; the files it is started with (as
// Explorer passes a .zkp file it opens) are converted like a drop once the window is shown. A copy started
// while another runs hands its files to the running copy, which comes to the front, and leaves.
#include "shell_win32/main_window.h"
#include "shell_win32/single_instance.h"
#include "shell_win32/win32.h"

namespace {

using granvel::win32::Utf8;

std::vector<std::string> FileArguments() {
  std::vector<std::string> paths;
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments)
    return paths;
  for (int i = 1; i < count; ++i) {
    const DWORD length = GetFullPathNameW(arguments[i], 0, nullptr, nullptr);
    std::wstring full(length + 1, L'\0');
    const DWORD got = GetFullPathNameW(arguments[i], length + 1, full.data(), nullptr);
    full.resize(got > 0 && got <= length ? got : 0);
    paths.push_back(Utf8(full.empty() ? std::wstring(arguments[i]) : full));
  }
  LocalFree(arguments);
  return paths;
}

std::wstring CurrentFolder() {
  const DWORD length = GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(length + 1, L'\0');
  const DWORD got = GetCurrentDirectoryW(length + 1, folder.data());
  folder.resize(got <= length ? got : 0);
  return folder;
}

bool CanWriteIn(const std::wstring& folder) {
  const std::wstring probe = folder + L"\\.granvel-write-check";
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return false;
  CloseHandle(file);
  return true;
}

// GRANVEL.ini and "Same folder as tool" are the working folder. Started from the Start menu of an
// installed copy that is the program's own folder, which only administrators may write: then the user's
// "GRANVEL" folder under Local AppData is used instead.
std::string ToolFolder() {
  std::wstring folder = CurrentFolder();
  if (CanWriteIn(folder))
    return Utf8(folder);
  wchar_t appData[MAX_PATH] = {};
  const DWORD got = GetEnvironmentVariableW(L"LOCALAPPDATA", appData, MAX_PATH);
  if (got == 0 || got >= MAX_PATH)
    return Utf8(folder);
  const std::wstring own = std::wstring(appData) + L"\\GRANVEL";
  CreateDirectoryW(own.c_str(), nullptr);
  return Utf8(own);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
  const std::vector<std::string> paths = FileArguments();
  granvel::win32::SingleInstance instance;
  if (!instance.IsFirst()) {
    granvel::win32::HandOver(paths);  // with no paths, the running copy just comes to the front
    return 0;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES};
  InitCommonControlsEx(&controls);

  granvel::win32::MainWindow window(ToolFolder());
  if (!window.Create(showCommand))
    return 0;
  window.ConvertLater(paths);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  CoUninitialize();
  return 0;
}
