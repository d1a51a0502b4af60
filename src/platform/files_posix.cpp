// The file layer on Linux and other POSIX systems: descriptors, rename(2) and mkdir(2).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/files.h"

namespace granvel {
namespace {

std::string Describe(const std::string& what, const std::string& path, int err) {
  return what + " " + path + ": " + std::strerror(err);
}

int Fd(NativeFile file) {
  return static_cast<int>(file);
}

}  // namespace

InputFile::~InputFile() {
  if (file_ != kNoFile)
    ::close(Fd(file_));
}

bool InputFile::Open(const std::string& path, std::string& error) {
  path_ = path;
  // Opened without blocking, so that a FIFO with no writer or a device cannot hold the run up before it is
  // refused; reads of a regular file never block, so the flag is cleared again.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = Describe("cannot open", path, errno);
    return false;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = S_ISDIR(info.st_mode) ? path + " is a folder, not a file" : path + " is not a regular file";
    ::close(fd);
    return false;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  file_ = fd;
  size_ = static_cast<std::uint64_t>(info.st_size);
  return true;
}

bool InputFile::Read(void* data, std::size_t size, std::size_t& got, std::string& error) {
  for (;;) {
    const ssize_t read = ::read(Fd(file_), data, size);
    if (read < 0 && errno == EINTR)
      continue;
    if (read < 0) {
      error = Describe("cannot read", path_, errno);
      return false;
    }
    got = static_cast<std::size_t>(read);
    return true;
  }
}

std::string OutputFile::ProcessTag() {
  static const std::string tag = std::to_string(::getpid());  // asked once: each ask is a system call
  return tag;
}

bool OutputFile::CreateNew(const std::string& path, bool& taken, std::string& error) {
  // 0666 less the umask: the same rights a plainly created file gets.
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd >= 0) {
    file_ = fd;
    return true;
  }
  taken = errno == EEXIST;
  error = std::strerror(errno);
  return false;
}

void OutputFile::Discard() {
  if (file_ != kNoFile) {
    ::close(Fd(file_));
    file_ = kNoFile;
  }
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
}

bool OutputFile::Write(const void* data, std::size_t size) {
  if (file_ == kNoFile)
    return Fail("output " + target_ + " is not open");
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    const ssize_t put = ::write(Fd(file_), bytes, size);
    if (put < 0 && errno == EINTR)
      continue;
    if (put <= 0) {
      const int err = put < 0 ? errno : EIO;
      Discard();
      return Fail(Describe("cannot write", target_, err));
    }
    bytes += put;
    size -= static_cast<std::size_t>(put);
  }
  return true;
}

bool OutputFile::Commit() {
  if (file_ == kNoFile)
    return Fail(error_.empty() ? "output " + target_ + " is not open" : error_);
  const int fd = Fd(file_);
  file_ = kNoFile;
  if (::close(fd) != 0) {
    const int err = errno;
    Discard();
    return Fail(Describe("cannot write", target_, err));
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    const int err = errno;
    Discard();
    return Fail(Describe("cannot replace", target_, err));
  }
  temp_.clear();
  return true;
}

namespace {

// `folder` as the system resolves it, ending in "/"; "" when it cannot be resolved.
std::string ResolveFolder(const std::string& folder) {
  char* real = ::realpath(folder.empty() ? "." : folder.c_str(), nullptr);
  if (!real)
    return {};
  std::string resolved = std::string(real) + "/";
  std::free(real);
  return resolved;
}

std::string Identity(const std::string& path, const std::string& folder, const std::string& resolved) {
  return resolved.empty() ? path : resolved + path.substr(folder.size());
}

}  // namespace

std::string PathIdentity(const std::string& path) {
  const std::string folder = FolderOf(path);
  return Identity(path, folder, ResolveFolder(folder));
}

std::string PathIdentities::Of(const std::string& path) {
  std::string folder = FolderOf(path);
  if (const auto known = folders_.find(folder); known != folders_.end())
    return Identity(path, folder, known->second);
  std::string resolved = ResolveFolder(folder);
  if (resolved.empty())
    return path;  // asked again next time: the folder may be made in between
  return Identity(path, folder, folders_.emplace(folder, std::move(resolved)).first->second);
}

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::vector<std::string> FileNamesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (it->is_regular_file(ec))
      names.push_back(it->path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::uint64_t FileSizeOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return 0;
  return static_cast<std::uint64_t>(info.st_size);
}

bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries, std::string& error) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) {
    error = Describe("cannot read the folder", folder, errno);
    return false;
  }
  const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..")
      continue;
    FolderEntry item;
    item.Name = name;
    item.Hidden = name.front() == '.';
    struct stat info {};
    if (::lstat((prefix + name).c_str(), &info) == 0) {
      item.Link = S_ISLNK(info.st_mode);
      item.Folder = S_ISDIR(info.st_mode) ||
                    (item.Link && ::stat((prefix + name).c_str(), &info) == 0 && S_ISDIR(info.st_mode));
    }
    entries.push_back(std::move(item));
  }
  ::closedir(dir);
  return true;
}

bool RemoveFile(const std::string& path, std::string& error) {
  if (::unlink(path.c_str()) == 0)
    return true;
  error = Describe("cannot remove", path, errno);
  return false;
}

bool PathExists(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0;
}

bool MakeDirectory(const std::string& path, std::string& error) {
  if (::mkdir(path.c_str(), 0777) == 0)
    return true;
  error = Describe("cannot make the folder", path, errno);
  return false;
}

std::string CurrentDirectory() {
  std::error_code ec;
  const auto dir = std::filesystem::current_path(ec);
  return ec ? std::string(".") : dir.string();
}

}  // namespace granvel
