#include "project/project_watch.h"

#include "platform/files.h"
#include "platform/watch.h"
#include "project/project_file.h"

namespace granvel {
namespace {

// Builds when anything is out of date (a plan first, so that the build's own writes settle quietly).
void BuildIfNeeded(const std::string& file, const ProjectBuildOptions& options, const BuildLinesCallback& say,
                   const std::function<void(const ProjectBuildResult&)>& built,
                   const std::function<void(const std::string&)>& refused, bool always) {
  Project project;
  std::string error;
  if (!LoadProject(file, project, error))
    return refused(error);
  ProjectBuildResult result;
  ProjectBuildOptions plan = options;
  plan.DryRun = true;
  if (!always &&
      BuildProject(
          project, plan, [](const std::vector<BuildLine>&) {}, result, error) &&
      result.BuiltAssets + result.BuiltPackages == 0)
    return;
  if (!BuildProject(project, options, say, result, error))
    return refused(error);
  built(result);
}

}  // namespace

bool WatchProject(const std::string& file, const ProjectBuildOptions& options, const BuildLinesCallback& say,
                  const std::function<void(const ProjectBuildResult&)>& built,
                  const std::function<void(const std::string&)>& refused, const std::function<bool()>& stop,
                  std::string& error, int settleMs) {
  FolderWatch watch;
  if (!watch.Start(FolderOf(file), error))
    return false;
  BuildIfNeeded(file, options, say, built, refused, true);
  while (!stop()) {
    if (!watch.Wait(100))
      continue;
    while (!stop() && watch.Wait(settleMs)) {
    }
    if (!stop())
      BuildIfNeeded(file, options, say, built, refused, false);
  }
  return true;
}

}  // namespace granvel
