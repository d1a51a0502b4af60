// "Option settings" on Windows: the controls show the settings, clicks enable what the form says, "Done"
// saves exactly the controls and "Cancel" saves nothing.
#include "shell_win32/options_dialog.h"

#include <gtest/gtest.h>

#include "shell_win32/resource_ids.h"
#include "support/temp_dir.h"
#include "win32_support.h"

namespace granvel::test {
namespace {

using win32::OptionsDialog;

struct Labelled {
  int Id;
  const char* Label;
};

// Every control's label as the dialog shows it.
const Labelled kLabels[] = {
    {IDC_SAVE_GROUP, "Save to..."},
    {IDC_SAME_AS_SOURCE, "Same folder as source"},
    {IDC_SAME_AS_TOOL, "Same folder as tool"},
    {IDC_SELECTED_FOLDER, "Selected folder"},
    {IDC_SELECT_FOLDER, "Select"},
    {IDC_MAKE_ZKP_FOLDER, "Make 'ZKP' folder"},
    {IDC_COMMON_GROUP, "Common settings"},
    {IDC_TEXT_OUT, "Make with text file containing DATA commands"},
    {IDC_DATA_HEX, "Output DATA with hex string on GRP resource"},
    {IDC_DATA_DEC, "Output DATA with dec number on GRP resource"},
    {IDC_PNG_IMAGE, "Convert PNG files as images"},
    {IDC_PRG_GROUP, "PRG text settings"},
    {IDC_PRG_LIMIT, "Make error in line of 100 or more chars string"},
    {IDC_PRG_TO_SCR, "Convert SCR at end of file name by '_scr.txt'"},
    {IDC_PRG_TO_MEM, "Convert MEM at end of file name by '_mem.txt'"},
    {IDC_CHR_GROUP, "CHR resource settings"},
    {IDC_KEEP_WIDTH, "Keep width of source image"},
    {IDC_SPLIT_128, "Split by 128x128 pixels"},
    {IDC_SPLIT_256, "Split by 256x 64 pixels"},
    {IDC_ONE_BIT_LABEL, "Convert of 1bit ( 2 colors ) BMP file"},
    {IDC_PAL_KEEP, "Use Palette 01 ( Keep as source )"},
    {IDC_PAL_15, "Use Palette 15 ( Zorikamu font color )"},
    {IDC_PAL_ASK, "Choose every times"},
    {IDC_ZKP_GROUP, "ZKP file settings"},
    {IDC_MULTI_BYTE, "Make text at S-JIS char set in program data"},
    {IDC_ESCAPE, "Escape smaller or bigger code's chars"},
    {IDC_MAKE_128, "Make 128x128 pixel images in CHR resource data"},
    {IDC_MAKE_256, "Make 256x 64 pixel images in CHR resource data"},
    {IDOK, "Done"},
    {IDCANCEL, "Cancel"},
};

TEST(Win32Options, ShowsTheSettingsAndEnablesAsTheFormSays) {
  TempDir dir;
  ConvertSettings settings;  // the defaults: DATA text on, WideMode -1, PAL_Fix_1bit -1
  settings.ToolDir = dir.Path();
  settings.PRG_MultiByte = 1;
  OptionsDialog dialog(settings, dir / "GRANVEL.ini");
  HWND window = dialog.Create(nullptr);
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  EXPECT_EQ(Text(window), "Option settings");
  for (const Labelled& control : kLabels)
    EXPECT_EQ(ItemText(window, control.Id), control.Label) << control.Id;

  EXPECT_TRUE(Checked(window, IDC_SAME_AS_SOURCE));
  EXPECT_FALSE(Enabled(window, IDC_USER_FOLDER));
  EXPECT_FALSE(Enabled(window, IDC_SELECT_FOLDER));
  EXPECT_TRUE(Checked(window, IDC_TEXT_OUT));
  EXPECT_TRUE(Enabled(window, IDC_DATA_HEX));
  EXPECT_TRUE(Checked(window, IDC_DATA_HEX));  // DATA_Type -1 is "hex"
  EXPECT_FALSE(Checked(window, IDC_KEEP_WIDTH));
  EXPECT_FALSE(Enabled(window, IDC_SPLIT_256));
  EXPECT_TRUE(Checked(window, IDC_SPLIT_256));  // WideMode -1 shows as 256 x 64
  EXPECT_TRUE(Checked(window, IDC_PAL_ASK));
  EXPECT_FALSE(Enabled(window, IDC_ESCAPE));  // greyed while S-JIS text is ticked
  SaveScreenshot(window, "win32_options");

  Click(window, IDC_SELECTED_FOLDER);
  EXPECT_TRUE(Enabled(window, IDC_USER_FOLDER));
  EXPECT_TRUE(Enabled(window, IDC_SELECT_FOLDER));
  EXPECT_FALSE(Checked(window, IDC_SAME_AS_SOURCE));
  Click(window, IDC_SAME_AS_TOOL);
  EXPECT_FALSE(Enabled(window, IDC_USER_FOLDER));
  Click(window, IDC_TEXT_OUT);
  EXPECT_FALSE(Enabled(window, IDC_DATA_DEC));
  Click(window, IDC_KEEP_WIDTH);
  EXPECT_TRUE(Enabled(window, IDC_SPLIT_128));
  Click(window, IDC_MULTI_BYTE);
  EXPECT_TRUE(Enabled(window, IDC_ESCAPE));
  Click(window, IDC_PAL_15);
  EXPECT_FALSE(Checked(window, IDC_PAL_ASK));
  DestroyWindow(window);
}

TEST(Win32Options, DoneSavesTheControlsAndCancelSavesNothing) {
  TempDir dir;
  ConvertSettings settings;
  settings.ToolDir = dir.Path();
  const std::string ini = dir / "GRANVEL.ini";
  {
    OptionsDialog dialog(settings, ini);
    HWND window = dialog.Create(nullptr);
    Click(window, IDC_SELECTED_FOLDER);
    Click(window, IDC_TEXT_OUT);  // off; the hex radio stays checked and is saved so
    Click(window, IDCANCEL);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(dialog.Saved());
    EXPECT_FALSE(Exists(ini));
    EXPECT_EQ(settings.Select, kSelectSourceFolder);
  }
  OptionsDialog dialog(settings, ini);
  dialog.SetFolderBrowser([&](HWND, const std::string& start) {
    EXPECT_EQ(start, dir.Path());  // an empty folder field starts at the tool's folder
    return dir / "out";
  });
  HWND window = dialog.Create(nullptr);
  Click(window, IDC_SELECTED_FOLDER);
  Click(window, IDC_SELECT_FOLDER);
  EXPECT_EQ(ItemText(window, IDC_USER_FOLDER), dir / "out");
  Click(window, IDC_TEXT_OUT);
  Click(window, IDC_KEEP_WIDTH);
  Click(window, IDC_SPLIT_128);
  Click(window, IDC_PAL_KEEP);
  Click(window, IDC_MAKE_ZKP_FOLDER);
  Click(window, IDC_PNG_IMAGE);
  Click(window, IDOK);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(dialog.Saved());
  const ConvertSettings saved = LoadSettings(ini, dir.Path());
  EXPECT_EQ(saved.Select, kSelectUserFolder);
  EXPECT_EQ(saved.User, dir / "out");
  EXPECT_EQ(saved.Create, 1);
  EXPECT_EQ(saved.TextOut, 0);
  EXPECT_EQ(saved.DATA_Type, 1);
  EXPECT_EQ(saved.AutoTrim, 0);
  EXPECT_EQ(saved.WideMode, 0);
  EXPECT_EQ(saved.Make_Wide, 1);
  EXPECT_EQ(saved.PAL_Fix_1bit, 0);
  EXPECT_EQ(saved.PNG_Image, 1);
  EXPECT_EQ(settings.Select, kSelectUserFolder);  // the running program's settings too
}

}  // namespace
}  // namespace granvel::test
