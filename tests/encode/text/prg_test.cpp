// Program texts: the payload's layout, line ends, the line limit, escapes and full-width texts.
#include "encode/text/prg.h"

#include <gtest/gtest.h>

#include "encode/text/sjis.h"

namespace granvel {
namespace {

using test::Sjis;

// The program bytes of `text`'s payload after checking the payload's fixed parts, or "error: <reason>".
std::string Program(const std::string& text, int limit = 1, int escape = 0) {
  ConvertSettings settings;
  settings.PRG_Limit = limit;
  settings.PRG_ESCAPE = escape;
  std::string error;
  const ResourcePayload p =
      PrgPayloadFromText(std::vector<std::uint8_t>(text.begin(), text.end()), settings, error);
  if (p.empty())
    return "error: " + error;
  const std::size_t n = p[28] | p[29] << 8 | p[30] << 16 | std::size_t{p[31]} << 24;
  EXPECT_EQ(std::string(p.begin(), p.begin() + 28),
            std::string("ZORIKAMUQAVN0300RPRG") + std::string(8, '\0'));
  EXPECT_EQ(p.size(), 32 + (n + 3) / 4 * 4);
  EXPECT_TRUE(
      std::all_of(p.begin() + 32 + static_cast<std::ptrdiff_t>(n), p.end(), [](auto b) { return b == 0; }));
  return std::string(p.begin() + 32, p.begin() + 32 + static_cast<std::ptrdiff_t>(n));
}

TEST(PrgPayloadFromText, LineEndsLimitsAndEscapes) {
  const std::string first = "10 A\r\n", x198(198, 'x');
  const std::tuple<std::string, int, int, std::string> rows[] = {
      {"10 PRINT 1\r\n20 END\r\n", 1, 0, "10 PRINT 1\r20 END\r"},
      {"10 PRINT 1\r20 END\r", 1, 0, "10 PRINT 1\r20 END\r"},
      {"10 PRINT 1\r\n20 END\n", 1, 0, "10 PRINT 1\r20 END\n"},  // with any CR, a bare LF stays
      {"10 A\n\r\n", 1, 0, "10 A\n\r"},
      {"\r\n", 1, 0, "\r"},
      {"Z", 1, 0, "Z"},
      {"ABCDE", 1, 0, "ABCDE"},
      {"10 A\n20 ' \\0A\n", 1, 0, "10 A\r20 ' \\0A\r"},  // LF only: read as its CR LF twin
      {"10 A\n20 ' \\0A\n", 1, 1, "10 A\r20 ' \n\r"},
      {x198 + "\n" + x198 + "\n" + x198 + "\n", 1, 0, x198 + "\r" + x198 + "\r" + x198 + "\r"},
      {first + x198 + "\r\n", 1, 0, "10 A\r" + x198 + "\r"},
      {first + x198 + "x\r\n", 1, 0,
       "error: line 2 is 199 bytes long; the limit is 198 (PRG_Limit=0 lifts it)"},
      {x198 + "x\r\n", 1, 0, x198 + "x\r"},
      {x198 + "xx\r\n", 1, 0, "error: line 1 is 200 bytes long; the limit is 199 (PRG_Limit=0 lifts it)"},
      {first + x198 + "x", 1, 0, "10 A\r" + x198 + "x"},  // the last byte is never examined
      {first + x198 + "xx", 1, 0, "error: line 2 is 200 bytes long; the limit is 198 (PRG_Limit=0 lifts it)"},
      {first + std::string(1000, 'x') + "\r\n", 0, 0, "10 A\r" + std::string(1000, 'x') + "\r"},
      {first + std::string(100, 'x') + "\n" + std::string(100, 'x') + "\r\n", 1, 0,
       "error: line 2 is 201 bytes long; the limit is 198 (PRG_Limit=0 lifts it)"},
      {std::string(150, 'a') + "\\0D" + std::string(150, 'b'), 1, 1,
       std::string(150, 'a') + "\r" + std::string(150, 'b')},
      {std::string(150, 'a') + "\\0D" + std::string(150, 'b') + "\r\n", 1, 0,
       "error: line 1 is 303 bytes long; the limit is 199 (PRG_Limit=0 lifts it)"},
      {"PRINT\\41\\0d\\\\\\\"\r\n", 1, 1, "PRINTA\r\\\"\r"},
      {"PRINT\\41\\0d\\\\\\\"\r\n", 1, 0, "PRINT\\41\\0d\\\\\\\"\r"},
      {"", 1, 0, "error: the file is empty"},
  };
  for (const auto& [text, limit, escape, program] : rows)
    EXPECT_EQ(Program(text, limit, escape), program) << text.substr(0, 30);
  std::string many;
  for (int i = 1; i < 40; ++i)
    many += std::to_string(i * 10) + " PRINT\r\n";
  EXPECT_EQ(Program(many + std::string(205, 'y') + "\r\n"),
            "error: line 40 is 205 bytes long; the limit is 198 (PRG_Limit=0 lifts it)");
}

TEST(PrgPayloadFromText, FullWidthTextsBecomeSingleBytes) {
  const std::pair<std::string, std::string> rows[] = {
      {Sjis("ＰＲＩＮＴ　「ア」"), "PRINT \xA2\xB1\xA3"},
      {Sjis("≦≧ガ☆ヴポンをあ┼"), "<=>=\xB6\xDE\x0A\xB3\xDE\xCE\xDF\xDD\xA6\xB1\x93"},
      {Sjis("ＡＢ"), "AB"},  // no line end: the last character is converted too
      {Sjis("０１２３４５６７８９ＡＺａｚ"), "0123456789AZaz"},
      {Sjis("ー・、。゛゜"), "\xB0\xA5\xA4\xA1\xDE\xDF"},
      {Sjis("┴┻┷┸┬├┼╋┤─━│┃┌┏┐└┘┛"),
       "\x90\x90\x90\x90\x91\x92\x93\x93\x94\x95\x95\x96\x96\x98\x98\x99\x9A\x9B\x9B"},
      {"x" + Sjis("ガ"), "x\x83\x4B"},  // one ASCII byte at an even position: kept as typed
      {"\x7F" + Sjis("ガ"), "\x7F\x83\x4B"},
      {"!" + Sjis("ガ"), "!\x83\x4B"},
      {"\xB1" + Sjis("ＡＢ"), "\xB1\x82\x60\x82\x61"},
      {" A", " A"},
      {Sjis("Ａ") + " #", "A #"},
      {" \\" + Sjis("　"), " \\ "},  // full-width texts decode no escapes
      {Sjis("ＡＢ漢"), "error: line 1: character 0x8ABF has no single-byte form"},
      {Sjis("ＡＢゎ"), "error: line 1: character 0x82EC has no single-byte form"},
      {Sjis("ヶ"), "error: line 1: character 0x8396 has no single-byte form"},
      {"\xFC\x40", "error: line 1: character 0xFC40 has no single-byte form"},  // the last lead byte
      {" a",
       "error: line 1: byte 0x61 is not a full-width character (a text with no ASCII at its even positions "
       "is read as full-width)"},
  };
  for (const auto& [text, program] : rows)
    EXPECT_EQ(Program(text + "\r\n", 1, 1), program + (program.rfind("error", 0) == 0 ? "" : "\r")) << text;
  // Every kana with a half-width form, hiragana and katakana alike.
  const std::string half = Sjis(
      "ｧｱｨｲｩｳｪｴｫｵｶｶﾞｷｷﾞｸｸﾞｹｹﾞｺｺﾞｻｻﾞｼｼﾞｽｽﾞｾｾﾞｿｿﾞﾀﾀﾞﾁﾁﾞｯﾂﾂﾞﾃﾃﾞﾄﾄﾞﾅﾆﾇﾈﾉﾊﾊﾞﾊﾟﾋﾋﾞﾋﾟﾌﾌﾞﾌﾟﾍﾍﾞﾍﾟﾎﾎﾞﾎﾟﾏﾐﾑﾒﾓｬﾔｭﾕｮﾖﾗﾘﾙﾚﾛ"
      "ﾜｦﾝ");
  EXPECT_EQ(Program(Sjis(
                "ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトドナニヌネノ"
                "ハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロワヲン")),
            half);
  EXPECT_EQ(Program(Sjis(
                "ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとどなにぬねの"
                "はばぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろわをん")),
            half);
}

TEST(PrgPayloadFromText, SymbolsOfLeadByte81AndEntriesPerLeadByte) {
  // Trail bytes 0x40 to 0xAB of lead byte 0x81, "?" where there is no entry.
  const std::string symbols[] = {
      " ",    "\xA4", "\xA1", ",",    ".",    "\xA5", ":",    ";",    "?",    "!",    "\xDE", "\xDF",
      "'",    "`",    "\x83", "^",    "\xF8", "_",    "",     "",     "",     "",     "",     "",
      "",     "",     "\xE5", "\xB0", ".",    "",     "/",    "\x7F", "\xA0", "",     "|",    "",
      "",     "'",    "'",    "\"",   "\"",   "(",    ")",    "",     "",     "[",    "]",    "{",
      "}",    "",     "",     "",     "",     "\xA2", "\xA3", "\xA2", "\xA3", "{",    "}",    "+",
      "-",    "",     "\xFE", "",     "",     "=",    "",     "<",    ">",    "<=",   ">=",   "",
      "",     "",     "",     "",     "",     "",     "",     "\\",   "$",    "",     "",     "%",
      "#",    "&",    "*",    "@",    "",     "\x0A", "\x0A", "\xE5", "\xE1", "\x1A", "\x80", "\x80",
      "\xE4", "\xE0", "\xE6", "\xE2", "\xE7", "\xE3", "\xFF", "",     "\x1C", "\x1D", "\x1E", "\x1F"};
  for (int trail = 0x40; trail <= 0xAB; ++trail) {
    const std::string& expected = symbols[trail - 0x40];
    char refusal[64];
    std::snprintf(refusal, sizeof refusal, "error: line 1: character 0x81%02X has no single-byte form",
                  trail);
    EXPECT_EQ(Program(std::string{'\x81', static_cast<char>(trail), '\r', '\n'}),
              expected.empty() ? std::string(refusal) : expected + "\r");
  }
  const int entries[] = {74, 10 + 26 + 26 + 80, 81, 32};  // lead bytes 0x81 to 0x84
  for (int lead = 0x81; lead <= 0x84; ++lead) {
    int count = 0;
    for (int trail = 0x40; trail <= 0xFC; ++trail)
      count += Program(std::string{static_cast<char>(lead), static_cast<char>(trail), '\r', '\n'})
                   .rfind("error", 0) != 0;
    EXPECT_EQ(count, entries[lead - 0x81]) << std::hex << lead;
  }
}

}  // namespace
}  // namespace granvel
