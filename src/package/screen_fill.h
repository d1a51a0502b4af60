// "Fill from screen": the slots of one screen filled from a screen map converted from a picture and the
// banks and palette written beside it, found by their names. The package dialog and the command line's
// "package --screen" both fill their rows with it.
#pragma once

#include <string>
#include <vector>

#include "package/slots.h"

namespace granvel {

// One slot filled, with the file it takes (the map's folder and the file's name).
struct ScreenFillRow {
  const SlotInfo* Slot;
  std::string Path;
};

// The rows the screen map at `mapPath` fills: `scu` (one of the four SCU slots) with the map, then its
// screen's BGU0, BGU1, ... with the banks, then that screen's COL0 with the palette. The banks are
// <stem>_CHR0.zkp, <stem>_CHR1.zkp, ... (at most four, while they follow each other) with <stem>_COL.zkp,
// where <stem> is the map's name without its extension and its "_SCR" ending; when those two are missing,
// the folder's one tile set (X_CHR0.zkp with X_COL.zkp, which "Share_Tiles" writes for several maps). Names
// are compared as written. False with a one-line reason, and no rows, for a map that is no ".zkp" file or
// holds no SCR resource, without banks, with several tile sets beside it, using a tile beyond the banks
// (256 a bank), or banks and palette that hold no CHR or COL resource.
bool FindScreenFill(const SlotInfo& scu, const std::string& mapPath, std::vector<ScreenFillRow>& rows,
                    std::string& reason);

// "SCU0, BGU0, COL0 from title_SCR.zkp, title_CHR0.zkp, title_COL.zkp": the slots by the command line's names
// ("down:SCU0"), or by their short names with " (Down screen)" after them for the lower screen.
std::string DescribeScreenFill(const std::vector<ScreenFillRow>& rows, bool commandLineNames);

}  // namespace granvel
