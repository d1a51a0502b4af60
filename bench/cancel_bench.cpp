// A run told to stop: the time from the cancel request to the end of a run that carries a 1 GiB binary in
// graphic pages, the request made once a quarter of its pages are written (in /dev/shm when there is one, so
// that the disk does not decide).
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "batch/dispatch.h"

namespace granvel {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Cancels once the file is a quarter done, and notes when.
class CancellingHost : public Host {
 public:
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void ShowMessage(const std::string&, const std::string&) override {}
  bool ChooseFile(FileChoice&) override { return false; }
  void ShowProgress(const RunProgress& progress) override {
    if (!cancel_ && progress.StepsTotal > 0 && progress.StepsDone * 4 >= progress.StepsTotal) {
      asked_ = Clock::now();
      cancel_ = true;
    }
  }
  bool CancelRequested() override { return cancel_.load(); }
  Clock::time_point Asked() const { return asked_; }

 private:
  std::atomic<bool> cancel_{false};
  Clock::time_point asked_;
};

void BM_CancelOneGiBBinaryRun(benchmark::State& state) {
  const fs::path base = fs::exists("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
  const fs::path dir = base / "granvel-bench-cancel";
  fs::remove_all(dir);
  fs::create_directories(dir);
  {
    std::ofstream out(dir / "big.bin", std::ios::binary);
    std::vector<char> block(1 << 20);
    for (std::size_t i = 0; i < block.size(); ++i)
      block[i] = static_cast<char>(i * 2654435761u >> 24);
    for (int mib = 0; mib < 1024; ++mib)
      out.write(block.data(), static_cast<std::streamsize>(block.size()));
  }
  ConvertSettings settings;
  settings.ConvertType = kConvertBinary;
  settings.TextOut = 0;
  double worst = 0;
  for (auto _ : state) {
    CancellingHost host;
    const BatchResult result = ConvertFileList({(dir / "big.bin").string()}, settings, host);
    const double seconds = std::chrono::duration<double>(Clock::now() - host.Asked()).count();
    state.SetIterationTime(seconds);
    worst = std::max(worst, seconds);
    if (!result.Cancelled)
      state.SkipWithError("the run was not cancelled");
    state.PauseTiming();
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.path().filename() != "big.bin")
        fs::remove(entry.path());
    }
    state.ResumeTiming();
  }
  state.counters["worst_ms"] = worst * 1000;
  fs::remove_all(dir);
}
BENCHMARK(BM_CancelOneGiBBinaryRun)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace granvel
