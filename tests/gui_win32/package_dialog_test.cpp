// "ZKPパッケージの作成" on Windows: the 42 rows made from the slot table, a browse that fills a part list,
// the name kept to its package form, Make writing the package and closing, and the dialog fitting 1280 x 720.
#include "shell_win32/package_dialog.h"

#include <gtest/gtest.h>

#include <set>

#include "package/slots.h"
#include "shell_win32/resource_ids.h"
#include "support/bmp_writer.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "win32_support.h"

namespace granvel::test {
namespace {

using win32::PackageDialog;

constexpr int kPrg = 7936;
constexpr int kUpperBgu0 = 4096;
constexpr int kUpperSpu0 = 4352;
constexpr int kIconSpd0 = 4544;

std::vector<std::string> GroupCaptions(HWND dialog) {
  std::vector<std::string> captions;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if ((GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX)
      captions.push_back(Text(child));
  }
  return captions;
}

// A dialog shown with default settings (AutoTrim on: 256-wide blocks of 64 rows), answering from a fake host.
class Win32Package : public testing::Test {
 protected:
  void SetUp() override {
    settings.ToolDir = dir.Path();
    window = dialog.Create(nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOW);
  }

  TempDir dir;
  FakeHost host;
  ConvertSettings settings;
  PackageDialog dialog{settings, &host};
  HWND window = nullptr;
};

TEST_F(Win32Package, MakesARowForEverySlotInItsGroupAndFits1280By720) {
  EXPECT_EQ(Text(window), "ZKP\u30D1\u30C3\u30B1\u30FC\u30B8\u306E\u4F5C\u6210");

  int rows = 0;
  std::set<std::string> groups;
  for (const SlotInfo& slot : PackageSlots()) {
    ++rows;
    groups.insert(slot.Group);
    const int id = slot.SlotId;
    EXPECT_EQ(ItemText(window, id), slot.Label);
    EXPECT_FALSE(Checked(window, id));
    EXPECT_EQ(ItemText(window, id + 1), "");
    EXPECT_FALSE(Enabled(window, id + 1)) << "path fields start disabled";
    EXPECT_EQ(ItemText(window, id + 2), "...");
    EXPECT_EQ(GetDlgItem(window, id + 3) != nullptr, slot.HasPartList) << slot.Label;
    EXPECT_EQ(GetDlgItem(window, id + 4) != nullptr, slot.HasSizeList) << slot.Label;
    if (slot.HasPartList) {
      EXPECT_TRUE(Entries(window, id + 3).empty());
    }
  }
  EXPECT_EQ(rows, 42);
  const std::vector<std::string> sizes{"16x16", "32x16", "16x32", "32x32", "64x32", "32x64", "64x64"};
  EXPECT_EQ(Entries(window, kUpperSpu0 + 4), sizes);
  EXPECT_EQ(Selection(window, kUpperSpu0 + 4), 0);
  EXPECT_EQ(Entries(window, kIconSpd0 + 4), std::vector<std::string>{"32x32"});
  const std::vector<std::string> captions = GroupCaptions(window);
  for (const std::string& group : groups)
    EXPECT_EQ(std::count(captions.begin(), captions.end(), group), 1) << group;
  EXPECT_EQ(ItemText(window, IDC_PACKAGE_NAME_LABEL), "Package name (8 chars)");
  EXPECT_EQ(ItemText(window, IDOK), "Make");
  EXPECT_EQ(ItemText(window, IDCANCEL), "Cancel");

  // The virtual desktop of the tests is 1280 x 720.
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_LE(frame.right - frame.left, 1280);
  EXPECT_LE(frame.bottom - frame.top, 720);
  SaveScreenshot(window, "win32_package_up");
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, 4160))) << "lower BGU0 is on the other page";
  dialog.ShowPage(1);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, 4160)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, kUpperBgu0)));
  SaveScreenshot(window, "win32_package_down");
  DestroyWindow(window);
}

TEST_F(Win32Package, BrowseNameAndMakeFollowTheForm) {
  WriteBytes(dir / "tiles.bmp", MakeBmp(Layout(256, 256, 4, GreyPalette(16))));
  WriteText(dir / "a.txt", "10 END\r\n");
  host.choices = {{dir / "tiles.bmp"}, {dir / "a.txt"}};
  Click(window, kUpperBgu0 + 2);
  EXPECT_TRUE(Checked(window, kUpperBgu0));
  EXPECT_TRUE(Enabled(window, kUpperBgu0 + 1));
  EXPECT_EQ(ItemText(window, kUpperBgu0 + 1), dir / "tiles.bmp");
  EXPECT_EQ(Entries(window, kUpperBgu0 + 3),
            (std::vector<std::string>{"1 of 4", "2 of 4", "3 of 4", "4 of 4"}));
  EXPECT_EQ(Selection(window, kUpperBgu0 + 3), 0);
  Choose(window, kUpperBgu0 + 3, 2);
  EXPECT_EQ(dialog.Form().Form().Slot(kUpperBgu0).PartIndex, 2);

  Click(window, kPrg + 2);
  EXPECT_EQ(ItemText(window, kPrg + 1), dir / "a.txt");
  Type(window, IDC_PACKAGE_NAME, "abc-def");
  EXPECT_EQ(ItemText(window, IDC_PACKAGE_NAME), "abc-def");  // left as typed while typed
  Click(window, kUpperSpu0);  // any other control keeps the name to its package form
  EXPECT_EQ(ItemText(window, IDC_PACKAGE_NAME), "ABC");
  Click(window, kUpperSpu0);
  SaveScreenshot(window, "win32_package_filled");

  host.choices = {{dir / "ABC.zkp"}};
  Click(window, IDOK);
  EXPECT_FALSE(IsWindow(window)) << "the dialog closes once the package is written";
  EXPECT_EQ(host.asked.back().InitialPath, dir / "ABC.zkp");
  const std::vector<std::uint8_t> package = ReadBytes(dir / "ABC.zkp");
  ASSERT_GE(package.size(), 36u);
  EXPECT_EQ(std::string(package.begin(), package.begin() + 4), "PX01");
  // "Finished" names the package and offers its folder.
  ASSERT_FALSE(host.reports.empty());
  const MessageReport& done = host.reports.back();
  EXPECT_EQ(done.Caption + "|" + done.Text + "|" + done.Details + "|" + done.Folder,
            "Finished|Conpleted..\nwrote " + dir / "ABC.zkp" + "||" + dir.Path() + "/");
}

}  // namespace
}  // namespace granvel::test
