// What one run remembers of the files it wrote, and the names a second file of one name gets.
#include "batch/run_ledger.h"

#include <gtest/gtest.h>

#include "support/fake_host.h"

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

// Claims across the inputs of a run: another input's file is refused, also the same file named again; one
// input's second file of a name is numbered. A topic is new once; a kept answer is given without asking.
TEST(RunLedger, RefusesAnotherInputsFilesSaysTopicsOnceAndKeepsAnswers) {
  RunLedger ledger;
  std::string path = "out/A_PRG.zkp", note, error;
  ledger.BeginInput();
  ASSERT_TRUE(ledger.Claim("a.txt", path, note, error));
  ASSERT_TRUE(ledger.Claim("a.txt", path, note, error));
  EXPECT_EQ(path + "|" + note,
            "out/A_PRG_2.zkp|out/A_PRG.zkp was written from this file already; this one is "
            "out/A_PRG_2.zkp");
  for (const char* input : {"b.txt", "a.txt"}) {
    ledger.BeginInput();
    path = "out/A_PRG.zkp";
    EXPECT_FALSE(ledger.Claim(input, path, note, error));
    EXPECT_EQ(error, std::string("out/A_PRG.zkp was written from a.txt in this run") +
                         (input[0] == 'a' ? " (the file is named twice)" : ""));
  }
  EXPECT_TRUE(ledger.FirstTime("x") && ledger.FirstTime("y") && !ledger.FirstTime("x"));

  test::FakeHost host;
  host.answers = {false, true, true};
  host.keeps = {false, true};
  const ConvertSettings settings;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report, nullptr, &ledger);
  const bool answers[] = {ctx.Ask("Q", "1"), ctx.Ask("Q", "2"), ctx.Ask("Q", "3"), ctx.Ask("R", "4")};
  EXPECT_EQ(std::vector<bool>(std::begin(answers), std::end(answers)),
            (std::vector<bool>{false, true, true, true}));
  EXPECT_EQ(host.questions.size(), 3u);  // the third Q was answered by the kept Yes
  EXPECT_EQ(host.questions.back().caption, "R");
}

}  // namespace
}  // namespace granvel
