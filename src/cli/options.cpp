#include "cli/options.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/files.h"

namespace granvel::cli {
namespace {

bool ParseWholeNumber(const std::string& text, int& value) {
  if (text.empty())
    return false;
  errno = 0;
  char* end = nullptr;
  const long parsed = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || parsed < INT_MIN || parsed > INT_MAX)
    return false;
  value = static_cast<int>(parsed);
  return true;
}

bool ApplyOverride(ConvertSettings& settings, const std::string& assignment, std::string& error) {
  const auto equals = assignment.find('=');
  if (equals == std::string::npos || equals == 0) {
    error = "--set takes KEY=VALUE, not \"" + assignment + "\"";
    return false;
  }
  const std::string key = assignment.substr(0, equals);
  const std::string value = assignment.substr(equals + 1);
  if (std::string* text = PersistedStringField(settings, key)) {
    *text = value;
    return true;
  }
  int* field = PersistedIntField(settings, key);
  if (!field) {
    error = "unknown setting \"" + key + "\"; the settings are " + JoinNames(PersistedKeyNames());
    return false;
  }
  std::string allowed;
  if (!ParseWholeNumber(value, *field)) {
    error = "setting " + key + " takes a whole number, not \"" + value + "\"";
    return false;
  }
  if (!IsAllowedValue(key, *field, allowed)) {
    error = "setting " + key + " takes " + allowed + ", not " + value;
    return false;
  }
  return true;
}

}  // namespace

std::string JoinNames(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names)
    text += (text.empty() ? "" : ", ") + name;
  return text;
}

std::string ClosestNameText(const std::string& given, const std::vector<std::string>& names) {
  // Edits: a letter added, dropped or changed, compared without regard to case.
  const auto distance = [](const std::string& a, const std::string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
      row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
      std::size_t diagonal = row[0];
      row[0] = i;
      for (std::size_t j = 1; j <= b.size(); ++j) {
        const std::size_t above = row[j];
        const bool same = ::tolower(static_cast<unsigned char>(a[i - 1])) ==
                          ::tolower(static_cast<unsigned char>(b[j - 1]));
        row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
        diagonal = above;
      }
    }
    return row[b.size()];
  };
  const std::string* best = nullptr;
  std::size_t bestDistance = 3;
  for (const std::string& name : names) {
    if (const std::size_t d = distance(given, name); d < bestDistance) {
      best = &name;
      bestDistance = d;
    }
  }
  return best ? "did you mean '" + *best + "'?" : "the commands are " + JoinNames(names);
}

std::string EffectiveIniPath(const std::string& iniFile, const ConvertSettings& settings) {
  return iniFile.empty() ? IniPath(settings.ToolDir) : iniFile;
}

bool LoadEffectiveSettings(const std::string& iniFile, const std::vector<std::string>& overrides,
                           ConvertSettings& settings, std::string& error) {
  const std::string toolDir = CurrentDirectory();
  settings = LoadSettings(iniFile.empty() ? IniPath(toolDir) : iniFile, toolDir);
  for (const std::string& assignment : overrides) {
    if (!ApplyOverride(settings, assignment, error))
      return false;
  }
  return true;
}

const std::vector<std::string>& ConvertTypeNames() {
  static const std::vector<std::string> kNames{"bg",    "16x16", "32x16", "16x32", "32x32", "64x32",
                                               "32x64", "64x64", "grp",   "bin",   "screen"};
  return kNames;
}

bool ApplyConvertTypeName(ConvertSettings& settings, const std::string& name) {
  const auto& names = ConvertTypeNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (::strcasecmp(names[i].c_str(), name.c_str()) == 0) {
      return SelectConvertType(settings, kConvertBgFont + static_cast<int>(i));
    }
  }
  return false;
}

}  // namespace granvel::cli
