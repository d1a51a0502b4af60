#include "decode/mem.h"

#include <algorithm>
#include <cstdio>

#include "decode/text_form.h"
#include "format/bytes.h"
#include "format/escapes.h"
#include "format/mem_codes.h"

namespace granvel {
namespace {

constexpr std::size_t kMemDataSize = 516;
constexpr std::size_t kMemCharacters = 256;
constexpr std::size_t kCountOffset = 512;

std::string CodeText(std::uint16_t code) {
  char text[8];
  std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(code));
  return text;
}

}  // namespace

MemByteTable::MemByteTable() {
  for (int byte = 0; byte < 256; ++byte) {
    entries_[static_cast<std::size_t>(byte)] = {WideCodeOf(static_cast<std::uint8_t>(byte)),
                                                static_cast<std::uint8_t>(byte)};
  }
  entries_[256] = {0xFFFF, 0xFF};
  std::sort(entries_.begin(), entries_.end());
}

std::optional<std::uint8_t> MemByteTable::ByteOf(std::uint16_t code) const {
  const auto found =
      std::lower_bound(entries_.begin(), entries_.end(), std::make_pair(code, std::uint8_t{0}));
  if (found == entries_.end() || found->first != code)
    return std::nullopt;
  return found->second;
}

bool MemTextBytes(std::span<const std::uint8_t> data, const ConvertSettings& settings,
                  std::vector<std::uint8_t>& text, std::string& reason) {
  static constexpr std::string_view kOpening = "MEM$=\"";
  static constexpr std::string_view kClosing = "\"\r\n";
  text.assign(kOpening.begin(), kOpening.end());
  if (data.size() < kMemDataSize) {
    reason = "MEM data is " + std::to_string(data.size()) + " bytes, not 516";
    return false;
  }
  bool ok = true;
  const std::size_t count = GetU16LE(&data[kCountOffset]);
  if (count > kMemCharacters) {
    reason =
        "the MEM count " + std::to_string(count) + " is above 256; the 256 characters there are were kept";
    ok = false;
  }
  const MemByteTable table;
  for (std::size_t i = 0; i < std::min(count, kMemCharacters); ++i) {
    const std::uint16_t code = GetU16LE(&data[2 * i]);
    const auto byte = table.ByteOf(code);
    if (!byte) {
      if (ok)
        reason =
            "MEM character " + std::to_string(i) + " (" + CodeText(code) + ") has no byte; it was dropped";
      ok = false;
      continue;
    }
    if (settings.PRG_ESCAPE != 0)
      WriteEscapedByte(text, *byte);
    else
      text.push_back(*byte);
  }
  text.insert(text.end(), kClosing.begin(), kClosing.end());
  return ok;
}

bool DecodeMem(std::span<const std::uint8_t> data, const std::string& stem, const ConvertContext& ctx) {
  if (data.size() != kMemDataSize)
    return ctx.Fail("MEM data is " + std::to_string(data.size()) + " bytes, not 516");
  std::vector<std::uint8_t> text;
  std::string reason;
  const bool complete = MemTextBytes(data, ctx.Settings(), text, reason);
  const std::string path = stem + "_MEM.txt";
  if (!WriteDecodedText(path, std::move(text), LineEnds::LastOnly, ctx))
    return false;
  return complete || ctx.Fail(path + ": " + reason);
}

}  // namespace granvel
