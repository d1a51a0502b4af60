#include "shell_win32/dialog_template.h"

namespace granvel::win32 {
namespace {

// Offset of the item count in the header: dlgVer, signature, helpID, exStyle, style.
constexpr std::size_t kCountWord = 8;

}  // namespace

DialogTemplate::DialogTemplate(const std::wstring& title, const std::wstring& font, int pointSize,
                               DWORD style, int width, int height) {
  Word(1);        // dlgVer
  Word(0xFFFF);   // signature: extended template
  DoubleWord(0);  // helpID
  DoubleWord(0);  // exStyle
  DoubleWord(style | DS_SETFONT);
  Word(0);  // cDlgItems, counted by Add
  for (int v : {0, 0, width, height})
    Word(static_cast<std::uint16_t>(v));
  Word(0);  // no menu
  Word(0);  // the dialog class
  Text(title);
  Word(static_cast<std::uint16_t>(pointSize));
  Word(FW_NORMAL);
  Word(0x0100 * DEFAULT_CHARSET);  // italic 0, then the character set
  Text(font);
}

void DialogTemplate::Add(ControlClass cls, const std::wstring& text, int id, DWORD style, int x, int y,
                         int width, int height) {
  Item({0xFFFF, static_cast<std::uint16_t>(cls)}, text, id, style, x, y, width, height);
}

void DialogTemplate::Add(const std::wstring& className, const std::wstring& text, int id, DWORD style, int x,
                         int y, int width, int height) {
  std::vector<std::uint16_t> name(className.begin(), className.end());
  name.push_back(0);
  Item(name, text, id, style, x, y, width, height);
}

void DialogTemplate::Item(const std::vector<std::uint16_t>& classField, const std::wstring& text, int id,
                          DWORD style, int x, int y, int width, int height) {
  AlignToDoubleWord();
  DoubleWord(0);  // helpID
  DoubleWord(0);  // exStyle
  DoubleWord(style | WS_CHILD | WS_VISIBLE);
  for (int v : {x, y, width, height})
    Word(static_cast<std::uint16_t>(v));
  DoubleWord(static_cast<std::uint32_t>(id));
  words_.insert(words_.end(), classField.begin(), classField.end());
  Text(text);
  Word(0);  // no creation data
  ++count_;
  words_[kCountWord] = static_cast<std::uint16_t>(count_);
}

void DialogTemplate::DoubleWord(std::uint32_t value) {
  Word(static_cast<std::uint16_t>(value & 0xFFFF));
  Word(static_cast<std::uint16_t>(value >> 16));
}

void DialogTemplate::Text(const std::wstring& text) {
  for (wchar_t c : text)
    Word(static_cast<std::uint16_t>(c));
  Word(0);
}

void DialogTemplate::AlignToDoubleWord() {
  if (words_.size() % 2 != 0)
    Word(0);
}

}  // namespace granvel::win32
