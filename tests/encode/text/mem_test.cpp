// MEM texts: where the assignment stands, the codes stored, the count.
#include "encode/text/mem.h"

#include <gtest/gtest.h>

namespace granvel {
namespace {

using Codes = std::vector<std::uint16_t>;

// The stored codes of the payload built from `text`, or {0xDEAD} when it is refused.
Codes CodesOf(const std::string& text, int escape = 0) {
  ConvertSettings settings;
  settings.PRG_ESCAPE = escape;
  std::string error;
  const ResourcePayload p =
      MemPayloadFromText(std::vector<std::uint8_t>(text.begin(), text.end()), settings, error);
  if (p.empty())
    return {0xDEAD};
  EXPECT_EQ(p.size(), 536u);
  EXPECT_EQ(std::string(p.begin(), p.begin() + 20), "ZORIKAMUQAVN0200RMEM");
  const std::size_t count = p[532] | p[533] << 8 | p[534] << 16 | std::size_t{p[535]} << 24;
  Codes codes;
  for (std::size_t i = 0; i < 256; ++i) {
    const std::uint16_t code = static_cast<std::uint16_t>(p[20 + 2 * i] | p[21 + 2 * i] << 8);
    if (i < count)
      codes.push_back(code);
    else
      EXPECT_EQ(code, 0) << i;
  }
  return codes;
}

TEST(MemPayloadFromText, FindsTheAssignmentAsTheHandheldWritesIt) {
  const std::tuple<std::string, int, Codes> rows[] = {
      {"MEM$ = \"HELLO\"\r\n", 0, {0xFF28, 0xFF25, 0xFF2C, 0xFF2C, 0xFF2F}},
      {"MEM$  =  \t\"A\"\r\n", 0, {0xFF21}},
      {"' a comment\r\nMEM$=\"A\"\r\n", 0, {0xFF21}},
      {"XMEM$=\"A\"\r\n", 0, {0xFF21}},
      {"MEM$=\"\"\r\n", 0, {}},
      {"MEM$=\"A\"B\"\r\n", 0, {0xFF21, 0x201D, 0xFF22}},
      {"MEM$=\"\\41\\0D\\\\\"", 1, {0xFF21, 0x000D, 0xFFE5}},
      {"MEM$=\"\\41\"", 0, {0xFFE5, 0xFF14, 0xFF11}},
      {"mem$=\"A\"\r\n", 0, {0xDEAD}},
      {"MEM$:=\"A\"\r\n", 0, {0xDEAD}},
      {"MEM$=\"", 0, {0xDEAD}},
      {"MEM$=\"AB", 0, {0xDEAD}},
      {"MMEM$=\"A\"", 0, {0xDEAD}},  // the breaking M is not tried again
      {"", 0, {0xDEAD}},
  };
  for (const auto& [text, escape, codes] : rows)
    EXPECT_EQ(CodesOf(text, escape), codes) << text;
  std::string text;
  for (int i = 0; i < 300; ++i)
    text += static_cast<char>('0' + i % 10);
  const Codes kept = CodesOf("MEM$=\"" + text + "\"\r\n");
  ASSERT_EQ(kept.size(), 256u);
  EXPECT_EQ(kept[255], 0xFEE0 + '5');
}

}  // namespace
}  // namespace granvel
