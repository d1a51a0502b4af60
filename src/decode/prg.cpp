#include "decode/prg.h"

#include <array>

#include "decode/text_form.h"
#include "format/escapes.h"

namespace granvel {
namespace {

// The Shift JIS code written for each byte: below 0x100 a single byte, otherwise lead byte then trail byte
// (0x0D0A, the line end, included).
constexpr std::array<std::uint16_t, 256> MakeFullWidthTable() {
  std::array<std::uint16_t, 256> t{};
  for (auto& code : t)
    code = 0x8145;  // ・ for every byte without a character of its own
  t[0x00] = t[0x20] = 0x8140;
  t[0x09] = 0x09;
  t[0x0A] = 0x819A;
  t[0x0D] = 0x0D0A;
  t[0x1A] = 0x819D;
  constexpr std::uint16_t kArrows[] = {0x81A8, 0x81A9, 0x81AA, 0x81AB};
  for (int i = 0; i < 4; ++i)
    t[0x1C + i] = kArrows[i];
  constexpr std::uint16_t kPunctuation[] = {0x8149, 0x8168, 0x8194, 0x8190, 0x8193, 0x8195, 0x8166, 0x8169,
                                            0x816A, 0x8196, 0x817B, 0x8143, 0x817C, 0x8144, 0x815E};
  for (int i = 0; i < 15; ++i)
    t[0x21 + i] = kPunctuation[i];
  for (int i = 0; i < 10; ++i)
    t[0x30 + i] = static_cast<std::uint16_t>(0x824F + i);
  constexpr std::uint16_t kSigns[] = {0x8146, 0x8147, 0x8183, 0x8181, 0x8184, 0x8148, 0x8197};
  for (int i = 0; i < 7; ++i)
    t[0x3A + i] = kSigns[i];
  for (int i = 0; i < 26; ++i) {
    t[0x41 + i] = static_cast<std::uint16_t>(0x8260 + i);
    t[0x61 + i] = static_cast<std::uint16_t>(0x8281 + i);
  }
  constexpr std::uint16_t kBrackets[] = {0x816D, 0x818F, 0x816E, 0x814F, 0x8151, 0x814D};
  for (int i = 0; i < 6; ++i)
    t[0x5B + i] = kBrackets[i];
  t[0x7B] = 0x816F;
  t[0x7C] = 0x8162;
  t[0x7D] = 0x8170;
  t[0x7E] = 0x7E;
  t[0x7F] = 0x815F;
  t[0x80] = 0x819E;
  constexpr std::uint16_t kBoxes[] = {0x84B3, 0x84B1, 0x84B0, 0x84B4, 0x84B2, 0x84AA,
                                      0x84AB, 0x81A1, 0x84AC, 0x84AD, 0x84AF, 0x84AE};
  for (int i = 0; i < 12; ++i)
    t[0x90 + i] = kBoxes[i];
  t[0xA0] = 0x8160;
  constexpr std::uint16_t kMarks[] = {0x8142, 0x8175, 0x8176, 0x8141, 0x8145, 0x8392, 0x8340, 0x8342,
                                      0x8344, 0x8346, 0x8348, 0x8383, 0x8385, 0x8387, 0x8362, 0x815B};
  for (int i = 0; i < 16; ++i)
    t[0xA1 + i] = kMarks[i];  // 0xA1 to 0xB0
  constexpr std::uint8_t kKanaTrails[] = {
      0x41, 0x43, 0x45, 0x47, 0x49, 0x4A, 0x4C, 0x4E, 0x50, 0x52, 0x54, 0x56, 0x58, 0x5A, 0x5C,
      0x5E, 0x60, 0x63, 0x65, 0x67, 0x69, 0x6A, 0x6B, 0x6C, 0x6D, 0x6E, 0x71, 0x74, 0x77, 0x7A,
      0x7D, 0x7E, 0x80, 0x81, 0x82, 0x84, 0x86, 0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x8F, 0x93};
  for (int i = 0; i < 45; ++i)
    t[0xB1 + i] = static_cast<std::uint16_t>(0x8300 | kKanaTrails[i]);  // 0xB1 to 0xDD
  t[0xDE] = 0x814A;
  t[0xDF] = 0x814B;
  constexpr std::uint16_t kShapes[] = {0x81A1, 0x819C, 0x81A3, 0x81A5, 0x81A0, 0x819B, 0x81A2, 0x81A4};
  for (int i = 0; i < 8; ++i)
    t[0xE0 + i] = kShapes[i];
  t[0xF8] = 0x8150;
  constexpr std::uint16_t kTail[] = {0x8151, 0x815E, 0x815F, 0x817E, 0x81A6};
  for (int i = 0; i < 5; ++i)
    t[0xFB + i] = kTail[i];
  return t;
}

constexpr std::array<std::uint16_t, 256> kFullWidth = MakeFullWidthTable();

}  // namespace

void AppendFullWidth(std::vector<std::uint8_t>& out, std::uint8_t byte) {
  const std::uint16_t code = kFullWidth[byte];
  if (code >= 0x100)
    out.push_back(static_cast<std::uint8_t>(code >> 8));
  out.push_back(static_cast<std::uint8_t>(code));
}

std::vector<std::uint8_t> ProgramText(std::span<const std::uint8_t> program,
                                      const ConvertSettings& settings) {
  std::vector<std::uint8_t> text;
  if (settings.PRG_MultiByte != 0) {
    text.reserve(program.size() * 2);
    for (std::uint8_t byte : program)
      AppendFullWidth(text, byte);
  } else if (settings.PRG_ESCAPE != 0) {
    text.reserve(program.size() * 3 / 2);
    for (std::uint8_t byte : program)
      WriteEscapedByte(text, byte);
  } else {
    text.assign(program.begin(), program.end());
  }
  return text;
}

bool DecodePrg(std::span<const std::uint8_t> program, const std::string& stem, const ConvertContext& ctx) {
  return WriteDecodedText(stem + "_PRG.txt", ProgramText(program, ctx.Settings()), LineEnds::Program, ctx);
}

}  // namespace granvel
