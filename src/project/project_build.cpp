#include "project/project_build.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

#include "batch/dispatch.h"
#include "platform/files.h"
#include "platform/md5.h"
#include "platform/output_sink.h"
#include "project/build_state.h"
#include "project/depfile.h"
#include "project/package_step.h"
#include "project/quiet_host.h"

namespace granvel {
namespace {

std::string Hex(const Md5Digest& digest) {
  static const char* kDigits = "0123456789abcdef";
  std::string text;
  for (const std::uint8_t byte : digest) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 15];
  }
  return text;
}

std::string HexOf(const std::string& text) {
  return Hex(ComputeMd5({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()}));
}

// Everything of the settings that decides what a conversion writes, as text.
std::string SettingsText(const ConvertSettings& settings) {
  std::string text;
  ConvertSettings copy = settings;
  for (const std::string& key : PersistedKeyNames()) {
    if (const int* number = PersistedIntField(settings, key))
      text += key + "=" + std::to_string(*number) + "\n";
    else if (const std::string* value = PersistedStringField(copy, key))
      text += key + "=" + *value + "\n";
  }
  return text + "type=" + std::to_string(settings.ConvertType) + "\nshared=" + settings.TileSetName + "\n";
}

// The project path of an output the converters wrote with the project folder in front.
std::string Relative(const Project& project, const std::string& path) {
  return path.rfind(project.Root, 0) == 0 ? path.substr(project.Root.size()) : path;
}

// One asset's plan and, once built, its outcome.
struct AssetJob {
  const ProjectAsset* Asset = nullptr;
  ConvertSettings Settings;
  BuildRecord Record;   // the new record: key and input digests (outputs once built)
  std::string Reason;   // why it builds; empty: up to date
  std::string Refused;  // settings refused
  std::vector<BuildLine> Lines;
  std::vector<std::string> Failures;
  bool Skipped = false;  // not begun: the build was cancelled
};

std::string WhyAsset(const Project& project, const BuildState& state, const AssetJob& job) {
  const auto found = state.Assets.find(job.Asset->Name);
  if (found == state.Assets.end())
    return "new";
  const BuildRecord& old = found->second;
  if (old.Key.empty())
    return "failed last time";
  for (const auto& [input, digest] : job.Record.Inputs) {
    const auto before = old.Inputs.find(input);
    if (before == old.Inputs.end())
      return DisplayPath(input) + " added";
    if (before->second != digest)
      return DisplayPath(input) + " changed";
  }
  for (const auto& [input, digest] : old.Inputs) {
    if (!job.Record.Inputs.count(input))
      return DisplayPath(input) + " removed";
  }
  if (old.Key != job.Record.Key)
    return "settings changed";
  for (const std::string& output : old.Outputs) {
    if (!PathExists(project.PathOf(output)))
      return DisplayPath(output) + " missing";
  }
  return {};
}

// Converts one asset into memory, then puts each output in place whose bytes changed and removes the outputs
// the last build made that this one did not.
void BuildAsset(const Project& project, const BuildRecord* old, AssetJob& job) {
  const std::string& name = job.Asset->Name;
  MemorySink sink;
  QuietHost host;
  std::vector<std::string> inputs, written;
  for (const std::string& input : job.Asset->Inputs)
    inputs.push_back(project.PathOf(input));
  const auto fail = [&](const std::string& text) {
    job.Failures.push_back(name + ": " + text);
    job.Lines.push_back({true, name + ": failed: " + text});
  };
  job.Lines.push_back({false, name + ": " + job.Reason});
  const BatchResult batch = ConvertFileList(
      inputs, job.Settings, host,
      [&](const std::string& path, bool ok, const ConvertReport& report) {
        if (!ok)
          fail(DisplayPath(Relative(project, path)) + ": " +
               (report.Reason.empty() ? "no reason given" : report.Reason));
        for (const std::string& note : report.Notes)
          job.Lines.push_back({false, "  note: " + DisplayPath(Relative(project, path)) + ": " + note});
        written.insert(written.end(), report.Written.begin(), report.Written.end());
      },
      &sink);
  if (!batch.Refused.empty())
    fail(batch.Refused);
  std::set<std::string> made;
  for (const std::string& path : written) {
    const std::string relative = Relative(project, path);
    if (!made.insert(relative).second)
      continue;
    job.Record.Outputs.push_back(relative);
    std::vector<std::uint8_t> before;
    std::string error;
    const std::vector<std::uint8_t>& bytes = sink.Files[path];
    if (PathExists(path) && ReadWholeFile(path, before, error) && before == bytes) {
      job.Lines.push_back({false, "  unchanged " + DisplayPath(relative)});
      continue;
    }
    if (!EnsureDirectories(FolderOf(path), error) || !WriteWholeFile(path, bytes, error)) {
      fail(DisplayPath(relative) + ": " + error);
      continue;
    }
    job.Lines.push_back({false, "  wrote " + DisplayPath(relative)});
  }
  if (!job.Failures.empty()) {
    job.Record.Key.clear();  // builds again next time; the outputs of both builds are remembered
    if (old) {
      for (const std::string& output : old->Outputs) {
        if (!made.count(output))
          job.Record.Outputs.push_back(output);
      }
    }
    return;
  }
  if (old) {
    for (const std::string& output : old->Outputs) {
      std::string error;
      if (made.count(output) || !PathExists(project.PathOf(output)))
        continue;
      if (RemoveFile(project.PathOf(output), error))
        job.Lines.push_back({false, "  removed " + DisplayPath(output)});
      else
        fail(error);
    }
  }
}

