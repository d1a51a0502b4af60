#include "encode/image/grp.h"

#include <gtest/gtest.h>

#include "support/bmp_writer.h"
#include "support/container_view.h"
#include "support/fake_host.h"
#include "support/run_converter.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::ContainerView;
using test::TempDir;

std::size_t PageOffset(int x, int y) {
  return 20 + 4096 * (4 * (y / 64) + x / 64) + 64 * (8 * ((y % 64) / 8) + (x % 64) / 8) + 8 * (y % 8) + x % 8;
}

template <typename F>
test::ConverterRun Convert(const TempDir& dir, const std::string& name, int width, int height, F f,
                           int textOut = 0, int dataType = -1) {
  test::BmpLayout layout = test::Layout(width, height, 8, test::GreyPalette(256));
  layout.pixels = test::PixelsOf(width, height, f);
  test::WriteBytes(dir / (name + ".bmp"), test::MakeBmp(layout));
  ConvertSettings settings;
  SelectConvertType(settings, kConvertGraphics);
  settings.TextOut = textOut;
  settings.DATA_Type = dataType;
  return test::RunConverter(ConvertBmpToGrp, dir / (name + ".bmp"), settings);
}

std::vector<std::uint8_t> Page(const std::string& path, const std::string& name) {
  return test::GrpPagePayload(path, name);
}

TEST(ConvertBmpToGrp, OnePageBesideTheColFile) {
  TempDir dir;
  const test::ConverterRun run =
      Convert(dir, "Title", 256, 192, [](int x, int y) { return (x * 3 + y) % 251; });
  ASSERT_TRUE(run.ok) << run.reason;
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"Title.bmp", "Title_COL.zkp", "Title_GRP.zkp"}));
  EXPECT_EQ(ContainerView(test::ReadBytes(dir / "Title_COL.zkp")).Name(), "TITLE");
  const auto page = Page(dir / "Title_GRP.zkp", "TITLE");
  EXPECT_EQ(page[20 + 4096 + 64 * 0 + 8 * 1 + 1], (65 * 3 + 1) % 251);  // pixel (65, 1)
  for (int y = 0; y < 192; ++y)
    for (int x = 0; x < 256; ++x)
      ASSERT_EQ(page[PageOffset(x, y)], (x * 3 + y) % 251) << x << "," << y;
}

TEST(ConvertBmpToGrp, SmallImagesArePaddedWithZero) {
  TempDir dir;
  ASSERT_TRUE(Convert(dir, "s", 100, 100, [](int, int) { return 200; }).ok);
  const auto page = Page(dir / "s_GRP.zkp", "S");
  for (int y = 0; y < 192; ++y)
    for (int x = 0; x < 256; ++x)
      ASSERT_EQ(page[PageOffset(x, y)], (x < 100 && y < 100) ? 200 : 0) << x << "," << y;
}

TEST(ConvertBmpToGrp, PagesTileTheImageLeftToRightThenDown) {
  struct Row {
    int width, height, pages;
  };
  for (const Row& row : {Row{512, 192, 2}, Row{256, 384, 2}, Row{300, 200, 4}}) {
    TempDir dir;
    // The pixel value names its page grid position: 1 + column + 2 row.
    const test::ConverterRun run =
        Convert(dir, "p", row.width, row.height, [](int x, int y) { return 1 + x / 256 + 2 * (y / 192); });
    ASSERT_TRUE(run.ok) << run.reason;
    const int columns = (row.width + 255) / 256;
    for (int i = 0; i < row.pages; ++i) {
      const auto page = Page(dir / ("p_GRP" + std::to_string(i) + ".zkp"), "P" + std::to_string(i));
      EXPECT_EQ(page[20], 1 + i % columns + 2 * (i / columns)) << row.width << "x" << row.height << " " << i;
    }
    EXPECT_FALSE(test::Exists(dir / ("p_GRP" + std::to_string(row.pages) + ".zkp")));
    EXPECT_FALSE(test::Exists(dir / "p_GRP.zkp"));
  }
  // 300x200, page 1: x 256 to 511 of the top band, columns 300 and on 0; page 2: rows 192 to 383.
  TempDir dir;
  ASSERT_TRUE(Convert(dir, "q", 300, 200, [](int, int) { return 9; }).ok);
  const auto page1 = Page(dir / "q_GRP1.zkp", "Q1");
  EXPECT_EQ(page1[PageOffset(43, 191)], 9);
  EXPECT_EQ(page1[PageOffset(44, 0)], 0);
  const auto page2 = Page(dir / "q_GRP2.zkp", "Q2");
  EXPECT_EQ(page2[PageOffset(255, 7)], 9);
  EXPECT_EQ(page2[PageOffset(0, 8)], 0);
}

TEST(ConvertBmpToGrp, DataTextHasPageLinesOnlyForSeveralPages) {
  TempDir dir;
  ASSERT_TRUE(Convert(
                  dir, "one", 256, 192, [](int, int) { return 200; }, 1, 0)
                  .ok);
  std::string text = test::ReadText(dir / "one_GRP_DATA.txt");
  EXPECT_NE(text.find("\r\r' GRAPHIC DATA\rDATA 200,200,"), std::string::npos);
  EXPECT_EQ(text.find("' - GRP"), std::string::npos);

  ASSERT_TRUE(Convert(
                  dir, "two", 512, 192, [](int x, int) { return x < 256 ? 200 : 1; }, 1, -1)
                  .ok);
  text = test::ReadText(dir / "two_GRP_DATA.txt");
  const auto first = text.find("' - GRP0\rDATA \"C8C8");
  const auto second = text.find("' - GRP1\rDATA \"0101");
  ASSERT_NE(first, std::string::npos);
  ASSERT_NE(second, std::string::npos);
  EXPECT_LT(first, second);
}

TEST(ConvertBmpToGrp, RefusedImagesWriteNothing) {
  TempDir dir;
  test::WriteBytes(dir / "bad.bmp", test::Bytes("BMnot really"));
  ConvertSettings settings;
  SelectConvertType(settings, kConvertGraphics);
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  EXPECT_FALSE(ConvertBmpToGrp(MakeConvertJob(dir / "bad.bmp", false, settings), ctx));
  EXPECT_FALSE(report.Reason.empty());
  EXPECT_EQ(dir.List(), std::vector<std::string>{"bad.bmp"});
}

}  // namespace
}  // namespace granvel
