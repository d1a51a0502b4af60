// What one run remembers of the files it wrote, and the names a second file of one name gets.
#include "batch/run_ledger.h"

#include <gtest/gtest.h>

namespace granvel {
namespace {

TEST(NumberedPath, GoesBeforeTheExtensionOfTheNameOnly) {
  const struct {
    const char *path, *second;
  } rows[] = {
      {"ZKP_A/A_CHR.bmp", "ZKP_A/A_CHR_2.bmp"},
      {"out.v2/NAME", "out.v2/NAME_2"},  // a dot in the folder is no extension
      {"out/.bmp", "out/.bmp_2"},        // nor is a name's leading dot
      {"NAME", "NAME_2"},
      {"a.b.txt", "a.b_2.txt"},
  };
  for (const auto& row : rows)
    EXPECT_EQ(NumberedPath(row.path, 2), row.second) << row.path;
  EXPECT_EQ(NumberedPath("A.bmp", 13), "A_13.bmp");
}

}  // namespace
}  // namespace granvel
