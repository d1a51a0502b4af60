#include "forms/main_window_form.h"

#include <array>

#include "platform/files.h"

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

FileChoice FolderConvertChoice() {
  FileChoice choice;
  choice.Title = "Choose a folder to convert";
  choice.FolderMode = true;
  return choice;
}

std::string ProgressLine(const RunProgress& progress) {
  std::string line =
      std::to_string(progress.FilesDone) + " of " + std::to_string(progress.FilesTotal) + " files";
  if (progress.CurrentFile.empty())
    return line;
  const std::size_t slash = progress.CurrentFile.find_last_of(kPathSeparators);
  line += " \xC2\xB7 " + progress.CurrentFile.substr(slash == std::string::npos ? 0 : slash + 1);
  if (progress.StepsTotal > 1)
    line += " \xC2\xB7 part " + std::to_string(progress.StepsDone + 1) + " of " +
            std::to_string(progress.StepsTotal);
  return line;
}

int ProgressPermille(const RunProgress& progress) {
  if (progress.FilesTotal <= 0)
    return 0;
  double done = progress.FilesDone;
  if (progress.StepsTotal > 0 && !progress.CurrentFile.empty())
    done += static_cast<double>(progress.StepsDone) / static_cast<double>(progress.StepsTotal);
  const int permille = static_cast<int>(1000.0 * done / progress.FilesTotal);
  return permille < 0 ? 0 : permille > 1000 ? 1000 : permille;
}

}  // namespace granvel
