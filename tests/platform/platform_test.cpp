// The platform layer: profile integers and keys, whole-file reads, atomic outputs, folders, MD5, sinks.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "platform/files.h"
#include "platform/ini.h"
#include "platform/output_sink.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

TEST(ParseProfileInt, ReadsSignAndLeadingDigitsLikeTheWindowsProfile) {
  const std::pair<const char*, int> rows[] = {{"768", 768}, {"-1", -1},    {"+5", 5},
                                              {"  42", 42}, {"12abc", 12}, {"abc", 0},
                                              {"", 0},      {"-", 0},      {"4294967297", 1}};
  for (const auto& [text, value] : rows)
    EXPECT_EQ(ParseProfileInt(text), value) << text;
}

TEST(IniProfile, IgnoresCaseKeepsCommentsAndForeignKeysAndUpdatesInPlace) {
  test::TempDir dir;
  test::WriteText(dir / "a.ini",
                  "; my notes\n[convert]\ndata_type=0\nMine=yes\n[Directory]\nUser=\"C:\\out\"\n");
  IniProfile ini;
  std::string error;
  ASSERT_TRUE(ini.Load(dir / "a.ini", error)) << error;
  EXPECT_EQ(ini.GetInt("Convert", "DATA_Type", -1), 0);
  EXPECT_EQ(ini.GetInt("Convert", "WideMode", -1), -1);
  EXPECT_EQ(ini.GetString("DIRECTORY", "user", ""), "C:\\out");
  ini.SetInt("CONVERT", "Data_Type", 1);
  ASSERT_TRUE(ini.Save(dir / "a.ini", error)) << error;
  const std::string text = test::ReadText(dir / "a.ini");
  for (const char* kept : {"; my notes", "Mine=yes", "data_type=1"})
    EXPECT_NE(text.find(kept), std::string::npos) << kept << " in\n" << text;
  EXPECT_TRUE(ini.Load(dir / "none.ini", error));  // a missing file is an empty profile
  EXPECT_EQ(ini.GetInt("Convert", "DATA_Type", 7), 7);
}

TEST(EnsureDirectory, MakesOneLevelAndAcceptsAnExistingFolder) {
  test::TempDir dir;
  std::string error;
  EXPECT_TRUE(EnsureDirectory(dir / "a", error) && EnsureDirectory(dir / "a", error));
  EXPECT_FALSE(EnsureDirectory(dir / "b/c", error));
  EXPECT_FALSE(std::filesystem::exists(dir / "b"));
}

TEST(OutputFile, FailuresLeaveTheOlderFileAndNothingElse) {
  test::TempDir dir;
  test::WriteText(dir / "old", "older");
  std::string error;
  EXPECT_FALSE(WriteWholeFile("", {1}, error) || WriteWholeFile(dir / "", {1}, error) ||
               WriteWholeFile(dir / "no/such", {1}, error));
  rlimit saved{};  // a full disk: writes past 100 bytes fail, in this process for a moment
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const rlimit small{100, saved.rlim_max};
  ::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool wrote = WriteWholeFile(dir / "old", std::vector<std::uint8_t>(1000, 7), error);
  ::setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_FALSE(wrote);
  EXPECT_EQ(error, "cannot write " + dir / "old" + ": File too large");
  EXPECT_EQ(test::ReadText(dir / "old"), "older");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(MemorySink, KeepsWhatWasWrittenAndNeverAFileAndAFolderOfOneName) {
  MemorySink sink;
  std::string error;
  EXPECT_TRUE(sink.EnsureFolder("out/ZKP_A/", error));
  EXPECT_TRUE(sink.WriteFile("out/ZKP_A/a.txt", {1, 2}, error));
  EXPECT_TRUE(sink.WriteFile("out/ZKP_A/a.txt", {3}, error));
  EXPECT_EQ(sink.Files.at("out/ZKP_A/a.txt"), std::vector<std::uint8_t>{3});
  EXPECT_FALSE(sink.WriteFile("out/ZKP_A", {}, error));
  EXPECT_FALSE(sink.EnsureFolder("out/ZKP_A/a.txt", error));
}

}  // namespace
}  // namespace granvel
