#include "convert/setting_text.h"

#include <strings.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace granvel {
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

}  // namespace

bool ApplySettingText(ConvertSettings& settings, const std::string& key, const std::string& value,
                      std::string& error) {
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

std::string JoinNames(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names)
    text += (text.empty() ? "" : ", ") + name;
  return text;
}

const std::vector<std::string>& ConvertTypeNames() {
  static const std::vector<std::string> kNames{"bg",    "16x16", "32x16", "16x32", "32x32", "64x32",
                                               "32x64", "64x64", "grp",   "bin",   "screen"};
  return kNames;
}

bool ApplyConvertTypeName(ConvertSettings& settings, const std::string& name) {
  const auto& names = ConvertTypeNames();
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (::strcasecmp(names[i].c_str(), name.c_str()) == 0)
      return SelectConvertType(settings, kConvertBgFont + static_cast<int>(i));
  }
  return false;
}

}  // namespace granvel
