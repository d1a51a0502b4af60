// Building a project again whenever a file below its folder changes, until told to stop.
#pragma once

#include <functional>
#include <string>

#include "project/project_build.h"

namespace granvel {

// Builds the project at `file`, then watches its folder: once files have changed and `settleMs` passed
// with no further change, the project file is read again (so a glob takes new files) and, when anything is
// out of date, built. `say` gets the build's lines, `built` each build's result, `refused` a project file
// that cannot be read (the watch goes on). Returns when `stop()` is true (checked several times a second);
// false with a reason when the folder cannot be watched.
bool WatchProject(const std::string& file, const ProjectBuildOptions& options, const BuildLinesCallback& say,
                  const std::function<void(const ProjectBuildResult&)>& built,
                  const std::function<void(const std::string&)>& refused, const std::function<bool()>& stop,
                  std::string& error, int settleMs = 200);

}  // namespace granvel
