// An INI profile file with the semantics of the Windows profile calls: sections and keys compare without
// regard to case, integers are read as a leading sign and digits, a missing key gives the caller's default,
// and saving keeps every other key and comment of the file.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace granvel {

class IniProfile {
 public:
  IniProfile();
  ~IniProfile();
  IniProfile(const IniProfile&) = delete;
  IniProfile& operator=(const IniProfile&) = delete;

  // Reads `path`. A missing file is an empty profile (true). False with a reason when the file exists but
  // cannot be read; the profile is then empty.
  bool Load(const std::string& path, std::string& error);
  // Reads a profile held in memory. False (and an empty profile) when it cannot be parsed.
  bool LoadBytes(const std::vector<std::uint8_t>& bytes);
  // Writes the profile to `path` atomically. False with a reason when it cannot be written.
  bool Save(const std::string& path, std::string& error) const;

  // The key's integer value, or `fallback` when the key is missing. A value that does not start with a sign
  // or digit reads as 0; digits stop at the first other byte; a value beyond 32 bits wraps.
  int GetInt(const std::string& section, const std::string& key, int fallback) const;
  // The key's text with surrounding quotes removed, or `fallback` when the key is missing.
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& fallback) const;

  void SetInt(const std::string& section, const std::string& key, int value);
  void SetString(const std::string& section, const std::string& key, const std::string& value);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Reads a Windows-profile integer from text: optional blanks, an optional sign, then decimal digits. Text
// without digits reads as 0.
int ParseProfileInt(const std::string& text);

}  // namespace granvel
