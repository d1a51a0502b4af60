// The per-file record: the input path taken apart, its kind, and the folder its results go to.
#pragma once

#include <cstdint>
#include <string>

#include "convert/settings.h"

namespace granvel {

enum class JobKind : std::int32_t {
  PrgText = 0,
  MemText = 1,
  ScrText = 4,
  Bitmap = 11,
  ZkpFile = 12,
  BinaryData = 13,
  FolderFailed = 65535,
};

struct ConvertJob {
  std::string Path;      // the input path, unchanged
  std::string Dir;       // folder part without the drive, with its trailing separator; empty if none
  std::string FileName;  // the name without extension, case kept
  std::string Ext;       // from the last dot on, dot included, A to Z lowered; empty if no dot
  std::string OutDir;    // output folder, ending in a separator (or empty: the current folder)
  std::string OutFile;   // set by the converter: the resource file it writes
  std::string ResName;   // set by the converter: the resource name, at most 8 characters
  JobKind Kind = JobKind::BinaryData;
};

// The parts of a path as the Windows path splitter gives them: a leading "X:" is the drive; the folder runs
// to the last "\" or "/"; the extension from the last "." of the rest.
struct PathParts {
  std::string Drive, Dir, Name, Ext;
};
PathParts SplitPath(const std::string& path);

// Builds the job for `path`. With `makeFolders`, the "ZKP/" folder and (except for ".zkp" inputs) the
// per-file folder inside it are made on demand; when one cannot be made, Kind is FolderFailed and
// `folderError` (if given) says why.
ConvertJob MakeConvertJob(const std::string& path, bool makeFolders, const ConvertSettings& settings,
                          std::string* folderError = nullptr);

// `text` with the letters A to Z lowered, or a to z raised; other bytes as they are.
std::string LowerAscii(std::string text);
std::string UpperAscii(std::string text);

// True when the job's extension equals `pattern` with its letters A to Z lowered.
bool HasExtension(const ConvertJob& job, const std::string& pattern);
// True when the job's file name ends in `suffix`, both compared with A to Z lowered.
bool NameEndsWith(const ConvertJob& job, const std::string& suffix);

}  // namespace granvel
