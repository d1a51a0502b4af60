// The parts of the file layer that are the same on every system; the system calls are in files_posix.cpp
// and files_windows.cpp.
#include "platform/files.h"

#include <algorithm>
#include <atomic>

namespace granvel {
namespace {

std::string BaseOf(const std::string& path) {
  const auto slash = path.find_last_of(kPathSeparators);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of(kPathSeparators);
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string DisplayPath(std::string path) {
#ifdef _WIN32
  std::replace(path.begin(), path.end(), '/', '\\');
#endif
  return path;
}

std::string ShownFolderOf(const std::string& path) {
  const std::string folder = FolderOf(path);
  return folder.empty() ? "." : folder;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
  bytes.clear();
  InputFile in;
  if (!in.Open(path, error))
    return false;
  bytes.resize(static_cast<std::size_t>(in.Size()));
  std::size_t done = 0;
  while (done < bytes.size()) {
    std::size_t got = 0;
    if (!in.Read(bytes.data() + done, bytes.size() - done, got, error)) {
      bytes.clear();
      return false;
    }
    if (got == 0)
      break;  // the file shrank while it was read
    done += got;
  }
  bytes.resize(done);
  return true;
}

OutputFile::OutputFile(std::string target) : target_(std::move(target)) {}

OutputFile::~OutputFile() {
  Discard();
}

bool OutputFile::Fail(std::string reason) {
  if (error_.empty())
    error_ = std::move(reason);
  return false;
}

bool OutputFile::Open() {
  if (target_.empty())
    return Fail("no output file name");
  if (BaseOf(target_).empty())
    return Fail("output path " + target_ + " names a folder, not a file");
  static std::atomic<unsigned> counter{0};
  const std::string folder = FolderOf(target_);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = folder + "." + BaseOf(target_) + "." + ProcessTag() + "." +
                                  std::to_string(counter.fetch_add(1)) + ".tmp";
    bool taken = false;
    std::string error;
    if (CreateNew(candidate, taken, error)) {
      temp_ = candidate;
      return true;
    }
    if (!taken)
      return Fail("cannot create a file in the folder of " + target_ + ": " + error);
  }
  return Fail("cannot create a temporary file beside " + target_);
}

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
  OutputFile out(path);
  if (out.Open() && out.Write(bytes) && out.Commit())
    return true;
  error = out.Error();
  return false;
}

bool EnsureDirectory(const std::string& path, std::string& error) {
  if (IsDirectory(path) || MakeDirectory(path, error))
    return true;
  // Another thread or program may have made it between the look and the making (a project's assets build
  // side by side into one folder): a folder there now is what was wanted.
  if (IsDirectory(path)) {
    error.clear();
    return true;
  }
  return false;
}

bool EnsureDirectories(const std::string& path, std::string& error) {
  for (std::size_t end = 1; end <= path.size(); ++end) {
    if (end < path.size() && kPathSeparators.find(path[end]) == std::string_view::npos)
      continue;
    const std::string folder = path.substr(0, end);
    if (folder.back() == ':')  // a drive
      continue;
    if (!EnsureDirectory(folder, error))
      return false;
  }
  return true;
}

}  // namespace granvel
