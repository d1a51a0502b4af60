// "ZKPパッケージの作成" on Windows: the 42 rows made from the slot table in their groups on two pages, the
// dialog fitting 1280 x 720, a browse that fills a part list and opens the next file dialog in its folder,
// "Fill from screen..." filling the lower screen's rows, the name kept to its package form, and Make writing
// the package and closing.
#include "shell_win32/package_dialog.h"

#include <gtest/gtest.h>

#include "format/container.h"
#include "package/slots.h"
#include "shell_win32/resource_ids.h"
#include "support/bmp_writer.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "win32_support.h"

namespace granvel::test {
namespace {

constexpr int kPrg = 7936;
constexpr int kUpperBgu0 = 4096;
constexpr int kLowerBgu0 = 4160;

TEST(Win32Package, ShowsEverySlotAndBrowsesNamesAndMakesThePackage) {
  TempDir dir;
  FakeHost host;
  ConvertSettings settings;  // AutoTrim on: images in 256-wide blocks of 64 rows
  settings.ToolDir = dir.Path();
  std::string lastFolder;
  win32::PackageDialog dialog(settings, &host, &lastFolder);
  HWND window = dialog.Create(nullptr);
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  EXPECT_EQ(Text(window), kPackageDialogTitle);
  EXPECT_EQ(ItemText(window, IDC_PACKAGE_NAME_LABEL) + "|" + ItemText(window, IDOK) + "|" +
                ItemText(window, IDCANCEL),
            "Package name (8 chars)|Make|Cancel");
  // Each row: its check box, a path field greyed until the slot is used, "...", and the lists it has.
  for (const SlotInfo& slot : PackageSlots()) {
    const int id = slot.SlotId;
    EXPECT_EQ(ItemText(window, id) + "|" + ItemText(window, id + 2), std::string(slot.Label) + "|...");
    EXPECT_FALSE(Enabled(window, id + 1)) << slot.Label;
    EXPECT_EQ(GetDlgItem(window, id + 3) != nullptr, slot.HasPartList) << slot.Label;
    EXPECT_EQ(GetDlgItem(window, id + 4) != nullptr, slot.HasSizeList) << slot.Label;
    if (slot.HasSizeList) {
      EXPECT_EQ(Entries(window, id + 4), PackageDialogForm::SizeEntries(slot)) << slot.Label;
    }
    EXPECT_NE(FindWindowExW(window, nullptr, L"Button", win32::Widen(slot.Group).c_str()), nullptr)
        << "no group box " << slot.Group;
  }
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_TRUE(frame.right - frame.left <= 1280 && frame.bottom - frame.top <= 720) << "fits the desktop";
  EXPECT_EQ(CutLabels(window), std::vector<std::string>());
  SaveScreenshot(window, "win32_package_up");
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, kLowerBgu0))) << "lower BGU0 is on the other page";
  dialog.ShowPage(1);
  EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, kLowerBgu0)) &&
              !IsWindowVisible(GetDlgItem(window, kUpperBgu0)));
  EXPECT_EQ(CutLabels(window), std::vector<std::string>());
  SaveScreenshot(window, "win32_package_down");
  dialog.ShowPage(0);

  // A browse fills the row and its part list; the next file dialog opens in the folder of the last file.
  WriteBytes(dir / "tiles.bmp", MakeBmp(Layout(256, 256, 4, GreyPalette(16))));
  WriteText(dir / "a.txt", "10 END\r\n");
  host.choices = {{dir / "tiles.bmp"}, {dir / "a.txt"}};
  Click(window, kUpperBgu0 + 2);
  EXPECT_TRUE(Checked(window, kUpperBgu0) && Enabled(window, kUpperBgu0 + 1));
  EXPECT_EQ(ItemText(window, kUpperBgu0 + 1), dir / "tiles.bmp");
  EXPECT_EQ(Entries(window, kUpperBgu0 + 3),
            (std::vector<std::string>{"1 of 4", "2 of 4", "3 of 4", "4 of 4"}));
  EXPECT_EQ(SendDlgItemMessageW(window, kUpperBgu0 + 3, CB_GETCURSEL, 0, 0), 0);
  Click(window, kPrg + 2);
  EXPECT_TRUE(host.asked.at(1).Title == "Choose a file for PRG" &&
              host.asked[1].InitialPath == dir.Path() + "/")
      << host.asked[1].Title << " in " << host.asked[1].InitialPath;
  EXPECT_EQ(ItemText(window, kPrg + 1), dir / "a.txt");
  // "Fill from screen..." of the lower screen: its SCU0, BGU0 and COL0 from a map and the files beside it.
  for (const auto& [name, tag, size, type] :
       {std::tuple{"title_SCR.zkp", kTagScr, kScrPayloadSize, ResourceType::Scr},
        {"title_CHR0.zkp", kTagChr, kChrPayloadSize, ResourceType::Chr},
        {"title_COL.zkp", kTagCol, kColPayloadSize, ResourceType::Col}})
    WriteBytes(dir / name, BuildZkpContainer(NewPayload(tag, size), type, "TITLE"));
  host.choices = {{dir / "title_SCR.zkp"}};
  Click(window, IDC_FILL_FROM_SCREEN_DOWN);
  EXPECT_EQ(host.messages.back().text,
            "Filled SCU0, BGU0, COL0 (Down screen) from title_SCR.zkp, title_CHR0.zkp, title_COL.zkp");
  for (const auto& [slot, file] :
       {std::pair{4288, "title_SCR.zkp"}, {kLowerBgu0, "title_CHR0.zkp"}, {7216, "title_COL.zkp"}})
    EXPECT_TRUE(Checked(window, slot) && ItemText(window, slot + 1) == dir / file) << file;
  dialog.ShowPage(1);
  SaveScreenshot(window, "win32_package_filled_from_screen");
  dialog.ShowPage(0);
  // The name is left as typed while typed; choosing a part (any other control) keeps it to its package form.
  HWND name = GetDlgItem(window, IDC_PACKAGE_NAME);
  SetFocus(name);
  SetWindowTextW(name, L"abc-def");  // the dialog sees EN_CHANGE
  EXPECT_EQ(ItemText(window, IDC_PACKAGE_NAME), "abc-def");
  Choose(window, kUpperBgu0 + 3, 2);
  EXPECT_EQ(dialog.Form().Form().Slot(kUpperBgu0).PartIndex, 2);
  EXPECT_EQ(ItemText(window, IDC_PACKAGE_NAME), "ABC");
  SaveScreenshot(window, "win32_package_filled");

  host.choices = {{dir / "ABC.zkp"}};
  Click(window, IDOK);
  EXPECT_FALSE(IsWindow(window)) << "the dialog closes once the package is written";
  EXPECT_EQ(ReadText(dir / "ABC.zkp").substr(0, 4), "PX01");
  ASSERT_EQ(host.reports.size(), 1u);
  EXPECT_EQ(host.reports[0].Caption + "|" + host.reports[0].Text,
            "Finished|Conpleted..\nwrote " + dir / "ABC.zkp");
}

}  // namespace
}  // namespace granvel::test
