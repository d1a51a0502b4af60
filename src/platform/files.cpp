#include "platform/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace granvel {
namespace {

std::string Describe(const std::string& what, const std::string& path, int err) {
  return what + " " + path + ": " + std::strerror(err);
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos)
    return "";
  return path.substr(0, slash + 1);
}

std::string BaseOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int OpenInputFile(const std::string& path, std::uint64_t& size, std::string& error) {
  // Opened without blocking, so that a FIFO with no writer or a device cannot hold the run up before it is
  // refused; reads of a regular file never block, so the flag is cleared again.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    error = Describe("cannot open", path, errno);
    return -1;
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    error = S_ISDIR(info.st_mode) ? path + " is a folder, not a file" : path + " is not a regular file";
    ::close(fd);
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  size = static_cast<std::uint64_t>(info.st_size);
  return fd;
}

bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error) {
  bytes.clear();
  std::uint64_t size = 0;
  const int fd = OpenInputFile(path, size, error);
  if (fd < 0)
    return false;
  bytes.resize(static_cast<std::size_t>(size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0) {
      error = Describe("cannot read", path, errno);
      ::close(fd);
      bytes.clear();
      return false;
    }
    if (got == 0)
      break;  // the file shrank while it was read
    done += static_cast<std::size_t>(got);
  }
  bytes.resize(done);
  ::close(fd);
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

void OutputFile::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temp_.empty()) {
    ::unlink(temp_.c_str());
    temp_.clear();
  }
}

bool OutputFile::Open() {
  if (target_.empty())
    return Fail("no output file name");
  if (BaseOf(target_).empty())
    return Fail("output path " + target_ + " names a folder, not a file");
  static std::atomic<unsigned> counter{0};
  const std::string folder = FolderOf(target_);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = folder + "." + BaseOf(target_) + "." + std::to_string(::getpid()) + "." +
                                  std::to_string(counter.fetch_add(1)) + ".tmp";
    // 0666 less the umask: the same rights a plainly created file gets.
    fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ >= 0) {
      temp_ = candidate;
      return true;
    }
    if (errno != EEXIST) {
      return Fail(Describe("cannot create a file in the folder of", target_, errno));
    }
  }
  return Fail("cannot create a temporary file beside " + target_);
}

bool OutputFile::Write(const void* data, std::size_t size) {
  if (fd_ < 0)
    return Fail("output " + target_ + " is not open");
  const auto* bytes = static_cast<const std::uint8_t*>(data);
  while (size > 0) {
    const ssize_t put = ::write(fd_, bytes, size);
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
  if (fd_ < 0)
    return Fail(error_.empty() ? "output " + target_ + " is not open" : error_);
  const int fd = fd_;
  fd_ = -1;
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

bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error) {
  OutputFile out(path);
  if (out.Open() && out.Write(bytes) && out.Commit())
    return true;
  error = out.Error();
  return false;
}

bool IsDirectory(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

bool MakeDirectory(const std::string& path, std::string& error) {
  if (::mkdir(path.c_str(), 0777) == 0)
    return true;
  error = Describe("cannot make the folder", path, errno);
  return false;
}

bool EnsureDirectory(const std::string& path, std::string& error) {
  if (IsDirectory(path))
    return true;
  return MakeDirectory(path, error);
}

std::string CurrentDirectory() {
  std::error_code ec;
  const auto dir = std::filesystem::current_path(ec);
  return ec ? std::string(".") : dir.string();
}

}  // namespace granvel
