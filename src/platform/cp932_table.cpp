#include "platform/cp932_table.h"

#include <algorithm>
#include <array>

namespace granvel {
namespace {

// A byte sequence (one byte: 0x00-0xFF; two: lead << 8 | trail) and its character.
struct Cp932Pair {
  std::uint16_t Bytes;
  std::uint16_t Code;
};

#include "platform/cp932_table.inc"

// Every character's sequence, by character: the first sequence that decodes to it unless the table of
// exceptions names another (or none). Made once; never changed after.
struct EncodeTable {
  std::vector<Cp932Pair> ByCode;
  EncodeTable() {
    ByCode.reserve(std::size(kDecoded));
    for (const Cp932Pair& pair : kDecoded)
      ByCode.push_back(pair);
    // Sorted by character, then sequence: the first of each character is its lowest sequence.
    std::sort(ByCode.begin(), ByCode.end(), [](const Cp932Pair& a, const Cp932Pair& b) {
      return a.Code != b.Code ? a.Code < b.Code : a.Bytes < b.Bytes;
    });
    ByCode.erase(std::unique(ByCode.begin(), ByCode.end(),
                             [](const Cp932Pair& a, const Cp932Pair& b) { return a.Code == b.Code; }),
                 ByCode.end());
    for (const Cp932Pair& other : kEncodedOtherwise) {
      auto it = std::lower_bound(ByCode.begin(), ByCode.end(), other.Code,
                                 [](const Cp932Pair& pair, std::uint16_t code) { return pair.Code < code; });
      if (it != ByCode.end() && it->Code == other.Code)
        it->Bytes = other.Bytes;
    }
  }
};

const EncodeTable& Encoding() {
  static const EncodeTable table;
  return table;
}

}  // namespace

bool Cp932Encode(char32_t code, std::vector<std::uint8_t>& out) {
  if (code > 0xFFFF)
    return false;
  const std::vector<Cp932Pair>& byCode = Encoding().ByCode;
  auto it = std::lower_bound(byCode.begin(), byCode.end(), static_cast<std::uint16_t>(code),
                             [](const Cp932Pair& pair, std::uint16_t c) { return pair.Code < c; });
  // A sequence of 0 marks a character that has none, except the NUL character's own byte.
  if (it == byCode.end() || it->Code != code || (it->Bytes == 0 && code != 0))
    return false;
  if (it->Bytes > 0xFF)
    out.push_back(static_cast<std::uint8_t>(it->Bytes >> 8));
  out.push_back(static_cast<std::uint8_t>(it->Bytes & 0xFF));
  return true;
}

bool Cp932Decode(const std::uint8_t* bytes, std::size_t count, char32_t& code) {
  if (count == 0 || count > 2)
    return false;
  const std::uint16_t sequence = count == 1 ? bytes[0] : static_cast<std::uint16_t>(bytes[0] << 8 | bytes[1]);
  // A two-byte sequence always has a lead byte of 0x01 or more: it never meets a one-byte one.
  if (count == 2 && bytes[0] == 0)
    return false;
  auto it = std::lower_bound(std::begin(kDecoded), std::end(kDecoded), sequence,
                             [](const Cp932Pair& pair, std::uint16_t s) { return pair.Bytes < s; });
  if (it == std::end(kDecoded) || it->Bytes != sequence)
    return false;
  code = it->Code;
  return true;
}

}  // namespace granvel
