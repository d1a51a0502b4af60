// A project file (granvel.toml): the project's settings, its assets (inputs, convert type, settings, output
// folder) and the packages assembled from the assets' outputs. Read into this model, with every fault refused
// at its line and column.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "convert/settings.h"
#include "package/slots.h"

namespace granvel {

inline constexpr const char* kProjectFileName = "granvel.toml";

// One asset: a set of inputs converted as one run with one convert type and one set of settings.
struct ProjectAsset {
  std::string Name;
  std::vector<std::string> Inputs;  // relative to the project folder, in the file's order, globs expanded
  std::string Type = "bg";
  std::string Output = "out";  // the output folder, relative to the project folder
  std::string Shared;          // screens: the name of the tile set they share
  std::vector<std::pair<std::string, std::string>> Settings;  // the asset's own settings, as text
  int Line = 0;
};

// One slot of a package: the asset whose output it takes and, optionally, which output by its file name;
// `Screen` fills the screen's banks and palette beside the map, as "Fill from screen..." does.
struct ProjectSlot {
  const SlotInfo* Slot = nullptr;
  std::string Asset;
  std::string File;  // one output's file name ("level1_SCR.zkp"); empty: the first output the slot takes
  bool Screen = false;
  int Line = 0;
};

struct ProjectPackage {
  std::string Name;    // the package's resource name (0-9, A-Z, _; 8 characters)
  std::string Output;  // the package file, relative to the project folder
  std::vector<ProjectSlot> Slots;
  int Line = 0;
};

struct Project {
  std::string File;  // the project file as given
  std::string Root;  // its folder with a trailing separator ("" for the working folder)
  std::vector<std::pair<std::string, std::string>> Settings;  // the project's settings, as text
  std::vector<ProjectAsset> Assets;
  std::vector<ProjectPackage> Packages;

  // `relative` (to the project folder) as a path to open.
  std::string PathOf(const std::string& relative) const { return Root + relative; }
  const ProjectAsset* FindAsset(const std::string& name) const;
};

// Reads and checks the project file at `path`: TOML syntax, known keys of the right types, settings values
// the settings take, convert types, inputs that exist (a glob that matches no file is refused too), unique
// asset names, slots that name an asset. False with "FILE:LINE:COLUMN: what was expected" otherwise.
bool LoadProject(const std::string& path, Project& project, std::string& error);

// The settings an asset converts with: defaults, the project's settings, the asset's, its type, tile set and
// output folder (Select=770 with User=the output folder). False with the reason for a value refused.
bool AssetSettings(const Project& project, const ProjectAsset& asset, ConvertSettings& settings,
                   std::string& error);
// The project's own settings (for packages).
bool ProjectSettings(const Project& project, ConvertSettings& settings, std::string& error);

}  // namespace granvel
