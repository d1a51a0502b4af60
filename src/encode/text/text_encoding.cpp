#include "encode/text/text_encoding.h"

#include <algorithm>
#include <cstdio>

#include "platform/files.h"
#include "platform/shift_jis.h"

namespace granvel {
namespace {

constexpr char32_t kInvalid = 0xFFFFFFFF;

// The length of the UTF-8 sequence led by `lead`, 0 for a byte that cannot lead one.
std::size_t SequenceLength(std::uint8_t lead) {
  if (lead < 0x80)
    return 1;
  if (lead >= 0xC2 && lead <= 0xDF)
    return 2;
  if (lead >= 0xE0 && lead <= 0xEF)
    return 3;
  if (lead >= 0xF0 && lead <= 0xF4)
    return 4;
  return 0;
}

// Decodes the UTF-8 character at bytes[at]: its code and length, or kInvalid for a malformed, overlong or
// surrogate sequence.
char32_t DecodeUtf8(std::span<const std::uint8_t> bytes, std::size_t at, std::size_t& length) {
  length = SequenceLength(bytes[at]);
  if (length == 0 || at + length > bytes.size()) {
    length = 1;
    return kInvalid;
  }
  if (length == 1)
    return bytes[at];
  char32_t code = bytes[at] & (0xFF >> (length + 1));
  for (std::size_t i = 1; i < length; ++i) {
    if ((bytes[at + i] & 0xC0) != 0x80) {
      length = i;
      return kInvalid;
    }
    code = (code << 6) | (bytes[at + i] & 0x3F);
  }
  static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
    return kInvalid;
  return code;
}

// Decodes the UTF-16 character at bytes[at] (an even offset): its code and length in bytes, or kInvalid
// for a lone surrogate or half a unit at the end.
char32_t DecodeUtf16(std::span<const std::uint8_t> bytes, std::size_t at, bool bigEndian,
                     std::size_t& length) {
  const auto unit = [&](std::size_t i) -> char32_t {
    return bigEndian ? (bytes[i] << 8) | bytes[i + 1] : bytes[i] | (bytes[i + 1] << 8);
  };
  length = 2;
  if (at + 2 > bytes.size()) {
    length = 1;
    return kInvalid;
  }
  const char32_t first = unit(at);
  if (first < 0xD800 || first > 0xDFFF)
    return first;
  if (first >= 0xDC00 || at + 4 > bytes.size())
    return kInvalid;
  const char32_t second = unit(at + 2);
  if (second < 0xDC00 || second > 0xDFFF)
    return kInvalid;
  length = 4;
  return 0x10000 + ((first - 0xD800) << 10) + (second - 0xDC00);
}

bool StartsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> mark) {
  return bytes.size() >= mark.size() && std::equal(mark.begin(), mark.end(), bytes.begin());
}

std::string Utf8Of(char32_t code) {
  std::string text;
  if (code < 0x80) {
    text.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    text += {static_cast<char>(0xC0 | (code >> 6)), static_cast<char>(0x80 | (code & 0x3F))};
  } else if (code < 0x10000) {
    text += {static_cast<char>(0xE0 | (code >> 12)), static_cast<char>(0x80 | ((code >> 6) & 0x3F)),
             static_cast<char>(0x80 | (code & 0x3F))};
  } else {
    text += {static_cast<char>(0xF0 | (code >> 18)), static_cast<char>(0x80 | ((code >> 12) & 0x3F)),
             static_cast<char>(0x80 | ((code >> 6) & 0x3F)), static_cast<char>(0x80 | (code & 0x3F))};
  }
  return text;
}

}  // namespace

TextEncoding DetectTextEncoding(std::span<const std::uint8_t> bytes) {
  if (StartsWith(bytes, {0xEF, 0xBB, 0xBF}))
    return TextEncoding::Utf8;
  if (StartsWith(bytes, {0xFF, 0xFE}))
    return TextEncoding::Utf16LE;
  if (StartsWith(bytes, {0xFE, 0xFF}))
    return TextEncoding::Utf16BE;
  bool multiByte = false;
  for (std::size_t at = 0, length = 0; at < bytes.size(); at += length) {
    if (DecodeUtf8(bytes, at, length) == kInvalid)
      return TextEncoding::ShiftJis;
    multiByte = multiByte || length > 1;
  }
  return multiByte ? TextEncoding::Utf8 : TextEncoding::ShiftJis;
}

const char* TextEncodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8:
      return "UTF-8";
    case TextEncoding::Utf16LE:
      return "UTF-16 LE";
    case TextEncoding::Utf16BE:
      return "UTF-16 BE";
    case TextEncoding::ShiftJis:
      break;
  }
  return "Shift JIS";
}

bool ConvertToShiftJis(std::vector<std::uint8_t>& text, TextEncoding encoding, std::string& error) {
  if (encoding == TextEncoding::ShiftJis)
    return true;
  const std::span<const std::uint8_t> bytes(text);
  const bool utf8 = encoding == TextEncoding::Utf8;
  std::size_t at = utf8 ? (StartsWith(bytes, {0xEF, 0xBB, 0xBF}) ? 3 : 0)
                        : (StartsWith(bytes, {0xFF, 0xFE}) || StartsWith(bytes, {0xFE, 0xFF}) ? 2 : 0);
  ShiftJisConverter encoder;
  std::vector<std::uint8_t> out;
  out.reserve(text.size());
  std::size_t line = 1, column = 1;
  char32_t previous = 0;
  for (std::size_t length = 0; at < bytes.size(); at += length) {
    const char32_t code = utf8 ? DecodeUtf8(bytes, at, length)
                               : DecodeUtf16(bytes, at, encoding == TextEncoding::Utf16BE, length);
    const auto place = [&] {
      return "line " + std::to_string(line) + ", column " + std::to_string(column) + ": ";
    };
    if (code == kInvalid) {
      char what[40];
      if (utf8)
        std::snprintf(what, sizeof what, "byte 0x%02X", bytes[at]);
      else if (at + 2 > bytes.size())
        std::snprintf(what, sizeof what, "half a character at the end");
      else
        std::snprintf(what, sizeof what, "a lone surrogate");
      error = place() + what + " is not " + TextEncodingName(encoding);
      return false;
    }
    if (code < 0x80) {
      out.push_back(static_cast<std::uint8_t>(code));
    } else if (!encoder.Append(code, out)) {
      char number[16];
      std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(code));
      error = place() + "'" + Utf8Of(code) + "' (" + number + ") has no Shift JIS form";
      return false;
    }
    // CR LF, CR alone and LF alone each end a line.
    if (code == '\n' || code == '\r') {
      line += code == '\n' && previous == '\r' ? 0 : 1;
      column = 1;
    } else {
      ++column;
    }
    previous = code;
  }
  text = std::move(out);
  return true;
}

bool ReadTextInput(const ConvertJob& job, const ConvertContext& ctx, std::vector<std::uint8_t>& text) {
  std::string error;
  if (!ReadWholeFile(job.Path, text, error))
    return ctx.Fail(error);
  const TextEncoding encoding = DetectTextEncoding(text);
  if (!ConvertToShiftJis(text, encoding, error))
    return ctx.Fail(error);
  if (encoding != TextEncoding::ShiftJis)
    ctx.Note(std::string("read as ") + TextEncodingName(encoding) + " and converted to Shift JIS");
  return true;
}

}  // namespace granvel
