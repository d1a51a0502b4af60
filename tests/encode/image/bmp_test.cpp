#include "encode/image/bmp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "support/bmp_writer.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::BmpLayout;
using test::Rgb;

struct ReadResult {
  BmpImage image;
  std::string reason;
  std::vector<test::FakeHost::Message> questions;
};

ReadResult Read(const std::vector<std::uint8_t>& file, std::uint8_t mask = 255, ConvertSettings settings = {},
                std::uint32_t unitWidth = 1, std::uint32_t unitHeight = 1, std::deque<bool> answers = {}) {
  test::FakeHost host;
  host.answers = std::move(answers);
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  ReadResult r;
  r.image = ReadBmpImage(file, "pics/x.bmp", unitWidth, unitHeight, mask, ctx);
  r.reason = report.Reason;
  r.questions = host.questions;
  return r;
}

std::uint16_t Slot(const BmpImage& image, int slot) {
  return static_cast<std::uint16_t>(image.ColPayload[20 + 2 * slot] | (image.ColPayload[21 + 2 * slot] << 8));
}

TEST(ColourWord, MatchesTheHandheldFigures) {
  struct Row {
    std::uint8_t r, g, b;
    std::uint16_t word;
  };
  for (const Row& row : {Row{255, 255, 255, 0xFFFF}, Row{248, 248, 248, 0x7FFF}, Row{255, 0, 0, 0x001F},
                         Row{0, 255, 0, 0x83E0}, Row{0, 0, 255, 0x7C00}, Row{128, 128, 128, 0x4210},
                         Row{0, 0, 0, 0x0000}, Row{0, 4, 0, 0x8000}}) {
    EXPECT_EQ(ColourWord(row.r, row.g, row.b), row.word)
        << int(row.r) << "," << int(row.g) << "," << int(row.b);
  }
}

TEST(ReadBmpImage, FourBitPaletteFillsPaletteZeroOnly) {
  BmpLayout layout = test::Layout(8, 2, 4);
  for (int i = 0; i < 16; ++i)
    layout.palette.push_back({static_cast<std::uint8_t>(8 * i), 0, 0});
  layout.pixels.assign(16, 3);
  const ReadResult r = Read(test::MakeBmp(layout));
  ASSERT_EQ(r.image.PixelCount, 16) << r.reason;
  ASSERT_EQ(r.image.ColPayload.size(), 532u);
  EXPECT_EQ(std::string(r.image.ColPayload.begin(), r.image.ColPayload.begin() + 20), "ZORIKAMUQAVN0100RCOL");
  EXPECT_EQ(r.image.PaletteRows, 16);
  for (int i = 0; i < 16; ++i)
    EXPECT_EQ(Slot(r.image, i), i) << i;  // red 8i >> 3 = i
  for (int i = 16; i < 256; ++i)
    ASSERT_EQ(Slot(r.image, i), 0) << i;
}

TEST(ReadBmpImage, ThirteenPixelFourBitRowsArePaddedToEightBytes) {
  // Two stored rows of 7 bytes each, padded with 0xEE filler that must never be read as pixels.
  const std::vector<std::uint8_t> data{
      0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDF, 0xEE,  // bottom row
      0xFE, 0xDC, 0xBA, 0x98, 0x76, 0x54, 0x3F, 0xEE,  // top row
  };
  BmpLayout layout = test::Layout(13, 2, 4, test::GreyPalette(16));
  const ReadResult r = Read(test::MakeBmpWithData(layout, data, 0));
  ASSERT_EQ(r.image.PixelCount, 26) << r.reason;
  const std::vector<std::uint8_t> top{15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3};
  const std::vector<std::uint8_t> bottom{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13};
  EXPECT_EQ(std::vector<std::uint8_t>(r.image.Pixels.begin(), r.image.Pixels.begin() + 13), top);
  EXPECT_EQ(std::vector<std::uint8_t>(r.image.Pixels.begin() + 13, r.image.Pixels.end()), bottom);
}

