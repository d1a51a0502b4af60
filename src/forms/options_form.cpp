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
}

}  // namespace granvel
