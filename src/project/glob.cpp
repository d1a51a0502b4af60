#include "project/glob.h"

#include <algorithm>

#include "platform/files.h"

namespace granvel {
namespace {

std::vector<std::string> SplitSegments(const std::string& path) {
  std::vector<std::string> segments;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t slash = path.find('/', start);
    const std::size_t end = slash == std::string::npos ? path.size() : slash;
    if (end > start)
      segments.push_back(path.substr(start, end - start));
    if (slash == std::string::npos)
      break;
    start = slash + 1;
  }
  return segments;
}

// One name against one level of the pattern: "*" any run of characters, "?" one; a hidden name only when
// the pattern spells its dot.
bool MatchSegment(const std::string& pattern, const std::string& name) {
  if (!name.empty() && name[0] == '.' && (pattern.empty() || pattern[0] != '.'))
    return false;
  std::size_t p = 0, n = 0, starP = std::string::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (starP != std::string::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

bool MatchFrom(const std::vector<std::string>& pattern, std::size_t i, const std::vector<std::string>& path,
               std::size_t j) {
  if (i == pattern.size())
    return j == path.size();
  if (pattern[i] == "**") {
    for (std::size_t k = j; k <= path.size(); ++k) {
      if (k > j && path[k - 1][0] == '.')
        return false;  // "**" passes over hidden folders
      if (MatchFrom(pattern, i + 1, path, k))
        return true;
    }
    return false;
  }
  return j < path.size() && MatchSegment(pattern[i], path[j]) && MatchFrom(pattern, i + 1, path, j + 1);
}

// Every file under `root` + `relative`, at most `depth` levels down, as paths relative to `root`.
void Walk(const std::string& root, const std::string& relative, int depth, std::vector<std::string>& files) {
  std::vector<FolderEntry> entries;
  std::string error;
  if (depth <= 0 || !ListFolder(root + (relative.empty() ? "." : relative), entries, error))
    return;
  for (const FolderEntry& entry : entries) {
    const std::string path = relative + entry.Name;
    if (!entry.Folder)
      files.push_back(path);
    else if (!entry.Link)
      Walk(root, path + "/", depth - 1, files);
  }
}

}  // namespace

bool IsGlob(const std::string& pattern) {
  return pattern.find_first_of("*?") != std::string::npos;
}

bool MatchGlob(const std::string& pattern, const std::string& path) {
  return MatchFrom(SplitSegments(pattern), 0, SplitSegments(path), 0);
}

std::vector<std::string> ExpandGlob(const std::string& root, const std::string& pattern) {
  const std::vector<std::string> segments = SplitSegments(pattern);
  // The levels before the first wildcard are walked into directly.
  std::string fixed;
  std::size_t first = 0;
  while (first + 1 < segments.size() && !IsGlob(segments[first])) {
    fixed += segments[first] + "/";
    ++first;
  }
  const bool deep = std::find(segments.begin(), segments.end(), "**") != segments.end();
  std::vector<std::string> files, matched;
  Walk(root, fixed, deep ? 64 : static_cast<int>(segments.size() - first), files);
  for (const std::string& file : files) {
    if (MatchFrom(segments, 0, SplitSegments(file), 0))
      matched.push_back(file);
  }
  std::sort(matched.begin(), matched.end());
  return matched;
}

}  // namespace granvel
