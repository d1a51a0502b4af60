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

// The folder and file name of a suggested path.
void StartAt(IFileDialog* dialog, const std::string& initialPath) {
  if (initialPath.empty())
    return;
  const std::wstring path = Widen(initialPath);
  const std::size_t slash = path.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
  const std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  ComPtr<IShellItem> item;
  if (!folder.empty() &&
      SUCCEEDED(SHCreateItemFromParsingName(folder.c_str(), nullptr, IID_PPV_ARGS(&item.p))))
    dialog->SetFolder(item.p);
  if (!name.empty())
    dialog->SetFileName(name.c_str());
}

}  // namespace

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
  if (!filters.empty())
    dialog->SetFileTypes(static_cast<UINT>(filters.size()), filters.data());
  dialog->SetTitle(Widen(choice.Title).c_str());
  std::string extension = choice.DefaultExt;
  if (!extension.empty() && extension.front() == '.')
    extension.erase(0, 1);
  if (!extension.empty())
    dialog->SetDefaultExtension(Widen(extension).c_str());
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  options |= FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST;
  if (choice.SaveMode)
    options |= FOS_OVERWRITEPROMPT;
  else
    options |= FOS_FILEMUSTEXIST;
  if (!choice.SaveMode && choice.MultiSelect)
    options |= FOS_ALLOWMULTISELECT;
  dialog->SetOptions(options);
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
  ComPtr<IFileOpenDialog> dialog;
  if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog.p))))
    return {};
  FILEOPENDIALOGOPTIONS options = 0;
  dialog->GetOptions(&options);
  dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_FORCEFILESYSTEM | FOS_PATHMUSTEXIST);
  dialog->SetTitle(Widen(title).c_str());
  ComPtr<IShellItem> folder;
  if (!start.empty() &&
      SUCCEEDED(SHCreateItemFromParsingName(Widen(start).c_str(), nullptr, IID_PPV_ARGS(&folder.p))))
    dialog->SetFolder(folder.p);
  if (dialog->Show(owner) != S_OK)
    return {};
  ComPtr<IShellItem> item;
  if (FAILED(dialog->GetResult(&item.p)))
    return {};
  return PathOf(item.p);
}

}  // namespace granvel::win32
