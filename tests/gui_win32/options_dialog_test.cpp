// "Option settings" on Windows: every label and tooltip, the settings shown, clicks enabling what the form
// says, "Done" saving exactly the controls and "Cancel" saving nothing.
#include "shell_win32/options_dialog.h"

#include <gtest/gtest.h>

#include <optional>

#include "shell_win32/resource_ids.h"
#include "support/temp_dir.h"
#include "win32_support.h"

namespace granvel::test {
namespace {

using win32::OptionsDialog;
using C = OptionControl;

// Each control's id, its label ("" for the empty folder field) and what its tooltip explains (nothing for
// the group boxes, the palette's label and the two buttons).
struct Control {
  int Id;
  const char* Label;
  std::optional<OptionControl> Tip;
};
// clang-format off
const Control kControls[] = {
    {IDC_SAVE_GROUP, "Save to...", {}}, {IDC_SAME_AS_SOURCE, "Same folder as source", C::SameAsSource},
    {IDC_SAME_AS_TOOL, "Same folder as tool", C::SameAsTool}, {IDC_USER_FOLDER, "", C::UserFolder},
    {IDC_SELECTED_FOLDER, "Selected folder", C::SelectedFolder}, {IDC_SELECT_FOLDER, "Select", C::UserFolder},
    {IDC_MAKE_ZKP_FOLDER, "Make 'ZKP' folder", C::MakeZkpFolder}, {IDC_COMMON_GROUP, "Common settings", {}},
    {IDC_TEXT_OUT, "Make with text file containing DATA commands", C::TextOut},
    {IDC_DATA_HEX, "Output DATA with hex string on GRP resource", C::DataHex},
    {IDC_DATA_DEC, "Output DATA with dec number on GRP resource", C::DataDec},
    {IDC_PNG_IMAGE, "Convert PNG files as images", C::PngImage}, {IDC_PRG_GROUP, "PRG text settings", {}},
    {IDC_PRG_LIMIT, "Make error in line of 100 or more chars string", C::PrgLimit},
    {IDC_PRG_TO_SCR, "Convert SCR at end of file name by '_scr.txt'", C::PrgToScr},
    {IDC_PRG_TO_MEM, "Convert MEM at end of file name by '_mem.txt'", C::PrgToMem},
    {IDC_CHR_GROUP, "CHR resource settings", {}}, {IDC_SPLIT_128, "Split by 128x128 pixels", C::Split128},
    {IDC_KEEP_WIDTH, "Keep width of source image", C::KeepWidth},
    {IDC_SPLIT_256, "Split by 256x 64 pixels", C::Split256},
    {IDC_ONE_BIT_LABEL, "Convert of 1bit ( 2 colors ) BMP file", {}},
    {IDC_PAL_KEEP, "Use Palette 01 ( Keep as source )", C::PaletteKeep},
    {IDC_PAL_15, "Use Palette 15 ( Zorikamu font color )", C::Palette15},
    {IDC_PAL_ASK, "Choose every times", C::PaletteAsk}, {IDC_ZKP_GROUP, "ZKP file settings", {}},
    {IDC_MULTI_BYTE, "Make text at S-JIS char set in program data", C::MultiByte},
    {IDC_ESCAPE, "Escape smaller or bigger code's chars", C::Escape},
    {IDC_MAKE_128, "Make 128x128 pixel images in CHR resource data", C::Make128},
    {IDC_MAKE_256, "Make 256x 64 pixel images in CHR resource data", C::Make256},
    {IDC_UTF8_TEXT, kUtf8TextLabel, C::Utf8Text}, {IDC_SHARE_TILES, kShareTilesLabel, C::ShareTiles},
    {IDOK, "Done", {}}, {IDCANCEL, "Cancel", {}},
};
// clang-format on

// The persisted fields as "Key=value" words.
std::string Persisted(const ConvertSettings& s) {
  std::string words;
  for (const char* key :
       {"Select", "Create", "TextOut", "DATA_Type", "AutoTrim", "WideMode", "Make_Wide", "PRG_Limit",
        "PRG_MultiByte", "PRG_ESCAPE", "PAL_Fix_1bit", "PNG_Image", "UTF8_Text", "Share_Tiles"})
    words += std::string(key) + "=" + std::to_string(*PersistedIntField(s, key)) + " ";
  return words + "User=" + s.User;
}

// The text of control `id`'s tool in the dialog's tooltip window.
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

TEST(Win32Options, ShowsTheSettingsLabelsAndTooltipsAndDoneSavesWhatTheControlsShow) {
  TempDir dir;
  ConvertSettings settings;  // the defaults: DATA text on, DATA_Type -1, WideMode -1, PAL_Fix_1bit -1
  settings.ToolDir = dir.Path();
  settings.PRG_MultiByte = 1;
  settings.UTF8_Text = settings.Share_Tiles = 1;
  const std::string ini = dir / "GRANVEL.ini";
  OptionsDialog cancelled(settings, ini);
  HWND window = cancelled.Create(nullptr);
  Click(window, IDC_SELECTED_FOLDER);
  Click(window, IDCANCEL);
  EXPECT_FALSE(IsWindow(window) || cancelled.Saved() || Exists(ini)) << "Cancel saves nothing";
  OptionsDialog dialog(settings, ini);
  dialog.SetFolderBrowser([&](HWND, const std::string& start) { return start + "/out"; });
  window = dialog.Create(nullptr);
  ASSERT_NE(window, nullptr);
  ShowWindow(window, SW_SHOW);
  EXPECT_EQ(Text(window), "Option settings");
  EXPECT_EQ(CutLabels(window), std::vector<std::string>());
  HWND tooltips = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr);
  while (tooltips && GetWindow(tooltips, GW_OWNER) != window)  // the one the dialog owns
    tooltips = FindWindowExW(nullptr, tooltips, TOOLTIPS_CLASSW, nullptr);
  ASSERT_NE(tooltips, nullptr);
  LRESULT tips = 0;
  for (const auto& [id, label, tip] : kControls) {
    EXPECT_EQ(ItemText(window, id), label) << id;
    tips += tip.has_value() ? 1 : 0;
    if (tip) {
      EXPECT_EQ(TipText(tooltips, window, id), OptionTooltip(*tip)) << id;
    }
  }
  EXPECT_EQ(SendMessageW(tooltips, TTM_GETTOOLCOUNT, 0, 0), tips);
  // Long tooltips wrap within the dialog's width.
  RECT frame;
  GetWindowRect(window, &frame);
  const LRESULT tipWidth = SendMessageW(tooltips, TTM_GETMAXTIPWIDTH, 0, 0);
  EXPECT_TRUE(tipWidth > 0 && tipWidth < frame.right - frame.left) << tipWidth;
  // checked, enabled: the hex and 256 x 64 radios show -1; "Escape" greys under S-JIS text
  // clang-format off
  for (auto [id, checked, enabled] :
       {std::tuple{IDC_SAME_AS_SOURCE, true, true}, {IDC_USER_FOLDER, false, false},
        {IDC_SELECT_FOLDER, false, false}, {IDC_DATA_HEX, true, true}, {IDC_SPLIT_256, true, false},
        {IDC_PAL_ASK, true, true}, {IDC_MAKE_256, true, true}, {IDC_ESCAPE, false, false},
        {IDC_UTF8_TEXT, true, true}, {IDC_SHARE_TILES, true, true}})
    EXPECT_TRUE(Checked(window, id) == checked && Enabled(window, id) == enabled) << id;
  // clang-format on
  SaveScreenshot(window, "win32_options");

