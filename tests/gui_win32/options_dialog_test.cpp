// "Option settings" on Windows: every label, the settings shown, clicks enabling what the form says, "Done"
// saving exactly the controls and "Cancel" saving nothing, and each control's tooltip.
#include "shell_win32/options_dialog.h"

#include <gtest/gtest.h>

#include "shell_win32/resource_ids.h"
#include "support/temp_dir.h"
#include "win32_support.h"

namespace granvel::test {
namespace {

using win32::OptionsDialog;

// clang-format off
const struct { int Id; const char* Label; } kLabels[] = {
    {IDC_SAVE_GROUP, "Save to..."}, {IDC_SAME_AS_SOURCE, "Same folder as source"},
    {IDC_SAME_AS_TOOL, "Same folder as tool"}, {IDC_SELECTED_FOLDER, "Selected folder"},
    {IDC_SELECT_FOLDER, "Select"}, {IDC_MAKE_ZKP_FOLDER, "Make 'ZKP' folder"},
    {IDC_COMMON_GROUP, "Common settings"}, {IDC_TEXT_OUT, "Make with text file containing DATA commands"},
    {IDC_DATA_HEX, "Output DATA with hex string on GRP resource"},
    {IDC_DATA_DEC, "Output DATA with dec number on GRP resource"},
    {IDC_PNG_IMAGE, "Convert PNG files as images"}, {IDC_PRG_GROUP, "PRG text settings"},
    {IDC_PRG_LIMIT, "Make error in line of 100 or more chars string"},
    {IDC_PRG_TO_SCR, "Convert SCR at end of file name by '_scr.txt'"},
    {IDC_PRG_TO_MEM, "Convert MEM at end of file name by '_mem.txt'"},
    {IDC_CHR_GROUP, "CHR resource settings"}, {IDC_KEEP_WIDTH, "Keep width of source image"},
    {IDC_SPLIT_128, "Split by 128x128 pixels"}, {IDC_SPLIT_256, "Split by 256x 64 pixels"},
    {IDC_ONE_BIT_LABEL, "Convert of 1bit ( 2 colors ) BMP file"},
    {IDC_PAL_KEEP, "Use Palette 01 ( Keep as source )"}, {IDC_PAL_15, "Use Palette 15 ( Zorikamu font color )"},
    {IDC_PAL_ASK, "Choose every times"}, {IDC_ZKP_GROUP, "ZKP file settings"},
    {IDC_MULTI_BYTE, "Make text at S-JIS char set in program data"},
    {IDC_ESCAPE, "Escape smaller or bigger code's chars"},
    {IDC_MAKE_128, "Make 128x128 pixel images in CHR resource data"},
    {IDC_MAKE_256, "Make 256x 64 pixel images in CHR resource data"}, {IDC_UTF8_TEXT, kUtf8TextLabel},
    {IDOK, "Done"}, {IDCANCEL, "Cancel"},
};
// clang-format on

// The persisted fields as "Key=value" words.
std::string Persisted(const ConvertSettings& s) {
  std::string words;
  for (const char* key :
       {"Select", "Create", "TextOut", "DATA_Type", "AutoTrim", "WideMode", "Make_Wide", "PRG_Limit",
        "PRG_MultiByte", "PRG_ESCAPE", "PAL_Fix_1bit", "PNG_Image", "UTF8_Text"})
    words += std::string(key) + "=" + std::to_string(*PersistedIntField(s, key)) + " ";
  return words + "User=" + s.User;
}

TEST(Win32Options, ShowsTheSettingsAndDoneSavesWhatTheControlsShow) {
  TempDir dir;
  ConvertSettings settings;  // the defaults: DATA text on, DATA_Type -1, WideMode -1, PAL_Fix_1bit -1
  settings.ToolDir = dir.Path();
  settings.PRG_MultiByte = 1;
  settings.UTF8_Text = 1;
  const std::string ini = dir / "GRANVEL.ini";
  {
    OptionsDialog dialog(settings, ini);
    HWND window = dialog.Create(nullptr);
    Click(window, IDC_SELECTED_FOLDER);
    Click(window, IDCANCEL);
    EXPECT_FALSE(IsWindow(window) || dialog.Saved() || Exists(ini));
  }
  OptionsDialog dialog(settings, ini);
  dialog.SetFolderBrowser([&](HWND, const std::string& start) { return start + "/out"; });
  HWND window = dialog.Create(nullptr);
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  EXPECT_EQ(Text(window), "Option settings");
  for (const auto& control : kLabels)
    EXPECT_EQ(ItemText(window, control.Id), control.Label) << control.Id;
  // checked, enabled: the hex and 256 x 64 radios show -1; "Escape" greys under S-JIS text
  for (auto [id, checked, enabled] : {std::tuple{IDC_SAME_AS_SOURCE, true, true},
                                      {IDC_USER_FOLDER, false, false},
                                      {IDC_SELECT_FOLDER, false, false},
                                      {IDC_DATA_HEX, true, true},
                                      {IDC_SPLIT_256, true, false},
                                      {IDC_PAL_ASK, true, true},
                                      {IDC_MAKE_256, true, true},
                                      {IDC_ESCAPE, false, false},
                                      {IDC_UTF8_TEXT, true, true}})
    EXPECT_TRUE(Checked(window, id) == checked && Enabled(window, id) == enabled) << id;
  SaveScreenshot(window, "win32_options");

  Click(window, IDC_SELECTED_FOLDER);
  Click(window, IDC_SELECT_FOLDER);  // starts at the tool's folder while the field is empty
  Click(window, IDC_TEXT_OUT);       // off: the DATA radios grey, their choice is still saved
  Click(window, IDC_KEEP_WIDTH);
  Click(window, IDC_SPLIT_128);
  Click(window, IDC_MULTI_BYTE);
  Click(window, IDC_PAL_KEEP);
  Click(window, IDC_MAKE_ZKP_FOLDER);
  Click(window, IDC_PNG_IMAGE);
  Click(window, IDC_UTF8_TEXT);
  EXPECT_TRUE(!Enabled(window, IDC_DATA_DEC) && Enabled(window, IDC_SPLIT_128) &&
              Enabled(window, IDC_ESCAPE));
  Click(window, IDOK);
  EXPECT_FALSE(IsWindow(window));
  const std::string expected =
      "Select=770 Create=1 TextOut=0 DATA_Type=1 AutoTrim=0 WideMode=0 Make_Wide=1 "
      "PRG_Limit=1 PRG_MultiByte=0 PRG_ESCAPE=0 PAL_Fix_1bit=0 PNG_Image=0 UTF8_Text=0 User=" +
      dir.Path() + "/out";
  EXPECT_EQ(Persisted(settings), expected);
  EXPECT_EQ(Persisted(LoadSettings(ini, dir.Path())), expected);
}

// The text of the tool for control `id` in a dialog's tooltip window.
std::string TipText(HWND tooltips, HWND dialog, int id) {
  wchar_t text[1024] = {};
  TTTOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.hwnd = dialog;
  tool.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, id));
  tool.lpszText = text;
  SendMessageW(tooltips, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
  return win32::Narrow(text);
}

TEST(Win32Options, EveryControlHasItsTooltip) {
  using C = OptionControl;
  // clang-format off
  const std::pair<int, OptionControl> kTips[] = {
      {IDC_SAME_AS_SOURCE, C::SameAsSource}, {IDC_SAME_AS_TOOL, C::SameAsTool},
      {IDC_SELECTED_FOLDER, C::SelectedFolder}, {IDC_USER_FOLDER, C::UserFolder},
      {IDC_SELECT_FOLDER, C::UserFolder}, {IDC_MAKE_ZKP_FOLDER, C::MakeZkpFolder}, {IDC_TEXT_OUT, C::TextOut},
      {IDC_DATA_HEX, C::DataHex}, {IDC_DATA_DEC, C::DataDec}, {IDC_PNG_IMAGE, C::PngImage},
      {IDC_PRG_LIMIT, C::PrgLimit}, {IDC_PRG_TO_SCR, C::PrgToScr}, {IDC_PRG_TO_MEM, C::PrgToMem},
      {IDC_KEEP_WIDTH, C::KeepWidth}, {IDC_SPLIT_128, C::Split128}, {IDC_SPLIT_256, C::Split256},
      {IDC_PAL_KEEP, C::PaletteKeep}, {IDC_PAL_15, C::Palette15}, {IDC_PAL_ASK, C::PaletteAsk},
      {IDC_MULTI_BYTE, C::MultiByte}, {IDC_ESCAPE, C::Escape}, {IDC_MAKE_128, C::Make128},
      {IDC_MAKE_256, C::Make256}, {IDC_UTF8_TEXT, C::Utf8Text},
  };
  // clang-format on
  TempDir dir;
  ConvertSettings settings;
  OptionsDialog dialog(settings, dir / "GRANVEL.ini");
  HWND window = dialog.Create(nullptr);
  HWND tooltips = nullptr;  // the one the dialog owns
  while ((tooltips = FindWindowExW(nullptr, tooltips, TOOLTIPS_CLASSW, nullptr)) &&
         GetWindow(tooltips, GW_OWNER) != window) {
  }
  ASSERT_NE(tooltips, nullptr);
  EXPECT_EQ(SendMessageW(tooltips, TTM_GETTOOLCOUNT, 0, 0), std::size(kTips));
  for (const auto& [id, control] : kTips)
    EXPECT_EQ(TipText(tooltips, window, id), OptionTooltip(control)) << id;
  // Long texts wrap within the dialog's width.
  RECT frame;
  GetWindowRect(window, &frame);
  const LRESULT tipWidth = SendMessageW(tooltips, TTM_GETMAXTIPWIDTH, 0, 0);
  EXPECT_TRUE(tipWidth > 0 && tipWidth < frame.right - frame.left) << tipWidth;
  DestroyWindow(window);
}

}  // namespace
}  // namespace granvel::test
