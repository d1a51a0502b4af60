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

}  // namespace granvel
