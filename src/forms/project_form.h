// What both desktop programs show for a project: the Files menu's project commands, the file dialog that
// opens one, the black area's hint while one is open, and a build on the window's worker whose lines end in
// the "Finished" box.
#pragma once

#include <string>

#include "platform/host.h"
#include "project/project_build.h"

namespace granvel {

inline constexpr const char* kOpenProjectLabel = "Open project...";
inline constexpr const char* kBuildProjectLabel = "Build project";  // greyed while no project is open
inline constexpr const char* kCloseProjectLabel = "Close project";  // greyed while no project is open

// The "Open project..." dialog: "Project files" (granvel.toml, *.toml), then "All files"; one file.
FileChoice ProjectFileChoice();

// The black area's hint while `projectFile` is open: "Project: game (granvel.toml)", its folder's name first.
std::string ProjectHint(const std::string& projectFile);

// The "Finished" box of a build: "Built 3 of 9 assets and 1 of 1 package" (or "Nothing to build: ..."),
// then "Cancelled after N of M assets" and "N failed" when so; every line of the build in the details.
MessageReport ProjectBuildReport(const ProjectBuildResult& result, const std::string& lines);

// Reads `projectFile` again and builds it, one asset at a time, showing progress through `host` and stopping
// when it asks; then shows the "Finished" box through `host`. A file that cannot be read shows its
// "FILE:LINE:COLUMN: reason" there, and nothing is built. True when the build ran without failures.
bool BuildProjectFile(const std::string& projectFile, const std::string& version, Host& host);

}  // namespace granvel
