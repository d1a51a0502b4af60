#include "encode/image/binary.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/container_view.h"
#include "support/fake_host.h"
#include "support/run_converter.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::ContainerView;
using test::TempDir;

test::ConverterRun Convert(const TempDir& dir, const std::string& fileName,
                           const std::vector<std::uint8_t>& bytes, int textOut = 0) {
  test::WriteBytes(dir / fileName, bytes);
  ConvertSettings settings;
  settings.TextOut = textOut;
  return test::RunConverter(ConvertBinaryToGrp, dir / fileName, settings);
}

std::vector<std::uint8_t> Page(const std::string& path, const std::string& name) {
  return test::GrpPagePayload(path, name);
}

std::vector<std::uint8_t> Counting(std::size_t size) {
  std::vector<std::uint8_t> bytes(size);
  for (std::size_t k = 0; k < size; ++k)
    bytes[k] = static_cast<std::uint8_t>(1 + k % 251);
  return bytes;
}

// The payload offset of file byte k within its page.
std::size_t OffsetOf(std::size_t k) {
  const std::size_t inPage = k % 49152, x = inPage % 256, y = inPage / 256;
  return 20 + 4096 * (4 * (y / 64) + x / 64) + 64 * (8 * ((y % 64) / 8) + (x % 64) / 8) + 8 * (y % 8) + x % 8;
}

TEST(ConvertBinaryToGrp, OneByteFileIsOnePage) {
  TempDir dir;
  const test::ConverterRun run = Convert(dir, "a.dat", {0xAB});
  ASSERT_TRUE(run.ok) << run.reason;
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"a.dat", "a_BIN.zkp"}));
  const auto page = Page(dir / "a_BIN.zkp", "A");
  EXPECT_EQ(page[20], 0xAB);
  for (std::size_t i = 21; i < page.size(); ++i)
    ASSERT_EQ(page[i], 0) << i;
}

TEST(ConvertBinaryToGrp, FullPageAndOneByteMore) {
  TempDir dir;
  const auto full = Counting(49152);
  ASSERT_TRUE(Convert(dir, "full.bin", full).ok);
  const auto page = Page(dir / "full_BIN.zkp", "FULL");
  for (std::size_t k = 0; k < full.size(); ++k)
    ASSERT_EQ(page[OffsetOf(k)], full[k]) << k;
  EXPECT_EQ(page[352], full[300]);  // byte 300 is page pixel (44, 1)

  const auto more = Counting(49153);
  const test::ConverterRun run = Convert(dir, "more.bin", more, 1);
  ASSERT_TRUE(run.ok) << run.reason;
  EXPECT_FALSE(test::Exists(dir / "more_BIN.zkp"));
  Page(dir / "more_BIN0.zkp", "MORE0");
  const auto second = Page(dir / "more_BIN1.zkp", "MORE1");
  EXPECT_EQ(second[20], more[49152]);
  for (std::size_t i = 21; i < second.size(); ++i)
    ASSERT_EQ(second[i], 0) << i;
  const std::string text = test::ReadText(dir / "more_DATA.txt");
  EXPECT_EQ(text.rfind("' &H0 - &HBFFF\rDATA \"", 0), 0u);
  EXPECT_NE(text.find("\r' &HC000 - &H17FFF\rDATA \""), std::string::npos);
  EXPECT_EQ(text.find("PALETTE"), std::string::npos);
  EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 2 + 2 * 256);
}

TEST(ConvertBinaryToGrp, SeventeenPagesNameTheLastInHexAndDecimal) {
  TempDir dir;
  const auto bytes = Counting(16 * 49152 + 5);
  ASSERT_TRUE(Convert(dir, "big", bytes).ok);
  const auto last = Page(dir / "big_BIN16.zkp", "BIG10");
  EXPECT_EQ(last[OffsetOf(16 * 49152 + 4)], bytes[16 * 49152 + 4]);
  EXPECT_FALSE(test::Exists(dir / "big_BIN17.zkp"));
}

TEST(ConvertBinaryToGrp, BmpFilesAreCarriedByteForByte) {
  TempDir dir;
  const auto bytes = test::Bytes("BM a bitmap header, carried as it is");
  ASSERT_TRUE(Convert(dir, "x.bmp", bytes).ok);
  const auto page = Page(dir / "x_BIN.zkp", "X");
  for (std::size_t k = 0; k < bytes.size(); ++k)
    ASSERT_EQ(page[OffsetOf(k)], bytes[k]) << k;
}

TEST(ConvertBinaryToGrp, EmptyAndMissingFilesWriteNothing) {
  TempDir dir;
  const test::ConverterRun empty = Convert(dir, "empty.bin", {}, 1);
  EXPECT_FALSE(empty.ok);
  EXPECT_EQ(empty.reason, "the file is empty; there is nothing to carry");
  EXPECT_EQ(dir.List(), std::vector<std::string>{"empty.bin"});

  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  EXPECT_FALSE(ConvertBinaryToGrp(MakeConvertJob(dir / "none.bin", false, settings), ctx));
  EXPECT_NE(report.Reason.find("none.bin"), std::string::npos);
  EXPECT_EQ(dir.List(), std::vector<std::string>{"empty.bin"});
}

TEST(ConvertBinaryToGrp, FilesOver4GiBAreRefusedBeforeReading) {
  TempDir dir;
  test::WriteBytes(dir / "huge.bin", {1});
  std::filesystem::resize_file(dir / "huge.bin", 4294967296ull);  // sparse: no disk space taken
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  EXPECT_FALSE(ConvertBinaryToGrp(MakeConvertJob(dir / "huge.bin", false, settings), ctx));
  EXPECT_EQ(report.Reason,
            "the file holds 4294967296 bytes; files over 4 GiB (4294967295 bytes) cannot be carried");
  EXPECT_EQ(dir.List(), std::vector<std::string>{"huge.bin"});
}

TEST(BuildBinaryPagePayload, RefusesMoreThanOnePage) {
  EXPECT_TRUE(BuildBinaryPagePayload(std::vector<std::uint8_t>(49153)).empty());
  EXPECT_EQ(BuildBinaryPagePayload(std::vector<std::uint8_t>(0)).size(), 49172u);
}

}  // namespace
}  // namespace granvel
