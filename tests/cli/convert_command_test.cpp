#include <gtest/gtest.h>

#include "support/container_view.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::RunCli;
using test::TempDir;

const std::string kSummary311 =
    "3 files converted\nSuccessed\xEF\xBC\x9A"
    "2\nFailured\xEF\xBC\x9A"
    "1\n";

TEST(CliConvert, MemTextBecomesTheDocumentedFile) {
  TempDir dir;
  test::WriteText(dir / "Notes_mem.txt", "MEM$ = \"HELLO\"\n");
  const auto run = RunCli(dir.Path(), {"convert", "Notes_mem.txt"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Notes_mem.txt: wrote Notes_mem_MEM.zkp"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("1 files converted"), std::string::npos) << run.out;

  const auto file = test::ReadBytes(dir / "Notes_mem_MEM.zkp");
  ASSERT_EQ(file.size(), 564u);
  const test::ContainerView view(file);
  EXPECT_EQ(view.Name(), "NOTES_ME");
  EXPECT_TRUE(view.DigestMatches());
  const std::uint16_t expected[] = {0xFF28, 0xFF25, 0xFF2C, 0xFF2C, 0xFF2F};
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(file[48 + 2 * i] | (file[49 + 2 * i] << 8), expected[i]);
  EXPECT_EQ(test::ContainerView::U32(file, 560), 5u);
  EXPECT_FALSE(test::Exists(dir / "GRANVEL.ini"));  // convert never writes the settings
}

TEST(CliConvert, MiddleFailureGivesSummaryAndStatusOne) {
  TempDir dir;
  test::WriteText(dir / "a_mem.txt", "MEM$=\"A\"\r\n");
  test::WriteText(dir / "c_mem.txt", "MEM$=\"C\"\r\n");
  const auto run = RunCli(dir.Path(), {"convert", "a_mem.txt", "missing_mem.txt", "c_mem.txt"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.out.find(kSummary311), std::string::npos) << run.out;
  EXPECT_NE(run.err.find("missing_mem.txt: failed: "), std::string::npos) << run.err;
}

TEST(CliConvert, SettingsComeFromTheIniAndSetOverridesThem) {
  TempDir dir;
  test::WriteText(dir / "Notes_mem.txt", "MEM$=\"\\41\"\r\n");
  test::WriteText(dir / "GRANVEL.ini", "[Directory]\nCreate=1\n");
  auto run = RunCli(dir.Path(), {"convert", "--set", "prg_escape=1", "Notes_mem.txt"});
  ASSERT_EQ(run.status, 0) << run.err;
  auto file = test::ReadBytes(dir / "ZKP/Notes_mem/Notes_mem_MEM.zkp");
  EXPECT_EQ(test::ContainerView::U32(file, 560), 1u);  // the escape became one character

  // PRG_To_MEM=0 turns the same file into a program text, written beside it (no INI: Create is 0).
  run = RunCli(dir.Path(), {"convert", "--ini", "none.ini", "--set", "PRG_To_MEM=0", "Notes_mem.txt"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(test::Exists(dir / "Notes_mem_PRG.zkp"));
}

TEST(CliConvert, UsageErrorsExitWithTwo) {
  TempDir dir;
  test::WriteText(dir / "a_mem.txt", "MEM$=\"A\"\r\n");
  const std::vector<std::vector<std::string>> cases{
      {"convert", "--set", "Nope=1", "a_mem.txt"},
      {"convert", "--set", "TextOut=yes", "a_mem.txt"},
      {"convert", "--set", "TextOut", "a_mem.txt"},
      {"convert", "--type", "128x128", "a_mem.txt"},
      {"convert"},
      {"frobnicate"},
      {},
  };
  for (const auto& args : cases) {
    const auto run = RunCli(dir.Path(), args);
    EXPECT_EQ(run.status, 2) << (args.empty() ? "" : args.back()) << "\n" << run.err;
    EXPECT_FALSE(test::Exists(dir / "a_mem_MEM.zkp"));
  }
}

TEST(CliSettings, PrintsDefaultsAndSavesOverrides) {
  TempDir dir;
  auto run = RunCli(dir.Path(), {"settings"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Select=768\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("PAL_Fix_1bit=-1\n"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("User=" + dir.Path() + "\n"), std::string::npos) << run.out;
  EXPECT_FALSE(test::Exists(dir / "GRANVEL.ini"));

  run = RunCli(dir.Path(), {"settings", "--set", "WideMode=0", "--set", "Select=770", "--save"});
  ASSERT_EQ(run.status, 0) << run.err;
  const std::string ini = test::ReadText(dir / "GRANVEL.ini");
  EXPECT_NE(ini.find("WideMode=0"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Select=770"), std::string::npos) << ini;

  run = RunCli(dir.Path(), {"settings"});
  EXPECT_NE(run.out.find("WideMode=0\n"), std::string::npos) << run.out;
}

}  // namespace
}  // namespace granvel
