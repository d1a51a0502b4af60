// What the last build of a project made: for each asset and package the digest of what decides its outputs
// (settings, the program's version), its inputs' digests and the outputs it wrote. Kept in
// .granvel/state in the project folder, written atomically; without it everything builds.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace granvel {

inline constexpr const char* kStateFolder = ".granvel";
inline constexpr const char* kStateFile = ".granvel/state";

struct BuildRecord {
  std::string Key;                            // the digest of settings and version, hex; empty: failed
  std::map<std::string, std::string> Inputs;  // relative path -> MD5 of its bytes, hex
  std::vector<std::string> Outputs;  // relative paths, in the order written (a package: the files it took)
};

struct BuildState {
  std::string Version;                          // the program that wrote it
  std::map<std::string, BuildRecord> Assets;    // by asset name
  std::map<std::string, BuildRecord> Packages;  // by package output
};

// Reads the state at `path`. False when there is none (`note` empty) or it is damaged (`note` says so).
bool ReadBuildState(const std::string& path, BuildState& state, std::string& note);

// Writes the state at `path` through an atomic output file, making its folder. False with a reason.
bool WriteBuildState(const std::string& path, const BuildState& state, std::string& error);

}  // namespace granvel
