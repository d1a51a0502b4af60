#include "forms/options_form.h"

namespace granvel {

OptionsForm OptionsForm::From(const ConvertSettings& settings) {
  OptionsForm form;
  form.Select = settings.Select;
  form.User = settings.User;
  form.MakeZkpFolder = settings.Create != 0;
  form.TextOut = settings.TextOut != 0;
  form.DataHex = settings.DATA_Type != 0;
  form.PrgLimit = settings.PRG_Limit != 0;
  form.PrgToScr = settings.PRG_To_SCR != 0;
  form.PrgToMem = settings.PRG_To_MEM != 0;
  form.KeepWidth = settings.AutoTrim == 0;
  form.Split256 = settings.WideMode != 0;
  form.Palette = settings.PAL_Fix_1bit == 0   ? OneBitPalette::Keep01
                 : settings.PAL_Fix_1bit == 1 ? OneBitPalette::Use15
                                              : OneBitPalette::Ask;
  form.MultiByte = settings.PRG_MultiByte != 0;
  form.Escape = settings.PRG_ESCAPE != 0;
  form.PngImage = settings.PNG_Image != 0;
  form.Make256 = settings.Make_Wide != 0;
  form.Utf8Text = settings.UTF8_Text != 0;
  form.ShareTiles = settings.Share_Tiles != 0;
  return form;
}

void OptionsForm::ApplyTo(ConvertSettings& settings) const {
  settings.Select = Select == kSelectToolFolder || Select == kSelectUserFolder ? Select : kSelectSourceFolder;
  settings.User = User;
  settings.Create = MakeZkpFolder ? 1 : 0;
  settings.TextOut = TextOut ? 1 : 0;
  settings.DATA_Type = DataHex ? 1 : 0;
  settings.PRG_Limit = PrgLimit ? 1 : 0;
  settings.PRG_To_SCR = PrgToScr ? 1 : 0;
  settings.PRG_To_MEM = PrgToMem ? 1 : 0;
  settings.AutoTrim = KeepWidth ? 0 : 1;
  settings.WideMode = Split256 ? 1 : 0;
  settings.PAL_Fix_1bit = Palette == OneBitPalette::Ask ? -1 : Palette == OneBitPalette::Use15 ? 1 : 0;
  settings.PRG_MultiByte = MultiByte ? 1 : 0;
  settings.PRG_ESCAPE = Escape ? 1 : 0;  // a greyed but ticked box still counts
  settings.PNG_Image = PngImage ? 1 : 0;
  settings.Make_Wide = Make256 ? 1 : 0;
  settings.UTF8_Text = Utf8Text ? 1 : 0;
  settings.Share_Tiles = ShareTiles ? 1 : 0;
}

}  // namespace granvel

