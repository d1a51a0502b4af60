#include "decode/text_form.h"

#include <cstdio>

#include "platform/files.h"
#include "platform/shift_jis.h"

namespace granvel {
namespace {

constexpr std::uint8_t kCr = 0x0D;
constexpr std::uint8_t kLf = 0x0A;

bool IsLead(std::uint8_t byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

void AppendUtf8(char32_t code, std::vector<std::uint8_t>& out) {
  if (code < 0x80) {
    out.push_back(static_cast<std::uint8_t>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<std::uint8_t>(0xC0 | code >> 6));
    out.push_back(static_cast<std::uint8_t>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<std::uint8_t>(0xE0 | code >> 12));
    out.push_back(static_cast<std::uint8_t>(0x80 | (code >> 6 & 0x3F)));
    out.push_back(static_cast<std::uint8_t>(0x80 | (code & 0x3F)));
  }
}

std::string ByteText(std::size_t offset, const std::uint8_t* bytes, std::size_t count) {
  char text[64];
  if (count == 2)
    std::snprintf(text, sizeof text, "bytes 0x%02X%02X at offset %zu", bytes[0], bytes[1], offset);
  else
    std::snprintf(text, sizeof text, "byte 0x%02X at offset %zu", bytes[0], offset);
  return text;
}

// The length of the line end at `at` (0: none there).
std::size_t LineEndAt(std::span<const std::uint8_t> text, std::size_t at, LineEnds lineEnds) {
  const bool crLf = at + 1 < text.size() && text[at] == kCr && text[at + 1] == kLf;
  switch (lineEnds) {
    case LineEnds::Program:
      return text[at] != kCr ? 0 : crLf ? 2 : 1;
    case LineEnds::Screen:
      return crLf ? 2 : 0;
    case LineEnds::LastOnly:
      return crLf && at + 2 == text.size() ? 2 : 0;
  }
  return 0;
}

}  // namespace

bool Utf8FormOf(std::span<const std::uint8_t> text, LineEnds lineEnds, std::vector<std::uint8_t>& utf8,
                std::string& reason) {
  ShiftJisConverter converter;
  std::vector<std::uint8_t> again;
  utf8.clear();
  utf8.reserve(text.size() + text.size() / 2);
  for (std::size_t at = 0; at < text.size();) {
    if (const std::size_t end = LineEndAt(text, at, lineEnds)) {
      utf8.push_back(kLf);
      at += end;
      continue;
    }
    const std::uint8_t* bytes = &text[at];
    if (lineEnds == LineEnds::Program && bytes[0] == kLf) {
      reason = ByteText(at, bytes, 1) + " is a line feed inside a line";
      return false;
    }
    if (bytes[0] < 0x80) {
      utf8.push_back(bytes[0]);
      ++at;
      continue;
    }
    const std::size_t count = IsLead(bytes[0]) && at + 1 < text.size() ? 2 : 1;
    char32_t code = 0;
    again.clear();
    // Only a character that gives its bytes back, outside the user-defined area (whose characters no font
    // shares), reads back the same. Of the single bytes above ASCII only the half-width katakana are
    // characters: the systems' converters differ on the others (0x80 is U+0080 on Windows, none elsewhere).
    const bool kana = bytes[0] >= 0xA1 && bytes[0] <= 0xDF;
    if ((count == 1 && !kana) || !converter.Decode(bytes, count, code) ||
        (code >= 0xE000 && code <= 0xF8FF) || !converter.Append(code, again) || again.size() != count ||
        !std::equal(again.begin(), again.end(), bytes)) {
      reason = ByteText(at, bytes, count) + " stand" + (count == 1 ? "s" : "") + " for no character";
      return false;
    }
    AppendUtf8(code, utf8);
    at += count;
  }
  return true;
}

bool WriteDecodedText(const std::string& path, std::vector<std::uint8_t> text, LineEnds lineEnds,
                      const ConvertContext& ctx) {
  if (ctx.Settings().UTF8_Text != 0) {
    std::vector<std::uint8_t> utf8;
    std::string reason;
    if (Utf8FormOf(text, lineEnds, utf8, reason))
      return ctx.WriteOutput(path, utf8);
    ctx.Note(path.substr(FolderOf(path).size()) + " is written as Shift JIS, not UTF-8: " + reason);
  }
  return ctx.WriteOutput(path, text);
}

}  // namespace granvel