TEST(ReadBmpImage, EightBitIndexIsMaskedForChrAndKeptForGrp) {
  BmpLayout layout = test::Layout(16, 16, 8, test::GreyPalette(256));
  layout.pixels.assign(256, 0x37);
  layout.pixels[0] = 200;
  const auto file = test::MakeBmp(layout);
  const ReadResult chr = Read(file, 15, {}, 16, 16);
  ASSERT_EQ(chr.image.PixelCount, 256) << chr.reason;
  EXPECT_EQ(chr.image.Pixels[1], 7);
  EXPECT_EQ(chr.image.Pixels[0], 200 % 16);
  const ReadResult grp = Read(file, 255);
  EXPECT_EQ(grp.image.Pixels[1], 0x37);
  EXPECT_EQ(grp.image.Pixels[0], 200);
  // Every palette is filled: entry 255 is (255, 255, 255).
  EXPECT_EQ(Slot(grp.image, 255), 0xFFFF);
  EXPECT_EQ(Slot(grp.image, 0x37), ColourWord(0x37, 0x37, 0x37));
}

BmpLayout BlackWhite(int width = 10) {
  BmpLayout layout = test::Layout(width, 2, 1, {{0, 0, 0}, {255, 255, 255}});
  layout.pixels = test::PixelsOf(width, 2, [](int x, int y) { return (x + y) % 2; });
  return layout;
}

TEST(ReadBmpImage, OneBitWithPalette15) {
  ConvertSettings settings;
  settings.PAL_Fix_1bit = 1;
  const ReadResult r = Read(test::MakeBmp(BlackWhite()), 15, settings);
  ASSERT_EQ(r.image.PixelCount, 20) << r.reason;
  EXPECT_TRUE(r.questions.empty());
  EXPECT_EQ(r.image.Pixels[0], 0);
  EXPECT_EQ(r.image.Pixels[1], 15);
  EXPECT_EQ(r.image.Pixels[10], 15);  // row 1 starts with 1
  EXPECT_EQ(r.image.Pixels[19], 0);   // the last pixel of the 10-pixel row uses bit 6 of the second byte
  EXPECT_EQ(Slot(r.image, 15), 0xFFFF);
  EXPECT_EQ(Slot(r.image, 1), 0);
}

TEST(ReadBmpImage, OneBitWithPalette1) {
  ConvertSettings settings;
  settings.PAL_Fix_1bit = 0;
  const ReadResult r = Read(test::MakeBmp(BlackWhite()), 15, settings);
  ASSERT_EQ(r.image.PixelCount, 20) << r.reason;
  EXPECT_TRUE(r.questions.empty());
  EXPECT_EQ(r.image.Pixels[1], 1);
  EXPECT_EQ(r.image.Pixels[9], 1);
  EXPECT_EQ(Slot(r.image, 1), 0xFFFF);
  EXPECT_EQ(Slot(r.image, 15), 0);
}

TEST(ReadBmpImage, OneBitAsksTheQuestionWhenTheSettingSaysAsk) {
  for (const bool yes : {true, false}) {
    ConvertSettings settings;  // PAL_Fix_1bit -1
    const ReadResult r = Read(test::MakeBmp(BlackWhite()), 15, settings, 1, 1, {yes});
    ASSERT_EQ(r.questions.size(), 1u);
    EXPECT_EQ(r.questions[0].caption, "Select a color palette");
    EXPECT_EQ(r.questions[0].text,
              "pics/x.bmp\nThis image was type of 1bit ( 2 colors ) BMP image.\nNow, It is uses the palette "
              "number 1.\nDo you make use of the palette number 15?");
    EXPECT_EQ(r.image.Pixels[1], yes ? 15 : 1);
  }
  // Any value but 0 and 1 asks; other depths never ask.
  ConvertSettings two;
  two.PAL_Fix_1bit = 2;
  EXPECT_EQ(Read(test::MakeBmp(BlackWhite()), 15, two).questions.size(), 1u);
  BmpLayout four = test::Layout(2, 1, 4, test::GreyPalette(16));
  four.pixels = {1, 2};
  EXPECT_TRUE(Read(test::MakeBmp(four), 15, two).questions.empty());
}

