// The "Option settings" rules: how a record shows, what "Done" writes back, what enables what.
#include "forms/options_form.h"

#include "forms/main_window_form.h"

#include <gtest/gtest.h>

#include <array>

namespace granvel {
namespace {

const char* const kFields[] = {"Select",       "Create",     "TextOut",       "DATA_Type",
                               "AutoTrim",     "WideMode",   "Make_Wide",     "PRG_Limit",
                               "PRG_To_SCR",   "PRG_To_MEM", "PRG_MultiByte", "PRG_ESCAPE",
                               "PAL_Fix_1bit", "PNG_Image",  "UTF8_Text",     "Share_Tiles"};

// `key` = `stored` on a record of every flag on and the tool folder, shown in a form and written back: the
// record then holds `saved` in `key` and is otherwise unchanged. Returns the form.
OptionsForm RoundTrip(const char* key, int stored, int saved) {
  ConvertSettings settings, expected;
  for (const char* f : kFields)
    *PersistedIntField(settings, f) = *PersistedIntField(expected, f) = 1;
  settings.Select = expected.Select = kSelectToolFolder;
  settings.User = expected.User = "/out";
  *PersistedIntField(settings, key) = stored;
  *PersistedIntField(expected, key) = saved;
  const OptionsForm form = OptionsForm::From(settings);
  ConvertSettings written;  // every field "Done" writes is written, whatever it held
  for (const char* f : kFields)
    *PersistedIntField(written, f) = 7;
  form.ApplyTo(written);
  for (const char* f : kFields)
    EXPECT_EQ(*PersistedIntField(written, f), *PersistedIntField(expected, f)) << key << stored << f;
  EXPECT_EQ(written.User, "/out");
  return form;
}

using F = OptionsForm;

// clang-format off
TEST(OptionsForm, TickBoxesAndTwoWayRadiosShowAnyNonZeroAsOnAndSaveOneOrZero) {
  const struct { const char* key; int stored; bool F::*control; bool ticked; int saved; } rows[] = {
      {"Create", 0, &F::MakeZkpFolder, false, 0},  {"Create", 2, &F::MakeZkpFolder, true, 1},
      {"TextOut", 0, &F::TextOut, false, 0},       {"DATA_Type", 0, &F::DataHex, false, 0},
      {"DATA_Type", -1, &F::DataHex, true, 1},     {"PRG_Limit", 0, &F::PrgLimit, false, 0},
      {"PRG_To_SCR", 0, &F::PrgToScr, false, 0},   {"PRG_To_MEM", 0, &F::PrgToMem, false, 0},
      {"AutoTrim", 0, &F::KeepWidth, true, 0},     {"AutoTrim", 5, &F::KeepWidth, false, 1},
      {"WideMode", 0, &F::Split256, false, 0},     {"WideMode", -1, &F::Split256, true, 1},
      {"Make_Wide", 0, &F::Make256, false, 0},     {"Make_Wide", -1, &F::Make256, true, 1},
      {"PRG_MultiByte", 0, &F::MultiByte, false, 0}, {"PRG_ESCAPE", 0, &F::Escape, false, 0},
      {"PRG_ESCAPE", 1, &F::Escape, true, 1},  // greyed by the multi-byte text, and still saved
      {"PNG_Image", 0, &F::PngImage, false, 0},    {"PNG_Image", 3, &F::PngImage, true, 1},
      {"UTF8_Text", 0, &F::Utf8Text, false, 0},    {"UTF8_Text", 1, &F::Utf8Text, true, 1},
      {"Share_Tiles", 0, &F::ShareTiles, false, 0}, {"Share_Tiles", 2, &F::ShareTiles, true, 1},
  };
  for (const auto& row : rows)
    EXPECT_EQ(RoundTrip(row.key, row.stored, row.saved).*row.control, row.ticked) << row.key << row.stored;
}

TEST(OptionsForm, OneBitPaletteAsksForAnythingButZeroAndOne) {
  const struct { int stored; OneBitPalette shown; int saved; } rows[] = {
      {0, OneBitPalette::Keep01, 0}, {1, OneBitPalette::Use15, 1}, {-1, OneBitPalette::Ask, -1},
      {2, OneBitPalette::Ask, -1}};
  for (const auto& row : rows)
    EXPECT_EQ(RoundTrip("PAL_Fix_1bit", row.stored, row.saved).Palette, row.shown) << row.stored;
}

TEST(OptionsForm, EachControlEnablesItsOwnOnly) {
  // Enabled: the folder field and "Select", the DATA radios, the split radios, "Escape...".
  const struct { const char* key; int stored, saved; std::array<bool, 4> enabled; } rows[] = {
      {"Select", 769, 769, {false, true, false, false}}, {"Select", 770, 770, {true, true, false, false}},
      {"Select", 771, 768, {false, true, false, false}}, {"TextOut", 0, 0, {false, false, false, false}},
      {"AutoTrim", 0, 0, {false, true, true, false}},    {"PRG_MultiByte", 0, 0, {false, true, false, true}}};
  for (const auto& row : rows) {
    const OptionsForm f = RoundTrip(row.key, row.stored, row.saved);
    EXPECT_EQ((std::array{f.UserFolderEnabled(), f.DataTypeEnabled(), f.SplitEnabled(), f.EscapeEnabled()}),
              row.enabled) << row.key << row.stored;
  }
}
// clang-format on

// "Convertible files" lists PNG pictures while they convert as pictures.
TEST(FileConvertChoice, ListsPngFilesWhilePngImageIsOn) {
  ConvertSettings settings;
  EXPECT_EQ(FileConvertChoice(settings).Filter.at(0).second, "*.bmp *.png *.txt *.zkp *.rscr");
  EXPECT_TRUE(FileConvertChoice(settings).MultiSelect);
  settings.PNG_Image = 0;
  EXPECT_EQ(FileConvertChoice(settings).Filter.at(0).second, "*.bmp *.txt *.zkp *.rscr");
}

}  // namespace
}  // namespace granvel
