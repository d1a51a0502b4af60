// The packages of a project build: whether each is out of date, and building one from the assets' outputs
// through the package form, as the package dialog and "granvel-cli package" do.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "project/build_state.h"
#include "project/project_build.h"
#include "project/project_file.h"

namespace granvel {

struct PackagePlan {
  const ProjectPackage* Package = nullptr;
  BuildRecord Record;  // the new record: its key (the files it took, once built)
  std::string Reason;  // why it builds; empty: up to date
};

// Each package's key and why it builds: no state, a new program version, a new package, its slots or the
// settings changed, its file missing, or an asset it takes builds (`assetBuilds`).
std::vector<PackagePlan> PlanPackages(const Project& project, const std::string& version,
                                      const BuildState& state, bool haveState, bool fresh,
                                      const std::function<bool(const std::string&)>& assetBuilds);

// Builds the package from the outputs of the assets in `assets` (this build's records), putting the file in
// place only when its bytes changed. Its lines go to `lines`, failures to `failures` too.
void BuildPackageStep(const Project& project, PackagePlan& plan, const BuildState& assets,
                      std::vector<BuildLine>& lines, std::vector<std::string>& failures);

}  // namespace granvel
