#include "encode/text/fullwidth.h"

#include <array>

namespace granvel {
namespace {

constexpr std::uint8_t kVoiced = 0xDE;      // the half-width voiced sound mark
constexpr std::uint8_t kSemiVoiced = 0xDF;  // the half-width semi-voiced sound mark

struct SymbolEntry {
  std::uint8_t trail;
  std::uint8_t first;
  std::uint8_t second;  // 0: a one-byte entry
};

// Lead byte 0x81: punctuation, brackets, operators, shapes and arrows.
constexpr SymbolEntry kSymbols[] = {
    {0x40, 0x20, 0}, {0x41, 0xA4, 0}, {0x42, 0xA1, 0},    {0x43, 0x2C, 0},    {0x44, 0x2E, 0},
    {0x45, 0xA5, 0}, {0x46, 0x3A, 0}, {0x47, 0x3B, 0},    {0x48, 0x3F, 0},    {0x49, 0x21, 0},
    {0x4A, 0xDE, 0}, {0x4B, 0xDF, 0}, {0x4C, 0x27, 0},    {0x4D, 0x60, 0},    {0x4E, 0x83, 0},
    {0x4F, 0x5E, 0}, {0x50, 0xF8, 0}, {0x51, 0x5F, 0},    {0x5A, 0xE5, 0},    {0x5B, 0xB0, 0},
    {0x5C, 0x2E, 0}, {0x5E, 0x2F, 0}, {0x5F, 0x7F, 0},    {0x60, 0xA0, 0},    {0x62, 0x7C, 0},
    {0x65, 0x27, 0}, {0x66, 0x27, 0}, {0x67, 0x22, 0},    {0x68, 0x22, 0},    {0x69, 0x28, 0},
    {0x6A, 0x29, 0}, {0x6D, 0x5B, 0}, {0x6E, 0x5D, 0},    {0x6F, 0x7B, 0},    {0x70, 0x7D, 0},
    {0x75, 0xA2, 0}, {0x76, 0xA3, 0}, {0x77, 0xA2, 0},    {0x78, 0xA3, 0},    {0x79, 0x7B, 0},
    {0x7A, 0x7D, 0}, {0x7B, 0x2B, 0}, {0x7C, 0x2D, 0},    {0x7E, 0xFE, 0},    {0x81, 0x3D, 0},
    {0x83, 0x3C, 0}, {0x84, 0x3E, 0}, {0x85, 0x3C, 0x3D}, {0x86, 0x3E, 0x3D}, {0x8F, 0x5C, 0},
    {0x90, 0x24, 0}, {0x93, 0x25, 0}, {0x94, 0x23, 0},    {0x95, 0x26, 0},    {0x96, 0x2A, 0},
    {0x97, 0x40, 0}, {0x99, 0x0A, 0}, {0x9A, 0x0A, 0},    {0x9B, 0xE5, 0},    {0x9C, 0xE1, 0},
    {0x9D, 0x1A, 0}, {0x9E, 0x80, 0}, {0x9F, 0x80, 0},    {0xA0, 0xE4, 0},    {0xA1, 0xE0, 0},
    {0xA2, 0xE6, 0}, {0xA3, 0xE2, 0}, {0xA4, 0xE7, 0},    {0xA5, 0xE3, 0},    {0xA6, 0xFF, 0},
    {0xA8, 0x1C, 0}, {0xA9, 0x1D, 0}, {0xAA, 0x1E, 0},    {0xAB, 0x1F, 0},
};

struct KanaEntry {
  std::uint8_t base;  // the half-width katakana, 0: no entry
  std::uint8_t mark;  // 0, or the sound mark that follows it
};

// The kana in the order both syllabaries share in Shift JIS: ァ ア ィ イ ... ン, then ヴ ヵ ヶ (katakana
// only). Hiragana 0x829F and katakana 0x8340 are the first; the katakana skip the trail byte 0x7F.
// clang-format off
constexpr KanaEntry kKana[] = {
    {0xA7, 0}, {0xB1, 0}, {0xA8, 0}, {0xB2, 0}, {0xA9, 0}, {0xB3, 0}, {0xAA, 0}, {0xB4, 0},  // ァアィイゥウェエ
    {0xAB, 0}, {0xB5, 0},                                                                    // ォオ
    {0xB6, 0}, {0xB6, kVoiced}, {0xB7, 0}, {0xB7, kVoiced}, {0xB8, 0}, {0xB8, kVoiced},      // カガキギクグ
    {0xB9, 0}, {0xB9, kVoiced}, {0xBA, 0}, {0xBA, kVoiced},                                  // ケゲコゴ
    {0xBB, 0}, {0xBB, kVoiced}, {0xBC, 0}, {0xBC, kVoiced}, {0xBD, 0}, {0xBD, kVoiced},      // サザシジスズ
    {0xBE, 0}, {0xBE, kVoiced}, {0xBF, 0}, {0xBF, kVoiced},                                  // セゼソゾ
    {0xC0, 0}, {0xC0, kVoiced}, {0xC1, 0}, {0xC1, kVoiced}, {0xAF, 0},                       // タダチヂッ
    {0xC2, 0}, {0xC2, kVoiced}, {0xC3, 0}, {0xC3, kVoiced}, {0xC4, 0}, {0xC4, kVoiced},      // ツヅテデトド
    {0xC5, 0}, {0xC6, 0}, {0xC7, 0}, {0xC8, 0}, {0xC9, 0},                                   // ナニヌネノ
    {0xCA, 0}, {0xCA, kVoiced}, {0xCA, kSemiVoiced},                                         // ハバパ
    {0xCB, 0}, {0xCB, kVoiced}, {0xCB, kSemiVoiced},                                         // ヒビピ
    {0xCC, 0}, {0xCC, kVoiced}, {0xCC, kSemiVoiced},                                         // フブプ
    {0xCD, 0}, {0xCD, kVoiced}, {0xCD, kSemiVoiced},                                         // ヘベペ
    {0xCE, 0}, {0xCE, kVoiced}, {0xCE, kSemiVoiced},                                         // ホボポ
    {0xCF, 0}, {0xD0, 0}, {0xD1, 0}, {0xD2, 0}, {0xD3, 0},                                   // マミムメモ
    {0xAC, 0}, {0xD4, 0}, {0xAD, 0}, {0xD5, 0}, {0xAE, 0}, {0xD6, 0},                        // ャヤュユョヨ
    {0xD7, 0}, {0xD8, 0}, {0xD9, 0}, {0xDA, 0}, {0xDB, 0},                                   // ラリルレロ
    {0, 0}, {0xDC, 0}, {0, 0}, {0, 0}, {0xA6, 0}, {0xDD, 0},                                 // ヮワヰヱヲン
    {0xB3, kVoiced}, {0, 0}, {0, 0},                                                         // ヴヵヶ
};
// clang-format on
constexpr std::size_t kHiraganaCount = 83;  // ぁ (0x829F) to ん (0x82F1)
static_assert(std::size(kKana) == 86);

struct BoxEntry {
  std::uint8_t code;
  std::uint8_t trails[4];  // 0: unused
};

// Lead byte 0x84: box drawing by shape, whatever the line weight.
constexpr BoxEntry kBoxes[] = {
    {0x90, {0xA8, 0xB3, 0xB8, 0xBD}}, {0x91, {0xA6, 0xB1, 0xB6, 0xBB}}, {0x92, {0xA5, 0xB0, 0xB5, 0xBA}},
    {0x93, {0xA9, 0xB4, 0xB9, 0xBE}}, {0x94, {0xA7, 0xB2, 0xB7, 0xBC}}, {0x95, {0x9F, 0xAA, 0, 0}},
    {0x96, {0xA0, 0xAB, 0, 0}},       {0x98, {0xA1, 0xAC, 0, 0}},       {0x99, {0xA2, 0xAD, 0, 0}},
    {0x9A, {0xA4, 0xAF, 0, 0}},       {0x9B, {0xA3, 0xAE, 0, 0}},
};

constexpr FullWidthCode One(std::uint8_t first) {
  return {1, first, 0};
}
constexpr FullWidthCode Kana(const KanaEntry& kana) {
  if (!kana.base)
    return {};
  return kana.mark ? FullWidthCode{2, kana.base, kana.mark} : One(kana.base);
}

using Table = std::array<FullWidthCode, 4 * 256>;

constexpr Table MakeTable() {
  Table table{};
  auto at = [&table](std::uint8_t lead, unsigned trail) -> FullWidthCode& {
    return table[(lead - 0x81) * 256 + trail];
  };
  for (const SymbolEntry& s : kSymbols)
    at(0x81, s.trail) = s.second ? FullWidthCode{2, s.first, s.second} : One(s.first);
  for (unsigned t = 0x4F; t <= 0x58; ++t)  // ０ to ９
    at(0x82, t) = One(static_cast<std::uint8_t>(t - 0x1F));
  for (unsigned t = 0x60; t <= 0x79; ++t)  // Ａ to Ｚ
    at(0x82, t) = One(static_cast<std::uint8_t>(t - 0x1F));
  for (unsigned t = 0x81; t <= 0x9A; ++t)  // ａ to ｚ
    at(0x82, t) = One(static_cast<std::uint8_t>(t - 0x20));
  for (std::size_t k = 0; k < kHiraganaCount; ++k)
    at(0x82, 0x9F + k) = Kana(kKana[k]);
  for (std::size_t k = 0; k < std::size(kKana); ++k)
    at(0x83, k < 0x3F ? 0x40 + k : 0x41 + k) = Kana(kKana[k]);  // the katakana skip 0x837F
  for (const BoxEntry& box : kBoxes) {
    for (std::uint8_t trail : box.trails) {
      if (trail)
        at(0x84, trail) = One(box.code);
    }
  }
  return table;
}

constexpr Table kTable = MakeTable();

}  // namespace

FullWidthCode FullWidthCodeOf(std::uint8_t lead, std::uint8_t trail) {
  if (lead < 0x81 || lead > 0x84)
    return {};
  return kTable[(lead - 0x81) * 256 + trail];
}

}  // namespace granvel
