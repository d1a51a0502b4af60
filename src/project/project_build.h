// Building a project: what is out of date and why, the assets converted in parallel into memory and put in
// place only where their bytes changed, outputs no longer made removed, then the packages, and the state for
// the next build.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/host.h"
#include "project/project_file.h"

namespace granvel {

struct ProjectBuildOptions {
  std::string Version;  // the program's version: a new one rebuilds everything
  int Jobs = 1;         // assets converted at once
  bool DryRun = false;  // say what would build and why, write nothing
  std::string DepFile;  // when set, make-style dependencies of every output are written there
  // When set, told how far the build is (assets and packages done of those to build, the one being built)
  // and asked between them whether to stop; a stopped build keeps what it finished and its state.
  Host* Progress = nullptr;
};

// One line a build says: on standard output, or standard error for a failure.
struct BuildLine {
  bool Failure = false;
  std::string Text;
};
// Called with each asset's and then each package's lines, in the project file's order.
using BuildLinesCallback = std::function<void(const std::vector<BuildLine>& lines)>;

struct ProjectBuildResult {
  int Assets = 0, Packages = 0;            // in the project
  int BuiltAssets = 0, BuiltPackages = 0;  // converted (or, in a dry run, to convert)
  std::vector<std::string> Failures;       // "title: art/title.png: reason", in order
  int PlannedAssets = 0;                   // out of date when the build began
  bool Cancelled = false;                  // stopped on request: what was not built builds next time
};

// "Cancelled after 2 of 5 assets": the assets built of those planned.
std::string CancelledLine(const ProjectBuildResult& result);

// Builds (or with DryRun, plans) the project. False with a reason when the build could not start or its
// state or depfile could not be written; the assets' and packages' own failures are in `result`.
bool BuildProject(const Project& project, const ProjectBuildOptions& options, const BuildLinesCallback& say,
                  ProjectBuildResult& result, std::string& error);

}  // namespace granvel
