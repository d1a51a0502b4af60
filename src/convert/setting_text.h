// Settings given as text (the command line's --set KEY=VALUE, a project file's keys) and the convert types by
// their names: one validation for every front end.
#pragma once

#include <string>
#include <vector>

#include "convert/settings.h"

namespace granvel {

// Sets the persisted setting `key` (compared without regard to case) to `value`. False with a one-line
// reason for an unknown key, a whole-number setting given something else, or a value it does not take.
bool ApplySettingText(ConvertSettings& settings, const std::string& key, const std::string& value,
                      std::string& error);

// The names of the convert types, in menu order: bg, 16x16 ... 64x64, grp, bin, screen.
const std::vector<std::string>& ConvertTypeNames();

// Sets the convert type by its name (without regard to case). False for another name.
bool ApplyConvertTypeName(ConvertSettings& settings, const std::string& name);

// "a, b, c": the names a refusal lists as the valid ones.
std::string JoinNames(const std::vector<std::string>& names);

}  // namespace granvel
