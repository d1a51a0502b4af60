// The state of the "Option settings" dialog without any GUI: one field per control, how a settings record
// shows in them, what "Done" writes back, and which controls the others enable.
#pragma once

#include <string>

#include "convert/settings.h"

namespace granvel {

// The three choices of "Convert of 1bit ( 2 colors ) BMP file" (PAL_Fix_1bit 0, 1 and -1).
enum class OneBitPalette { Keep01, Use15, Ask };

// The dialog's controls, for the texts that explain them.
enum class OptionControl {
  SameAsSource,
  SameAsTool,
  SelectedFolder,
  UserFolder,
  MakeZkpFolder,
  TextOut,
  DataHex,
  DataDec,
  PngImage,
  PrgLimit,
  PrgToScr,
  PrgToMem,
  KeepWidth,
  Split128,
  Split256,
  PaletteKeep,
  Palette15,
  PaletteAsk,
  MultiByte,
  Escape,
  Make128,
  Make256,
  Utf8Text,
  ShareTiles,
};
inline constexpr int kOptionControlCount = static_cast<int>(OptionControl::ShareTiles) + 1;

// The label of the check box that writes decoded texts in UTF-8.
inline constexpr const char* kUtf8TextLabel = "Write decoded texts in UTF-8 with LF line ends";
// The label of the check box that makes the screens of a run share one tile set (in "CHR resource settings").
inline constexpr const char* kShareTilesLabel = "Share one tile set across the pictures of a run";

// What a control does to the files, in plain words, with an example where it helps: its tooltip.
const char* OptionTooltip(OptionControl control);
// The control's own text ("Make 'ZKP' folder"); the folder field's is the "Selected folder" radio's.
const char* OptionLabel(OptionControl control);

// The dialog's title, its group boxes' captions and the label over the 1-bit palette radios.
inline constexpr const char* kOptionsTitle = "Option settings";
inline constexpr const char* kSaveToCaption = "Save to...";
inline constexpr const char* kCommonCaption = "Common settings";
inline constexpr const char* kPrgTextCaption = "PRG text settings";
inline constexpr const char* kChrCaption = "CHR resource settings";
inline constexpr const char* kZkpCaption = "ZKP file settings";
inline constexpr const char* kOneBitLabel = "Convert of 1bit ( 2 colors ) BMP file";

struct OptionsForm {
  // "Save to...": one of the SelectMode values; any other value checks none of the three radios.
  int Select = kSelectSourceFolder;
  std::string User;            // the folder field
  bool MakeZkpFolder = false;  // Create
  // "Common settings"
  bool TextOut = false;
  bool DataHex = false;   // DATA_Type: hex strings, else dec numbers
  bool PngImage = false;  // PNG_Image: ".png" files convert as images
  // "PRG text settings"
  bool PrgLimit = false;
  bool PrgToScr = false;
  bool PrgToMem = false;
  // "CHR resource settings"
  bool KeepWidth = false;  // AutoTrim, inverted
  bool Split256 = false;   // WideMode: 256x64 blocks, else 128x128
  OneBitPalette Palette = OneBitPalette::Ask;
  // "ZKP file settings"
  bool MultiByte = false;   // PRG_MultiByte
  bool Escape = false;      // PRG_ESCAPE
  bool Make256 = false;     // Make_Wide
  bool Utf8Text = false;    // UTF8_Text: decoded texts in UTF-8 with LF line ends
  bool ShareTiles = false;  // Share_Tiles: the pictures of a run converted as screens share one tile set

  // The controls as they show `settings`: any non-zero flag is ticked, PAL_Fix_1bit other than 0 and 1 asks.
  static OptionsForm From(const ConvertSettings& settings);
  // What "Done" writes into the persisted fields of `settings`: flags as 0 or 1, a Select of none of the
  // three radios as the source folder. Controls that are greyed out count as they stand.
  void ApplyTo(ConvertSettings& settings) const;

  // The folder field and its "Select" button.
  bool UserFolderEnabled() const { return Select == kSelectUserFolder; }
  // The hex and dec radios.
  bool DataTypeEnabled() const { return TextOut; }
  // The two "Split by" radios.
  bool SplitEnabled() const { return KeepWidth; }
  // "Escape smaller or bigger code's chars".
  bool EscapeEnabled() const { return !MultiByte; }
};

}  // namespace granvel
