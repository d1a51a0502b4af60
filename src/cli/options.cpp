#include "cli/options.h"

#include <strings.h>

#include <algorithm>
#include <cctype>

#include "platform/files.h"

namespace granvel::cli {
namespace {

bool ApplyOverride(ConvertSettings& settings, const std::string& assignment, std::string& error) {
  const auto equals = assignment.find('=');
  if (equals == std::string::npos || equals == 0) {
    error = "--set takes KEY=VALUE, not \"" + assignment + "\"";
    return false;
  }
  return ApplySettingText(settings, assignment.substr(0, equals), assignment.substr(equals + 1), error);
}

}  // namespace

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

}  // namespace granvel::cli
