// File-name patterns of a project's inputs: "*" and "?" within one folder level, "**" for any number of
// levels ("levels/**/*.bmp"), and plain paths.
#pragma once

#include <string>
#include <vector>

namespace granvel {

// Whether `pattern` holds a wildcard (*, ?).
bool IsGlob(const std::string& pattern);

// Whether the relative path `path` (folders joined by "/") matches `pattern`.
bool MatchGlob(const std::string& pattern, const std::string& path);

// The files under `root` (a folder with a trailing separator, or "" for the working folder) whose paths
// relative to it match `pattern`, sorted byte by byte; hidden files and folders are passed over unless the
// pattern spells the dot.
std::vector<std::string> ExpandGlob(const std::string& root, const std::string& pattern);

}  // namespace granvel
