// One path to one converter, and a list of paths to a run that ends with one summary.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "convert/context.h"
#include "convert/settings.h"
#include "platform/host.h"

namespace granvel {

// Converts one file: builds its job (making folders when Create is exactly 1) and hands a copy to the one
// converter of its kind. False, with the reason in `report`, when it failed. Its outputs are claimed in
// `ledger` (the run's); without one, in a ledger of its own, so that it never replaces its own files. A
// picture or a ".zkp" file converted with Palette_File set and no PaletteWords reads the palette file
// first; a palette that cannot be read is this file's failure.
bool ConvertFile(const std::string& path, const ConvertSettings& settings, Host& host, ConvertReport& report,
                 RunMemory* memory = nullptr, OutputSink* output = nullptr);

struct BatchResult {
  int Total = 0;  // the files of the run, folders given counted as the files under them
  int Seen = 0;   // the files finished, converted or failed
  int Converted = 0;
  int Failed = 0;
  int PngCarried = 0;      // ".png" files carried as data because PNG_Image is off
  std::string Refused;     // why no file was tried: a setting of the whole run is unusable
  bool Cancelled = false;  // the user stopped the run: Seen of Total files were finished
};

// Checks the settings that concern every file of a run (TransparentColour, Palette_File, a screen's tile
// banks and COL) once, before any file, and reads Palette_File's colours into PaletteWords and the tiles
// into TileBankData and TileColWords for them (unless they are read already). False with the reason.
bool CheckRunSettings(ConvertSettings& settings, Host& host, std::string& error);

// Called after each file of a run with its path, result and report.
using FileDoneCallback = std::function<void(const std::string& path, bool ok, const ConvertReport& report)>;

// Converts every path in order (a folder as the files under it, ExpandInputs; a failure never stops the
// run, and no input replaces a file an earlier one wrote). When the screens of the run share a tile set
// (SharesTiles), the pictures that convert as screens are mapped onto it first, in order; then each file
// converts or writes its map in its place, the set's files going with the first picture that converted.
// The host is shown the run's progress as each file begins and as a long file's steps are done; when it
// asks to cancel, the run stops before the next file or step: the file being converted keeps the outputs it
// finished and loses the one it was writing, and no later file is tried. Then it shows the summary through
// `host.ShowReport`: "Finished", SummaryText(...), and in its details every failure ("path: reason"), then
// every note ("path: note: ..."), then every file written ("wrote path"); its folder is the first written
// file's. When CheckRunSettings refuses the settings, nothing is tried: an "Error" box says why, and
// BatchResult::Refused.
// The outputs go to `output` (the file system when null).
BatchResult ConvertFileList(const std::vector<std::string>& paths, const ConvertSettings& settings,
                            Host& host, const FileDoneCallback& onFileDone = {},
                            OutputSink* output = nullptr);

// "%d files converted\nSuccessed：%d\nFailured：%d" (the colons are full-width), after "Cancelled after N of
// M files" when the run was cancelled, and when ".png" files were carried as data, a line that says so and
// names the setting that converts them as pictures.
std::string SummaryText(const BatchResult& result);

inline constexpr const char* kSummaryCaption = "Finished";
inline constexpr const char* kRunRefusedCaption = "Error";

}  // namespace granvel
