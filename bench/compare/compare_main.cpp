// granvel_compare: runs granvel-cli side by side with the baselines it should be measured against, on inputs
// it makes itself, and prints each ratio (granvel / baseline) and the peak memory.
//
//   granvel_compare --cli PATH --baseline PATH [--work DIR] [--runs N] [--no-callgrind] [CASE]...
//
// CASE is bmp, batch, binary or chr (default: all). CPU time is user + system time of the whole process, the
// median of N runs of each (default 11, fewer for the large cases), run alternately; the ratio is the median
// of the per-pair ratios. Instruction counts come from callgrind and do not depend on the machine's load.
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "inputs.h"
#include "measure.h"

namespace granvel::bench {
namespace {

namespace fs = std::filesystem;

struct Options {
  std::string Cli, Baseline;
  fs::path Work;
  int Runs = 11;
  bool Callgrind = true;
  std::set<std::string> Cases;
};

// What the field's converter for another handheld costs for the same 256x192 4-bit image to palette,
// characters and DATA text (callgrind, whole process), as measured when this work was planned.
constexpr double kFieldConverterInstructions = 13.35e6;

// Writes the lists and the packed outputs the baseline needs: every file under `dir` that is not an input is
// an output of the run that just happened.
std::vector<std::string> BaselineFiles(const fs::path& dir, const std::vector<std::string>& inputs) {
  const fs::path meta = dir.string() + ".baseline";
  fs::create_directories(meta);
  const std::set<std::string> isInput(inputs.begin(), inputs.end());
  std::ofstream inputList(meta / "inputs"), outputList(meta / "outputs");
  std::ofstream pack(meta / "pack", std::ios::binary);
  for (const std::string& input : inputs)
    inputList << input << "\n";
  std::vector<fs::path> outputs;
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    if (entry.is_regular_file() && !isInput.count(fs::relative(entry.path(), dir).string()))
      outputs.push_back(fs::relative(entry.path(), dir));
  std::sort(outputs.begin(), outputs.end());
  for (const fs::path& output : outputs) {
    std::ifstream in(dir / output, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    outputList << bytes.size() << " " << output.string() << "\n";
    pack << bytes;
  }
  return {(meta / "inputs").string(), (meta / "outputs").string(), (meta / "pack").string()};
}

std::vector<std::string> BaselineCommand(const Options& options, const char* mode, const fs::path& dir,
                                         const std::vector<std::string>& files) {
  return {options.Baseline, mode, dir.string(), files[0], files[1], files[2]};
}

std::vector<std::string> Convert(const Options& options, std::vector<std::string> settings,
                                 const std::vector<std::string>& paths) {
  std::vector<std::string> argv{options.Cli, "convert"};
  for (const std::string& setting : settings) {
    argv.push_back("--set");
    argv.push_back(setting);
  }
  argv.insert(argv.end(), paths.begin(), paths.end());
  return argv;
}

fs::path FreshFolder(const Options& options, const std::string& name) {
  const fs::path dir = options.Work / name;
  fs::remove_all(dir);
  fs::remove_all(dir.string() + ".baseline");
  fs::create_directories(dir);
  return dir;
}

void PrintPaired(const char* what, const char* baseline, const Paired& p, const char* target) {
  std::printf("  %-34s granvel %8.4f s   %-28s %8.4f s   ratio %5.2f %-8s  peak %6.1f MiB\n", what, p.First,
              baseline, p.Second, p.Ratio, target, p.FirstPeakMiB);
}

void PrintInstructions(const char* what, std::uint64_t granvel, const char* baseline, double base,
                       const char* target) {
  if (granvel == 0) {
    std::printf("  %-34s (no callgrind)\n", what);
    return;
  }
  std::printf("  %-34s granvel %8.3f M   %-28s %8.3f M   ratio %5.2f %s\n", what, granvel / 1e6, baseline,
              base / 1e6, base > 0 ? granvel / base : 0.0, target);
}

std::uint64_t Instructions(const Options& options, const std::vector<std::string>& argv,
                           const fs::path& dir) {
  return options.Callgrind ? CountInstructions(argv, dir.string()) : 0;
}

bool BmpCase(const Options& options) {
  std::printf("256x192 4-bit BMP -> COL + CHR + DATA text\n");
  const fs::path dir = FreshFolder(options, "bmp");
  WriteBytes(dir / "sheet.bmp", MakeBmp(256, 192, 4));
  const auto granvel = Convert(options, {"TextOut=1"}, {"sheet.bmp"});
  Usage warm;
  if (!Run(granvel, dir, warm))
    return false;
  const auto files = BaselineFiles(dir, {"sheet.bmp"});
  const auto atomic = BaselineCommand(options, "atomic", dir, files);
  const std::uint64_t ours = Instructions(options, granvel, dir);
  PrintInstructions("instructions, whole process", ours, "field converter (quoted)",
                    kFieldConverterInstructions, "(target: at most 4.5 M)");
  PrintInstructions("", ours, "read+temp+rename+write",
                    static_cast<double>(Instructions(options, atomic, dir)), "");
  Paired cpu;
  if (!RunPaired(granvel, atomic, dir.string(), 2 * options.Runs + 1, cpu))
    return false;
  PrintPaired("CPU", "read+temp+rename+write", cpu, "");
  return true;
}

bool BatchCase(const Options& options) {
  constexpr int kFiles = 2000;
  std::printf(
      "%d mixed small files in one run (images, binary files, programs, MEM and screen texts, "
      "containers to decode)\n",
      kFiles);
  const fs::path dir = FreshFolder(options, "batch");
  const std::vector<std::string> inputs = MakeMixedBatch(dir, kFiles);
  const auto granvel = Convert(options, {"TextOut=1"}, inputs);
  Usage warm;
  if (!Run(granvel, dir, warm))
    return false;
  const auto files = BaselineFiles(dir, inputs);
  const auto plain = BaselineCommand(options, "plain", dir, files);
  const auto atomic = BaselineCommand(options, "atomic", dir, files);
  Paired vsPlain, vsAtomic;
  if (!RunPaired(granvel, plain, dir.string(), options.Runs, vsPlain) ||
      !RunPaired(granvel, atomic, dir.string(), options.Runs, vsAtomic))
    return false;
  PrintPaired("CPU", "read+write", vsPlain, "");
  PrintPaired("CPU", "read+temp+rename+write", vsAtomic, "(<= 1.4)");
  const std::uint64_t ours = Instructions(options, granvel, dir);
  PrintInstructions("instructions (user space only)", ours, "read+temp+rename+write",
                    static_cast<double>(Instructions(options, atomic, dir)), "");
  return true;
}

bool BinaryCase(const Options& options) {
  constexpr std::size_t kSize = 64u << 20;
  std::printf("64 MiB file carried in graphic pages (1366 page files)\n");
  const fs::path dir = FreshFolder(options, "binary");
  WriteBytes(dir / "data.bin", MakeBinary(kSize, 64));
  const auto withText = Convert(options, {"TextOut=1", "DATA_Type=1"}, {"--type", "bin", "data.bin"});
  const auto withoutText = Convert(options, {"TextOut=0"}, {"--type", "bin", "data.bin"});
  const std::vector<std::string> md5sum{"md5sum", "data.bin"};
  const int runs = std::max(3, options.Runs / 2);
  Paired with, without;
  if (!RunPaired(withText, md5sum, dir.string(), runs, with) ||
      !RunPaired(withoutText, md5sum, dir.string(), runs, without))
    return false;
  PrintPaired("CPU, with its DATA text", "md5sum", with, "(<= 1.6)");
  PrintPaired("CPU, without a DATA text", "md5sum", without, "");
  std::printf("  peak memory %.1f MiB with the text, %.1f MiB without (target: under 16 MiB)\n",
              with.FirstPeakMiB, without.FirstPeakMiB);
  return true;
}

bool ChrCase(const Options& options) {
  std::printf("4096x4096 8-bit BMP -> COL + 1024 CHR banks + DATA text (AutoTrim=0)\n");
  const fs::path dir = FreshFolder(options, "chr");
  const std::vector<std::uint8_t> big = MakeBmp(4096, 4096, 8);
  WriteBytes(dir / "big.bmp", big);
  WriteBytes(dir / "half.bmp", MakeBmp(2048, 2048, 8));
  const auto whole = Convert(options, {"TextOut=1", "AutoTrim=0"}, {"big.bmp"});
  const auto quarter = Convert(options, {"TextOut=1", "AutoTrim=0"}, {"half.bmp"});
  const int runs = std::max(3, options.Runs / 2);
  Paired linear;
  if (!RunPaired(whole, quarter, dir.string(), runs, linear))
    return false;
  std::printf("  CPU 4096x4096 %.4f s, 2048x2048 %.4f s: per pixel %.2f times (1.00 is linear)\n",
              linear.First, linear.Second, linear.Ratio / 4);
  const double input = static_cast<double>(big.size()) / (1 << 20);
  std::printf("  peak memory %.1f MiB for a %.1f MiB file (target: at most %.1f MiB, the file + 24 MiB)\n",
              linear.FirstPeakMiB, input, input + 24);
  return true;
}

// Where the cases run unless --work says: memory (tmpfs) when the system has it, so that the figures are the
// programs' own and not the disk's, whose write-back of replaced files can cost more than the conversion.
fs::path DefaultWork() {
  std::error_code ec;
  if (fs::is_directory("/dev/shm", ec) && ::access("/dev/shm", W_OK) == 0)
    return "/dev/shm/granvel-compare";
  return fs::temp_directory_path() / "granvel-compare";
}

const char* FileSystemOf(const fs::path& dir) {
  struct statfs info {};
  if (::statfs(dir.c_str(), &info) != 0)
    return "unknown file system";
  switch (static_cast<unsigned long>(info.f_type)) {
    case 0x01021994:
      return "tmpfs";
    case 0xEF53:
      return "ext2/3/4";
    case 0x58465342:
      return "xfs";
    case 0x9123683E:
      return "btrfs";
    default:
      return "another file system";
  }
}

bool ParseOptions(int argc, char** argv, Options& options) {
  options.Work = DefaultWork();
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--cli" && i + 1 < argc) {
      options.Cli = fs::absolute(argv[++i]).string();
    } else if (arg == "--baseline" && i + 1 < argc) {
      options.Baseline = fs::absolute(argv[++i]).string();
    } else if (arg == "--work" && i + 1 < argc) {
      options.Work = fs::absolute(argv[++i]);
    } else if (arg == "--runs" && i + 1 < argc) {
      options.Runs = std::max(1, std::atoi(argv[++i]));
    } else if (arg == "--no-callgrind") {
      options.Callgrind = false;
    } else if (arg == "bmp" || arg == "batch" || arg == "binary" || arg == "chr") {
      options.Cases.insert(arg);
    } else {
      return false;
    }
  }
  return !options.Cli.empty() && !options.Baseline.empty();
}

}  // namespace
}  // namespace granvel::bench

int main(int argc, char** argv) {
  using namespace granvel::bench;
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: granvel_compare --cli PATH --baseline PATH [--work DIR] [--runs N] [--no-callgrind] "
                 "[bmp|batch|binary|chr]...\n");
    return 2;
  }
  std::filesystem::create_directories(options.Work);
  std::printf("granvel-cli %s, in %s (%s)\n", options.Cli.c_str(), options.Work.c_str(),
              FileSystemOf(options.Work));
  const auto wanted = [&](const char* name) { return options.Cases.empty() || options.Cases.count(name); };
  bool ok = true;
  if (wanted("bmp"))
    ok = BmpCase(options) && ok;
  if (wanted("batch"))
    ok = BatchCase(options) && ok;
  if (wanted("binary"))
    ok = BinaryCase(options) && ok;
  if (wanted("chr"))
    ok = ChrCase(options) && ok;
  std::filesystem::remove_all(options.Work);
  return ok ? 0 : 1;
}
