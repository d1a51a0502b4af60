// granvel.exe: the desktop program for Windows. One copy runs at a time; the files and folders it is started
// with (as Explorer passes a .zkp file it opens) are converted like a drop once the window is shown. A copy
// started while another runs hands its files to the running copy, which comes to the front, and leaves.
#include <filesystem>

#include "platform/console.h"
#include "platform/files.h"
#include "shell_win32/main_window.h"
#include "shell_win32/single_instance.h"
#include "shell_win32/win32.h"

namespace {

using granvel::win32::Narrow;
using granvel::win32::Widen;

// The program's arguments as full paths.
std::vector<std::string> FileArguments() {
  std::vector<std::string> arguments = granvel::CommandLineArguments(0, nullptr);
  std::vector<std::string> paths;
  for (std::size_t i = 1; i < arguments.size(); ++i) {
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(Widen(arguments[i]), ec);
    paths.push_back(ec ? arguments[i] : Narrow(full.wstring()));
  }
  return paths;
}

bool CanWriteIn(const std::string& folder) {
  const std::wstring probe = Widen(folder) + L"\\.granvel-write-check";
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
  const std::string folder = granvel::CurrentDirectory();
  const wchar_t* appData = _wgetenv(L"LOCALAPPDATA");
  if (CanWriteIn(folder) || !appData || !*appData)
    return folder;
  const std::string own = Narrow(appData) + "\\GRANVEL";
  std::string error;
  return granvel::EnsureDirectory(own, error) ? own : folder;
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
  window.Convert(paths);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  CoUninitialize();
  return 0;
}
