// The user's conversion options, their INI persistence, and the menu's current convert type and CHR unit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace granvel {

// "Convert type" command ids.
enum ConvertTypeId : std::uint16_t {
  kConvertBgFont = 257,  // "BG / Font (CHR)", 8x8 units
  kConvert16x16 = 258,   // sprites 258 to 264
  kConvert32x16 = 259,
  kConvert16x32 = 260,
  kConvert32x32 = 261,
  kConvert64x32 = 262,
  kConvert32x64 = 263,
  kConvert64x64 = 264,
  kConvertGraphics = 265,  // "Graphics (GRP)"
  kConvertBinary = 266,    // "Binary data (GRP)"
  kConvertScreen = 267,    // "Screen (CHR + SCR)": unique 8x8 tiles and a screen map
};

// Output folder modes of `Select`.
enum SelectMode : int {
  kSelectSourceFolder = 768,
  kSelectToolFolder = 769,
  kSelectUserFolder = 770,
};

// What turns a ".png" carried as data into a picture, as notes say it: the Options check box and the key.
inline constexpr const char* kPngImageRemedy =
    "tick \"Convert PNG files as images\" in Options (PNG_Image=1)";

// A default-constructed record holds the values that loading gives when there is no INI file, except the two
// folders, which loading takes from the working directory.
struct ConvertSettings {
  int Select = kSelectSourceFolder;
  int Create = 0;
  std::string User;
  int TextOut = 1;
  int DATA_Type = -1;
  int AutoTrim = 1;
  int WideMode = -1;
  int Make_Wide = -1;
  int PRG_Limit = 1;
  int PRG_To_SCR = 1;
  int PRG_To_MEM = 1;
  int PRG_MultiByte = 0;
  int PRG_ESCAPE = 0;
  int PAL_Fix_1bit = -1;
  int PNG_Image = 1;              // 1: ".png" files convert as images; 0: carried as binary data
  int UTF8_Text = 0;              // 1: decoded program, screen and MEM texts in UTF-8 with LF line ends
  int Share_Tiles = 0;            // 1: the pictures of a run converted as screens share one tile set
  std::string TransparentColour;  // "RRGGBB": index 0 of a true-colour picture; empty: none
  std::string Palette_File;       // a palette every image is matched to; empty: none

  // Not persisted.
  std::uint16_t ConvertType = kConvertBgFont;
  int UnitWidth = 8;
  int UnitHeight = 8;
  std::string ToolDir;
  // The resource name a run gives its one input instead of one from the file name; empty: from the name.
  std::string ResourceName;
  std::vector<std::uint16_t> PaletteWords;  // Palette_File's colours, read once for a run (empty: none read)
  // The tile set the screens of a run share (with Share_Tiles, or any of these given).
  std::string TileSetName;             // its files' name; empty: from TileBanks[0], else the first picture
  std::vector<std::string> TileBanks;  // CHR banks made before, bank 0 first: their tiles keep their numbers
  std::string TileCol;                 // a COL whose palettes the tiles must fit, fixed
  bool TilesFixed = false;             // no tile is added: a picture that needs one is refused
  std::vector<std::vector<std::uint8_t>> TileBankData;  // TileBanks' tile bytes, read once for a run
  std::vector<std::uint16_t> TileColWords;              // TileCol's colours, read once for a run
};

// "%s/GRANVEL.ini" of the tool folder.
std::string IniPath(const std::string& toolDir);

// Loads the settings from the INI file at `iniPath`, with `toolDir` as the tool folder. A missing or
// unreadable file is no failure: every field then takes its repaired default.
ConvertSettings LoadSettings(const std::string& iniPath, const std::string& toolDir);
// Loads from IniPath(toolDir).
ConvertSettings LoadSettings(const std::string& toolDir);

// Writes the persisted fields to the INI file at `iniPath`, keeping its other keys and comments. False with a
// reason when the file cannot be written.
bool SaveSettings(const ConvertSettings& settings, const std::string& iniPath, std::string& error);

// Chooses a "Convert type" command as the menu does: stores the id and, for 257 to 264 and the screen, sets
// the CHR unit. False for an id outside 257 to 267 (nothing changes).
bool SelectConvertType(ConvertSettings& settings, int commandId);

// The persisted integer fields by INI key, compared without regard to case ("DATA_Type" finds Data_Type).
// Returns nullptr for an unknown key. `User` is a string and not among them.
int* PersistedIntField(ConvertSettings& settings, const std::string& key);
// The persisted text fields (User, TransparentColour, Palette_File) likewise.
std::string* PersistedStringField(ConvertSettings& settings, const std::string& key);
const int* PersistedIntField(const ConvertSettings& settings, const std::string& key);

// Every persisted key as the file spells it: the whole numbers in the order a save writes them, User after
// Create, then the other texts.
std::vector<std::string> PersistedKeyNames();

// Whether `value` is one a user may give the whole-number setting `key` (a flag 0 or 1, Select one of its
// three folders, ...). False with the values it takes in `allowed` ("0 or 1") otherwise.
bool IsAllowedValue(const std::string& key, int value, std::string& allowed);

}  // namespace granvel
