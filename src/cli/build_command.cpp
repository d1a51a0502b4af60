// granvel-cli build [FILE] [-j N] [--dry-run] [--depfile FILE]
// granvel-cli init [FOLDER]
#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <thread>

#include "cli/commands.h"
#include "cli/options.h"
#include "granvel_version.h"
#include "platform/console.h"
#include "platform/files.h"
#include "project/project_build.h"
#include "project/project_file.h"
#include "project/project_init.h"
#include "project/project_watch.h"

namespace granvel::cli {
namespace {

struct BuildOptions {
  std::string file = kProjectFileName;
  int jobs = 0;  // 0: one per processor
  bool dryRun = false;
  bool watch = false;
  std::string depFile;
};

std::string Count(int count, const char* what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// The build's last lines: what was built, then every failure again. The exit status.
int Summary(const ProjectBuildResult& result, const BuildOptions& options, const CommandIo& io) {
  if (result.BuiltAssets + result.BuiltPackages == 0)
    io.out << "nothing to build: " << Count(result.Assets, "asset") << " and "
           << Count(result.Packages, "package") << " up to date\n";
  else
    io.out << (options.dryRun ? "would build " : "built ") << result.BuiltAssets << " of "
           << Count(result.Assets, "asset") << " and " << result.BuiltPackages << " of "
           << Count(result.Packages, "package") << "\n";
  io.out.flush();
  if (result.Failures.empty())
    return kExitOk;
  io.err << "granvel-cli build: " << result.Failures.size() << " failed:\n";
  for (const std::string& failure : result.Failures)
    io.err << "  " << failure << "\n";
  return kExitFailed;
}

// Stops a build between assets on Ctrl+C; asks nothing.
class InterruptHost final : public Host {
 public:
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void ShowMessage(const std::string&, const std::string&) override {}
  bool ChooseFile(FileChoice&) override { return false; }
  bool CancelRequested() override { return InterruptRequested(); }
};

int RunBuild(const BuildOptions& options, const CommandIo& io) {
  std::string file = options.file;
  if (IsDirectory(file))
    file += std::string(file.back() == '/' ? "" : "/") + kProjectFileName;
  Project project;
  std::string error;
  if (!LoadProject(file, project, error)) {
    io.err << "granvel-cli build: " << error << "\n";
    return kExitUsage;
  }
  ProjectBuildOptions build;
  build.Version = GRANVEL_VERSION;
  build.Jobs =
      options.jobs > 0 ? options.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  build.DryRun = options.dryRun;
  build.DepFile = options.depFile;
  const BuildLinesCallback say = [&](const std::vector<BuildLine>& lines) {
    for (const BuildLine& line : lines)
      (line.Failure ? io.err : io.out) << line.Text << "\n";
    io.out.flush();
  };
  if (options.watch) {
    CatchInterrupts();  // Ctrl+C ends the watch between builds
    io.out << "watching " << DisplayPath(project.Root.empty() ? "." : project.Root) << " (Ctrl+C ends)\n";
    io.out.flush();
    const bool watched = WatchProject(
        file, build, say, [&](const ProjectBuildResult& result) { Summary(result, options, io); },
        [&](const std::string& reason) { io.err << "granvel-cli build: " << reason << "\n"; },
        [] { return InterruptRequested(); }, error);
    if (!watched)
      io.err << "granvel-cli build: " << error << "\n";
    return watched ? kExitOk : kExitFailed;
  }
  InterruptHost interrupts;
  if (!options.dryRun) {
    CatchInterrupts();  // Ctrl+C stops the build between assets; what it finished stays built
    build.Progress = &interrupts;
  }
  ProjectBuildResult result;
  const bool ok = BuildProject(project, build, say, result, error);
  const int summary = Summary(result, options, io);
  const int status = result.Cancelled ? kExitCancelled : summary;
  if (!ok) {
    io.err << "granvel-cli build: " << error << "\n";
    return kExitFailed;
  }
  return status;
}

int RunInit(const std::string& folder, const CommandIo& io) {
  const std::string root = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  const std::string path = root + kProjectFileName;
  if (!root.empty() && !IsDirectory(folder)) {
    io.err << "granvel-cli init: " << DisplayPath(folder) << " is no folder\n";
    return kExitUsage;
  }
  if (PathExists(path)) {
    io.err << "granvel-cli init: " << DisplayPath(path) << " exists; it is left as it is\n";
    return kExitFailed;
  }
  const std::string text = StarterProjectText(root);
  std::string error;
  if (!WriteWholeFile(path, std::vector<std::uint8_t>(text.begin(), text.end()), error)) {
    io.err << "granvel-cli init: " << error << "\n";
    return kExitFailed;
  }
  io.out << "wrote " << DisplayPath(path) << "\n";
  return kExitOk;
}

}  // namespace

void AddBuildCommand(CLI::App& app, const CommandIo& io, int& status) {
  auto options = std::make_shared<BuildOptions>();
  CLI::App* command = app.add_subcommand(
      "build",
      "Build a project (granvel.toml): convert the assets whose inputs or settings changed, then "
      "the packages that take them");
  command->add_option("file", options->file, "The project file, or its folder (default granvel.toml)");
  command->add_option("-j,--jobs", options->jobs, "Assets converted at once (default: one per processor)")
      ->check(CLI::PositiveNumber);
  CLI::Option* dryRun =
      command->add_flag("--dry-run", options->dryRun, "Say what would be built and why; write nothing");
  command
      ->add_flag("--watch", options->watch,
                 "Build, then build again whenever a file below the project folder changes, until Ctrl+C")
      ->excludes(dryRun);
  command->add_option("--depfile", options->depFile,
                      "Write make-style dependencies of every output to FILE (out: inputs granvel.toml)");
  command->callback([options, &io, &status] { status = RunBuild(*options, io); });

  auto folder = std::make_shared<std::string>();
  CLI::App* init = app.add_subcommand(
      "init", "Write a commented granvel.toml for the pictures and texts in FOLDER (never over one)");
  init->add_option("folder", *folder, "The project folder (default: the working folder)");
  init->callback([folder, &io, &status] { status = RunInit(*folder, io); });
}

}  // namespace granvel::cli
