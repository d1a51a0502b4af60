#include "forms/project_form.h"

#include "batch/dispatch.h"
#include "platform/files.h"

namespace granvel {
namespace {

std::string Count(int count, const char* what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

std::string NameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of(kPathSeparators);
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

FileChoice ProjectFileChoice() {
  FileChoice choice;
  choice.Title = "Open a project";
  choice.Filter = {{"Project files", std::string(kProjectFileName) + " *.toml"}, {"All files", "*.*"}};
  choice.DefaultExt = "toml";
  return choice;
}

std::string ProjectHint(const std::string& projectFile) {
  std::string folder = FolderOf(projectFile);
  while (folder.size() > 1 && folder.find_last_of(kPathSeparators) == folder.size() - 1)
    folder.pop_back();
  const std::string name = NameOf(folder);
  return "Project: " + (name.empty() ? folder : name) + " (" + NameOf(projectFile) + ")";
}

MessageReport ProjectBuildReport(const ProjectBuildResult& result, const std::string& lines) {
  MessageReport report;
  report.Caption = kSummaryCaption;
  if (result.BuiltAssets + result.BuiltPackages == 0 && !result.Cancelled)
    report.Text = "Nothing to build: " + Count(result.Assets, "asset") + " and " +
                  Count(result.Packages, "package") + " up to date";
  else
    report.Text = "Built " + std::to_string(result.BuiltAssets) + " of " + Count(result.Assets, "asset") +
                  " and " + std::to_string(result.BuiltPackages) + " of " + Count(result.Packages, "package");
  if (result.Cancelled)
    report.Text += "\n" + CancelledLine(result);
  if (!result.Failures.empty())
    report.Text += "\n" + std::to_string(result.Failures.size()) + " failed";
  report.Details = lines;
  return report;
}

bool BuildProjectFile(const std::string& projectFile, const std::string& version, Host& host) {
  Project project;
  std::string error;
  if (!LoadProject(projectFile, project, error)) {
    host.ShowReport({kSummaryCaption, "The project file was refused; nothing was built", error, {}});
    return false;
  }
  ProjectBuildOptions options;
  options.Version = version;
  options.Progress = &host;
  std::string lines;
  const auto say = [&](const std::vector<BuildLine>& said) {
    for (const BuildLine& line : said)
      lines += line.Text + "\n";
  };
  ProjectBuildResult result;
  const bool ok = BuildProject(project, options, say, result, error);
  if (!ok)
    lines += error + "\n";
  MessageReport report = ProjectBuildReport(result, lines);
  report.Folder = project.Root;
  host.ShowReport(report);
  return ok && result.Failures.empty();
}

}  // namespace granvel
