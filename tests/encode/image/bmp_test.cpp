// The BMP reader: the 1-bit palette choice, files written by real image tools (their header kinds and
// run-length data; tests/data/README.md), and the palette file's indices before the pixel mask.
#include "encode/image/bmp.h"
#include "encode/image/image_file.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/bmp_writer.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::BmpLayout;

struct Read {
  BmpImage image;
  std::string reason;
  std::vector<test::FakeHost::Message> questions;
  std::uint16_t Slot(int i) const { return image.ColPayload[20 + 2 * i] | image.ColPayload[21 + 2 * i] << 8; }
};

Read ReadFile(const std::vector<std::uint8_t>& file, std::uint8_t mask = 255, ConvertSettings settings = {},
              std::uint32_t unit = 1, std::uint32_t unitHeight = 1, std::deque<bool> answers = {}) {
  test::FakeHost host;
  host.answers = std::move(answers);
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  Read r{ReadBmpImage(file, "pics/x.bmp", unit, unitHeight, mask, ctx), report.Reason, {}};
  r.questions = host.questions;
  return r;
}

TEST(ReadBmpImage, OneBitImagesTakePalette1Or15OrAsk) {
  BmpLayout layout = test::Layout(10, 2, 1, {{0, 0, 0}, {255, 255, 255}});
  layout.pixels = {0, 1, 0, 1, 0, 1, 0, 1, 0, 1, 1, 0, 1, 0, 1, 0, 1, 0, 1, 0};  // (x + y) % 2
  const auto file = test::MakeBmp(layout);
  for (const int fix : {0, 1, -1, 2}) {
    for (const bool yes : {true, false}) {
      ConvertSettings settings;
      settings.PAL_Fix_1bit = fix;
      const Read r = ReadFile(file, 15, settings, 1, 1, {yes});
      const int one = fix == 1 || (fix != 0 && yes) ? 15 : 1;
      EXPECT_EQ(r.image.Pixels[1] * 100 + r.image.Pixels[10] * 10 + r.image.Pixels[19], one * 100 + one * 10);
      EXPECT_EQ(r.Slot(one), 0xFFFF);
      EXPECT_EQ(r.Slot(16 - one), 0);
      ASSERT_EQ(r.questions.size(), fix == 0 || fix == 1 ? 0u : 1u);
      if (!r.questions.empty()) {
        EXPECT_EQ(
            r.questions[0].caption + "|" + r.questions[0].text,
            "Select a color palette|pics/x.bmp\nThis image was type of 1bit ( 2 colors ) BMP image.\nNow, It "
            "is uses the palette number 1.\nDo you make use of the palette number 15?");
      }
    }
  }
}

TEST(ReadBmpImage, FilesOfRealToolsGiveTheirPatternsColours) {
  // The colours of tests/data/make_fixtures.py; pixel (x, y) of a 13x7 fixture has colour (x + 2y) % n.
  const int colours[][3] = {{0, 0, 0},      {255, 255, 255}, {248, 56, 0},    {0, 168, 0},     {0, 120, 248},
                            {248, 184, 0},  {168, 0, 168},   {120, 120, 120}, {60, 188, 252},  {248, 120, 88},
                            {184, 248, 24}, {104, 68, 252},  {188, 188, 188}, {248, 216, 120}, {0, 0, 128},
                            {128, 0, 0},    {40, 80, 120},   {200, 100, 50},  {16, 240, 64},   {96, 32, 224}};
  const std::pair<const char*, int> files[] = {
      {"im_v5_8bit_rle8.bmp", 20}, {"im_v5_4bit.bmp", 16},        {"im_v4_1bit.bmp", 2}, {"pil_8bit.bmp", 20},
      {"pil_1bit.bmp", 2},         {"hand_topdown_8bit.bmp", 20}, {"hand_rle4.bmp", 16}};
  for (const auto& [name, n] : files) {
    ConvertSettings settings;
    settings.PAL_Fix_1bit = 0;
    test::FakeHost host;
    ConvertReport report;
    const ConvertContext ctx(settings, host, report);
    const BmpImage image =
        ReadImageFile((std::filesystem::path(GRANVEL_TEST_DATA_DIR) / name).string(), 1, 1, 255, ctx);
    ASSERT_EQ(image.PixelCount, 13 * 7) << name << ": " << report.Reason;
    for (int i = 0; i < 13 * 7; ++i) {
      const int* c = colours[(i % 13 + 2 * (i / 13)) % n];
      const int slot = image.Pixels[static_cast<std::size_t>(i)];
      const int word = c[0] >> 3 | (c[1] >> 3) << 5 | (c[2] >> 3) << 10 | ((c[1] >> 2) & 1) << 15;
      ASSERT_EQ(image.ColPayload[20 + 2 * slot] | image.ColPayload[21 + 2 * slot] << 8, word)
          << name << " pixel " << i;
    }
  }
}

// With a palette file the pixels take its indices first, and only then the pixel mask: CHR keeps the low 4
// bits of index 20, GRP the whole index.
TEST(ReadImageFile, MatchesThePaletteFileThenAppliesTheMask) {
  test::TempDir dir;
  std::string gpl = "GIMP Palette\n";
  for (int k = 0; k < 32; ++k)
    gpl += std::to_string(8 * k) + " 0 8\n";
  test::WriteText(dir / "pal.gpl", gpl);
  BmpLayout layout = test::Layout(8, 8, 8, test::GreyPalette(256));
  layout.palette[3] = {160, 0, 8};  // entry 20 of the palette file
  layout.pixels.assign(64, 3);
  test::WriteBytes(dir / "x.bmp", test::MakeBmp(layout));
  for (const auto& [mask, index] : {std::pair<std::uint8_t, int>{15, 4}, {255, 20}}) {
    ConvertSettings settings;
    settings.Palette_File = dir / "pal.gpl";
    test::FakeHost host;
    ConvertReport report;
    const ConvertContext ctx(settings, host, report);
    const BmpImage image = ReadImageFile(dir / "x.bmp", 8, 8, mask, ctx);
    ASSERT_EQ(image.PixelCount, 64) << report.Reason;
    EXPECT_EQ(image.Pixels[0] + 1000 * image.Pixels[63], index * 1001) << int(mask);
    EXPECT_EQ(image.MaskedPixels, mask == 15 ? 64 : 0);
  }
}

}  // namespace
}  // namespace granvel
