// Pictures as screens: their unique 8x8 tiles in CHR banks and a 64 x 64 screen map per picture that places
// them, with the tiles that are flips of earlier ones stored once; the pictures of a run may share one set.
#pragma once

#include <string>
#include <vector>

#include "convert/context.h"
#include "convert/job.h"
#include "encode/image/tile_set.h"
#include "encode/text/scr.h"

namespace granvel {

class DataText;

// Whether the screens of a run share one tile set: Share_Tiles is 1, or the settings name a set or give
// banks made before.
bool SharesTiles(const ConvertSettings& settings);

// Reads the run's tiles, once for a run: TileBanks' tile bytes into TileBankData (at most four banks, each a
// CHR resource whose tile 0 is empty) and TileCol's colours into TileColWords. Nothing to do for another
// convert type or when they are read already. False with the reason in `ctx`.
bool ReadRunTiles(ConvertSettings& settings, const ConvertContext& ctx);

// The screens of one run, mapped onto one tile set in the order they come and then written. Unshared (the
// settings name no set), a run holds one picture, written as name_COL.zkp, name_CHR0.zkp ..., name_SCR.zkp
// and, with TextOut, name_SCR_DATA.txt with the palette, the banks and the cells. Shared, every picture
// mapped joins the set: its files NAME_COL.zkp, NAME_CHR0.zkp ... (and NAME_CHR_DATA.txt with the palette
// and the banks) go once into the output folder of the run's first picture, and each picture writes its own
// name_SCR.zkp (and name_SCR_DATA.txt with its cells). NAME is TileSetName, else the first bank's name
// without its "_CHR0", else the first picture's name.
class ScreenRun {
 public:
  explicit ScreenRun(const ConvertSettings& settings);

  // Reads the picture of `job` and maps it onto the set, with a note of the set's tiles and palettes. Its
  // number for Write, or -1 with the reason in `ctx`: a picture refused adds nothing to the set.
  int Map(const ConvertJob& job, const ConvertContext& ctx);
  // Writes picture `picture`'s map; a shared set's files go with the first picture written. False with the
  // reason in `ctx`.
  bool Write(int picture, ConvertJob job, const ConvertContext& ctx);

 private:
  struct Picture {
    ScreenMap Map{};
    int Width = 0;
    int Height = 0;
  };
  enum class SetFiles { Due, Written, Failed };

  bool Start(const ConvertJob& first, const ConvertContext& ctx);
  bool WriteSetFiles(ConvertJob job, const std::string& resName, DataText* text,
                     const ConvertContext& ctx) const;

  bool shared_;
  TileSet set_;
  bool started_ = false;
  std::string startError_;
  std::string setDir_, setName_;
  SetFiles setFiles_ = SetFiles::Due;
  std::string setWriter_;  // the input that wrote the set's files or failed to
  std::vector<Picture> pictures_;
};

// Converts an image as a screen: a run of this one picture.
bool ConvertBmpToScreen(ConvertJob job, const ConvertContext& ctx);

}  // namespace granvel
