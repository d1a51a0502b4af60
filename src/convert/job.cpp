#include "convert/job.h"

#include "platform/files.h"

namespace granvel {
namespace {

char LowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string LowerAscii(std::string text) {
  for (char& c : text)
    c = LowerAscii(c);
  return text;
}

std::string UpperAscii(std::string text) {
  for (char& c : text)
    c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  return text;
}

PathParts SplitPath(const std::string& path) {
  PathParts parts;
  std::string rest = path;
  if (rest.size() >= 2 && rest[1] == ':') {
    parts.Drive = rest.substr(0, 2);
    rest = rest.substr(2);
  }
  const auto slash = rest.find_last_of("\\/");
  if (slash != std::string::npos) {
    parts.Dir = rest.substr(0, slash + 1);
    rest = rest.substr(slash + 1);
  }
  const auto dot = rest.find_last_of('.');
  if (dot != std::string::npos) {
    parts.Ext = rest.substr(dot);
    rest = rest.substr(0, dot);
  }
  parts.Name = rest;
  return parts;
}

ConvertJob MakeConvertJob(const std::string& path, bool makeFolders, const ConvertSettings& settings,
                          std::string* folderError) {
  ConvertJob job;
  const PathParts parts = SplitPath(path);
  job.Dir = parts.Dir;
  job.FileName = parts.Name;
  job.Ext = LowerAscii(parts.Ext);
  job.Path = path;

  switch (settings.Select) {
    case kSelectSourceFolder:
      job.OutDir = parts.Drive + parts.Dir;
      break;
    case kSelectUserFolder:
      job.OutDir = settings.User + "/";
      break;
    default:
      job.OutDir = settings.ToolDir + "/";
      break;
  }

  job.Kind = JobKind::BinaryData;
  if (settings.ConvertType != kConvertBinary) {
    if (HasExtension(job, ".bmp") || (settings.PNG_Image != 0 && HasExtension(job, ".png"))) {
      job.Kind = JobKind::Bitmap;
    } else if (HasExtension(job, ".zkp")) {
      job.Kind = JobKind::ZkpFile;
    } else if (HasExtension(job, ".rscr")) {
      job.Kind = JobKind::ScrText;
    } else if (HasExtension(job, ".txt")) {
      job.Kind = JobKind::PrgText;
      if (settings.PRG_To_SCR != 0 && NameEndsWith(job, "_scr"))
        job.Kind = JobKind::ScrText;
      if (settings.PRG_To_MEM != 0 && NameEndsWith(job, "_mem"))
        job.Kind = JobKind::MemText;
    }
  }

  if (makeFolders) {
    std::string error;
    job.OutDir += "ZKP/";
    if (!EnsureDirectory(job.OutDir, error)) {
      job.Kind = JobKind::FolderFailed;
    } else if (job.Kind != JobKind::ZkpFile) {
      job.OutDir += job.FileName + "/";
      if (!EnsureDirectory(job.OutDir, error))
        job.Kind = JobKind::FolderFailed;
    }
    if (folderError)
      *folderError = error;
  }
  return job;
}

bool HasExtension(const ConvertJob& job, const std::string& pattern) {
  return job.Ext == LowerAscii(pattern);
}

bool NameEndsWith(const ConvertJob& job, const std::string& suffix) {
  if (job.FileName.size() < suffix.size())
    return false;
  return LowerAscii(job.FileName.substr(job.FileName.size() - suffix.size())) == LowerAscii(suffix);
}

}  // namespace granvel
