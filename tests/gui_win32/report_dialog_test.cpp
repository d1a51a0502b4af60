// The report box: its text, the details behind "Show details" with long lines wrapped, "Open folder" and
// what it says when no file manager opens the folder, and a report that comes while the box is open.
#include "shell_win32/report_dialog.h"

#include <gtest/gtest.h>

#include "shell_win32/resource_ids.h"
#include "shell_win32/win32_host.h"
#include "win32_support.h"

namespace granvel::test {
namespace {

TEST(Win32Report, ShowsTextDetailsAndOpensTheFolder) {
  std::string opened;
  const MessageReport report{"Finished", "3 files converted\nSuccessed\uFF1A2\nFailured\uFF1A1",
                             "Hero.bmp: wrote Hero_COL.zkp, Hero_CHR.zkp\nbroken.zkp: failed: too short\n",
                             "C:\\work\\out"};
  HWND box = win32::ReportDialog::Create(nullptr, report, [&](const std::string& folder) {
    opened = folder;
    return true;
  });
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

TEST(Win32Report, LongLinesWrapAndLaterReportsJoinTheOpenBox) {
  const std::string path = "C:\\" + std::string(280, 'p') + "\\hero.bmp";
  std::string opened;
  HWND box = win32::ReportDialog::Create(nullptr,
                                         {"Error", "Convert failed.\n BGU0", path + ": not a BMP file\n", {}},
                                         [&](const std::string& folder) {
                                           opened = folder;
                                           return true;
                                         });
  ShowWindow(box, SW_SHOW);
  Click(box, IDC_REPORT_SHOW_DETAILS);
  // The line is as many lines as its width takes of the field's, and one more for the line end.
  HWND details = GetDlgItem(box, IDC_REPORT_DETAILS);
  HDC dc = GetDC(details);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(details, WM_GETFONT, 0, 0)));
  SIZE line;
  const std::wstring wide = win32::Widen(path + ": not a BMP file");
  GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &line);
  SelectObject(dc, old);
  ReleaseDC(details, dc);
  RECT field;
  SendMessageW(details, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&field));
  const LRESULT wrapped = (line.cx + field.right - field.left - 1) / (field.right - field.left);
  EXPECT_GE(wrapped, 3);
  EXPECT_GE(SendMessageW(details, EM_GETLINECOUNT, 0, 0), wrapped + 1);
  SaveScreenshot(box, "win32_report_long_line");

  // Later reports go into this box: text after a blank line, details after the others, the first folder.
  win32::Win32Host host;
  const DialogGuard guard(5000);
  host.ShowReport({"Finished", "1 files converted", "a.txt: wrote a_PRG.zkp\n", "C:\\out"});
  host.ShowReport({"Finished", "Conpleted..\nwrote D:\\p\\P.zkp", {}, "D:\\p"});
  EXPECT_EQ(WindowsTitled("Error"), 1);
  EXPECT_EQ(WindowsTitled("Finished"), 0);
  EXPECT_EQ(ItemText(box, IDC_REPORT_TEXT),
            "Convert failed.\n BGU0\n\n1 files converted\n\nConpleted..\nwrote D:\\p\\P.zkp");
  EXPECT_EQ(ItemText(box, IDC_REPORT_DETAILS), path + ": not a BMP file\r\n\r\na.txt: wrote a_PRG.zkp\r\n");
  Click(box, IDC_REPORT_OPEN_FOLDER);
  EXPECT_EQ(opened, "C:\\out");
}

// Through the program's host, as the package builder reports a package written: the box waits for the
// user; "Open folder" with no file manager for the folder says so and leaves the box open.
TEST(Win32Report, OpenFolderThatFailsNamesTheFolder) {
  const std::string folder = "C:\\no folder here\\out";
  std::string said;
  bool stayed = false;
  WhenShown("Finished", [&](HWND box) {
    EXPECT_EQ(ItemText(box, IDC_REPORT_TEXT), "Conpleted..\nwrote " + folder + "\\ABC.zkp");
    WhenShown("Open folder", [&](HWND message) {
      said = ItemText(message, 0xFFFF);  // a message box's text
      SendMessageW(message, WM_COMMAND, IDOK, 0);
    });
    Click(box, IDC_REPORT_OPEN_FOLDER);
    stayed = IsWindowVisible(box);
    // Escape closes it, as the box's own loop turns the key into its cancel command.
    PostMessageW(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  win32::Win32Host host;
  const DialogGuard guard(5000);
  host.ShowReport({"Finished", "Conpleted..\nwrote " + folder + "\\ABC.zkp", {}, folder});
  EXPECT_EQ(said, "No file manager could open the folder " + folder);
  EXPECT_TRUE(stayed);
}

}  // namespace
}  // namespace granvel::test