// Runs `work(i)` for every index on `jobs` threads; `done(i)` is called on this thread in index order as
// soon as i and every index before it are finished.
template <typename Work, typename Done>
void RunInOrder(std::size_t count, int jobs, Work work, Done done) {
#ifdef __EMSCRIPTEN__
  jobs = 1;  // the browser edition has no threads: one job at a time gives the same files and lines
#endif
  if (jobs <= 1 || count <= 1) {  // no thread of its own for one job at a time
    for (std::size_t i = 0; i < count; ++i) {
      work(i);
      done(i);
    }
    return;
  }
  std::mutex mutex;
  std::condition_variable finished;
  std::vector<char> ready(count, 0);
  std::atomic<std::size_t> next{0};
  std::size_t waitingFor = 0;  // the index this thread waits for; only its end wakes it
  const auto worker = [&] {
    for (std::size_t i; (i = next.fetch_add(1)) < count;) {
      work(i);
      std::lock_guard lock(mutex);
      ready[i] = 1;
      if (i == waitingFor)
        finished.notify_one();
    }
  };
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < static_cast<std::size_t>(jobs) && t < count; ++t)
    threads.emplace_back(worker);
  for (std::size_t i = 0; i < count; ++i) {
    std::unique_lock lock(mutex);
    waitingFor = i;
    finished.wait(lock, [&] { return ready[i] != 0; });
    lock.unlock();
    done(i);
  }
  for (std::thread& thread : threads)
    thread.join();
}

}  // namespace

std::string CancelledLine(const ProjectBuildResult& result) {
  return "Cancelled after " + std::to_string(result.BuiltAssets) + " of " +
         std::to_string(result.PlannedAssets) + (result.PlannedAssets == 1 ? " asset" : " assets");
}

