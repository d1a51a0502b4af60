// granvel-cli convert [-o DIR] [--type TYPE] [--ini FILE] [--set KEY=VALUE]... [--name NAME] [-q]
//                     [--shared NAME] [--tiles FILE...] [--col FILE] [--tiles-fixed] PATH...
#include <strings.h>
#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>

#include "batch/dispatch.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "cli/terminal_host.h"
#include "convert/job.h"
#include "format/container.h"
#include "platform/console.h"
#include "platform/files.h"

namespace granvel::cli {
namespace {

struct ConvertOptions {
  std::string output;  // -o DIR: every output under DIR, as Select=770 with User=DIR
  std::string type = "bg";
  std::string iniFile;
  std::string palette;
  std::string name;  // --name: the resource name of the one input
  bool quiet = false;
  bool progress = false;    // --progress: the progress line even off a terminal
  bool noProgress = false;  // --no-progress: never
  std::vector<std::string> overrides;
  std::vector<std::string> paths;
  // The tile set the screens share: its name, banks made before, their COL, and whether it may grow.
  std::string shared;
  std::vector<std::string> tiles;
  std::string col;
  bool tilesFixed = false;
};

// "--tiles A_CHR0.zkp A_CHR1.zkp level.png" hands --tiles every name up to the next option: its banks are
// the ".zkp" files that follow it, and the first other name and all after it are inputs again, in their
// places among the other inputs (the inputs' order is the order of the set's tiles). False with the reason
// for a --tiles whose first name is no ".zkp" file.
bool SortTilesFromPaths(const CLI::App& command, const CLI::Option* tilesOption,
                        const CLI::Option* pathsOption, ConvertOptions& options, std::string& error) {
  const auto isZkp = [](const std::string& name) { return LowerAscii(SplitPath(name).Ext) == ".zkp"; };
  std::vector<std::string> tiles, paths;
  std::size_t nextTile = 0, nextPath = 0;
  bool banks = false;  // within a --tiles list, before its first name that is no bank
  const CLI::Option* last = nullptr;
  for (const CLI::Option* option : command.parse_order()) {
    if (option == tilesOption && nextTile < options.tiles.size()) {
      const std::string& name = options.tiles[nextTile++];
      if (last != tilesOption && !isZkp(name)) {
        error = "--tiles takes the .zkp files of CHR banks, not \"" + name + "\"";
        return false;
      }
      banks = (last != tilesOption || banks) && isZkp(name);
      (banks ? tiles : paths).push_back(name);
    } else if (option == pathsOption && nextPath < options.paths.size()) {
      paths.push_back(options.paths[nextPath++]);
    }
    last = option;
  }
  options.tiles = std::move(tiles);
  options.paths = std::move(paths);
  return true;
}

// The tile-set options: for screens only, --tiles-fixed with --tiles, and --shared a name, not a path.
bool CheckTileOptions(const ConvertOptions& options, const ConvertSettings& settings, std::string& error) {
  const char* given = !options.shared.empty()  ? "--shared"
                      : !options.tiles.empty() ? "--tiles"
                      : !options.col.empty()   ? "--col"
                      : options.tilesFixed     ? "--tiles-fixed"
                                               : nullptr;
  if (given && settings.ConvertType != kConvertScreen)
    error = std::string(given) + " is for screens, which share tiles; it takes --type screen";
  else if (options.tilesFixed && options.tiles.empty())
    error = "--tiles-fixed keeps to the tiles of --tiles, and no --tiles banks are given";
  else if (options.shared.find_first_of("/\\:") != std::string::npos)
    error = "--shared takes the name of the set's files (NAME_CHR0.zkp ...), not a path: \"" +
            options.shared + "\"";
  return error.empty();
}

// Whether one of the overrides sets User.
bool GivesUser(const std::vector<std::string>& overrides) {
  for (const std::string& assignment : overrides) {
    const std::string key = assignment.substr(0, assignment.find('='));
    if (::strcasecmp(key.c_str(), "User") == 0)
      return true;
  }
  return false;
}

// The settings of the run, or a usage error: unknown or unusable settings, type or name, and the settings
// every file shares (checked once, before any file).
bool RunSettings(const ConvertOptions& options, const CommandIo& io, ConvertSettings& settings,
                 std::string& error) {
  if (!LoadEffectiveSettings(options.iniFile, options.overrides, settings, error))
    return false;
  if (!options.palette.empty())
    settings.Palette_File = options.palette;
  if (!ApplyConvertTypeName(settings, options.type)) {
    error = "unknown type \"" + options.type + "\"; the types are " + JoinNames(ConvertTypeNames());
    return false;
  }
  if (!options.name.empty()) {
    if (options.paths.size() != 1) {
      error =
          "--name names the resource of one input; " + std::to_string(options.paths.size()) + " are given";
      return false;
    }
    if (MakeConvertJob(options.paths[0], false, settings).Kind == JobKind::ZkpFile) {
      error = "--name names what a file converts to; a .zkp file is decoded and keeps its names";
      return false;
    }
    if (MakeResourceName(options.name).empty()) {
      error = "--name \"" + options.name + "\" gives no resource name; a name holds A-Z, 0-9 and ASCII signs";
      return false;
    }
    settings.ResourceName = options.name;
  }
  if (!CheckTileOptions(options, settings, error))
    return false;
  settings.TileSetName = options.shared;
  settings.TileBanks = options.tiles;
  settings.TileCol = options.col;
  settings.TilesFixed = options.tilesFixed;
  if (!options.output.empty() && PathExists(options.output) && !IsDirectory(options.output)) {
    error = "-o takes a folder; " + DisplayPath(options.output) + " is a file";
    return false;
  }
  TerminalHost host(io.in, io.out, io.err, io.interactive);
  return CheckRunSettings(settings, host, error);
}

int RunConvert(const ConvertOptions& options, const CommandIo& io) {
  ConvertSettings settings;
  std::string error;
  if (!RunSettings(options, io, settings, error)) {
    io.err << "granvel-cli convert: " << error << "\n";
    return kExitUsage;
  }
  if (!options.output.empty()) {
    settings.Select = kSelectUserFolder;
    settings.User = options.output;
    if (!EnsureDirectories(options.output, error)) {
      io.err << "granvel-cli convert: cannot make the output folder " << DisplayPath(options.output) << ": "
             << error << "\n";
      return kExitFailed;
    }
  } else if (GivesUser(options.overrides) && settings.Select != kSelectUserFolder) {
    io.err << "granvel-cli convert: note: User has no effect while Select is " << settings.Select
           << "; -o DIR (or --set Select=770) writes there\n";
  }
  TerminalHost host(io.in, io.out, io.err, io.interactive);
  ProgressDisplay display(io.err,
                          options.progress || (!options.noProgress && !options.quiet && io.errIsTerminal));
  host.SetProgressDisplay(&display);
  CatchInterrupts();  // Ctrl+C stops the run between files and pages: no file is left half written
  const BatchResult result = ConvertFileList(
      options.paths, settings, host, [&](const std::string& path, bool ok, const ConvertReport& report) {
        display.Clear();
        if (report.Cancelled) {  // what the file wrote before the stop is whole, and stays
          io.err << DisplayPath(path) << ": cancelled";
          if (!report.Written.empty())
            io.err << "; the " << report.Written.size() << " files it wrote stay ("
                   << DisplayPath(report.Written.front())
                   << (report.Written.size() > 1 ? " ... " + DisplayPath(report.Written.back()) : "") << ")";
          io.err << "\n";
          return;
        }
        if (ok && options.quiet)
          return;
        if (ok) {
          io.out << DisplayPath(path) << ": wrote";
          const char* separator = " ";
          for (const std::string& written : report.Written) {
            io.out << separator << DisplayPath(written);
            separator = ", ";
          }
          io.out << "\n";
        } else {
          io.err << DisplayPath(path)
                 << ": failed: " << (report.Reason.empty() ? "no reason given" : report.Reason) << "\n";
        }
        for (const std::string& note : report.Notes)
          (ok ? io.out : io.err) << "  note: " << note << "\n";
        io.out.flush();
      });
  if (result.Cancelled)
    return kExitCancelled;
  return result.Failed == 0 ? kExitOk : kExitFailed;
}

}  // namespace

void AddConvertCommand(CLI::App& app, const CommandIo& io, int& status) {
  auto options = std::make_shared<ConvertOptions>();
  CLI::App* command = app.add_subcommand("convert",
                                         "Convert files by their extension and name, as the desktop "
                                         "program's batch does, and print a summary");
  std::string typeHelp = "What a BMP image becomes:";
  for (const std::string& name : ConvertTypeNames())
    typeHelp += " " + name;
  command->add_option("-o,--output", options->output,
                      "Write every output under DIR (made when missing), as Select=770 with User=DIR");
  command->add_option("--type", options->type, typeHelp + " (default bg)");
  command->add_option(
      "--palette", options->palette,
      "A palette every image is matched to: COL .zkp, .gpl, .pal, .act, or an image's colour table");
  command->add_option("--ini", options->iniFile,
                      "Settings file (default: GRANVEL.ini in the working directory)");
  command->add_option("--set", options->overrides, "Override one setting for this run, KEY=VALUE")
      ->allow_extra_args(false);
  command->add_option("--name", options->name,
                      "The resource name of the one input (instead of one from its file name)");
  command->add_flag("-q,--quiet", options->quiet, "Print only failures and the summary");
  CLI::Option* progress =
      command->add_flag("--progress", options->progress,
                        "Show the progress line on standard error even when it is no terminal (or with -q)");
  command->add_flag("--no-progress", options->noProgress, "Never show the progress line")->excludes(progress);
  command->add_option(
      "--shared", options->shared,
      "Screens: one tile set for every picture, NAME_COL.zkp and NAME_CHR0.zkp ..., and a map each");
  CLI::Option* tiles = command->add_option(
      "--tiles", options->tiles,
      "Screens: CHR banks made before, bank 0 first; their tiles keep their numbers, new ones follow");
  command->add_option("--col", options->col,
                      "Screens: the COL whose palettes every tile must fit, unchanged");
  command->add_flag("--tiles-fixed", options->tilesFixed,
                    "Screens: refuse a picture that needs a tile the --tiles banks do not hold");
  CLI::Option* paths = command->add_option("paths", options->paths, "Files to convert")->required();
  command->callback([command, tiles, paths, options, &io, &status] {
    std::string error;
    if (!SortTilesFromPaths(*command, tiles, paths, *options, error)) {
      io.err << "granvel-cli convert: " << error << "\n";
      status = kExitUsage;
      return;
    }
    status = RunConvert(*options, io);
  });
}

}  // namespace granvel::cli