  // "Select" starts at the tool's folder while the field is empty; "TextOut" off greys the DATA radios,
  // whose choice is still saved.
  for (int id :
       {IDC_SELECTED_FOLDER, IDC_SELECT_FOLDER, IDC_TEXT_OUT, IDC_KEEP_WIDTH, IDC_SPLIT_128, IDC_MULTI_BYTE,
        IDC_PAL_KEEP, IDC_MAKE_ZKP_FOLDER, IDC_PNG_IMAGE, IDC_UTF8_TEXT, IDC_SHARE_TILES})
    Click(window, id);
  EXPECT_TRUE(!Enabled(window, IDC_DATA_DEC) && Enabled(window, IDC_SPLIT_128) &&
              Enabled(window, IDC_ESCAPE));
  Click(window, IDOK);
  EXPECT_FALSE(IsWindow(window));
  const std::string expected =
      "Select=770 Create=1 TextOut=0 DATA_Type=1 AutoTrim=0 WideMode=0 Make_Wide=1 "
      "PRG_Limit=1 PRG_MultiByte=0 PRG_ESCAPE=0 PAL_Fix_1bit=0 PNG_Image=0 UTF8_Text=0 Share_Tiles=0 User=" +
      dir.Path() + "/out";
  EXPECT_EQ(Persisted(settings), expected);
  EXPECT_EQ(Persisted(LoadSettings(ini, dir.Path())), expected);
}

}  // namespace
}  // namespace granvel::test
