#include "platform/ini.h"

// Profile files are byte strings (paths may hold Shift JIS or UTF-8); no character conversion.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION  // this package keeps the template bodies behind this switch
#include <SimpleIni.h>

#include <cstdint>
#include <vector>

#include "platform/files.h"

namespace granvel {

struct IniProfile::Impl {
  CSimpleIniA ini{false, false, false};  // sections and keys without regard to case
  Impl() { ini.SetSpaces(false); }       // "Key=Value", as Windows writes profile lines
};

IniProfile::IniProfile() : impl_(std::make_unique<Impl>()) {}
IniProfile::~IniProfile() = default;

bool IniProfile::Load(const std::string& path, std::string& error) {
  impl_->ini.Reset();
  std::vector<std::uint8_t> bytes;
  std::string readError;
  if (!ReadWholeFile(path, bytes, readError)) {
    if (!PathExists(path))
      return true;  // no file yet
    error = readError;
    return false;
  }
  if (!LoadBytes(bytes)) {
    error = "cannot parse " + path;
    return false;
  }
  return true;
}

bool IniProfile::LoadBytes(const std::vector<std::uint8_t>& bytes) {
  impl_->ini.Reset();
  if (bytes.empty())
    return true;
  if (impl_->ini.LoadData(reinterpret_cast<const char*>(bytes.data()), bytes.size()) < 0) {
    impl_->ini.Reset();
    return false;
  }
  return true;
}

bool IniProfile::Save(const std::string& path, std::string& error) const {
  std::string text;
  if (impl_->ini.Save(text) < 0) {
    error = "cannot format the settings for " + path;
    return false;
  }
  return WriteWholeFile(path, std::vector<std::uint8_t>(text.begin(), text.end()), error);
}

int ParseProfileInt(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    negative = text[i] == '-';
    ++i;
  }
  std::uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
  }
  if (negative)
    value = 0u - value;
  return static_cast<int>(value);
}

int IniProfile::GetInt(const std::string& section, const std::string& key, int fallback) const {
  const char* value = impl_->ini.GetValue(section.c_str(), key.c_str(), nullptr);
  return value ? ParseProfileInt(value) : fallback;
}

std::string IniProfile::GetString(const std::string& section, const std::string& key,
                                  const std::string& fallback) const {
  const char* value = impl_->ini.GetValue(section.c_str(), key.c_str(), nullptr);
  if (!value)
    return fallback;
  std::string text(value);
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front()) {
    text = text.substr(1, text.size() - 2);
  }
  return text;
}

void IniProfile::SetInt(const std::string& section, const std::string& key, int value) {
  SetString(section, key, std::to_string(value));
}

void IniProfile::SetString(const std::string& section, const std::string& key, const std::string& value) {
  impl_->ini.SetValue(section.c_str(), key.c_str(), value.c_str());
}

}  // namespace granvel
