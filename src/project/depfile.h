// Make-style dependencies of a project's outputs ("out/title_CHR.zkp: art/title.png granvel.toml"), for a
// build system that runs "granvel-cli build" as one step.
#pragma once

#include <string>

#include "project/build_state.h"
#include "project/project_file.h"

namespace granvel {

// The text: one rule per output of every asset (its inputs and the project file) and per package (the files
// it took and the project file), in the project file's order; paths as the build opens them, spaces escaped.
std::string DepFileText(const Project& project, const BuildState& state);

// Writes DepFileText to `path` atomically. False with a reason.
bool WriteDepFile(const std::string& path, const Project& project, const BuildState& state,
                  std::string& error);

}  // namespace granvel
