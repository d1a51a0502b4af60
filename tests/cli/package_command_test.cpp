#include <gtest/gtest.h>

#include "support/bmp_writer.h"
#include "support/container_view.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::ContainerView;
using test::RunCli;
using test::TempDir;

void WriteImage(const TempDir& dir, const std::string& name, int width, int height, int bits) {
  test::BmpLayout layout = test::Layout(width, height, bits, test::GreyPalette(1 << bits));
  layout.pixels = test::PixelsOf(width, height, [](int x, int y) { return (x * 3 + y) % 16; });
  test::WriteBytes(dir / name, test::MakeBmp(layout));
}

TEST(CliPackage, BuildsAPackageThatDecodesIntoItsSlotFiles) {
  TempDir dir;
  test::WriteText(dir / "main.txt", "PRINT 1234");
  WriteImage(dir, "bg.bmp", 128, 128, 4);
  WriteImage(dir, "page.bmp", 256, 192, 8);
  auto run = RunCli(dir.Path(), {"package", "-o", "game.txt", "PRG=main.txt", "bgu0=bg.bmp", "COL0=bg.bmp",
                                 "GRP0=page.bmp", "down:BGU1=bg.bmp"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Conpleted.."), std::string::npos) << run.out;
  const auto file = test::ReadBytes(dir / "game.zkp");
  // Head, program of 10 bytes padded to 12, two CHR banks, a palette, a page.
  ASSERT_EQ(file.size(), 36u + 32 + 12 - 8 + 2 * 8204 + 524 + 49164);
  const auto payload = ContainerView(file).Payload();
  EXPECT_EQ(ContainerView::U32(payload, 24), (1u << 8) | (1u << 13) | (1u << 18) | (1u << 28));
  EXPECT_EQ(ContainerView(file).Name(), "PACKAGE");

  run = RunCli(dir.Path(), {"convert", "game.zkp"});
  ASSERT_EQ(run.status, 0) << run.err;
  for (const char* name : {"PACKAGE_PRG.txt", "PACKAGE_BGU0.bmp", "PACKAGE_COL0.bmp", "PACKAGE_GRP0.bmp"}) {
    EXPECT_TRUE(test::Exists(dir / "ZKP_PACKAGE" + "/" + name)) << name << "\n" << run.out;
  }
  // The program comes back as it was, ended by nothing (it had no line end).
  EXPECT_EQ(test::ReadText(dir / "ZKP_PACKAGE/PACKAGE_PRG.txt"), "PRINT 1234");
}

TEST(CliPackage, FailedSlotsAreListedWithTheirReasonsAndNothingIsWritten) {
  TempDir dir;
  WriteImage(dir, "bg.bmp", 128, 128, 4);
  test::WriteText(dir / "empty.txt", "");
  const auto run = RunCli(dir.Path(), {"package", "-o", "out.zkp", "--part", "BGU0=2", "BGU0=bg.bmp",
                                       "PRG=empty.txt", "down:bgu2=missing.bmp"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Convert failed.\n PRG\n BGU0\n BGU2 (Down screen)\n"), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("BGU0: part 2 is beyond the 1 parts"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("down:BGU2: "), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("missing.bmp"), std::string::npos) << run.err;
  EXPECT_FALSE(test::Exists(dir / "out.zkp"));
}

TEST(CliPackage, SpriteSizesNamesAndUsageErrors) {
  TempDir dir;
  WriteImage(dir, "s.bmp", 64, 64, 4);
  auto run =
      RunCli(dir.Path(), {"package", "-o", "p", "--name", "abc-def", "--size", "SPU0=64x32", "SPU0=s.bmp"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(ContainerView(test::ReadBytes(dir / "p.zkp")).Name(), "ABC");

  const std::vector<std::vector<std::string>> usage{
      {"package", "-o", "p.zkp", "BGU9=s.bmp"},
      {"package", "-o", "p.zkp", "BGU0"},
      {"package", "-o", "p.zkp", "--size", "SPD0=16x16", "SPD0=s.bmp"},
      {"package", "-o", "p.zkp", "--size", "BGU0=16x16", "BGU0=s.bmp"},
      {"package", "-o", "p.zkp", "--part", "COL0=1", "COL0=s.bmp"},
      {"package", "-o", "p.zkp", "--part", "BGU0=0", "BGU0=s.bmp"},
      {"package", "-o", "p.zkp", "BGU0=s.bmp", "bgu0=s.bmp"},
      {"package", "BGU0=s.bmp"},
  };
  for (const auto& args : usage) {
    run = RunCli(dir.Path(), args);
    EXPECT_EQ(run.status, 2) << args.back() << "\n" << run.err;
  }
}

TEST(CliPackage, ListPartsShowsWhatTheDialogWouldList) {
  TempDir dir;
  WriteImage(dir, "sq.bmp", 256, 256, 4);
  WriteImage(dir, "odd.bmp", 100, 100, 4);
  auto run = RunCli(dir.Path(),
                    {"package", "--set", "AutoTrim=0", "--set", "WideMode=0", "--list-parts", "BGU0=sq.bmp"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "1 of 4\n2 of 4\n3 of 4\n4 of 4\n");
  run = RunCli(dir.Path(), {"package", "--list-parts", "BGU0=odd.bmp"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("Image size unmatched."), std::string::npos) << run.err;
}

}  // namespace
}  // namespace granvel
