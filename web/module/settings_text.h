// Settings to and from the text of a GRANVEL.ini, through the in-memory file system: the core reads and
// writes INI files, and the page keeps only their text.
#pragma once

#include <string>

#include "convert/settings.h"

namespace granvel::web {

// The tool folder of the browser edition: where "Same folder as tool" writes.
inline constexpr const char* kToolFolder = "/tool";

// The settings the text gives (an empty text: the defaults), with kToolFolder as the tool folder.
ConvertSettings SettingsFromIniText(const std::string& iniText);
// The text with the persisted fields of `settings` written into it, its other keys and comments kept.
std::string IniTextWith(const std::string& iniText, const ConvertSettings& settings);

}  // namespace granvel::web
