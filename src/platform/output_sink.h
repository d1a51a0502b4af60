// Where a conversion puts its output files: the file system, or memory (fuzzing, checks without a disk).
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace granvel {

class OutputSink {
 public:
  virtual ~OutputSink() = default;
  // Makes the folder `path` unless it exists (one level). False with a reason when it cannot be made.
  virtual bool EnsureFolder(const std::string& path, std::string& error) = 0;
  // Writes `bytes` as the whole file `path`, replacing an older one. False with a reason on any failure.
  virtual bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                         std::string& error) = 0;
};

// The file system: folders through EnsureDirectory, files through one atomic OutputFile each.
class DiskSink final : public OutputSink {
 public:
  bool EnsureFolder(const std::string& path, std::string& error) override;
  bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                 std::string& error) override;
};

// The one file-system sink (it holds no state).
OutputSink& DiskOutput();

// Memory: the folders made and the last bytes written to each path; a file and a folder never share a name.
class MemorySink final : public OutputSink {
 public:
  std::set<std::string> Folders;
  std::map<std::string, std::vector<std::uint8_t>> Files;

  bool EnsureFolder(const std::string& path, std::string& error) override;
  bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes,
                 std::string& error) override;
};

}  // namespace granvel