bool BuildProject(const Project& project, const ProjectBuildOptions& options, const BuildLinesCallback& say,
                  ProjectBuildResult& result, std::string& error) {
  result = ProjectBuildResult{};
  result.Assets = static_cast<int>(project.Assets.size());
  result.Packages = static_cast<int>(project.Packages.size());
  BuildState state, next;
  std::string note;
  const bool haveState = ReadBuildState(project.PathOf(kStateFile), state, note);
  if (!note.empty())
    say({{false, "note: " + note}});
  const bool fresh = !haveState || state.Version != options.Version;
  next.Version = options.Version;
  // The plan: every asset's key and input digests, and why it builds.
  std::vector<AssetJob> jobs(project.Assets.size());
  std::vector<std::size_t> toBuild;
  // Hashing the inputs is most of a build that finds nothing to do: on the build's threads too.
  RunInOrder(
      jobs.size(), options.Jobs,
      [&](std::size_t i) {
        AssetJob& job = jobs[i];
        job.Asset = &project.Assets[i];
        if (!AssetSettings(project, *job.Asset, job.Settings, job.Refused)) {
          job.Reason = "settings refused";
          return;
        }
        // The key holds the folders as the project file names them, so that a build started from another
        // working folder finds the same key; a palette file counts as an input.
        ConvertSettings keyed = job.Settings;
        keyed.User = job.Asset->Output;
        keyed.Palette_File = Relative(project, keyed.Palette_File);
        job.Record.Key = HexOf(options.Version + "\n" + SettingsText(keyed));
        std::vector<std::pair<std::string, std::string>> inputs;  // as recorded, as opened
        for (const std::string& input : job.Asset->Inputs)
          inputs.emplace_back(input, project.PathOf(input));
        if (!keyed.Palette_File.empty())
          inputs.emplace_back(keyed.Palette_File, job.Settings.Palette_File);
        for (const auto& [input, path] : inputs) {
          std::vector<std::uint8_t> bytes;
          std::string readError;
          job.Record.Inputs[input] =
              ReadWholeFile(path, bytes, readError) ? Hex(ComputeMd5(bytes)) : std::string(32, '-');
        }
        job.Reason = !haveState ? "no state"
                     : fresh    ? "granvel version changed"
                                : WhyAsset(project, state, job);
      },
      [&](std::size_t i) {
        if (!jobs[i].Reason.empty())
          toBuild.push_back(i);
        else
          next.Assets[jobs[i].Asset->Name] = state.Assets.at(jobs[i].Asset->Name);
      });
  std::vector<PackagePlan> packages =
      PlanPackages(project, options.Version, state, haveState, fresh, [&](const std::string& asset) {
        const ProjectAsset* a = project.FindAsset(asset);
        return !jobs[a - project.Assets.data()].Reason.empty();
      });
  if (options.DryRun) {
    if (!haveState && !jobs.empty()) {
      say({{false, "everything: no state"}});
      result.BuiltAssets = static_cast<int>(toBuild.size());
    } else {
      for (const std::size_t i : toBuild) {
        say({{false, jobs[i].Asset->Name + ": " + jobs[i].Reason}});
        ++result.BuiltAssets;
      }
    }
    for (const PackagePlan& plan : packages) {
      if (!plan.Reason.empty() && haveState)
        say({{false, DisplayPath(plan.Package->Output) + ": " + plan.Reason}});
      result.BuiltPackages += plan.Reason.empty() ? 0 : 1;
    }
    return true;
  }
  // The assets, in parallel; their lines in the file's order.
  result.PlannedAssets = static_cast<int>(toBuild.size());
  int packagesToBuild = 0;
  for (const PackagePlan& plan : packages)
    packagesToBuild += plan.Reason.empty() ? 0 : 1;
  RunProgress progress;
  progress.FilesTotal = static_cast<int>(toBuild.size()) + packagesToBuild;
  const auto report = [&](const std::string& current) {
    progress.CurrentFile = current;
    if (options.Progress)
      options.Progress->ShowProgress(progress);
  };
  std::atomic<bool> cancelled{false};
  const auto stop = [&] {
    if (!cancelled && options.Progress && options.Progress->CancelRequested())
      cancelled = true;
    return cancelled.load();
  };
  report(toBuild.empty() ? std::string() : jobs[toBuild.front()].Asset->Name);
  RunInOrder(
      toBuild.size(), options.Jobs,
      [&](std::size_t k) {
        AssetJob& job = jobs[toBuild[k]];
        if (stop()) {
          job.Skipped = true;
          return;
        }
        if (!job.Refused.empty()) {
          job.Failures.push_back(job.Asset->Name + ": " + job.Refused);
          job.Lines.push_back({true, job.Asset->Name + ": failed: " + job.Refused});
          return;
        }
        const auto old = state.Assets.find(job.Asset->Name);
        BuildAsset(project, old == state.Assets.end() ? nullptr : &old->second, job);
      },
      [&](std::size_t k) {
        AssetJob& job = jobs[toBuild[k]];
        if (job.Skipped) {  // the last build's record, if any, still says it is out of date
          const auto old = state.Assets.find(job.Asset->Name);
          if (old != state.Assets.end())
            next.Assets[job.Asset->Name] = old->second;
          return;
        }
        ++progress.FilesDone;
        report(k + 1 < toBuild.size() ? jobs[toBuild[k + 1]].Asset->Name : std::string());
        say(job.Lines);
        ++result.BuiltAssets;
        result.Failures.insert(result.Failures.end(), job.Failures.begin(), job.Failures.end());
        next.Assets[job.Asset->Name] = job.Record;
      });
  // Then the packages, from the outputs in place.
  for (PackagePlan& plan : packages) {
    const auto old = state.Packages.find(plan.Package->Output);
    if (plan.Reason.empty()) {
      next.Packages[plan.Package->Output] = old->second;
      continue;
    }
    if (stop()) {  // cancelled: the last record without its key, so that the next build makes it
      if (old != state.Packages.end()) {
        next.Packages[plan.Package->Output] = old->second;
        next.Packages[plan.Package->Output].Key.clear();
      }
      continue;
    }
    report(DisplayPath(plan.Package->Output));
    std::vector<BuildLine> lines;
    BuildPackageStep(project, plan, next, lines, result.Failures);
    next.Packages[plan.Package->Output] = plan.Record;
    ++result.BuiltPackages;
    ++progress.FilesDone;
    say(lines);
  }
  if (cancelled) {
    result.Cancelled = true;
    say({{false, CancelledLine(result)}});
  }
  report({});
  if (!WriteBuildState(project.PathOf(kStateFile), next, error))
    return false;
  return options.DepFile.empty() || WriteDepFile(options.DepFile, project, next, error);
}

}  // namespace granvel
