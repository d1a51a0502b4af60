// File-name patterns of project inputs: what matches, and the files a pattern finds, in byte order.
#include "project/glob.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_dir.h"

namespace granvel {
namespace {

struct GlobRow {
  const char* Pattern;
  const char* Path;
  bool Matches;
};

TEST(MatchGlob, Table) {
  const GlobRow rows[] = {
      {"art/*.png", "art/title.png", true},
      {"art/*.png", "art/sub/title.png", false},  // "*" stays within its folder
      {"art/*.png", "art/title.bmp", false},
      {"art/t?tle.png", "art/title.png", true},
      {"art/t?tle.png", "art/tile.png", false},
      {"levels/**/*.bmp", "levels/a.bmp", true},  // "**" is zero folders too
      {"levels/**/*.bmp", "levels/w1/x/a.bmp", true},
      {"levels/**/*.bmp", "levels/.hidden/a.bmp", false},
      {"*.bmp", ".a.bmp", false},  // hidden files only when the pattern spells the dot
      {".*.bmp", ".a.bmp", true},
      {"a*b*c", "aXbYbZc", true},  // a star gives back what the next one needs
      {"a*b*c", "aXbYcZ", false},
      {"**", "x/y/z", true},
      {"art/title.png", "art/title.png", true},
  };
  for (const GlobRow& row : rows)
    EXPECT_EQ(MatchGlob(row.Pattern, row.Path), row.Matches) << row.Pattern << " " << row.Path;
}

TEST(ExpandGlob, SortedFilesBelowTheRoot) {
  test::TempDir dir;
  for (const char* name : {"b/x.bmp", "a/z.bmp", "a/deep/y.bmp", "a/q.txt", "c.bmp", ".h/k.bmp"}) {
    std::filesystem::create_directories(std::filesystem::path(dir / name).parent_path());
    test::WriteText(dir / name, "x");
  }
  const std::string root = dir.Path() + "/";
  EXPECT_EQ(ExpandGlob(root, "**/*.bmp"),
            (std::vector<std::string>{"a/deep/y.bmp", "a/z.bmp", "b/x.bmp", "c.bmp"}));
  EXPECT_EQ(ExpandGlob(root, "a/*.bmp"), (std::vector<std::string>{"a/z.bmp"}));
  EXPECT_EQ(ExpandGlob(root, "*/*"), (std::vector<std::string>{"a/q.txt", "a/z.bmp", "b/x.bmp"}));
  EXPECT_TRUE(ExpandGlob(root, "missing/*.bmp").empty());
}

}  // namespace
}  // namespace granvel
