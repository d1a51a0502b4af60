#include "platform/ini.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace granvel {
namespace {

TEST(ParseProfileInt, ReadsSignAndLeadingDigitsLikeTheWindowsProfile) {
  struct Row {
    const char* text;
    int value;
  };
  for (const Row& row : {Row{"768", 768}, Row{"-1", -1}, Row{"+5", 5}, Row{"  42", 42}, Row{"12abc", 12},
                         Row{"abc", 0}, Row{"", 0}, Row{"-", 0}, Row{"4294967297", 1}}) {
    EXPECT_EQ(ParseProfileInt(row.text), row.value) << row.text;
  }
}

TEST(IniProfile, KeysAndSectionsIgnoreCaseAndMissingKeysGiveTheDefault) {
  test::TempDir dir;
  test::WriteText(dir / "a.ini", "[convert]\ndata_type=0\n[Directory]\nUser=\"C:\\out\"\n");
  IniProfile ini;
  std::string error;
  ASSERT_TRUE(ini.Load(dir / "a.ini", error)) << error;
  EXPECT_EQ(ini.GetInt("Convert", "DATA_Type", -1), 0);
  EXPECT_EQ(ini.GetInt("Convert", "WideMode", -1), -1);
  EXPECT_EQ(ini.GetString("DIRECTORY", "user", ""), "C:\\out");
  EXPECT_EQ(ini.GetString("Directory", "Other", "fallback"), "fallback");
}

TEST(IniProfile, MissingFileIsAnEmptyProfile) {
  test::TempDir dir;
  IniProfile ini;
  std::string error;
  EXPECT_TRUE(ini.Load(dir / "none.ini", error));
  EXPECT_EQ(ini.GetInt("A", "b", 7), 7);
}

TEST(IniProfile, SaveKeepsCommentsAndOtherKeysAndUpdatesInPlace) {
  test::TempDir dir;
  test::WriteText(dir / "a.ini", "; my notes\n[Convert]\nTextOut=1\nMine=yes\n[Other]\nx=1\n");
  IniProfile ini;
  std::string error;
  ASSERT_TRUE(ini.Load(dir / "a.ini", error));
  ini.SetInt("convert", "textout", 0);
  ini.SetInt("Convert", "WideMode", -1);
  ASSERT_TRUE(ini.Save(dir / "a.ini", error)) << error;
  const std::string text = test::ReadText(dir / "a.ini");
  EXPECT_NE(text.find("; my notes"), std::string::npos) << text;
  EXPECT_NE(text.find("Mine=yes"), std::string::npos) << text;
  EXPECT_NE(text.find("[Other]"), std::string::npos) << text;
  EXPECT_EQ(text.find("TextOut=1"), std::string::npos) << text;

  IniProfile again;
  ASSERT_TRUE(again.Load(dir / "a.ini", error));
  EXPECT_EQ(again.GetInt("Convert", "TextOut", 9), 0);
  EXPECT_EQ(again.GetInt("Convert", "WideMode", 9), -1);
}

}  // namespace
}  // namespace granvel
