// Decoding: a package of 41 resources into its folder, and the in-memory steps that dominate it.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <random>

#include "decode/bitmap.h"
#include "decode/reader.h"
#include "decode/scr.h"
#include "format/bytes.h"
#include "format/container.h"

namespace granvel {
namespace {

class SilentHost : public Host {
 public:
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void ShowMessage(const std::string&, const std::string&) override {}
  bool ChooseFile(FileChoice&) override { return false; }
};

void AppendU16LE(std::vector<std::uint8_t>& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void AppendU32LE(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::vector<std::uint8_t> RandomBytes(std::size_t count, std::mt19937& random) {
  std::vector<std::uint8_t> bytes(count);
  for (auto& b : bytes)
    b = static_cast<std::uint8_t>(random());
  return bytes;
}

// A package with a 4096-byte program and every slot filled: bits 0 to 36 and 41 to 44, 41 resources.
std::vector<std::uint8_t> FullPackage() {
  std::mt19937 random(1);
  ResourcePayload payload(kTagPrg.begin(), kTagPrg.end());
  std::uint64_t mask = 0;
  for (int bit = 0; bit <= 44; ++bit) {
    if (bit < 37 || bit > 40)
      mask |= std::uint64_t{1} << bit;
  }
  AppendU32LE(payload, static_cast<std::uint32_t>(mask >> 32));
  AppendU32LE(payload, static_cast<std::uint32_t>(mask));
  const auto program = RandomBytes(4096, random);
  AppendU32LE(payload, static_cast<std::uint32_t>(program.size()));
  payload.insert(payload.end(), program.begin(), program.end());
  auto embed = [&](std::string_view tag, std::vector<std::uint8_t> data) {
    payload.insert(payload.end(), tag.begin() + kBrandSize, tag.end());
    payload.insert(payload.end(), data.begin(), data.end());
  };
  for (int bit = 0; bit <= 44; ++bit) {
    if (!(mask & (std::uint64_t{1} << bit)))
      continue;
    if ((bit >= 13 && bit <= 15) || (bit >= 32 && bit <= 34)) {
      embed(kTagCol, RandomBytes(512, random));
    } else if (bit == 16 || bit == 17 || bit == 35 || bit == 36) {
      embed(kTagScr, RandomBytes(8192, random));
    } else if (bit >= 18 && bit <= 21) {
      embed(kTagGrp, RandomBytes(49152, random));
    } else if (bit == 22) {
      std::vector<std::uint8_t> mem;
      for (int i = 0; i < 256; ++i)
        AppendU16LE(mem, static_cast<std::uint16_t>(0xFF21 + i % 26));
      AppendU32LE(mem, 256);
      embed(kTagMem, mem);
    } else {
      embed(kTagChr, RandomBytes(8192, random));
    }
  }
  return BuildZkpContainer(payload, ResourceType::Prg, "PACKAGE");
}

void BM_DecodePackageOf41(benchmark::State& state) {
  const auto file = FullPackage();
  std::string folder = (std::filesystem::temp_directory_path() / "granvel-bench-XXXXXX").string();
  if (!::mkdtemp(folder.data())) {
    state.SkipWithError("no temporary folder");
    return;
  }
  ConvertSettings settings;
  SilentHost host;
  ConvertJob job;
  job.OutDir = folder + "/";
  for (auto _ : state) {
    ConvertReport report;
    const ConvertContext ctx(settings, host, report);
    if (!DecodeZkpBytes(file, job, ctx)) {
      state.SkipWithError(report.Reason.c_str());
      break;
    }
  }
  std::error_code ec;
  std::filesystem::remove_all(folder, ec);
}
BENCHMARK(BM_DecodePackageOf41)->Unit(benchmark::kMillisecond);

void BM_GrpPageToBitmapBytes(benchmark::State& state) {
  std::mt19937 random(2);
  const auto data = RandomBytes(49152, random);
  const ColourWords palette{};
  for (auto _ : state) {
    const auto bmp = IndexedBitmapBytes(PlaceTiles(data, 8, 256, 192, 64, 64), palette);
    benchmark::DoNotOptimize(bmp.data());
  }
}
BENCHMARK(BM_GrpPageToBitmapBytes);

void BM_ScreenText(benchmark::State& state) {
  std::mt19937 random(3);
  const auto data = RandomBytes(8192, random);
  for (auto _ : state) {
    const auto text = ScreenTextBytes(ScrCellsInReadingOrder(data));
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_ScreenText);

}  // namespace
}  // namespace granvel
