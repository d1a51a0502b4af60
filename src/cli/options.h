// Options that several subcommands share: the INI file, --set overrides and the convert type.
#pragma once

#include <string>
#include <vector>

#include "convert/setting_text.h"
#include "convert/settings.h"

namespace granvel::cli {

// Exit statuses of every subcommand.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitCancelled = 130;  // a run stopped by Ctrl+C, as a shell reports SIGINT

// The settings as the desktop program would load them (GRANVEL.ini in the working directory, or `iniFile`),
// with each "KEY=VALUE" of `overrides` applied. False with a reason on an unknown key or a value that is not
// a whole number.
bool LoadEffectiveSettings(const std::string& iniFile, const std::vector<std::string>& overrides,
                           ConvertSettings& settings, std::string& error);

// The INI file the settings come from: `iniFile`, or GRANVEL.ini in the working directory.
std::string EffectiveIniPath(const std::string& iniFile, const ConvertSettings& settings);

// The convert types by name and the list a refusal shows, from the core.
using granvel::ApplyConvertTypeName;
using granvel::ConvertTypeNames;
using granvel::JoinNames;

// What a refusal of the unknown `given` suggests: "did you mean 'convert'?" when one of `names` is at most
// two letters' edits away (the nearest; the first of equals), else "the commands are a, b, c".
std::string ClosestNameText(const std::string& given, const std::vector<std::string>& names);

}  // namespace granvel::cli
