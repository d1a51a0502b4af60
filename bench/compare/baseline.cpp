// The floor a conversion run is compared with: a program that reads the same input files and writes the same
// output bytes, and does nothing else. It takes the bytes from one packed file (mapped, not read) that the
// comparison made from an earlier run's outputs.
//
//   granvel_baseline plain|atomic DIR INPUTS OUTPUTS PACK
//
// INPUTS lists the input files, one path a line; OUTPUTS lists "size path" a line, their bytes following one
// another in PACK; paths are relative to DIR. "plain" writes each output over its old file; "atomic" writes
// a temporary file beside it and renames it over the old one, as the converter does.
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Die(const char* what, const std::string& path) {
  std::fprintf(stderr, "granvel_baseline: %s %s: %s\n", what, path.c_str(), std::strerror(errno));
  std::exit(1);
}

std::vector<char> ReadAll(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (fd < 0 || ::fstat(fd, &info) != 0)
    Die("cannot open", path);
  std::vector<char> bytes(static_cast<std::size_t>(info.st_size));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got <= 0)
      Die("cannot read", path);
    done += static_cast<std::size_t>(got);
  }
  ::close(fd);
  return bytes;
}

std::vector<std::string> Lines(const std::vector<char>& text) {
  std::vector<std::string> lines;
  std::string line;
  for (const char c : text) {
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
    } else {
      line.push_back(c);
    }
  }
  return lines;
}

void WriteFile(const std::string& path, const char* bytes, std::size_t size, bool atomic) {
  std::string temp = path;
  if (atomic) {
    const auto slash = path.rfind('/');
    temp = slash == std::string::npos ? "." + path + ".tmp"
                                      : path.substr(0, slash + 1) + "." + path.substr(slash + 1) + ".tmp";
  }
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (atomic ? O_EXCL : O_TRUNC), 0666);
  if (fd < 0)
    Die("cannot create", temp);
  while (size > 0) {
    const ssize_t put = ::write(fd, bytes, size);
    if (put <= 0)
      Die("cannot write", temp);
    bytes += put;
    size -= static_cast<std::size_t>(put);
  }
  if (::close(fd) != 0)
    Die("cannot write", temp);
  if (atomic && ::rename(temp.c_str(), path.c_str()) != 0)
    Die("cannot replace", path);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 6 || (std::strcmp(argv[1], "plain") != 0 && std::strcmp(argv[1], "atomic") != 0)) {
    std::fprintf(stderr, "usage: granvel_baseline plain|atomic DIR INPUTS OUTPUTS PACK\n");
    return 2;
  }
  const bool atomic = std::strcmp(argv[1], "atomic") == 0;
  const std::vector<std::string> inputs = Lines(ReadAll(argv[3]));
  const std::vector<std::string> outputs = Lines(ReadAll(argv[4]));
  const int pack = ::open(argv[5], O_RDONLY | O_CLOEXEC);
  struct stat info {};
  if (pack < 0 || ::fstat(pack, &info) != 0)
    Die("cannot open", argv[5]);
  const auto packSize = static_cast<std::size_t>(info.st_size);
  const char* packed =
      packSize == 0 ? nullptr
                    : static_cast<const char*>(::mmap(nullptr, packSize, PROT_READ, MAP_PRIVATE, pack, 0));
  if (packed == MAP_FAILED)
    Die("cannot map", argv[5]);
  if (::chdir(argv[2]) != 0)
    Die("cannot enter", argv[2]);

  for (const std::string& input : inputs)
    ReadAll(input);
  std::size_t at = 0;
  std::string folder;
  for (const std::string& line : outputs) {
    char* end = nullptr;
    const std::size_t size = std::strtoull(line.c_str(), &end, 10);
    const std::string path(end + 1);
    const auto slash = path.rfind('/');
    if (slash != std::string::npos && path.compare(0, slash, folder) != 0) {
      folder = path.substr(0, slash);
      if (::mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST)
        Die("cannot make", folder);
    }
    if (at + size > packSize)
      Die("too short:", argv[5]);
    WriteFile(path, packed + at, size, atomic);
    at += size;
  }
  return 0;
}
