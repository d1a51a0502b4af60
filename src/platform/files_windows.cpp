// The file layer on Windows: every call in UTF-16 through the *W functions, files always binary (the
// system calls know no text mode), and the atomic replace through MoveFileExW.
#include <windows.h>

#include <algorithm>

#include "platform/files.h"
#include "platform/windows_text.h"

namespace granvel {
namespace {

using windows::ErrorText;
using windows::FilePath;

HANDLE Handle(NativeFile file) {
  return reinterpret_cast<HANDLE>(file);
}

std::string Describe(const std::string& what, const std::string& path, DWORD code) {
  return what + " " + path + ": " + ErrorText(code);
}

bool IsFolder(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesW(FilePath(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// The Win32 calls move at most 4 GiB at a time; 1 GiB pieces keep every count well inside a DWORD.
constexpr std::size_t kLargestPiece = std::size_t{1} << 30;

}  // namespace

InputFile::~InputFile() {
  if (file_ != kNoFile)
    ::CloseHandle(Handle(file_));
}

bool InputFile::Open(const std::string& path, std::string& error) {
  path_ = path;
  HANDLE handle = ::CreateFileW(FilePath(path).c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD code = ::GetLastError();
    // A folder cannot be opened as a file at all: say what it is rather than "access denied".
    error = IsFolder(path) ? path + " is a folder, not a file" : Describe("cannot open", path, code);
    return false;
  }
  LARGE_INTEGER size{};
  if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileSizeEx(handle, &size)) {
    error = path + " is not a regular file";
    ::CloseHandle(handle);
    return false;
  }
  file_ = reinterpret_cast<NativeFile>(handle);
  size_ = static_cast<std::uint64_t>(size.QuadPart);
  return true;
}

bool InputFile::Read(void* data, std::size_t size, std::size_t& got, std::string& error) {
  DWORD read = 0;
  if (!::ReadFile(Handle(file_), data, static_cast<DWORD>(std::min(size, kLargestPiece)), &read, nullptr)) {
    error = Describe("cannot read", path_, ::GetLastError());
    return false;
  }
  got = read;
  return true;
}

std::string OutputFile::ProcessTag() {
  return std::to_string(::GetCurrentProcessId());
}

bool OutputFile::CreateNew(const std::string& path, bool& taken, std::string& error) {
  HANDLE handle = ::CreateFileW(FilePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle != INVALID_HANDLE_VALUE) {
    file_ = reinterpret_cast<NativeFile>(handle);
    return true;
  }
  const DWORD code = ::GetLastError();
  taken = code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS;
  error = ErrorText(code);
  return false;
}

void OutputFile::Discard() {
  if (file_ != kNoFile) {
    ::CloseHandle(Handle(file_));
    file_ = kNoFile;
  }
  if (!temp_.empty()) {
    ::DeleteFileW(FilePath(temp_).c_str());
    temp_.clear();
  }
}

bool OutputFile::Write(const void* data, std::size_t size) {
  if (file_ == kNoFile)
    return Fail("output " + target_ + " is not open");
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    DWORD put = 0;
    if (!::WriteFile(Handle(file_), bytes, static_cast<DWORD>(std::min(size, kLargestPiece)), &put,
                     nullptr) ||
        put == 0) {
      const DWORD code = put == 0 && ::GetLastError() == ERROR_SUCCESS ? ERROR_WRITE_FAULT : ::GetLastError();
      Discard();
      return Fail(Describe("cannot write", target_, code));
    }
    bytes += put;
    size -= put;
  }
  return true;
}

bool OutputFile::Commit() {
  if (file_ == kNoFile)
    return Fail(error_.empty() ? "output " + target_ + " is not open" : error_);
  HANDLE handle = Handle(file_);
  file_ = kNoFile;
  if (!::CloseHandle(handle)) {
    const DWORD code = ::GetLastError();
    Discard();
    return Fail(Describe("cannot write", target_, code));
  }
  if (IsFolder(target_)) {
    Discard();
    return Fail("cannot replace " + target_ + ": Is a directory");
  }
  const std::wstring from = FilePath(temp_), to = FilePath(target_);
  // Another program may hold the older file for a moment (a virus scanner, a preview pane): the move is
  // tried again a few times before it fails. The older file stays as it was until the move succeeds.
  DWORD code = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 5; ++attempt) {
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      temp_.clear();
      return true;
    }
    code = ::GetLastError();
    if (code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION && code != ERROR_LOCK_VIOLATION)
      break;
    ::Sleep(20u << attempt);
  }
  Discard();
  return Fail(Describe("cannot replace", target_, code));
}

std::string PathIdentity(const std::string& path) {
  const std::wstring wide = windows::Widen(path);
  std::wstring full(::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr), L'\0');
  full.resize(::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr));
  if (full.empty())
    return path;
  // Names compare as the file system compares them: capitals and small letters alike.
  std::wstring upper(full.size(), L'\0');
  if (::LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, full.data(), static_cast<int>(full.size()),
                      upper.data(), static_cast<int>(upper.size()), nullptr, nullptr, 0) == 0)
    upper = full;
  return windows::Narrow(upper);
}

// A full path is made from the path and the current folder alone, without asking the file system: nothing to
// keep.
std::string PathIdentities::Of(const std::string& path) {
  return PathIdentity(path);
}

bool IsDirectory(const std::string& path) {
  return !path.empty() && IsFolder(path);
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
  std::vector<std::string> names;
  const bool ends = !folder.empty() && kPathSeparators.find(folder.back()) != std::string_view::npos;
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileExW(FilePath(folder + (folder.empty() || ends ? "*" : "/*")).c_str(),
                                     FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE)
    return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0)
      names.push_back(windows::Narrow(found.cFileName));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::uint64_t FileSizeOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(FilePath(path).c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return 0;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries, std::string& error) {
  const bool ends = !folder.empty() && kPathSeparators.find(folder.back()) != std::string_view::npos;
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileExW(FilePath(folder + (folder.empty() || ends ? "*" : "/*")).c_str(),
                                     FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
  if (search == INVALID_HANDLE_VALUE) {
    error = Describe("cannot read the folder", folder, ::GetLastError());
    return false;
  }
  do {
    const std::string name = windows::Narrow(found.cFileName);
    if (name == "." || name == "..")
      continue;
    const DWORD attributes = found.dwFileAttributes;
    FolderEntry item;
    item.Name = name;
    item.Link = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
    item.Folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    item.Hidden = name.front() == '.' || (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
    entries.push_back(std::move(item));
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return true;
}

bool RemoveFile(const std::string& path, std::string& error) {
  if (::DeleteFileW(FilePath(path).c_str()))
    return true;
  error = Describe("cannot remove", path, ::GetLastError());
  return false;
}

bool PathExists(const std::string& path) {
  return ::GetFileAttributesW(FilePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool MakeDirectory(const std::string& path, std::string& error) {
  if (::CreateDirectoryW(FilePath(path).c_str(), nullptr))
    return true;
  error = Describe("cannot make the folder", path, ::GetLastError());
  return false;
}

std::string CurrentDirectory() {
  const DWORD length = ::GetCurrentDirectoryW(0, nullptr);
  std::wstring folder(length, L'\0');
  folder.resize(::GetCurrentDirectoryW(length, folder.data()));
  return folder.empty() ? std::string(".") : windows::Narrow(folder);
}

}  // namespace granvel
