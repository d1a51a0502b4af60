// The report box: reports that come while it is open added to it, the details behind "Show details" with
// long lines wrapped, "Open folder" and what it says when no file manager opens the folder, Escape.
#include "shell_win32/report_dialog.h"

#include <gtest/gtest.h>

#include "shell_win32/resource_ids.h"
#include "shell_win32/win32_host.h"
#include "win32_support.h"

namespace granvel::test {
namespace {

// Through the program's host, as the package builder reports a package written: the box waits for the
// user while later reports join it; "Open folder" with no file manager for the folder says so and leaves
// the box open; Escape closes it.
TEST(Win32Report, TakesLaterReportsWrapsLongLinesAndNamesAFolderItCannotOpen) {
  const std::string folder = "C:\\no folder here\\out";
  const std::string path = "C:\\" + std::string(280, 'p') + "\\hero.bmp";
  win32::Win32Host host;
  std::string said;
  bool stayed = false;
  WhenShown("Finished", [&](HWND box) {
    HWND details = GetDlgItem(box, IDC_REPORT_DETAILS);
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(box, IDC_REPORT_OPEN_FOLDER)) &&
                !IsWindowVisible(GetDlgItem(box, IDC_REPORT_SHOW_DETAILS)));
    // Text after a blank line, details after the others, the first folder.
    host.ShowReport({"Error", "Convert failed.\n BGU0", path + ": not a BMP file\n", "D:\\p"});
    host.ShowReport({"Finished", "1 files converted", "a.txt: wrote a_PRG.zkp\n", {}});
    EXPECT_TRUE(WindowsTitled("Finished") == 1 && WindowsTitled("Error") == 0);
    EXPECT_EQ(ItemText(box, IDC_REPORT_TEXT),
              "Conpleted..\nwrote " + folder + "\\ABC.zkp\n\nConvert failed.\n BGU0\n\n1 files converted");
    EXPECT_FALSE(IsWindowVisible(details));
    Click(box, IDC_REPORT_SHOW_DETAILS);
    EXPECT_TRUE(IsWindowVisible(details));
    EXPECT_EQ(ItemText(box, IDC_REPORT_DETAILS), path + ": not a BMP file\r\n\r\na.txt: wrote a_PRG.zkp\r\n");
    // The long line wraps to three lines at least; the blank line, the last and the empty one after it.
    EXPECT_GE(SendMessageW(details, EM_GETLINECOUNT, 0, 0), 6);
    EXPECT_EQ(CutLabels(box), std::vector<std::string>());
    SaveScreenshot(box, "win32_report_long_line");
    WhenShown("Open folder", [&](HWND message) {
      said = ItemText(message, 0xFFFF);  // a message box's text
      SendMessageW(message, WM_COMMAND, IDOK, 0);
    });
    Click(box, IDC_REPORT_OPEN_FOLDER);
    stayed = IsWindowVisible(box);
    // The box's own loop turns the key into its cancel command.
    PostMessageW(GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
  });
  const DialogGuard guard(5000);
  host.ShowReport({"Finished", "Conpleted..\nwrote " + folder + "\\ABC.zkp", {}, folder});
  EXPECT_EQ(said, "No file manager could open the folder " + folder);
  EXPECT_TRUE(stayed);

  // A folder that opens closes the box.
  std::string opened;
  HWND box = win32::ReportDialog::Create(nullptr, {"Finished", "1 files converted", {}, "C:\\out"},
                                         [&](const std::string& where) {
                                           opened = where;
                                           return true;
                                         });
  Click(box, IDC_REPORT_OPEN_FOLDER);
  EXPECT_TRUE(opened == "C:\\out" && !IsWindow(box)) << opened;
}

}  // namespace
}  // namespace granvel::test
