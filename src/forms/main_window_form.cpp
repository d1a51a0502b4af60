#include "forms/main_window_form.h"

#include <array>

namespace granvel {
namespace {

constexpr std::array<ConvertTypeItem, 11> kItems{{
    {kConvertBgFont, "BG / Font (CHR)", false},
    {kConvertScreen, "Screen (CHR + SCR)", false},
    {kConvert16x16, "16x16", true},
    {kConvert32x16, "32x16", true},
    {kConvert16x32, "16x32", true},
    {kConvert32x32, "32x32", true},
    {kConvert64x32, "64x32", true},
    {kConvert32x64, "32x64", true},
    {kConvert64x64, "64x64", true},
    {kConvertGraphics, "Graphics (GRP)", false},
    {kConvertBinary, "Binary data (GRP)", false},
}};

}  // namespace

std::span<const ConvertTypeItem> ConvertTypeItems() {
  return kItems;
}

std::string DropHint(int convertType) {
  std::string type = "BG / Font (CHR)";
  for (const ConvertTypeItem& item : kItems) {
    if (item.Id == convertType)
      type = item.Sprite ? std::string("Sprites (CHR) ") + item.Label : item.Label;
  }
  return "Drop files here \xC2\xB7 " + type;
}

FileChoice FileConvertChoice(const ConvertSettings& settings) {
  FileChoice choice;
  choice.Title = "Choose convert files";
  choice.Filter = {{"Convertible files",
                    settings.PNG_Image != 0 ? "*.bmp *.png *.txt *.zkp *.rscr" : "*.bmp *.txt *.zkp *.rscr"},
                   {"All files", "*.*"}};
  choice.MultiSelect = true;
  choice.DefaultExt = "bmp";
  return choice;
}

}  // namespace granvel
