#include "shell_win32/win32_host.h"

#include <shobjidl.h>

#include "platform/windows_com.h"

namespace granvel::win32 {
namespace {

using windows::ComPtr;

// "*.bmp *.txt" is one filter of several patterns; the dialog separates them with semicolons.
std::wstring PatternOf(const std::string& pattern) {
  std::wstring wide = Widen(pattern);
  for (wchar_t& c : wide) {
    if (c == L' ')
      c = L';';
  }
  return wide;
}

std::string PathOf(IShellItem* item) {
  PWSTR path = nullptr;
  if (FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) || !path)
    return {};
  std::string utf8 = Narrow(path);
  CoTaskMemFree(path);
  return utf8;
}

void StartAt(IFileDialog* dialog, const std::string& initialPath) {
  const StartPlace place = StartPlaceOf(initialPath);
  ComPtr<IShellItem> item;
  if (!place.Folder.empty() &&
      SUCCEEDED(SHCreateItemFromParsingName(place.Folder.c_str(), nullptr, IID_PPV_ARGS(&item.p))))
    dialog->SetFolder(item.p);
  if (!place.Name.empty())
    dialog->SetFileName(place.Name.c_str());
}

using TaskDialogCall = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// comctl32 version 6 (the manifest asks for it) has the task dialog; version 5 has not.
TaskDialogCall TaskDialogOfThisSystem() {
  HMODULE controls = GetModuleHandleW(L"comctl32.dll");
  FARPROC call = controls ? GetProcAddress(controls, "TaskDialogIndirect") : nullptr;
  return reinterpret_cast<TaskDialogCall>(reinterpret_cast<void (*)()>(call));
}

}  // namespace

StartPlace StartPlaceOf(const std::string& initialPath) {
  std::wstring path = Widen(initialPath);
  for (wchar_t& c : path) {
    if (c == L'/')
      c = L'\\';
  }
  const std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos)
    return {{}, path};
  // A drive's root keeps its separator: "C:" alone is the drive's current folder.
  const bool root = slash == 2 && path[1] == L':';
  return {path.substr(0, root ? slash + 1 : slash), path.substr(slash + 1)};
}

Win32Host::Win32Host(HWND owner)
    : owner_(owner), openFolder_([](const std::string& folder) {
        // ShellExecute's results up to 32 are its errors.
        return reinterpret_cast<INT_PTR>(ShellExecuteW(nullptr, L"open", Widen(folder).c_str(), nullptr,
                                                       nullptr, SW_SHOWNORMAL)) > 32;
      }) {}

bool Win32Host::AskYesNo(const std::string& caption, const std::string& text) {
  return MessageBoxW(owner_, Widen(text).c_str(), Widen(caption).c_str(), MB_YESNO | MB_ICONQUESTION) ==
         IDYES;
}

bool Win32Host::AskYesNoForRun(const std::string& caption, const std::string& text, bool& keep) {
  keep = false;
  const TaskDialogCall taskDialog = TaskDialogOfThisSystem();
  if (!taskDialog)
    return AskYesNo(caption, text);
  const std::wstring title = Widen(caption), content = Widen(text), keepLabel = Widen(kKeepAnswerLabel);
  TASKDIALOGCONFIG config{};
  config.cbSize = sizeof config;
  config.hwndParent = owner_;
  config.dwFlags = TDF_POSITION_RELATIVE_TO_WINDOW | TDF_USE_HICON_MAIN;
  config.dwCommonButtons = TDCBF_YES_BUTTON | TDCBF_NO_BUTTON;
  config.pszWindowTitle = title.c_str();
  config.hMainIcon = LoadIconW(nullptr, IDI_QUESTION);  // the message box's question mark
  config.pszContent = content.c_str();
  config.nDefaultButton = IDYES;
  config.pszVerificationText = keepLabel.c_str();
  int button = 0;
  BOOL ticked = FALSE;
  if (FAILED(taskDialog(&config, &button, nullptr, &ticked)))
    return AskYesNo(caption, text);
  keep = ticked != FALSE;
  return button == IDYES;
}