namespace granvel {

const char* OptionLabel(OptionControl control) {
  switch (control) {
    case OptionControl::SameAsSource:
      return "Same folder as source";
    case OptionControl::SameAsTool:
      return "Same folder as tool";
    case OptionControl::SelectedFolder:
    case OptionControl::UserFolder:
      return "Selected folder";
    case OptionControl::MakeZkpFolder:
      return "Make 'ZKP' folder";
    case OptionControl::TextOut:
      return "Make with text file containing DATA commands";
    case OptionControl::DataHex:
      return "Output DATA with hex string on GRP resource";
    case OptionControl::DataDec:
      return "Output DATA with dec number on GRP resource";
    case OptionControl::PngImage:
      return "Convert PNG files as images";
    case OptionControl::PrgLimit:
      return "Make error in line of 100 or more chars string";
    case OptionControl::PrgToScr:
      return "Convert SCR at end of file name by '_scr.txt'";
    case OptionControl::PrgToMem:
      return "Convert MEM at end of file name by '_mem.txt'";
    case OptionControl::KeepWidth:
      return "Keep width of source image";
    case OptionControl::Split128:
      return "Split by 128x128 pixels";
    case OptionControl::Split256:
      return "Split by 256x 64 pixels";
    case OptionControl::PaletteKeep:
      return "Use Palette 01 ( Keep as source )";
    case OptionControl::Palette15:
      return "Use Palette 15 ( Zorikamu font color )";
    case OptionControl::PaletteAsk:
      return "Choose every times";
    case OptionControl::MultiByte:
      return "Make text at S-JIS char set in program data";
    case OptionControl::Escape:
      return "Escape smaller or bigger code's chars";
    case OptionControl::Make128:
      return "Make 128x128 pixel images in CHR resource data";
    case OptionControl::Make256:
      return "Make 256x 64 pixel images in CHR resource data";
    case OptionControl::Utf8Text:
      return kUtf8TextLabel;
    case OptionControl::ShareTiles:
      return kShareTilesLabel;
  }
  return "";
}

const char* OptionTooltip(OptionControl control) {
  switch (control) {
    case OptionControl::SameAsSource:
      return "Writes each file's results into the folder the file is in: pictures/hero.bmp gives "
             "pictures/hero_CHR.zkp.";
    case OptionControl::SameAsTool:
      return "Writes every result into the folder GRANVEL was started in, wherever the files come from.";
    case OptionControl::SelectedFolder:
      return "Writes every result into the folder chosen below.";
    case OptionControl::UserFolder:
      return "The folder the results go to while \"Selected folder\" is chosen.";
    case OptionControl::MakeZkpFolder:
      return "Puts the results into a ZKP folder inside the output folder, one folder for each file: "
             "hero.bmp gives ZKP/hero/hero_CHR.zkp.";
    case OptionControl::TextOut:
      return "Also writes a text of BASIC DATA statements beside each converted picture or carried file "
             "(hero_CHR_DATA.txt), to paste into a program.";
    case OptionControl::DataHex:
      return "The DATA lines of graphic pages hold each row of a tile as one hexadecimal string: "
             "DATA \"00FF10...\". Palettes and CHR are always hexadecimal.";
    case OptionControl::DataDec:
      return "The DATA lines of graphic pages hold decimal numbers: DATA 0,255,16,... Longer, but READ "
             "gives numbers at once.";
    case OptionControl::PngImage:
      return "Converts .png files as pictures, as .bmp files are. Unticked, a .png is carried byte for byte "
             "in graphic pages like any other file.";
    case OptionControl::PrgLimit:
      return "Refuses a program text with a line of more than 198 bytes, naming the line, instead of "
             "writing a program whose line the handheld cannot edit.";
    case OptionControl::PrgToScr:
      return "A text whose name ends in _scr (map_scr.txt) becomes a screen map (map_scr_SCR.zkp) instead "
             "of a program.";
    case OptionControl::PrgToMem:
      return "A text whose name ends in _mem (notes_mem.txt) becomes string memory (notes_mem_MEM.zkp) "
             "instead of a program.";
    case OptionControl::KeepWidth:
      return "Ticked, a picture is cut into blocks of the size chosen below, whatever its width: a 512x64 "
             "picture gives two banks of 256x64 (its left and right halves), or four of 128x128. Unticked, "
             "each bank takes the picture's whole width and its sides must be multiples of the unit: a "
             "512x64 picture gives two banks of 512x32 (its top and bottom halves).";
    case OptionControl::Split128:
      return "With \"Keep width of source image\": each bank holds a 128x128 block of the picture.";
    case OptionControl::Split256:
      return "With \"Keep width of source image\": each bank holds a 256x64 block of the picture.";
    case OptionControl::PaletteKeep:
      return "A 2-colour BMP keeps its colours as palette entries 0 and 1, as in the file.";
    case OptionControl::Palette15:
      return "A 2-colour BMP's second colour becomes entry 15, the colour of the handheld's font.";
    case OptionControl::PaletteAsk:
      return "Asks for each 2-colour BMP whether its second colour becomes entry 15; the question can keep "
             "its answer for the rest of the run.";
    case OptionControl::MultiByte:
      return "Decoded programs are written in full-width Shift JIS characters, as typed on a Japanese PC, "
             "instead of the program's own bytes.";
    case OptionControl::Escape:
      return "Decoded program and MEM texts write control bytes and graphic codes as escapes (\\1F), and "
             "texts being converted read \\1F as that byte.";
    case OptionControl::Make128:
      return "Each decoded CHR bank becomes a 128x128 picture.";
    case OptionControl::Make256:
      return "Each decoded CHR bank becomes a 256x64 picture.";
    case OptionControl::Utf8Text:
      return "Decoded program, screen and MEM texts are written in UTF-8 with LF line ends, as today's "
             "editors open them, instead of Shift JIS with CR line ends. Both convert back to the same "
             "bytes; a text with bytes UTF-8 cannot carry stays Shift JIS, with a note.";
    case OptionControl::ShareTiles:
      return "With \"Screen (CHR + SCR)\": the pictures converted together share one set of banks and one "
             "palette, named after the first picture (title_CHR0.zkp, title_COL.zkp), and each gets its own "
             "map (title_SCR.zkp, level1_SCR.zkp), so the handheld shows them all from one set of tiles.";
  }
  return "";
}

}  // namespace granvel
