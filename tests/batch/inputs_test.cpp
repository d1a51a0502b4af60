// The files a run takes from a folder: a file manager's order, and what is passed over.
#include "batch/inputs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/temp_dir.h"

namespace granvel {
namespace {

TEST(NaturalLess, SortsAsAFileManagerDoes) {
  const std::vector<std::string> sorted = {"",           "01",          "1",   "2",    "10",          "a",
                                           "A1",         "a01b",        "a1c", "a2",   "A10",         "b",
                                           "level9.bmp", "Level10.bmp", "x_2", "x_10", "\xE3\x81\x82"};
  for (std::size_t i = 0; i < sorted.size(); ++i) {
    for (std::size_t j = 0; j < sorted.size(); ++j)
      EXPECT_EQ(NaturalLess(sorted[i], sorted[j]), i < j) << '"' << sorted[i] << "\" \"" << sorted[j] << '"';
  }
}

TEST(ExpandInputs, TakesFoldersFirstPassesOverHiddenOutputFoldersAndLinksAndKeepsFilesAsGiven) {
  test::TempDir dir;
  namespace fs = std::filesystem;
  for (const char* folder : {"art/b", "art/a/ZKP_x", "art/ZKP", "art/.git", "art/zkp2"})
    fs::create_directories(dir / folder);
  for (const char* file : {"art/p10.bmp", "art/p9.bmp", "art/.hidden", "art/a/x.txt", "art/a/ZKP_x/o.txt",
                           "art/ZKP/o.txt", "art/.git/o.txt", "art/zkp2/y.txt", "art/b/z.txt"})
    test::WriteText(dir / file, "x");
  std::vector<std::string> expected = {dir / "art/a/x.txt", dir / "art/b/z.txt", dir / "art/zkp2/y.txt",
                                       dir / "art/p9.bmp",  dir / "art/p10.bmp", dir / "missing.bmp"};
#ifndef _WIN32
  fs::create_directory_symlink(dir / "art", dir / "art/b/loop");   // would lead back up for ever
  fs::create_symlink(dir / "art/p9.bmp", dir / "art/b/link.bmp");  // a link to a file is a file
  expected.insert(expected.begin() + 1, dir / "art/b/link.bmp");
#endif
  std::vector<std::string> got;
  for (const RunInput& input : ExpandInputs({dir / "art", dir / "missing.bmp"})) {
    EXPECT_EQ(input.Error, "") << input.Path;
    got.push_back(input.Path);
  }
  EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace granvel
