// Whole-file reading, atomic output files and folders: the file-system calls the core relies on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace granvel {

// Reads the whole file at `path` into `bytes`. A missing, unreadable or non-regular file is a failure with a
// one-line reason in `error`.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error);

// Opens the regular file at `path` for reading and takes its size: the descriptor, or -1 with a one-line
// reason for a missing, unreadable or non-regular file (a folder, a FIFO, a device). The caller closes it.
int OpenInputFile(const std::string& path, std::uint64_t& size, std::string& error);

// An output written to a temporary file in the target's folder and renamed over the target on Commit().
// Until Commit() succeeds, an older file of the target's name stays exactly as it was; a file that is never
// committed (a failed write, or the object going away) leaves nothing behind.
class OutputFile {
 public:
  explicit OutputFile(std::string target);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates the temporary file. False with a reason when the folder is missing or not writable.
  bool Open();
  // Appends bytes. A failed write (full disk, file-size limit) is remembered: Commit() then fails.
  bool Write(const void* data, std::size_t size);
  bool Write(const std::vector<std::uint8_t>& bytes) { return Write(bytes.data(), bytes.size()); }
  bool Write(std::string_view text) { return Write(text.data(), text.size()); }
  // Flushes, closes and renames the temporary file over the target. False with a reason on any failure.
  bool Commit();

  const std::string& Target() const { return target_; }
  // The reason of the first failure, empty while all went well.
  const std::string& Error() const { return error_; }

 private:
  void Discard();
  bool Fail(std::string reason);

  std::string target_;
  std::string temp_;
  int fd_ = -1;
  std::string error_;
};

// Writes `bytes` to `path` through an OutputFile. False with a reason on any failure.
bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error);

bool IsDirectory(const std::string& path);
// Makes one folder level. True when it was made; false with a reason otherwise.
bool MakeDirectory(const std::string& path, std::string& error);
// Makes `path` if no folder of that name exists (one level). False with a reason if it cannot be made.
bool EnsureDirectory(const std::string& path, std::string& error);
// The process's working directory.
std::string CurrentDirectory();

}  // namespace granvel
