// A picture as a screen: a 512 x 512 8-bit picture of 600 tiles repeated and flipped over its 4,096 cells,
// cut into unique tiles and a map (the whole screen the handheld holds).
#include <benchmark/benchmark.h>

#include <random>

#include "encode/image/screen.h"

namespace granvel {
namespace {

class QuietHost : public Host {
 public:
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void ShowMessage(const std::string&, const std::string&) override {}
  bool ChooseFile(FileChoice&) override { return false; }
};

BmpImage ScreenPicture512() {
  std::mt19937 random(1206);
  std::vector<Tile> tiles(600);
  for (Tile& tile : tiles)
    for (std::uint8_t& pixel : tile)
      pixel = static_cast<std::uint8_t>(random() % 16);
  BmpImage image;
  image.Width = image.Height = 512;
  image.PixelCount = 512 * 512;
  image.Pixels.resize(512 * 512);
  image.ColPayload = NewPayload(kTagCol, kColPayloadSize);
  for (int cell = 0; cell < 64 * 64; ++cell) {
    const Tile& tile = tiles[random() % tiles.size()];
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

void BM_ScreenOf512By512Picture(benchmark::State& state) {
  const BmpImage image = ScreenPicture512();
  ConvertSettings settings;
  QuietHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  for (auto _ : state) {
    ScreenPicture screen;
    if (!BuildScreenPicture(image, ctx, screen))
      state.SkipWithError(report.Reason.c_str());
    benchmark::DoNotOptimize(screen.Map.data());
  }
}
BENCHMARK(BM_ScreenOf512By512Picture)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace granvel