TEST(ReadBmpImage, ColourTableStartsAtTheHeaderSize) {
  for (const std::uint32_t headerSize : {40u, 108u, 124u}) {
    BmpLayout layout = test::Layout(4, 1, 8, {{0, 4, 0}, {255, 0, 0}});
    layout.pixels = {0, 1, 1, 0};
    layout.headerSize = headerSize;
    layout.clrUsed = 2;
    const ReadResult r = Read(test::MakeBmp(layout));
    ASSERT_EQ(r.image.PixelCount, 4) << headerSize << ": " << r.reason;
    EXPECT_EQ(Slot(r.image, 0), 0x8000) << headerSize;
    EXPECT_EQ(Slot(r.image, 1), 0x001F) << headerSize;
    EXPECT_EQ(Slot(r.image, 2), 0)
        << headerSize;  // clrUsed 0 for 8 bits reads 256 entries: none beyond the table
  }
}

TEST(ReadBmpImage, TopDownImagesKeepTheirFirstRowOnTop) {
  BmpLayout layout = test::Layout(3, 2, 8, test::GreyPalette(256));
  layout.pixels = {1, 2, 3, 4, 5, 6};
  layout.topDown = true;
  const ReadResult r = Read(test::MakeBmp(layout));
  ASSERT_EQ(r.image.Height, 2) << r.reason;
  EXPECT_EQ(r.image.Pixels, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
  layout.topDown = false;
  EXPECT_EQ(Read(test::MakeBmp(layout)).image.Pixels, (std::vector<std::uint8_t>{1, 2, 3, 4, 5, 6}));
}

TEST(ReadBmpImage, SizeCheckOnlyForChrWithAutoTrim) {
  BmpLayout layout = test::Layout(40, 32, 4, test::GreyPalette(16));
  layout.pixels.assign(40 * 32, 1);
  const auto narrow = test::MakeBmp(layout);
  layout.width = 48;
  layout.pixels.assign(48 * 32, 1);
  const auto wide = test::MakeBmp(layout);
  ConvertSettings on, off;
  off.AutoTrim = 0;
  const ReadResult refused = Read(narrow, 15, on, 16, 16);
  EXPECT_EQ(refused.image.PixelCount, 0);
  EXPECT_EQ(refused.reason, "width 40 is not a multiple of the 16-pixel unit");
  EXPECT_EQ(Read(wide, 15, on, 16, 16).image.PixelCount, 48 * 32);
  EXPECT_EQ(Read(narrow, 15, off, 16, 16).image.PixelCount, 40 * 32);
  EXPECT_EQ(Read(narrow, 255, on, 16, 16).image.PixelCount, 40 * 32);  // GRP use: no check
  EXPECT_EQ(Read(wide, 15, on, 16, 64).reason, "height 32 is not a multiple of the 64-pixel unit");
}

TEST(ReadBmpImage, DecodesRle8WithItsEscapes) {
  // 5 x 3, bottom row first: a run, a 3-pixel absolute run (padded), end of line; a delta; an overlong run.
  const std::vector<std::uint8_t> data{
      2, 0x21, 0, 3, 0x31, 0x32, 0x33, 0x00, 0, 0,  // bottom: 21 21 31 32 33
      0, 2,    1, 0,                                // delta: one pixel right on the middle row
      1, 0x44, 0, 0,                                // middle row: pixel 1 only, end of line
      9, 0x55,                                      // top row: 5 pixels, 4 dropped past the row end
  };                                                // no end-of-bitmap code: the data's end ends the image
  BmpLayout layout = test::Layout(5, 3, 8, test::GreyPalette(256));
  const ReadResult r = Read(test::MakeBmpWithData(layout, data, 1), 15);
  ASSERT_EQ(r.image.PixelCount, 15) << r.reason;
  const std::vector<std::uint8_t> expected{
      5, 5, 5, 5, 5,  // top (0x55 & 15)
      0, 4, 0, 0, 0,  // middle
      1, 1, 1, 2, 3,  // bottom (masked to 4 bits)
  };
  EXPECT_EQ(r.image.Pixels, expected);
}

TEST(ReadBmpImage, DecodesRle4RunsAndAbsoluteNibbles) {
  const std::vector<std::uint8_t> data{
      5, 0x12, 0,    0,           // bottom: 1 2 1 2 1
      0, 3,    0xAB, 0xC0, 0, 0,  // top: A B C (absolute, 2 bytes: already 16-bit aligned), end of line
      0, 1,                       // end of bitmap
      7, 0x77,                    // never read
  };
  BmpLayout layout = test::Layout(5, 2, 4, test::GreyPalette(16));
  const ReadResult r = Read(test::MakeBmpWithData(layout, data, 2));
  ASSERT_EQ(r.image.PixelCount, 10) << r.reason;
  EXPECT_EQ(r.image.Pixels, (std::vector<std::uint8_t>{0xA, 0xB, 0xC, 0, 0, 1, 2, 1, 2, 1}));
}

TEST(ReadBmpImage, RunLengthDataThatEndsEarlyEndsTheImage) {
  const std::vector<std::uint8_t> data{3, 0x07, 0, 0, 0, 4, 1, 2, 3, 4, 0, 2, 1, 0, 2, 9, 0, 1};
  BmpLayout layout = test::Layout(4, 3, 8, test::GreyPalette(256));
  const auto whole = Read(test::MakeBmpWithData(layout, data, 1));
  ASSERT_EQ(whole.image.PixelCount, 12) << whole.reason;
  // Bottom: a run of three 7s; middle: an absolute 1 2 3 4, a delta past its end, two 9s that are dropped.
  EXPECT_EQ(whole.image.Pixels, (std::vector<std::uint8_t>{0, 0, 0, 0, 1, 2, 3, 4, 7, 7, 7, 0}));
  // Every shorter piece of the data still reads: what it does not reach stays 0.
  for (std::size_t n = 1; n < data.size(); ++n) {
    const std::vector<std::uint8_t> cut(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(n));
    const auto r = Read(test::MakeBmpWithData(layout, cut, 1));
    ASSERT_EQ(r.image.PixelCount, 12) << n << ": " << r.reason;
    for (std::size_t i = 0; i < 12; ++i)
      EXPECT_TRUE(r.image.Pixels[i] == 0 || r.image.Pixels[i] == whole.image.Pixels[i]) << n << " " << i;
  }
  // A blank image of a million pixels may be nothing but the end-of-bitmap code.
  BmpLayout blank = test::Layout(1024, 1024, 8, test::GreyPalette(256));
  const auto r = Read(test::MakeBmpWithData(blank, {0, 1}, 1));
  ASSERT_EQ(r.image.PixelCount, 1024 * 1024) << r.reason;
  EXPECT_EQ(std::count(r.image.Pixels.begin(), r.image.Pixels.end(), 0), 1024 * 1024);
}

TEST(ReadBmpImage, RefusesBadFilesWithAReason) {
  BmpLayout base = test::Layout(4, 2, 8, test::GreyPalette(4));
  base.clrUsed = 4;
  auto good = [&] {
    BmpLayout s = base;
    s.pixels.assign(8, 1);
    return test::MakeBmp(s);
  };
  auto with = [&](std::size_t at, std::vector<std::uint8_t> bytes) {
    auto file = good();
    std::copy(bytes.begin(), bytes.end(), file.begin() + static_cast<std::ptrdiff_t>(at));
    return file;
  };
  BmpLayout bits24 = base;
  bits24.bits = 24;
  auto truncated = good();
  truncated.resize(truncated.size() - 1);
  struct Row {
    std::string what;
    std::vector<std::uint8_t> file;
    std::string reason;  // the reason starts with this
  };
  const std::vector<Row> rows{
      {"empty", {}, "not a BMP file"},
      {"PNG signature", {0x89, 'P', 'N', 'G', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, "not a BMP file"},
      {"header only", {'B', 'M', 0, 0, 0, 0}, "the file is shorter than its header says"},
      {"24 bits", test::MakeBmpWithData(bits24, std::vector<std::uint8_t>(24), 0),
       "24 bits per pixel; only 1, 4 and 8 are supported"},
      {"2 bits", with(28, {2, 0}), "2 bits per pixel; only 1, 4 and 8 are supported"},
      {"last byte missing", truncated, "the file is shorter than its header says"},
      {"file size too large", with(2, {0xFF, 0xFF, 0, 0}), "the file is shorter than its header says"},
      {"file size too small", with(2, {54 + 16 + 4, 0, 0, 0}), "the file is shorter than its header says"},
      {"no pixel data", with(2, {54 + 16, 0, 0, 0}), "no pixel data"},
      {"core header", with(14, {12, 0, 0, 0}), "info header of 12 bytes"},
      {"data inside header", with(10, {20, 0, 0, 0}), "pixel data offset 20 lies inside"},
      {"offset past the end", with(10, {0xFF, 0xFF, 0, 0}), "the file is shorter than its header says"},
      {"colour table too long", with(46, {200, 0, 0, 0}), "the colour table of 200 entries does not fit"},
      {"zero width", with(18, {0, 0, 0, 0}), "the image has no pixels"},
      {"negative width", with(18, {0xFF, 0xFF, 0xFF, 0xFF}), "the image has no pixels"},
      {"zero height", with(22, {0, 0, 0, 0}), "the image has no pixels"},
      {"60000 x 60000", with(18, {0x60, 0xEA, 0, 0, 0x60, 0xEA, 0, 0}), "the image of 60000 x 60000 pixels"},
      {"RLE8 60000 x 60000", with(18, {0x60, 0xEA, 0, 0, 0x60, 0xEA, 0, 0, 1, 0, 8, 0, 1}),
       "the image of 60000 x 60000 pixels is too large"},
      {"RLE top-down", with(22, {0xFE, 0xFF, 0xFF, 0xFF, 1, 0, 8, 0, 1}), "a top-down image"},
      {"RLE4 on 8 bits", with(30, {2}), "compression 2 with 8 bits per pixel is not supported"},
      {"bitfields", with(30, {3}), "compression 3 with 8 bits per pixel"},
  };
  for (const Row& row : rows) {
    const ReadResult r = Read(row.file);
    EXPECT_EQ(r.image.PixelCount, 0) << row.what;
    EXPECT_TRUE(r.image.Pixels.empty()) << row.what;
    EXPECT_EQ(r.reason.rfind(row.reason, 0), 0u) << row.what << ": " << r.reason;
  }
  EXPECT_EQ(Read(good()).image.PixelCount, 8);
}

TEST(ReadBmpImage, EveryTruncationAndRandomDamageIsRefusedOrReadSafely) {
  BmpLayout layout = test::Layout(13, 5, 4, test::GreyPalette(16));
  layout.pixels = test::PixelsOf(13, 5, [](int x, int y) { return (x * y) % 16; });
  const auto file = test::MakeBmp(layout);
  for (std::size_t size = 0; size < file.size(); ++size) {
    const std::vector<std::uint8_t> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
    const ReadResult r = Read(cut);
    EXPECT_EQ(r.image.PixelCount, 0) << size;
    EXPECT_FALSE(r.reason.empty()) << size;
  }
  std::mt19937 random(7);
  for (int round = 0; round < 2000; ++round) {
    auto damaged = file;
    for (int k = 0; k < 3; ++k)
      damaged[random() % 70] = static_cast<std::uint8_t>(random());
    const ReadResult r = Read(damaged);
    if (r.image.PixelCount != 0) {
      EXPECT_EQ(r.image.Pixels.size(), static_cast<std::size_t>(r.image.Width) * r.image.Height);
    } else {
      EXPECT_FALSE(r.reason.empty());
    }
  }
}

TEST(ReadBmpImage, PathWrapperReportsMissingFiles) {
  test::TempDir dir;
  test::FakeHost host;
  ConvertSettings settings;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  EXPECT_EQ(ReadBmpImage(dir / "none.bmp", 1, 1, 255, ctx).PixelCount, 0);
  EXPECT_NE(report.Reason.find("none.bmp"), std::string::npos) << report.Reason;
}

}  // namespace
}  // namespace granvel
