// The report box: its text, the details behind "Show details", and "Open folder".
#include "shell_win32/report_dialog.h"

#include <gtest/gtest.h>

#include "shell_win32/resource_ids.h"
#include "win32_support.h"

namespace granvel::test {
namespace {

TEST(Win32Report, ShowsTextDetailsAndOpensTheFolder) {
  std::string opened;
  const MessageReport report{"Finished", "3 files converted\nSuccessed\uFF1A2\nFailured\uFF1A1",
                             "Hero.bmp: wrote Hero_COL.zkp, Hero_CHR.zkp\nbroken.zkp: failed: too short\n",
                             "C:\\work\\out"};
  HWND box =
      win32::ReportDialog::Create(nullptr, report, [&](const std::string& folder) { opened = folder; });
  ASSERT_NE(box, nullptr);
  ShowWindow(box, SW_SHOW);
  EXPECT_EQ(Text(box), "Finished");
  EXPECT_EQ(ItemText(box, IDC_REPORT_TEXT), report.Text);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(box, IDC_REPORT_DETAILS)));
  Click(box, IDC_REPORT_SHOW_DETAILS);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(box, IDC_REPORT_DETAILS)));
  EXPECT_EQ(ItemText(box, IDC_REPORT_DETAILS),
            "Hero.bmp: wrote Hero_COL.zkp, Hero_CHR.zkp\r\nbroken.zkp: failed: too short\r\n");
  SaveScreenshot(box, "win32_report_details");
  Click(box, IDC_REPORT_OPEN_FOLDER);
  EXPECT_EQ(opened, "C:\\work\\out");
  EXPECT_FALSE(IsWindow(box));

  // Without details or a folder, neither button shows.
  box = win32::ReportDialog::Create(nullptr, {"Error", "Image size unmatched.", {}, {}}, {});
  ShowWindow(box, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(box, IDOK)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(box, IDC_REPORT_SHOW_DETAILS)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(box, IDC_REPORT_OPEN_FOLDER)));
  DestroyWindow(box);
}

}  // namespace
}  // namespace granvel::test
