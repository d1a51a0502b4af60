// An extended dialog template (DLGTEMPLATEEX) made in memory, for a dialog whose controls come from a table
// rather than a resource script. Coordinates are dialog units of the template's font, as in a script.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell_win32/win32.h"

namespace granvel::win32 {

// The system's predefined control classes.
enum class ControlClass : std::uint16_t { Button = 0x80, Edit = 0x81, Static = 0x82, ComboBox = 0x85 };

class DialogTemplate {
 public:
  DialogTemplate(const std::wstring& title, const std::wstring& font, int pointSize, DWORD style, int width,
                 int height);
  // A control of a predefined class, or of a registered class by name.
  void Add(ControlClass cls, const std::wstring& text, int id, DWORD style, int x, int y, int width,
           int height);
  void Add(const std::wstring& className, const std::wstring& text, int id, DWORD style, int x, int y,
           int width, int height);
  int Count() const { return count_; }

  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Item(const std::vector<std::uint16_t>& classField, const std::wstring& text, int id, DWORD style,
            int x, int y, int width, int height);
  void Word(std::uint16_t word) { words_.push_back(word); }
  void DoubleWord(std::uint32_t value);
  void Text(const std::wstring& text);
  void AlignToDoubleWord();

  std::vector<std::uint16_t> words_;  // 16-bit words: the template's alignment unit
  int count_ = 0;
};

}  // namespace granvel::win32
