// BMP files written by ImageMagick, Pillow and a hand-written encoder (see tests/data/README.md) give the
// right colour for every pixel.
#include <gtest/gtest.h>

#include <filesystem>

#include "encode/image/bmp.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

struct Rgb {
  std::uint8_t r, g, b;
};
// The colours of make_fixtures.py, in order.
const Rgb kColours[] = {{0, 0, 0},      {255, 255, 255}, {248, 56, 0},    {0, 168, 0},     {0, 120, 248},
                        {248, 184, 0},  {168, 0, 168},   {120, 120, 120}, {60, 188, 252},  {248, 120, 88},
                        {184, 248, 24}, {104, 68, 252},  {188, 188, 188}, {248, 216, 120}, {0, 0, 128},
                        {128, 0, 0},    {40, 80, 120},   {200, 100, 50},  {16, 240, 64},   {96, 32, 224}};

std::string Fixture(const std::string& name) {
  return (std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "data" / name).string();
}

TEST(BmpFixtures, EveryPixelHasThePatternsColour) {
  struct Row {
    std::string file;
    int colours;
  };
  const Row rows[] = {{"im_v5_8bit_rle8.bmp", 20}, {"im_v5_4bit.bmp", 16}, {"im_v4_1bit.bmp", 2},
                      {"pil_8bit.bmp", 20},        {"pil_1bit.bmp", 2},    {"hand_topdown_8bit.bmp", 20},
                      {"hand_rle4.bmp", 16}};
  for (const Row& row : rows) {
    ConvertSettings settings;
    settings.PAL_Fix_1bit = 0;
    test::FakeHost host;
    ConvertReport report;
    const ConvertContext ctx(settings, host, report);
    const BmpImage image = ReadBmpImage(Fixture(row.file), 1, 1, 255, ctx);
    ASSERT_EQ(image.PixelCount, 13 * 7) << row.file << ": " << report.Reason;
    ASSERT_EQ(image.Width, 13) << row.file;
    for (int y = 0; y < 7; ++y) {
      for (int x = 0; x < 13; ++x) {
        const int slot = image.Pixels[static_cast<std::size_t>(y) * 13 + x];
        const std::uint16_t word = static_cast<std::uint16_t>(image.ColPayload[20 + 2 * slot] |
                                                              (image.ColPayload[21 + 2 * slot] << 8));
        const Rgb& c = kColours[(x + 2 * y) % row.colours];
        // The colour word from its definition: red, green, blue >> 3 and bit 2 of green on top.
        const int expected = (c.r >> 3) | ((c.g >> 3) << 5) | ((c.b >> 3) << 10) | (((c.g >> 2) & 1) << 15);
        ASSERT_EQ(word, expected) << row.file << " at " << x << "," << y << " (slot " << slot << ")";
      }
    }
  }
}

TEST(BmpFixtures, OneBitFilesTakeThePalette15Choice) {
  for (const std::string file : {"im_v4_1bit.bmp", "pil_1bit.bmp"}) {
    ConvertSettings settings;
    settings.PAL_Fix_1bit = 1;
    test::FakeHost host;
    ConvertReport report;
    const ConvertContext ctx(settings, host, report);
    const BmpImage image = ReadBmpImage(Fixture(file), 1, 1, 15, ctx);
    ASSERT_EQ(image.PixelCount, 91) << file << ": " << report.Reason;
    EXPECT_EQ(image.Pixels[1], image.Pixels[0] == 0 ? 15 : 0) << file;  // neighbours differ
    for (std::uint8_t p : image.Pixels)
      ASSERT_TRUE(p == 0 || p == 15) << file;
  }
}

}  // namespace
}  // namespace granvel
