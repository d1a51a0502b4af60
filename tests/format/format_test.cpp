// Resource names, colour words, the tile payload builder and payloads made and written in groups.
#include <gtest/gtest.h>

#include <numeric>
#include <tuple>

#include "format/container.h"
#include "format/palettes.h"
#include "format/tiles.h"

namespace granvel {
namespace {

TEST(MakeResourceName, FollowsTheNameTable) {
  const std::pair<std::string, std::string> rows[] = {
      {"title", "TITLE"},   {"Stage_1", "STAGE_1"}, {"my file", "MY FILE"}, {"Notes_mem", "NOTES_ME"},
      {"a.b", "A.B"},       {"abc{x", "ABC"},       {"~tmp", ""},           {"\x83\x41name", ""},
      {"ab\x83\x41", "AB"}, {"50%off", "50%OFF"},   {"a\tb", "A"},          {"az`AZ", "AZ`AZ"}};
  for (const auto& [fileName, name] : rows)
    EXPECT_EQ(MakeResourceName(fileName), name) << fileName;
  EXPECT_EQ(ResourceNameOr("~tmp", "MEM"), "MEM");
  EXPECT_EQ(ResourceNameOr("abc", "MEM"), "ABC");
}

TEST(ColourWord, MatchesTheHandheldFigures) {
  const std::tuple<int, int, int, std::uint16_t> rows[] = {
      {255, 255, 255, 0xFFFF}, {248, 248, 248, 0x7FFF}, {255, 0, 0, 0x001F}, {0, 255, 0, 0x83E0},
      {0, 0, 255, 0x7C00},     {128, 128, 128, 0x4210}, {0, 0, 0, 0x0000},   {0, 4, 0, 0x8000}};
  for (const auto& [r, g, b, word] : rows)
    EXPECT_EQ(ColourWord(r, g, b), word) << r << "," << g << "," << b;
}

// An image whose pixel (x, y) holds f(x, y), kept alive beside its grid.
struct Image {
  std::vector<std::uint8_t> pixels;
  PixelGrid grid;
  template <typename F>
  Image(int width, int height, F f) : pixels(static_cast<std::size_t>(width) * height) {
    for (std::size_t i = 0; i < pixels.size(); ++i)
      pixels[i] = static_cast<std::uint8_t>(f(static_cast<int>(i % width), static_cast<int>(i / width)));
    grid = PixelGrid{pixels, width, height};
  }
};

// 40 payloads of their own sizes: each written once, in order, with its own digest; a writer's failure does
// not stop the rest; a maker's failure stops at once, so nothing of its group (16 to 31) is written.
TEST(MakeAndWritePayloads, WritesEachInOrderWithItsDigestAndStopsWhereAMakerFails) {
  const auto make = [](std::int64_t i, ResourcePayload& payload) {
    payload.assign(static_cast<std::size_t>(100 + 613 * i), static_cast<std::uint8_t>(i));
    return true;
  };
  std::vector<std::int64_t> written;
  const auto write = [&](std::int64_t i, const ResourcePayload& payload, const Md5Digest& digest) {
    written.push_back(i);
    EXPECT_EQ(payload.size(), static_cast<std::size_t>(100 + 613 * i));
    EXPECT_EQ(digest, ComputeMd5(payload)) << i;
    return i != 7;
  };
  EXPECT_FALSE(MakeAndWritePayloads(40, make, write));
  std::vector<std::int64_t> all(40);
  std::iota(all.begin(), all.end(), 0);
  EXPECT_EQ(written, all);

  written.clear();
  const auto failsAt20 = [&](std::int64_t i, ResourcePayload& payload) {
    return i != 20 && make(i, payload);
  };
  EXPECT_FALSE(MakeAndWritePayloads(40, failsAt20, write));
  EXPECT_EQ(written, std::vector<std::int64_t>(all.begin(), all.begin() + 16));
  written.clear();
  EXPECT_TRUE(MakeAndWritePayloads(0, make, write));
  EXPECT_TRUE(written.empty());
}

}  // namespace
}  // namespace granvel
