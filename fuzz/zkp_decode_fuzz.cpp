// The decoder's container walk from arbitrary bytes, writing into a fresh folder per input: whatever the
// file holds, every file it writes lies inside "ZKP_<name>/" of the output folder, every file it reports is
// there, and no temporary file stays behind.
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>

#include "convert/job.h"
#include "decode/reader.h"
#include "fuzz_support.h"

namespace {

namespace fs = std::filesystem;

// One scratch folder for the whole run (in memory where the system has /dev/shm), removed at exit.
const fs::path& Scratch() {
  static const fs::path root = [] {
    const char* tmp = std::getenv("TMPDIR");
    fs::path base = tmp && *tmp                    ? fs::path(tmp)
                    : fs::is_directory("/dev/shm") ? fs::path("/dev/shm")
                                                   : fs::temp_directory_path();
    fs::path made = base / ("granvel-zkp-fuzz-" + std::to_string(::getpid()));
    fs::remove_all(made);
    fs::create_directories(made);
    std::atexit([] { fs::remove_all(Scratch()); });
    return made;
  }();
  return root;
}

bool Inside(const fs::path& path, const fs::path& folder) {
  const std::string p = path.lexically_normal().string();
  const std::string f = folder.lexically_normal().string();
  return p.size() > f.size() && p.compare(0, f.size(), f) == 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace granvel;
  if (size < 1)
    return 0;
  // First byte: PRG_MultiByte, PRG_ESCAPE, Make_Wide and the sprite unit for CHR banks.
  ConvertSettings settings;
  settings.PRG_MultiByte = data[0] & 1;
  settings.PRG_ESCAPE = (data[0] >> 1) & 1;
  settings.Make_Wide = ((data[0] >> 2) & 1) ? 1 : 0;
  static constexpr int kUnits[4][2] = {{8, 8}, {16, 16}, {32, 32}, {64, 64}};
  settings.UnitWidth = kUnits[(data[0] >> 3) & 3][0];
  settings.UnitHeight = kUnits[(data[0] >> 3) & 3][1];
  const auto file = fuzz::ToBytes(data + 1, size - 1);

  const fs::path root = Scratch();
  const fs::path out = root / "out";
  fs::create_directory(out);
  ConvertJob job;
  job.Path = (out / "in.zkp").string();
  job.FileName = "in";
  job.Ext = ".zkp";
  job.OutDir = out.string() + "/";
  job.Kind = JobKind::ZkpFile;

  fuzz::QuietHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  const bool ok = DecodeZkpBytes(file, job, ctx);
  GRANVEL_FUZZ_CHECK(ok || !report.Reason.empty());

  // The folder the name gives, computed from the header's name field (bytes 12 to 19, up to a zero byte).
  std::string name;
  for (std::size_t i = 12; i < 20 && i < file.size() && file[i] != 0; ++i)
    name.push_back(static_cast<char>(file[i]));
  const fs::path folder = out / ("ZKP_" + SafeFileName(name));

  std::size_t files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_directory()) {
      GRANVEL_FUZZ_CHECK(entry.path() == out || entry.path() == folder);
      continue;
    }
    GRANVEL_FUZZ_CHECK(Inside(entry.path(), folder));
    GRANVEL_FUZZ_CHECK(entry.path().parent_path() == folder);
    ++files;
  }
  // A file written twice (two resources of one kind in a plain container) is listed twice.
  const std::set<std::string> written(report.Written.begin(), report.Written.end());
  GRANVEL_FUZZ_CHECK(files == written.size());
  for (const std::string& path : written) {
    GRANVEL_FUZZ_CHECK(Inside(path, folder));
    GRANVEL_FUZZ_CHECK(fs::is_regular_file(path));
  }
  fs::remove_all(out);
  return 0;
}
