// Project builds: a build of 500 assets with nothing changed (reading the project file, hashing every input,
// finding nothing to do), and a full build of 2,000 small assets on one thread and on two (in /dev/shm when
// there is one, so that the disk does not decide).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "project/project_build.h"
#include "project/project_file.h"

namespace granvel {
namespace {

namespace fs = std::filesystem;

// A 16x8 picture of 4 bits per pixel whose two tiles differ by `seed`.
std::string SmallBmp(int seed) {
  std::string bytes = "BM";
  const auto put = [&](std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i)
      bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  put(14 + 40 + 64 + 64, 4), put(0, 4), put(14 + 40 + 64, 4);
  put(40, 4), put(16, 4), put(8, 4), put(1, 2), put(4, 2), put(0, 4), put(64, 4), put(0, 8), put(16, 4),
      put(0, 4);
  for (int c = 0; c < 16; ++c)
    put(static_cast<std::uint32_t>(c * 0x101010), 4);
  for (int i = 0; i < 64; ++i)
    bytes += static_cast<char>((i + seed) % 16 * 0x11);
  return bytes;
}

// A project folder of `count` assets of one picture each.
fs::path MakeProject(const std::string& tag, int count) {
  const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  const fs::path root = base / ("granvel-bench-" + tag);
  fs::remove_all(root);
  fs::create_directories(root / "art");
  std::ofstream toml(root / "granvel.toml");
  toml << "[settings]\nTextOut = 0\n";
  for (int i = 0; i < count; ++i) {
    const std::string name = "p" + std::to_string(i);
    std::ofstream(root / "art" / (name + ".bmp"), std::ios::binary) << SmallBmp(i);
    toml << "\n[[asset]]\nname = \"" << name << "\"\ninputs = \"art/" << name << ".bmp\"\noutput = \"out\"\n";
  }
  return root;
}

bool Build(const fs::path& root, int jobs) {
  Project project;
  std::string error;
  ProjectBuildOptions options;
  options.Jobs = jobs;
  ProjectBuildResult result;
  return LoadProject((root / "granvel.toml").string(), project, error) &&
         BuildProject(
             project, options, [](const std::vector<BuildLine>&) {}, result, error) &&
         result.Failures.empty();
}

void BM_ProjectNoChangeBuild500(benchmark::State& state) {
  const fs::path root = MakeProject("nochange", 500);
  if (!Build(root, 2))
    state.SkipWithError("the first build failed");
  for (auto _ : state)
    benchmark::DoNotOptimize(Build(root, 2));
  fs::remove_all(root);
}
BENCHMARK(BM_ProjectNoChangeBuild500)->Unit(benchmark::kMillisecond);

void BM_ProjectFullBuild2000(benchmark::State& state) {
  const fs::path root = MakeProject("full" + std::to_string(state.range(0)), 2000);
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(root / ".granvel");
    fs::remove_all(root / "out");
    state.ResumeTiming();
    if (!Build(root, static_cast<int>(state.range(0))))
      state.SkipWithError("the build failed");
  }
  fs::remove_all(root);
}
BENCHMARK(BM_ProjectFullBuild2000)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace
}  // namespace granvel
