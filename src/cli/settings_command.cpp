// granvel-cli settings [--ini FILE] [--set KEY=VALUE]... [--save]
#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>

#include "cli/commands.h"
#include "cli/options.h"

namespace granvel::cli {
namespace {

struct SettingsOptions {
  std::string iniFile;
  std::vector<std::string> overrides;
  bool save = false;
};

// Each value with what it means: "Select=768 (source folder)".
void PrintSettings(const ConvertSettings& s, std::ostream& out) {
  const auto line = [&out](const char* key, int value, const std::string& meaning) {
    out << key << "=" << value << " (" << meaning << ")\n";
  };
  const auto onOff = [](int value, const char* on, const char* off) { return value != 0 ? on : off; };
  out << "[Directory]\n"
      << "User=" << s.User << "\n";
  line("Select", s.Select,
       s.Select == kSelectSourceFolder ? "source folder"
       : s.Select == kSelectUserFolder ? "the User folder"
                                       : "tool folder");
  line("Create", s.Create, s.Create == 1 ? "into a ZKP sub-folder" : "no sub-folder");
  out << "[Convert]\n";
  line("TextOut", s.TextOut, onOff(s.TextOut, "DATA texts written", "no DATA texts"));
  line("Data_Type", s.DATA_Type, onOff(s.DATA_Type, "GRP DATA in hexadecimal", "GRP DATA in decimal"));
  line("AutoTrim", s.AutoTrim,
       onOff(s.AutoTrim, "banks as wide as the image, sizes checked", "banks cut as WideMode says"));
  line("PAL_Fix_1bit", s.PAL_Fix_1bit,
       s.PAL_Fix_1bit == 0   ? "1-bit images use palette 1"
       : s.PAL_Fix_1bit == 1 ? "1-bit images use palette 15"
                             : "ask for each 1-bit image");
  line("WideMode", s.WideMode, onOff(s.WideMode, "256x64 banks", "128x128 banks"));
  line("Make_Wide", s.Make_Wide,
       onOff(s.Make_Wide, "decoded CHR as 256x64 images", "decoded CHR as 128x128 images"));
  line("PRG_Limit", s.PRG_Limit, onOff(s.PRG_Limit, "program lines over 198 bytes refused", "no line limit"));
  line("PRG_To_SCR", s.PRG_To_SCR,
       onOff(s.PRG_To_SCR, "*_scr.txt are screen texts", "*_scr.txt are programs"));
  line("PRG_To_MEM", s.PRG_To_MEM, onOff(s.PRG_To_MEM, "*_mem.txt are MEM texts", "*_mem.txt are programs"));
  line("PRG_MultiByte", s.PRG_MultiByte,
       onOff(s.PRG_MultiByte, "decoded programs in full-width Shift JIS", "decoded programs byte for byte"));
  line("PRG_ESCAPE", s.PRG_ESCAPE, onOff(s.PRG_ESCAPE, "backslash escapes", "no escapes"));
  line("PNG_Image", s.PNG_Image,
       onOff(s.PNG_Image, ".png files convert as images", ".png files carried as data"));
  line("UTF8_Text", s.UTF8_Text,
       onOff(s.UTF8_Text, "decoded texts in UTF-8, LF line ends", "decoded texts in Shift JIS"));
  line("Share_Tiles", s.Share_Tiles,
       onOff(s.Share_Tiles, "screens of a run share one tile set", "each screen its own tile set"));
  out << "TransparentColour=" << s.TransparentColour << "\n"
      << "Palette_File=" << s.Palette_File << "\n";
}

int RunSettings(const SettingsOptions& options, const CommandIo& io) {
  ConvertSettings settings;
  std::string error;
  if (!LoadEffectiveSettings(options.iniFile, options.overrides, settings, error)) {
    io.err << "granvel-cli settings: " << error << "\n";
    return kExitUsage;
  }
  PrintSettings(settings, io.out);
  if (options.save) {
    const std::string path = EffectiveIniPath(options.iniFile, settings);
    if (!SaveSettings(settings, path, error)) {
      io.err << "granvel-cli settings: " << error << "\n";
      return kExitFailed;
    }
    io.out << "saved to " << path << "\n";
  }
  return kExitOk;
}

}  // namespace

void AddSettingsCommand(CLI::App& app, const CommandIo& io, int& status) {
  auto options = std::make_shared<SettingsOptions>();
  CLI::App* command =
      app.add_subcommand("settings", "Print the effective settings, and save them with --save");
  command->add_option("--ini", options->iniFile,
                      "Settings file (default: GRANVEL.ini in the working directory)");
  command->add_option("--set", options->overrides, "Override one setting, KEY=VALUE")
      ->allow_extra_args(false);
  command->add_flag("--save", options->save, "Write the settings to the INI file");
  command->callback([options, &io, &status] { status = RunSettings(*options, io); });
}

}  // namespace granvel::cli
