// Whole-file reading, atomic output files and folders: the file-system calls the core relies on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace granvel {

// Reads the whole file at `path` into `bytes`. A missing, unreadable or non-regular file is a failure with a
// one-line reason in `error`.
bool ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes, std::string& error);

// The system's handle of an open file (a descriptor on Linux, a HANDLE on Windows); kNoFile when none.
using NativeFile = std::intptr_t;
inline constexpr NativeFile kNoFile = -1;

// An input file, read from the start in pieces of any size.
class InputFile {
 public:
  InputFile() = default;
  ~InputFile();
  InputFile(const InputFile&) = delete;
  InputFile& operator=(const InputFile&) = delete;

  // Opens the regular file at `path` and takes its size. False with a one-line reason for a missing or
  // unreadable file and for anything that is not a regular file (a folder, a FIFO, a device).
  bool Open(const std::string& path, std::string& error);
  std::uint64_t Size() const { return size_; }
  // Reads up to `size` bytes: `got` is how many, 0 at the end of the file. False with a reason on failure.
  bool Read(void* data, std::size_t size, std::size_t& got, std::string& error);

 private:
  std::string path_;
  NativeFile file_ = kNoFile;
  std::uint64_t size_ = 0;
};

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
  // Creates `path` as a new file for writing. False when it cannot: `taken` says whether a file of that
  // name was already there (another name is then tried), `error` why otherwise.
  bool CreateNew(const std::string& path, bool& taken, std::string& error);
  // This process's number, which keeps the temporary names of two programs apart.
  static std::string ProcessTag();
  void Discard();
  bool Fail(std::string reason);

  std::string target_;
  std::string temp_;
  NativeFile file_ = kNoFile;
  std::string error_;
};

// Writes `bytes` to `path` through an OutputFile. False with a reason on any failure.
bool WriteWholeFile(const std::string& path, const std::vector<std::uint8_t>& bytes, std::string& error);

// The characters that end a folder in a path.
#ifdef _WIN32
inline constexpr std::string_view kPathSeparators = "/\\";
#else
inline constexpr std::string_view kPathSeparators = "/";
#endif

// `path` as the system writes it, for a user to read: on Windows with "\\" for every "/" (the program joins
// the folders it adds with "/", which Windows accepts); elsewhere as it is.
std::string DisplayPath(std::string path);

// The folder part of `path` as written, up to its last separator; "" for a bare name.
std::string FolderOf(const std::string& path);
// The folder a file manager opens to show the file `path`: FolderOf, or "." for a bare name.
std::string ShownFolderOf(const std::string& path);

// What a file is known by, so that two spellings of one file compare equal: its folder as the system
// resolves it (relative paths, "..", links) and its name; on Windows without regard to case. The folder must
// exist; otherwise the path is its own identity.
std::string PathIdentity(const std::string& path);

// PathIdentity for the many files of one run: on Linux each folder is resolved once (resolving walks every
// folder of the path, several system calls), so a run that writes thousands of files into one folder asks
// once. A folder moved or relinked during the run keeps the identity it had when first asked.
class PathIdentities {
 public:
  std::string Of(const std::string& path);

 private:
  std::map<std::string, std::string> folders_;  // as written -> as resolved
};

bool IsDirectory(const std::string& path);
// The size of the regular file at `path`; 0 for anything else or when it cannot be asked.
std::uint64_t FileSizeOf(const std::string& path);
// The names of the files in `folder` (as FolderOf gives it: "" is the working folder), folders left out,
// sorted byte by byte; none when the folder cannot be read.
std::vector<std::string> FileNamesIn(const std::string& folder);
// One entry of a folder.
struct FolderEntry {
  std::string Name;
  bool Folder = false;  // a folder, or a link that leads to one
  bool Link = false;    // a symbolic link or (on Windows) a junction
  bool Hidden = false;  // a name that begins with "." or (on Windows) the hidden attribute
};
// The entries of `folder` ("." and ".." left out) in no order. False with a reason when it cannot be read.
bool ListFolder(const std::string& folder, std::vector<FolderEntry>& entries, std::string& error);
// Deletes the file `path`. False with a reason when it cannot (a missing file among them).
bool RemoveFile(const std::string& path, std::string& error);
// True when `path` leads to something: a file, a folder, a device.
bool PathExists(const std::string& path);
// Makes one folder level. True when it was made; false with a reason otherwise.
bool MakeDirectory(const std::string& path, std::string& error);
// Makes `path` if no folder of that name exists (one level). False with a reason if it cannot be made.
bool EnsureDirectory(const std::string& path, std::string& error);
// Makes `path` and every folder above it that is missing. False with a reason if one cannot be made.
bool EnsureDirectories(const std::string& path, std::string& error);
// The process's working directory.
std::string CurrentDirectory();

}  // namespace granvel
