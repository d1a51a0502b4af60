#include "format/escapes.h"

namespace granvel {
namespace {

std::optional<std::uint8_t> HexDigit(std::uint8_t c) {
  if (c >= '0' && c <= '9')
    return static_cast<std::uint8_t>(c - '0');
  if (c >= 'A' && c <= 'F')
    return static_cast<std::uint8_t>(c - 'A' + 10);
  if (c >= 'a' && c <= 'f')
    return static_cast<std::uint8_t>(c - 'a' + 10);
  return std::nullopt;
}

}  // namespace

std::optional<std::uint8_t> HexPairValue(std::uint8_t high, std::uint8_t low) {
  const auto h = HexDigit(high);
  const auto l = HexDigit(low);
  if (!h || !l)
    return std::nullopt;
  return static_cast<std::uint8_t>(*h * 16 + *l);
}

std::size_t DecodeEscapes(std::vector<std::uint8_t>& text, const ConvertSettings& settings) {
  if (settings.PRG_ESCAPE == 0)
    return text.size();
  std::size_t out = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '\\') {
      text[out++] = text[i++];
      continue;
    }
    const std::size_t after = text.size() - i - 1;  // bytes after the backslash
    if (after >= 2) {
      if (const auto value = HexPairValue(text[i + 1], text[i + 2])) {
        text[out++] = *value;
        i += 3;
        continue;
      }
    }
    // Any other backslash goes; the byte after it (if any) stays, unexamined.
    if (after >= 1)
      text[out++] = text[i + 1];
    i += 2;
  }
  text.resize(out);
  return out;
}

void WriteEscapedByte(std::vector<std::uint8_t>& out, std::uint8_t byte) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  if (byte < 0x20 || (byte >= 0x7F && byte <= 0x9F) || byte >= 0xE0) {
    out.push_back('\\');
    out.push_back(static_cast<std::uint8_t>(kHex[byte >> 4]));
    out.push_back(static_cast<std::uint8_t>(kHex[byte & 0x0F]));
  } else if (byte == '\\') {
    out.push_back('\\');
    out.push_back('\\');
  } else {
    out.push_back(byte);
  }
}

}  // namespace granvel
