#include "convert/settings.h"

#include <strings.h>
#include <array>

#include "platform/ini.h"

namespace granvel {
namespace {

constexpr const char* kDirectory = "Directory";
constexpr const char* kConvert = "Convert";

// The values a user may give a whole-number setting: a flag, one of the three folders, or a flag whose
// missing key (-1) reads as on or as "ask".
enum class Values { Flag, Folder, FlagOrUnset };

struct IntKey {
  const char* section;
  const char* key;  // as the file spells it on save
  int ConvertSettings::*field;
  Values values;
};

// In the order a save writes them.
constexpr std::array<IntKey, 16> kIntKeys{{
    {kDirectory, "Select", &ConvertSettings::Select, Values::Folder},
    {kDirectory, "Create", &ConvertSettings::Create, Values::Flag},
    {kConvert, "TextOut", &ConvertSettings::TextOut, Values::Flag},
    {kConvert, "Data_Type", &ConvertSettings::DATA_Type, Values::FlagOrUnset},
    {kConvert, "AutoTrim", &ConvertSettings::AutoTrim, Values::Flag},
    {kConvert, "PAL_Fix_1bit", &ConvertSettings::PAL_Fix_1bit, Values::FlagOrUnset},
    {kConvert, "WideMode", &ConvertSettings::WideMode, Values::FlagOrUnset},
    {kConvert, "Make_Wide", &ConvertSettings::Make_Wide, Values::FlagOrUnset},
    {kConvert, "PRG_Limit", &ConvertSettings::PRG_Limit, Values::Flag},
    {kConvert, "PRG_To_SCR", &ConvertSettings::PRG_To_SCR, Values::Flag},
    {kConvert, "PRG_To_MEM", &ConvertSettings::PRG_To_MEM, Values::Flag},
    {kConvert, "PRG_MultiByte", &ConvertSettings::PRG_MultiByte, Values::Flag},
    {kConvert, "PRG_ESCAPE", &ConvertSettings::PRG_ESCAPE, Values::Flag},
    {kConvert, "PNG_Image", &ConvertSettings::PNG_Image, Values::Flag},
    {kConvert, "UTF8_Text", &ConvertSettings::UTF8_Text, Values::Flag},
    {kConvert, "Share_Tiles", &ConvertSettings::Share_Tiles, Values::Flag},
}};

const IntKey* IntKeyNamed(const std::string& key) {
  for (const IntKey& k : kIntKeys) {
    if (::strcasecmp(k.key, key.c_str()) == 0)
      return &k;
  }
  return nullptr;
}

// Text settings of the [Convert] section, after the integers.
struct StringKey {
  const char* key;
  std::string ConvertSettings::*field;
};
constexpr std::array<StringKey, 2> kStringKeys{{
    {"TransparentColour", &ConvertSettings::TransparentColour},
    {"Palette_File", &ConvertSettings::Palette_File},
}};

void Repair(ConvertSettings& s) {
  if ((s.Select & 0xFF00) != kSelectSourceFolder)
    s.Select = kSelectSourceFolder;
  for (int* field : {&s.Create, &s.PRG_MultiByte, &s.PRG_ESCAPE, &s.UTF8_Text, &s.Share_Tiles}) {
    if (*field < 0)
      *field = 0;
  }
  for (int* field : {&s.TextOut, &s.AutoTrim, &s.PRG_Limit, &s.PRG_To_SCR, &s.PRG_To_MEM, &s.PNG_Image}) {
    if (*field < 0)
      *field = 1;
  }
  // DATA_Type, WideMode, Make_Wide and PAL_Fix_1bit keep -1 when missing: it reads as "on" / "ask".
}

}  // namespace

std::string IniPath(const std::string& toolDir) {
  return toolDir + "/GRANVEL.ini";
}

ConvertSettings LoadSettings(const std::string& iniPath, const std::string& toolDir) {
  ConvertSettings s;
  s.ToolDir = toolDir;
  IniProfile ini;
  std::string ignored;
  ini.Load(iniPath, ignored);  // an unreadable file reads as an empty one
  for (const IntKey& k : kIntKeys)
    s.*(k.field) = ini.GetInt(k.section, k.key, -1);
  s.User = ini.GetString(kDirectory, "User", "");
  if (s.User.empty())
    s.User = s.ToolDir;
  for (const StringKey& k : kStringKeys)
    s.*(k.field) = ini.GetString(kConvert, k.key, "");
  Repair(s);
  return s;
}

ConvertSettings LoadSettings(const std::string& toolDir) {
  return LoadSettings(IniPath(toolDir), toolDir);
}

bool SaveSettings(const ConvertSettings& settings, const std::string& iniPath, std::string& error) {
  IniProfile ini;
  if (!ini.Load(iniPath, error))
    return false;  // never overwrite a file whose keys could not be kept
  ini.SetString(kDirectory, "User", settings.User);
  for (const IntKey& k : kIntKeys)
    ini.SetInt(k.section, k.key, settings.*(k.field));
  for (const StringKey& k : kStringKeys)
    ini.SetString(kConvert, k.key, settings.*(k.field));
  return ini.Save(iniPath, error);
}

bool SelectConvertType(ConvertSettings& settings, int commandId) {
  struct Unit {
    int width, height;
  };
  static constexpr std::array<Unit, 8> kUnits{
      {{8, 8}, {16, 16}, {32, 16}, {16, 32}, {32, 32}, {64, 32}, {32, 64}, {64, 64}}};
  if (commandId < kConvertBgFont || commandId > kConvertScreen)
    return false;
  if (commandId == kConvertScreen) {
    settings.UnitWidth = settings.UnitHeight = 8;
  } else if (commandId <= kConvert64x64) {
    const Unit& unit = kUnits[static_cast<std::size_t>(commandId - kConvertBgFont)];
    settings.UnitWidth = unit.width;
    settings.UnitHeight = unit.height;
  }
  settings.ConvertType = static_cast<std::uint16_t>(commandId);
  return true;
}

std::string* PersistedStringField(ConvertSettings& settings, const std::string& key) {
  if (::strcasecmp(key.c_str(), "User") == 0)
    return &settings.User;
  for (const StringKey& k : kStringKeys) {
    if (::strcasecmp(k.key, key.c_str()) == 0)
      return &(settings.*(k.field));
  }
  return nullptr;
}

int* PersistedIntField(ConvertSettings& settings, const std::string& key) {
  const IntKey* k = IntKeyNamed(key);
  return k ? &(settings.*(k->field)) : nullptr;
}

const int* PersistedIntField(const ConvertSettings& settings, const std::string& key) {
  return PersistedIntField(const_cast<ConvertSettings&>(settings), key);
}

std::vector<std::string> PersistedKeyNames() {
  std::vector<std::string> names;
  for (const IntKey& k : kIntKeys) {
    names.push_back(k.key);
    if (k.field == &ConvertSettings::Create)
      names.push_back("User");
  }
  for (const StringKey& k : kStringKeys)
    names.push_back(k.key);
  return names;
}

bool IsAllowedValue(const std::string& key, int value, std::string& allowed) {
  const IntKey* k = IntKeyNamed(key);
  if (!k)
    return false;
  switch (k->values) {
    case Values::Flag:
      allowed = "0 or 1";
      return value == 0 || value == 1;
    case Values::Folder:
      allowed = "768 (source folder), 769 (tool folder) or 770 (the User folder)";
      return value >= kSelectSourceFolder && value <= kSelectUserFolder;
    case Values::FlagOrUnset:
      allowed = "-1, 0 or 1";
      return value >= -1 && value <= 1;
  }
  return false;
}

}  // namespace granvel
