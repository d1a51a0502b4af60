// Image conversions: a 256x192 8-bit BMP to its COL and GRP containers, and binary data to GRP pages, beside
// the MD5 of the same bytes (the floor: every container carries a digest of its payload); a 512 x 512 picture
// of 600 tiles repeated and flipped over its 4,096 cells cut into unique tiles and a screen map; and 16 such
// pictures read, mapped onto one shared tile set and written.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "batch/dispatch.h"
#include "encode/image/binary.h"
#include "encode/image/bmp.h"
#include "encode/image/tile_set.h"
#include "format/bytes.h"
#include "format/container.h"
#include "platform/md5.h"

namespace granvel {
namespace {

class QuietHost : public Host {
 public:
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void ShowMessage(const std::string&, const std::string&) override {}
  bool ChooseFile(FileChoice&) override { return false; }
};

// A 256x192 8-bit BMP with a 256-colour table, 40-byte header.
std::vector<std::uint8_t> PageBmp() {
  const std::uint32_t offset = 14 + 40 + 1024, data = 256 * 192;
  std::vector<std::uint8_t> file(offset + data, 0);
  file[0] = 'B';
  file[1] = 'M';
  PutU32LE(&file[2], offset + data);
  PutU32LE(&file[10], offset);
  PutU32LE(&file[14], 40);
  PutU32LE(&file[18], 256);
  PutU32LE(&file[22], 192);
  PutU16LE(&file[26], 1);
  PutU16LE(&file[28], 8);
  for (std::uint32_t i = 0; i < 256; ++i)
    file[54 + 4 * i] = file[55 + 4 * i] = file[56 + 4 * i] = static_cast<std::uint8_t>(i);
  for (std::uint32_t i = 0; i < data; ++i)
    file[offset + i] = static_cast<std::uint8_t>(i * 7 + i / 256);
  return file;
}

void BM_BmpToColAndGrpContainers(benchmark::State& state) {
  const auto bmp = PageBmp();
  ConvertSettings settings;
  QuietHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  for (auto _ : state) {
    const BmpImage image = ReadBmpImage(bmp, "page.bmp", 1, 1, 255, ctx);
    auto col = BuildZkpContainer(image.ColPayload, ResourceType::Col, "PAGE");
    auto grp = BuildZkpContainer(BuildTilePayload(image, 49152, 0, 64, 64, 256), ResourceType::Grp, "PAGE");
    benchmark::DoNotOptimize(col.data());
    benchmark::DoNotOptimize(grp.data());
  }
}
BENCHMARK(BM_BmpToColAndGrpContainers)->Unit(benchmark::kMicrosecond);

constexpr std::size_t kBinarySize = 64u << 20;

std::vector<std::uint8_t> BinaryBytes() {
  std::vector<std::uint8_t> bytes(kBinarySize);
  for (std::size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<std::uint8_t>(i * 31 + (i >> 12));
  return bytes;
}

// MD5 of every 49152-byte page of 64 MiB, one page after the other.
void BM_Md5OfBinaryPages(benchmark::State& state) {
  const auto bytes = BinaryBytes();
  Md5Digest digest;
  for (auto _ : state) {
    for (std::size_t at = 0; at < bytes.size(); at += kPageBytes) {
      digest = ComputeMd5(std::span(bytes).subspan(at, std::min<std::size_t>(kPageBytes, bytes.size() - at)));
      benchmark::DoNotOptimize(digest);
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBinarySize));
}
BENCHMARK(BM_Md5OfBinaryPages)->Unit(benchmark::kMillisecond);

// The same pages digested 16 at a time side by side, as the converters do.
void BM_Md5OfBinaryPagesSideBySide(benchmark::State& state) {
  const auto bytes = BinaryBytes();
  std::vector<std::span<const std::uint8_t>> pages;
  for (std::size_t at = 0; at < bytes.size(); at += kPageBytes)
    pages.push_back(std::span(bytes).subspan(at, std::min<std::size_t>(kPageBytes, bytes.size() - at)));
  std::vector<Md5Digest> digests(pages.size());
  for (auto _ : state) {
    ComputeMd5s(pages, digests);
    benchmark::DoNotOptimize(digests.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBinarySize));
}
BENCHMARK(BM_Md5OfBinaryPagesSideBySide)->Unit(benchmark::kMillisecond);

// 64 MiB in memory to GRP page containers (tile order and MD5), one page at a time.
void BM_BinaryPagesToGrpContainers(benchmark::State& state) {
  const auto bytes = BinaryBytes();
  for (auto _ : state) {
    for (std::size_t at = 0; at < bytes.size(); at += kPageBytes) {
      const std::size_t n = std::min<std::size_t>(kPageBytes, bytes.size() - at);
      auto file = BuildZkpContainer(BuildBinaryPagePayload({bytes.data() + at, n}), ResourceType::Grp, "BIN");
      benchmark::DoNotOptimize(file.data());
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBinarySize));
}
BENCHMARK(BM_BinaryPagesToGrpContainers)->Unit(benchmark::kMillisecond);

// The whole conversion of a 64 MiB file: reading it a page at a time and writing 1366 page files.
void BM_ConvertBinaryFileToGrp(benchmark::State& state) {
  const auto dir = std::filesystem::temp_directory_path() / "granvel-bench-binary";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  const auto bytes = BinaryBytes();
  std::ofstream(dir / "data.bin", std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  ConvertSettings settings;
  settings.TextOut = 0;
  QuietHost host;
  ConvertJob job;
  job.Path = (dir / "data.bin").string();
  job.OutDir = dir.string() + "/";
  job.FileName = "data";
  for (auto _ : state) {
    ConvertReport report;
    const ConvertContext ctx(settings, host, report);
    if (!ConvertBinaryToGrp(job, ctx))
      state.SkipWithError(report.Reason.c_str());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBinarySize));
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ConvertBinaryFileToGrp)->Unit(benchmark::kMillisecond)->Iterations(3);

// A 512 x 512 picture whose cells show tiles[first] to tiles[first + count - 1], flipped and in random banks.
BmpImage ScreenPicture512(const std::vector<Tile>& tiles, std::size_t first, std::size_t count,
                          std::mt19937& random) {
  BmpImage image;
  image.Width = image.Height = 512;
  image.PixelCount = 512 * 512;
  image.Pixels.resize(512 * 512);
  image.ColPayload = NewPayload(kTagCol, kColPayloadSize);
  for (int cell = 0; cell < 64 * 64; ++cell) {
    const Tile& tile = tiles[first + random() % count];
    const bool h = random() & 1, v = random() & 1;
    const int bank = static_cast<int>(random() % 16);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        const std::uint8_t value = tile[8 * (v ? 7 - y : y) + (h ? 7 - x : x)];
        image.Pixels[static_cast<std::size_t>((8 * (cell / 64) + y) * 512 + 8 * (cell % 64) + x)] =
            static_cast<std::uint8_t>(value ? 16 * bank + value : 0);
      }
  }
  return image;
}

std::vector<Tile> RandomTiles(std::size_t count, std::mt19937& random) {
  std::vector<Tile> tiles(count);
  for (Tile& tile : tiles)
    for (std::uint8_t& pixel : tile)
      pixel = static_cast<std::uint8_t>(random() % 16);
  return tiles;
}

void BM_ScreenOf512By512Picture(benchmark::State& state) {
  std::mt19937 random(1206);
  const BmpImage image = ScreenPicture512(RandomTiles(600, random), 0, 600, random);
  ConvertSettings settings;
  QuietHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  for (auto _ : state) {
    TileSet set;
    ScreenMap map;
    if (!set.Add(image, "screen.bmp", ctx, map))
      state.SkipWithError(report.Reason.c_str());
    benchmark::DoNotOptimize(map.data());
  }
}
BENCHMARK(BM_ScreenOf512By512Picture)->Unit(benchmark::kMillisecond);

// The whole run of 16 pictures of 512 x 512 that share one tile set of 901 tiles (picture i shows tiles
// 40i to 40i + 299): each BMP read, mapped, its map written, and the set's COL and four banks written once.
// With TextOut (the argument) the DATA texts too.
void BM_SharedScreensOf16Pictures(benchmark::State& state) {
  const auto shm = std::filesystem::path("/dev/shm");
  const auto dir = (std::filesystem::is_directory(shm) ? shm : std::filesystem::temp_directory_path()) /
                   "granvel-bench-shared";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  std::mt19937 random(1206);
  const std::vector<Tile> tiles = RandomTiles(900, random);
  std::vector<std::string> paths;
  for (std::size_t i = 0; i < 16; ++i) {
    const BmpImage image = ScreenPicture512(tiles, 40 * i, 300, random);
    std::vector<std::uint8_t> file(14 + 40 + 1024 + image.Pixels.size(), 0);
    file[0] = 'B';
    file[1] = 'M';
    PutU32LE(&file[2], static_cast<std::uint32_t>(file.size()));
    PutU32LE(&file[10], 14 + 40 + 1024);
    PutU32LE(&file[14], 40);
    PutU32LE(&file[18], 512);
    PutU32LE(&file[22], static_cast<std::uint32_t>(-512));  // rows from the top
    PutU16LE(&file[26], 1);
    PutU16LE(&file[28], 8);
    for (std::uint32_t c = 0; c < 256; ++c)
      file[54 + 4 * c] = file[55 + 4 * c] = file[56 + 4 * c] = static_cast<std::uint8_t>(c);
    std::copy(image.Pixels.begin(), image.Pixels.end(), file.begin() + 1078);
    paths.push_back((dir / ("screen" + std::to_string(i) + ".bmp")).string());
    std::ofstream(paths.back(), std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
  }
  ConvertSettings settings;
  SelectConvertType(settings, kConvertScreen);
  settings.TileSetName = "world";
  settings.TextOut = static_cast<int>(state.range(0));
  QuietHost host;
  for (auto _ : state) {
    const BatchResult result = ConvertFileList(paths, settings, host);
    if (result.Converted != 16)
      state.SkipWithError("a picture failed");
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_SharedScreensOf16Pictures)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace granvel