void Win32Host::ShowMessage(const std::string& caption, const std::string& text) {
  MessageBoxW(owner_, Widen(text).c_str(), Widen(caption).c_str(), MB_OK);
}

void Win32Host::ShowReport(const MessageReport& report) {
  // A run started while a report box is open (files handed over by a second copy) reports into it.
  if (ReportDialog::AddToOpen(report))
    return;
  if (report.Details.empty() && report.Folder.empty()) {
    ShowMessage(report.Caption, report.Text);
    return;
  }
  ReportDialog::Show(owner_, report, openFolder_);
}

bool Win32Host::ChooseFile(FileChoice& choice) {
  choice.Files.clear();
  ComPtr<IFileDialog> dialog;
  if (FAILED(CoCreateInstance(choice.SaveMode ? CLSID_FileSaveDialog : CLSID_FileOpenDialog, nullptr,
                              CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog.p))))
    return false;
  std::vector<std::wstring> texts;
  texts.reserve(choice.Filter.size() * 2);
  for (const auto& [label, pattern] : choice.Filter) {
    texts.push_back(Widen(label));
    texts.push_back(PatternOf(pattern));
  }
  std::vector<COMDLG_FILTERSPEC> filters;
  for (std::size_t i = 0; i + 1 < texts.size(); i += 2)
    filters.push_back({texts[i].c_str(), texts[i + 1].c_str()});
  if (!filters.empty()) {
    dialog->SetFileTypes(static_cast<UINT>(filters.size()), filters.data());
    dialog->SetFileTypeIndex(1);  // the first filter: all the kinds a slot accepts
  }
  std::string extension = choice.DefaultExt;
  if (!extension.empty() && extension.front() == '.')
    extension.erase(0, 1);
  if (!extension.empty())
    dialog->SetDefaultExtension(Widen(extension).c_str());
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  options |= FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST;
  if (choice.FolderMode)
    options |= FOS_PICKFOLDERS;
  else if (choice.SaveMode)
    options |= FOS_OVERWRITEPROMPT;
  else
    options |= FOS_FILEMUSTEXIST;
  if (!choice.SaveMode && !choice.FolderMode && choice.MultiSelect)
    options |= FOS_ALLOWMULTISELECT;
  dialog->SetOptions(options);
  dialog->SetTitle(Widen(choice.Title).c_str());  // after the options: Wine names a folder dialog there
  StartAt(dialog.p, choice.InitialPath);
  if (dialog->Show(owner_) != S_OK)
    return false;

  if (!choice.SaveMode) {
    ComPtr<IFileOpenDialog> open;
    ComPtr<IShellItemArray> items;
    if (SUCCEEDED(dialog->QueryInterface(IID_PPV_ARGS(&open.p))) && SUCCEEDED(open->GetResults(&items.p))) {
      DWORD count = 0;
      items->GetCount(&count);
      for (DWORD i = 0; i < count; ++i) {
        ComPtr<IShellItem> item;
        if (SUCCEEDED(items->GetItemAt(i, &item.p))) {
          std::string path = PathOf(item.p);
          if (!path.empty())
            choice.Files.push_back(std::move(path));
        }
      }
      return !choice.Files.empty();
    }
  }
  ComPtr<IShellItem> item;
  if (FAILED(dialog->GetResult(&item.p)))
    return false;
  std::string path = PathOf(item.p);
  if (path.empty())
    return false;
  choice.Files.push_back(std::move(path));
  return true;
}

std::string ChooseFolder(HWND owner, const std::string& title, const std::string& start) {
  FileChoice choice;
  choice.Title = title;
  choice.FolderMode = true;
  choice.InitialPath = start;  // a folder path ends in a separator
  if (!start.empty() && start.back() != '\\' && start.back() != '/')
    choice.InitialPath += '\\';
  return Win32Host(owner).ChooseFile(choice) ? choice.Files.front() : std::string();
}

}  // namespace granvel::win32
