// The decoder's container walk from arbitrary bytes, into an in-memory sink: whatever the file holds, the
// only folder made is "ZKP_<name>/" of the output folder, every file lies directly in it, and the files
// written are exactly the files reported.
#include <set>
#include <string>

#include "convert/job.h"
#include "decode/reader.h"
#include "fuzz_support.h"
#include "platform/output_sink.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace granvel;
  if (size < 1)
    return 0;
  // First byte: PRG_MultiByte, PRG_ESCAPE, Make_Wide and the sprite unit for CHR banks.
  ConvertSettings settings;
  settings.PRG_MultiByte = data[0] & 1;
  settings.PRG_ESCAPE = (data[0] >> 1) & 1;
  settings.Make_Wide = ((data[0] >> 2) & 1) ? 1 : 0;
  static constexpr int kUnits[4] = {8, 16, 32, 64};
  settings.UnitWidth = settings.UnitHeight = kUnits[(data[0] >> 3) & 3];
  const auto file = fuzz::ToBytes(data + 1, size - 1);

  ConvertJob job;
  job.Path = "out/in.zkp";
  job.FileName = "in";
  job.Ext = ".zkp";
  job.OutDir = "out/";
  job.Kind = JobKind::ZkpFile;

  fuzz::QuietHost host;
  ConvertReport report;
  MemorySink sink;
  const ConvertContext ctx(settings, host, report, &sink);
  const bool ok = DecodeZkpBytes(file, job, ctx);
  GRANVEL_FUZZ_CHECK(ok || !report.Reason.empty());

  // The folder the name gives, computed from the header's name field (bytes 12 to 19, up to a zero byte).
  std::string name;
  for (std::size_t i = 12; i < 20 && i < file.size() && file[i] != 0; ++i)
    name.push_back(static_cast<char>(file[i]));
  const std::string folder = "out/ZKP_" + SafeFileName(name) + "/";

  for (const std::string& made : sink.Folders)
    GRANVEL_FUZZ_CHECK(made + "/" == folder);
  for (const auto& [path, bytes] : sink.Files) {
    GRANVEL_FUZZ_CHECK(path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0);
    GRANVEL_FUZZ_CHECK(path.find('/', folder.size()) == std::string::npos);
  }
  // A file written twice (two resources of one kind in a plain container) is listed twice.
  const std::set<std::string> written(report.Written.begin(), report.Written.end());
  GRANVEL_FUZZ_CHECK(written.size() == sink.Files.size());
  for (const std::string& path : written)
    GRANVEL_FUZZ_CHECK(sink.Files.count(path) == 1);
  return 0;
}
