// The BMP reader: colour words, row layouts, the 1-bit palette choice, header kinds, run-length data, and
// files written by real image tools (tests/data/README.md).
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

TEST(ColourWord, MatchesTheHandheldFigures) {
  const std::tuple<int, int, int, std::uint16_t> rows[] = {
      {255, 255, 255, 0xFFFF}, {248, 248, 248, 0x7FFF}, {255, 0, 0, 0x001F}, {0, 255, 0, 0x83E0},
      {0, 0, 255, 0x7C00},     {128, 128, 128, 0x4210}, {0, 0, 0, 0x0000},   {0, 4, 0, 0x8000}};
  for (const auto& [r, g, b, word] : rows)
    EXPECT_EQ(ColourWord(r, g, b), word) << r << "," << g << "," << b;
}

TEST(ReadBmpImage, RowsIndicesAndPalettes) {
  // 13-pixel 4-bit rows padded to 8 bytes with filler that is never read as pixels.
  Read r = ReadFile(test::MakeBmpWithData(
      test::Layout(13, 2, 4, test::GreyPalette(16)),
      {0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDF, 0xEE, 0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x3F, 0xEE}, 0));
  EXPECT_EQ(r.image.Pixels, (std::vector<std::uint8_t>{15, 14, 13, 12, 11, 10, 9, 8, 7, 6,  5,  4,  3,
                                                       1,  2,  3,  4,  5,  6,  7, 8, 9, 10, 11, 12, 13}));
  EXPECT_EQ(r.image.PaletteRows, 16);
  EXPECT_EQ(r.Slot(15), ColourWord(15, 15, 15));
  EXPECT_EQ(r.Slot(16), 0);  // a 4-bit image fills palette 0 only
  // 8-bit indices: masked to 4 bits for banks, kept for pages, every palette filled.
  BmpLayout eight = test::Layout(16, 16, 8, test::GreyPalette(256));
  eight.pixels.assign(256, 0x37);
  eight.pixels[0] = 200;
  r = ReadFile(test::MakeBmp(eight), 15, {}, 16, 16);
  EXPECT_EQ(r.image.Pixels[0] * 100 + r.image.Pixels[1], 8 * 100 + 7);
  r = ReadFile(test::MakeBmp(eight));
  EXPECT_EQ(r.image.Pixels[0] * 1000 + r.image.Pixels[1], 200 * 1000 + 0x37);
  EXPECT_EQ(r.Slot(255), 0xFFFF);
  // The colour table starts where the info header ends, whatever its kind; top-down rows keep their order.
  for (const std::uint32_t headerSize : {40u, 108u, 124u}) {
    BmpLayout layout = test::Layout(4, 2, 8, {{0, 4, 0}, {255, 0, 0}});
    layout.pixels = {0, 1, 1, 0, 1, 0, 0, 1};
    layout.headerSize = headerSize;
    layout.clrUsed = 2;
    layout.topDown = headerSize == 124;
    r = ReadFile(test::MakeBmp(layout));
    EXPECT_EQ(r.Slot(0) << 16 | r.Slot(1), 0x8000 << 16 | 0x001F) << headerSize;
    EXPECT_EQ(r.image.Pixels, layout.pixels) << headerSize;
  }
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

TEST(ReadBmpImage, DecodesRunLengthDataWithItsEscapes) {
  // RLE8, 5 x 3, bottom row first: a run, an absolute run of 3 (padded), end of line; a delta one pixel
  // right; a pixel and end of line; an overlong run cut at the row's end; no end-of-bitmap code.
  Read r = ReadFile(test::MakeBmpWithData(
                        test::Layout(5, 3, 8, test::GreyPalette(256)),
                        {2, 0x21, 0, 3, 0x31, 0x32, 0x33, 0, 0, 0, 0, 2, 1, 0, 1, 0x44, 0, 0, 9, 0x55}, 1),
                    15);
  EXPECT_EQ(r.image.Pixels, (std::vector<std::uint8_t>{5, 5, 5, 5, 5, 0, 4, 0, 0, 0, 1, 1, 1, 2, 3}));
  // RLE4: a run of alternating nibbles, an absolute run of 3, end of bitmap, then bytes never read.
  r = ReadFile(test::MakeBmpWithData(test::Layout(5, 2, 4, test::GreyPalette(16)),
                                     {5, 0x12, 0, 0, 0, 3, 0xAB, 0xC0, 0, 0, 0, 1, 7, 0x77}, 2));
  EXPECT_EQ(r.image.Pixels, (std::vector<std::uint8_t>{0xA, 0xB, 0xC, 0, 0, 1, 2, 1, 2, 1}));
  // A blank picture of a million pixels may be nothing but the end-of-bitmap code.
  r = ReadFile(test::MakeBmpWithData(test::Layout(1024, 1024, 8, test::GreyPalette(256)), {0, 1}, 1));
  EXPECT_EQ(std::count(r.image.Pixels.begin(), r.image.Pixels.end(), 0), 1024 * 1024);
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
