// What the main window shows without any GUI: the "Convert type" menu, the hint in its black area, and the
// "File convert" dialog.
#pragma once

#include <span>
#include <string>

#include "convert/settings.h"
#include "platform/host.h"

namespace granvel {

// One "Convert type" command: its id, its label, and whether it stands in the "Sprites (CHR)" submenu.
struct ConvertTypeItem {
  int Id;
  const char* Label;
  bool Sprite;
};

// The menu's commands in order, 257 to 266.
std::span<const ConvertTypeItem> ConvertTypeItems();

// The hint in the main window's black area: "Drop files here · BG / Font (CHR)", the sprite sizes as
// "Sprites (CHR) 16x16".
std::string DropHint(int convertType);

// The "File convert" dialog: "Convertible files" first (".png" too while PNG_Image is on), then "All
// files"; several files at once.
FileChoice FileConvertChoice(const ConvertSettings& settings);

// The Files menu's "Convert folder" and its dialog: one folder, whose files and those of the folders under
// it convert as one run.
inline constexpr const char* kConvertFolderLabel = "Convert folder";
FileChoice FolderConvertChoice();

// While a run goes on, the black area shows a progress bar over the line ProgressLine gives and a button
// kCancelLabel (Escape does the same).
inline constexpr const char* kCancelLabel = "Cancel";
// "3 of 10 files \u00b7 level2.bmp", with " \u00b7 part 5 of 17" within a file of many pages or banks; the
// file by its name alone.
std::string ProgressLine(const RunProgress& progress);
// How far the run is in thousandths: the files done and the current file's share of its steps.
int ProgressPermille(const RunProgress& progress);

}  // namespace granvel
