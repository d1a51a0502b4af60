#include "platform/output_sink.h"

#include "platform/files.h"

namespace granvel {
namespace {

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  return path;
}

}  // namespace

bool DiskSink::EnsureFolder(const std::string& path, std::string& error) {
  return EnsureDirectory(path, error);
}

bool DiskSink::WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                         std::string& error) {
  return WriteWholeFile(path, bytes, error);
}

OutputSink& DiskOutput() {
  static DiskSink disk;
  return disk;
}

bool MemorySink::EnsureFolder(const std::string& path, std::string& error) {
  const std::string folder = WithoutTrailingSlash(path);
  if (Files.count(folder) != 0) {
    error = "cannot make folder " + folder + ": a file of that name exists";
    return false;
  }
  Folders.insert(folder);
  return true;
}

bool MemorySink::WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                           std::string& error) {
  if (Folders.count(path) != 0) {
    error = path + " is a folder, not a file";
    return false;
  }
  Files[path] = bytes;
  return true;
}

}  // namespace granvel
