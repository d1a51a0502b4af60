// A run of files: every file tried in order, the summary and its details, and settings refused before any
// file.
#include "batch/dispatch.h"

#include <gtest/gtest.h>

#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

TEST(ConvertFileList, SummarisesFailuresNotesAndFilesAndRefusesBadRunSettingsFirst) {
  test::TempDir dir;
  test::WriteText(dir / "a_mem.txt", "MEM$=\"A\"\r\n");
  test::WriteText(dir / "b_mem.txt", "no assignment");
  test::WriteText(dir / "c.png", "carried");
  ConvertSettings settings;
  settings.PNG_Image = 0;
  settings.TextOut = 0;
  test::FakeHost host;
  const BatchResult result =
      ConvertFileList({dir / "a_mem.txt", dir / "b_mem.txt", dir / "c.png"}, settings, host);
  EXPECT_EQ(std::vector<int>({result.Seen, result.Converted, result.Failed, result.PngCarried}),
            std::vector<int>({3, 2, 1, 1}));
  ASSERT_EQ(host.reports.size(), 1u);
  const MessageReport& summary = host.reports[0];
  EXPECT_EQ(summary.Caption, "Finished");
  EXPECT_EQ(summary.Text,
            "3 files converted\nSuccessed\xEF\xBC\x9A"
            "2\nFailured\xEF\xBC\x9A"
            "1\n\n1 .png file was carried as data, "
            "not as a picture: tick \"Convert PNG files as images\" in Options (PNG_Image=1)");
  // Failures, then notes, then every file written; the folder of the first.
  EXPECT_EQ(summary.Details,
            dir / "b_mem.txt: no MEM$ = \" assignment with text after its quote\n" +
                dir /
                    "c.png: note: carried as binary data, not as a picture: tick \"Convert PNG files "
                    "as images\" in Options (PNG_Image=1)\nwrote " +
                dir / "a_mem_MEM.zkp\nwrote " + dir / "c_BIN.zkp");
  EXPECT_EQ(summary.Folder, dir.Path() + "/");

  settings.TransparentColour = "red";
  const BatchResult refused = ConvertFileList({dir / "a_mem.txt"}, settings, host);
  EXPECT_EQ(refused.Seen + refused.Converted, 0);
  EXPECT_EQ(host.messages.back().caption + "|" + host.messages.back().text,
            "Error|TransparentColour \"red\" is not a colour RRGGBB\nNo file was converted.");
}

}  // namespace
}  // namespace granvel
