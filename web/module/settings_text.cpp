#include "settings_text.h"

#include <vector>

#include "platform/files.h"

namespace granvel::web {
namespace {

// The one file the texts pass through; the worker runs one call at a time.
constexpr const char* kIniFolder = "/granvel-settings";
constexpr const char* kIniPath = "/granvel-settings/GRANVEL.ini";

void WriteText(const std::string& text) {
  std::string error;
  EnsureDirectory(kIniFolder, error);
  WriteWholeFile(kIniPath, std::vector<std::uint8_t>(text.begin(), text.end()), error);
}

}  // namespace

ConvertSettings SettingsFromIniText(const std::string& iniText) {
  WriteText(iniText);
  std::string error;
  EnsureDirectory(kToolFolder, error);
  return LoadSettings(kIniPath, kToolFolder);
}

std::string IniTextWith(const std::string& iniText, const ConvertSettings& settings) {
  WriteText(iniText);
  std::string error;
  if (!SaveSettings(settings, kIniPath, error))
    return iniText;
  std::vector<std::uint8_t> bytes;
  ReadWholeFile(kIniPath, bytes, error);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace granvel::web
