// Text encoders on inputs of realistic size: the screen text the SCR decoder writes (151,658 bytes) and
// programs of 64 KiB, ordinary and full-width.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "encode/text/prg.h"
#include "encode/text/scr.h"

namespace granvel {
namespace {

std::vector<std::uint8_t> DecoderScreenText() {
  std::string text =
      "' BG SCREEN DATA\r\n"
      "' BGPUT Layer, x, y, Number, Palette, horizonal_reverse, vertical_reverse\r\n"
      "' LAYER=0\r\n"
      "\r\n";
  for (unsigned y = 0; y < 64; ++y) {
    for (unsigned x = 0; x < 64; ++x) {
      const unsigned cell = (x * 2654435761u + y * 40503u) & 0xFFFF;
      char line[64];
      std::snprintf(line, sizeof line, "BGPUT LAYER, %2u, %2u, %4u, %2u, %u, %u\r\n", x, y, cell & 0x3FF,
                    cell >> 12, (cell >> 10) & 1, (cell >> 11) & 1);
      text += line;
    }
  }
  return {text.begin(), text.end()};
}

void BM_ReadScreenText(benchmark::State& state) {
  const auto text = DecoderScreenText();
  ScreenMap map{};
  std::string error;
  for (auto _ : state) {
    const bool ok = ReadScreenText(text, map, error);
    benchmark::DoNotOptimize(ok);
    benchmark::DoNotOptimize(map.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ReadScreenText);

void BM_ScrPayloadFromText(benchmark::State& state) {
  const auto text = DecoderScreenText();
  std::string error;
  for (auto _ : state) {
    auto payload = ScrPayloadFromText(text, error);
    benchmark::DoNotOptimize(payload.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ScrPayloadFromText);

std::vector<std::uint8_t> ProgramText(bool fullWidth, std::size_t size) {
  // "ＰＲＩＮＴ　ガ" in Shift JIS, or an ordinary line with escapes, each ended by CR LF.
  const std::string line = fullWidth ? "\x82\x6F\x82\x71\x82\x68\x82\x6D\x82\x73\x81\x40\x83\x4B\r\n"
                                     : "10 PRINT \"HELLO\\41\"; X, Y\r\n";
  std::vector<std::uint8_t> text;
  while (text.size() < size)
    text.insert(text.end(), line.begin(), line.end());
  return text;
}

void BM_PrgPayloadFromText(benchmark::State& state) {
  const auto text = ProgramText(state.range(0) != 0, 64 * 1024);
  ConvertSettings settings;
  settings.PRG_ESCAPE = 1;
  std::string error;
  for (auto _ : state) {
    auto payload = PrgPayloadFromText(text, settings, error);
    benchmark::DoNotOptimize(payload.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_PrgPayloadFromText)->Arg(0)->Arg(1);

}  // namespace
}  // namespace granvel
