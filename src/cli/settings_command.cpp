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

void PrintSettings(const ConvertSettings& s, std::ostream& out) {
  out << "[Directory]\n"
      << "User=" << s.User << "\n"
      << "Select=" << s.Select << "\n"
      << "Create=" << s.Create << "\n"
      << "[Convert]\n"
      << "TextOut=" << s.TextOut << "\n"
      << "Data_Type=" << s.DATA_Type << "\n"
      << "AutoTrim=" << s.AutoTrim << "\n"
      << "PAL_Fix_1bit=" << s.PAL_Fix_1bit << "\n"
      << "WideMode=" << s.WideMode << "\n"
      << "Make_Wide=" << s.Make_Wide << "\n"
      << "PRG_Limit=" << s.PRG_Limit << "\n"
      << "PRG_To_SCR=" << s.PRG_To_SCR << "\n"
      << "PRG_To_MEM=" << s.PRG_To_MEM << "\n"
      << "PRG_MultiByte=" << s.PRG_MultiByte << "\n"
      << "PRG_ESCAPE=" << s.PRG_ESCAPE << "\n";
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
