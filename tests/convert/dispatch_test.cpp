#include "convert/dispatch.h"

#include <gtest/gtest.h>

#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::TempDir;

TEST(SummaryText, UsesFullWidthColonsAndTheSystemsSpelling) {
  EXPECT_EQ(SummaryText({3, 2, 1}),
            "3 files converted\nSuccessed\xEF\xBC\x9A"
            "2\nFailured\xEF\xBC\x9A"
            "1");
}

TEST(ConvertFileList, TriesEveryFileInOrderAndShowsOneSummary) {
  TempDir dir;
  test::WriteText(dir / "a_mem.txt", "MEM$=\"A\"\r\n");
  test::WriteText(dir / "b_mem.txt", "no assignment here\r\n");
  test::WriteText(dir / "c_mem.txt", "MEM$=\"C\"\r\n");
  ConvertSettings settings;
  settings.ToolDir = dir.Path();
  test::FakeHost host;
  std::vector<std::string> order;
  const BatchResult result =
      ConvertFileList({dir / "a_mem.txt", dir / "b_mem.txt", dir / "c_mem.txt"}, settings, host,
                      [&](const std::string& path, bool ok, const ConvertReport& report) {
                        order.push_back(path.substr(path.size() - 9) + (ok ? " ok" : " failed"));
                        EXPECT_EQ(ok, report.Reason.empty()) << report.Reason;
                      });
  EXPECT_EQ(result.Seen, 3);
  EXPECT_EQ(result.Converted, 2);
  EXPECT_EQ(result.Failed, 1);
  EXPECT_EQ(order, (std::vector<std::string>{"a_mem.txt ok", "b_mem.txt failed", "c_mem.txt ok"}));
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "Finished");
  EXPECT_EQ(host.messages[0].text, SummaryText({3, 2, 1}));
  EXPECT_TRUE(test::Exists(dir / "a_mem_MEM.zkp"));
  EXPECT_FALSE(test::Exists(dir / "b_mem_MEM.zkp"));
  EXPECT_TRUE(test::Exists(dir / "c_mem_MEM.zkp"));
}

TEST(ConvertFile, FolderThatCannotBeMadeFailsEveryFileWithAReason) {
  TempDir dir;
  test::WriteText(dir / "a_mem.txt", "MEM$=\"A\"\r\n");
  ConvertSettings settings;
  settings.Create = 1;
  settings.Select = kSelectUserFolder;
  settings.User = dir / "gone";
  test::FakeHost host;
  ConvertReport report;
  EXPECT_FALSE(ConvertFile(dir / "a_mem.txt", settings, host, report));
  EXPECT_NE(report.Reason.find("gone/ZKP/"), std::string::npos) << report.Reason;
  const BatchResult all = ConvertFileList({dir / "a_mem.txt", dir / "a_mem.txt"}, settings, host);
  EXPECT_EQ(all.Failed, 2);
}

TEST(ConvertFile, CreateOtherThanOneMakesNoFolder) {
  TempDir dir;
  test::WriteText(dir / "a_mem.txt", "MEM$=\"A\"\r\n");
  ConvertSettings settings;
  settings.Create = 2;
  test::FakeHost host;
  ConvertReport report;
  ASSERT_TRUE(ConvertFile(dir / "a_mem.txt", settings, host, report)) << report.Reason;
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"a_mem.txt", "a_mem_MEM.zkp"}));
  EXPECT_EQ(report.Written, std::vector<std::string>{dir / "a_mem_MEM.zkp"});
}

TEST(ConvertFile, CreateOneWritesIntoThePerFileFolder) {
  TempDir dir;
  test::WriteText(dir / "Notes_mem.txt", "MEM$=\"A\"\r\n");
  ConvertSettings settings;
  settings.Create = 1;
  test::FakeHost host;
  ConvertReport report;
  ASSERT_TRUE(ConvertFile(dir / "Notes_mem.txt", settings, host, report)) << report.Reason;
  EXPECT_TRUE(test::Exists(dir / "ZKP/Notes_mem/Notes_mem_MEM.zkp"));
}

}  // namespace
}  // namespace granvel
