#include "batch/inputs.h"

#include <algorithm>

#include "platform/files.h"

namespace granvel {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The output folders this program makes beside its inputs.
bool IsOutputFolder(const std::string& name) {
  return name == "ZKP" || name.rfind("ZKP_", 0) == 0;
}

std::string Join(const std::string& folder, const std::string& name) {
  if (folder.empty() || kPathSeparators.find(folder.back()) != std::string_view::npos)
    return folder + name;
  return folder + "/" + name;
}

void AddFolder(const std::string& folder, std::vector<RunInput>& inputs) {
  std::vector<FolderEntry> entries;
  std::string error;
  if (!ListFolder(folder, entries, error)) {
    inputs.push_back({folder, error});
    return;
  }
  std::vector<std::string> folders, files;
  for (const FolderEntry& entry : entries) {
    if (entry.Hidden || (entry.Folder && (entry.Link || IsOutputFolder(entry.Name))))
      continue;
    (entry.Folder ? folders : files).push_back(entry.Name);
  }
  std::sort(folders.begin(), folders.end(), NaturalLess);
  std::sort(files.begin(), files.end(), NaturalLess);
  for (const std::string& name : folders)
    AddFolder(Join(folder, name), inputs);
  for (const std::string& name : files)
    inputs.push_back({Join(folder, name), {}});
}

}  // namespace

bool NaturalLess(const std::string& a, const std::string& b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (IsDigit(a[i]) && IsDigit(b[j])) {
      std::size_t endA = i, endB = j;
      while (endA < a.size() && IsDigit(a[endA]))
        ++endA;
      while (endB < b.size() && IsDigit(b[endB]))
        ++endB;
      std::size_t startA = i, startB = j;  // the value's digits, leading zeros passed over
      while (startA + 1 < endA && a[startA] == '0')
        ++startA;
      while (startB + 1 < endB && b[startB] == '0')
        ++startB;
      if (endA - startA != endB - startB)
        return endA - startA < endB - startB;
      const int order = a.compare(startA, endA - startA, b, startB, endB - startB);
      if (order != 0)
        return order < 0;
      i = endA;
      j = endB;
      continue;
    }
    const char x = Lower(a[i]), y = Lower(b[j]);
    if (x != y)
      return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
    ++i;
    ++j;
  }
  if (i < a.size() || j < b.size())
    return j < b.size();  // the shorter name, which the longer one begins with, first
  return a < b;
}

std::vector<RunInput> ExpandInputs(const std::vector<std::string>& paths) {
  std::vector<RunInput> inputs;
  for (const std::string& path : paths) {
    if (IsDirectory(path))
      AddFolder(path, inputs);
    else
      inputs.push_back({path, {}});
  }
  return inputs;
}

}  // namespace granvel
