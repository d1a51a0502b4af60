#include "encode/text/prg.h"

#include <gtest/gtest.h>

#include <random>

#include "encode/text/escapes.h"
#include "encode/text/fullwidth.h"

#include "encode/text/sjis.h"
#include "support/container_view.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::Sjis;
using test::TempDir;

struct PrgResult {
  bool ok = false;
  std::string program;  // the program bytes the payload holds
  std::string error;
};

// Encodes `text` and takes the payload apart by its offsets, checking its fixed parts on the way.
PrgResult Encode(const std::string& text, int limit = 1, int escape = 0) {
  ConvertSettings settings;
  settings.PRG_Limit = limit;
  settings.PRG_ESCAPE = escape;
  PrgResult r;
  const ResourcePayload payload = PrgPayloadFromText(test::Bytes(text), settings, r.error);
  r.ok = !payload.empty();
  if (!r.ok)
    return r;
  EXPECT_TRUE(r.error.empty()) << r.error;
  EXPECT_GE(payload.size(), 32u);
  EXPECT_EQ(std::string(payload.begin(), payload.begin() + 20), "ZORIKAMUQAVN0300RPRG");
  EXPECT_EQ(test::ContainerView::U32(payload, 20), 0u);
  EXPECT_EQ(test::ContainerView::U32(payload, 24), 0u);
  const std::uint32_t n = test::ContainerView::U32(payload, 28);
  EXPECT_EQ(payload.size(), 32 + (n + 3) / 4 * 4);
  if (payload.size() < 32 + n)
    return r;
  r.program.assign(payload.begin() + 32, payload.begin() + 32 + n);
  for (std::size_t i = 32 + n; i < payload.size(); ++i)
    EXPECT_EQ(payload[i], 0) << "padding byte " << i;
  return r;
}

std::string Program(const std::string& text, int limit = 1, int escape = 0) {
  const PrgResult r = Encode(text, limit, escape);
  EXPECT_TRUE(r.ok) << r.error;
  return r.program;
}

std::string Refusal(const std::string& text, int limit = 1, int escape = 0) {
  const PrgResult r = Encode(text, limit, escape);
  EXPECT_FALSE(r.ok) << "accepted: " << text.substr(0, 40);
  return r.error;
}

// --- layout and line ends ---

TEST(PrgPayloadFromText, TwoLineProgramGives18BytesIn52) {
  ConvertSettings settings;
  std::string error;
  const ResourcePayload payload =
      PrgPayloadFromText(test::Bytes("10 PRINT 1\r\n20 END\r\n"), settings, error);
  ASSERT_EQ(payload.size(), 52u) << error;
  EXPECT_EQ(test::ContainerView::U32(payload, 28), 18u);
  EXPECT_EQ(std::string(payload.begin() + 32, payload.begin() + 50), "10 PRINT 1\r20 END\r");
  EXPECT_EQ(payload[50], 0);
  EXPECT_EQ(payload[51], 0);
}

TEST(PrgPayloadFromText, PadsToAMultipleOfFour) {
  struct Row {
    std::string text;
    std::size_t payloadSize;
  };
  for (const Row& row :
       {Row{"A", 36}, Row{"ABCD", 36}, Row{"ABCDE", 40}, Row{"ABCDEFG", 40}, Row{"ABCDEFGH", 40}}) {
    ConvertSettings settings;
    std::string error;
    EXPECT_EQ(PrgPayloadFromText(test::Bytes(row.text), settings, error).size(), row.payloadSize) << row.text;
  }
  EXPECT_EQ(Program("Z"), "Z");  // one byte: the program is that byte
}

TEST(PrgPayloadFromText, LineEnds) {
  // CR LF and CR alone both give CR.
  EXPECT_EQ(Program("10 PRINT 1\r\n20 END\r\n"), "10 PRINT 1\r20 END\r");
  EXPECT_EQ(Program("10 PRINT 1\r20 END\r"), "10 PRINT 1\r20 END\r");
  // A text with any carriage return keeps its bare line feeds as 0x0A.
  EXPECT_EQ(Program("10 PRINT 1\r\n20 END\n"), "10 PRINT 1\r20 END\n");
  EXPECT_EQ(Program("10 A\n\r\n"), "10 A\n\r");
  // A CR LF pair at the very end: the line feed goes, the carriage return stays.
  EXPECT_EQ(Program("\r\n"), "\r");
}

TEST(PrgPayloadFromText, TextWithLineFeedsOnlyReadsAsItsCrLfTwin) {
  const std::string lines[] = {"10 PRINT 1", "20 ' \\0A and \\0D", "30 END"};
  std::string lf, crlf;
  for (const std::string& line : lines) {
    lf += line + "\n";
    crlf += line + "\r\n";
  }
  for (int escape : {0, 1}) {
    const PrgResult a = Encode(lf, 1, escape), b = Encode(crlf, 1, escape);
    ASSERT_TRUE(a.ok && b.ok) << a.error << b.error;
    EXPECT_EQ(a.program, b.program) << "escape " << escape;
  }
  EXPECT_EQ(Program(lf), "10 PRINT 1\r20 ' \\0A and \\0D\r30 END\r");
  // An escaped line feed is a byte of the program, not a line end.
  EXPECT_EQ(Program(lf, 1, 1), "10 PRINT 1\r20 ' \n and \r\r30 END\r");
  // Without a line end at all nothing changes.
  EXPECT_EQ(Program("10 END"), "10 END");
  // Each LF ends a line for the limit too: three lines of 198 bytes pass.
  const std::string line198(198, 'x');
  EXPECT_TRUE(Encode(line198 + "\n" + line198 + "\n" + line198 + "\n").ok);
}

// --- the line limit ---

TEST(PrgPayloadFromText, LineLimitCountsAsTheHandheldDoes) {
  struct Row {
    std::string text;
    int limit;
    std::string error;  // empty: accepted
  };
  const std::string first = "10 A\r\n";
  const Row rows[] = {
      {first + std::string(198, 'x') + "\r\n", 1, ""},
      {first + std::string(199, 'x') + "\r\n", 1, "line 2 is 199 bytes long; the limit is 198"},
      {std::string(199, 'x') + "\r\n", 1, ""},
      {std::string(200, 'x') + "\r\n", 1, "line 1 is 200 bytes long; the limit is 199"},
      {first + std::string(199, 'x'), 1, ""},  // the last byte is never examined
      {first + std::string(200, 'x'), 1, "line 2 is 200 bytes long; the limit is 198"},
      {std::string(1000, 'x') + "\r\n", 0, ""},
      {first + std::string(1000, 'x') + "\r\n" + first, 0, ""},
      // A text with carriage returns and bare line feeds is one long line.
      {first + std::string(100, 'x') + "\n" + std::string(100, 'x') + "\r\n", 1,
       "line 2 is 201 bytes long; the limit is 198"},
  };
  for (const Row& row : rows) {
    const PrgResult r = Encode(row.text, row.limit);
    EXPECT_EQ(r.ok, row.error.empty()) << row.text.size() << " bytes: " << r.error;
    EXPECT_EQ(r.error, row.error);
  }
}

TEST(PrgPayloadFromText, LineLimitNamesTheLine) {
  std::string text;
  for (int i = 1; i < 40; ++i)
    text += std::to_string(i * 10) + " PRINT\r\n";
  text += std::string(205, 'y') + "\r\n" + std::string(300, 'z') + "\r\n";
  EXPECT_EQ(Refusal(text), "line 40 is 205 bytes long; the limit is 198");
}

TEST(PrgPayloadFromText, LineLimitCountsBytesAfterConversion) {
  // Each ガ becomes two bytes: 99 of them make a line of 198 bytes, 100 one of 200.
  std::string kana99, kana100;
  for (int i = 0; i < 99; ++i)
    kana99 += "ガ";
  kana100 = kana99 + "ガ";
  const std::string first = Sjis("ＡＢ") + "\r\n";
  const PrgResult ok = Encode(first + Sjis(kana99) + "\r\n");
  ASSERT_TRUE(ok.ok) << ok.error;
  EXPECT_EQ(ok.program.size(), 3u + 198u + 1u);
  EXPECT_EQ(Refusal(first + Sjis(kana100) + "\r\n"), "line 2 is 200 bytes long; the limit is 198");
}

TEST(PrgPayloadFromText, EscapedCarriageReturnStartsALineForTheLimit) {
  const std::string text = std::string(150, 'a') + "\\0D" + std::string(150, 'b') + "\r\n";
  const PrgResult on = Encode(text, 1, 1);
  ASSERT_TRUE(on.ok) << on.error;
  EXPECT_EQ(on.program, std::string(150, 'a') + "\r" + std::string(150, 'b') + "\r");
  EXPECT_EQ(Refusal(text, 1, 0), "line 1 is 303 bytes long; the limit is 199");
}

// --- escapes ---

TEST(PrgPayloadFromText, EscapesOnlyWhenSwitchedOn) {
  EXPECT_EQ(Program("PRINT\\41\\0d\\\\\\\"\r\n", 1, 1), "PRINTA\r\\\"\r");
  EXPECT_EQ(Program("PRINT\\41\\0d\\\\\\\"\r\n", 1, 0), "PRINT\\41\\0d\\\\\\\"\r");
}

// --- full-width texts ---

TEST(PrgPayloadFromText, FullWidthProgramBecomesSingleBytes) {
  EXPECT_EQ(Program(Sjis("ＰＲＩＮＴ　「ア」") + "\r\n"), "PRINT \xA2\xB1\xA3\r");
  struct Row {
    const char* utf8;
    std::string bytes;
  };
  for (const Row& row :
       {Row{"≦", "<="}, Row{"≧", ">="}, Row{"ガ", "\xB6\xDE"}, Row{"☆", "\x0A"}, Row{"ヴ", "\xB3\xDE"},
        Row{"ポ", "\xCE\xDF"}, Row{"ン", "\xDD"}, Row{"を", "\xA6"}, Row{"あ", "\xB1"}, Row{"┼", "\x93"}}) {
    EXPECT_EQ(Program(Sjis(row.utf8) + "\r\n"), row.bytes + "\r") << row.utf8;
  }
  // The last character is converted too: only the very last byte is never examined.
  EXPECT_EQ(Program(Sjis("ＡＢ")), "AB");
  EXPECT_EQ(Program(Sjis("Ａ≦")), "A<=");
}

TEST(PrgPayloadFromText, FullWidthDigitsAndLetters) {
  EXPECT_EQ(
      Program(Sjis("０１２３４５６７８９ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺ") + "\r\n"),
      "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ\r");
  EXPECT_EQ(Program(Sjis("ａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ") + "\r\n"),
            "abcdefghijklmnopqrstuvwxyz\r");
}

TEST(PrgPayloadFromText, EveryKanaWithAHalfWidthForm) {
  // The expected side is written in half-width katakana and converted by the C library.
  const std::string half = Sjis(
      "ｧｱｨｲｩｳｪｴｫｵｶｶﾞｷｷﾞｸｸﾞｹｹﾞｺｺﾞｻｻﾞｼｼﾞｽｽﾞｾｾﾞｿｿﾞﾀﾀﾞﾁﾁﾞｯﾂﾂﾞﾃﾃﾞﾄﾄﾞﾅﾆﾇﾈﾉ"
      "ﾊﾊﾞﾊﾟﾋﾋﾞﾋﾟﾌﾌﾞﾌﾟﾍﾍﾞﾍﾟﾎﾎﾞﾎﾟﾏﾐﾑﾒﾓｬﾔｭﾕｮﾖﾗﾘﾙﾚﾛﾜｦﾝ");
  EXPECT_EQ(
      Program(
          Sjis("ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトドナニヌネノ"
               "ハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロワヲン") +
          "\r\n"),
      half + "\r");
  EXPECT_EQ(
      Program(
          Sjis("ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとどなにぬねの"
               "はばぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろわをん") +
          "\r\n"),
      half + "\r");
  EXPECT_EQ(Program(Sjis("ー・、。゛゜") + "\r\n"), "\xB0\xA5\xA4\xA1\xDE\xDF\r");
}

TEST(PrgPayloadFromText, KanaWithoutAHalfWidthFormFail) {
  for (const char* kana : {"ゎ", "ゐ", "ゑ", "ヮ", "ヰ", "ヱ", "ヵ", "ヶ"}) {
    const std::string sjis = Sjis(kana);
    char code[8];
    std::snprintf(code, sizeof code, "%02X%02X", static_cast<unsigned char>(sjis[0]),
                  static_cast<unsigned char>(sjis[1]));
    EXPECT_EQ(Refusal(Sjis("ＡＢ") + sjis + "\r\n"),
              std::string("line 1: character 0x") + code + " has no single-byte form")
        << kana;
  }
}

TEST(PrgPayloadFromText, SymbolsOfLeadByte81) {
  struct Row {
    std::uint16_t code;
    const char* utf8;
    std::string bytes;
  };
  const Row rows[] = {
      {0x8140, "　", " "},    {0x8141, "、", "\xA4"}, {0x8142, "。", "\xA1"}, {0x8143, "，", ","},
      {0x8144, "．", "."},    {0x8145, "・", "\xA5"}, {0x8146, "：", ":"},    {0x8147, "；", ";"},
      {0x8148, "？", "?"},    {0x8149, "！", "!"},    {0x814A, "゛", "\xDE"}, {0x814B, "゜", "\xDF"},
      {0x814C, "´", "'"},     {0x814D, "｀", "`"},    {0x814E, "¨", "\x83"},  {0x814F, "＾", "^"},
      {0x8150, "￣", "\xF8"}, {0x8151, "＿", "_"},    {0x815A, "〇", "\xE5"}, {0x815B, "ー", "\xB0"},
      {0x815C, "―", "."},     {0x815E, "／", "/"},    {0x815F, "＼", "\x7F"}, {0x8160, "～", "\xA0"},
      {0x8162, "｜", "|"},    {0x8165, "‘", "'"},     {0x8166, "’", "'"},     {0x8167, "“", "\""},
      {0x8168, "”", "\""},    {0x8169, "（", "("},    {0x816A, "）", ")"},    {0x816D, "［", "["},
      {0x816E, "］", "]"},    {0x816F, "｛", "{"},    {0x8170, "｝", "}"},    {0x8175, "「", "\xA2"},
      {0x8176, "」", "\xA3"}, {0x8177, "『", "\xA2"}, {0x8178, "』", "\xA3"}, {0x8179, "【", "{"},
      {0x817A, "】", "}"},    {0x817B, "＋", "+"},    {0x817C, "－", "-"},    {0x817E, "×", "\xFE"},
      {0x8181, "＝", "="},    {0x8183, "＜", "<"},    {0x8184, "＞", ">"},    {0x8185, "≦", "<="},
      {0x8186, "≧", ">="},    {0x818F, "￥", "\\"},   {0x8190, "＄", "$"},    {0x8193, "％", "%"},
      {0x8194, "＃", "#"},    {0x8195, "＆", "&"},    {0x8196, "＊", "*"},    {0x8197, "＠", "@"},
      {0x8199, "☆", "\x0A"},  {0x819A, "★", "\x0A"},  {0x819B, "○", "\xE5"},  {0x819C, "●", "\xE1"},
      {0x819D, "◎", "\x1A"},  {0x819E, "◇", "\x80"},  {0x819F, "◆", "\x80"},  {0x81A0, "□", "\xE4"},
      {0x81A1, "■", "\xE0"},  {0x81A2, "△", "\xE6"},  {0x81A3, "▲", "\xE2"},  {0x81A4, "▽", "\xE7"},
      {0x81A5, "▼", "\xE3"},  {0x81A6, "※", "\xFF"},  {0x81A8, "→", "\x1C"},  {0x81A9, "←", "\x1D"},
      {0x81AA, "↑", "\x1E"},  {0x81AB, "↓", "\x1F"},
  };
  ASSERT_EQ(std::size(rows), 74u);
  for (const Row& row : rows) {
    const std::string pair{static_cast<char>(row.code >> 8), static_cast<char>(row.code & 0xFF)};
    ASSERT_EQ(Sjis(row.utf8), pair) << row.utf8;  // the row itself is consistent
    EXPECT_EQ(Program(pair + "\r\n"), row.bytes + "\r") << row.utf8;
  }
}

TEST(PrgPayloadFromText, BoxDrawingByShape) {
  struct Row {
    const char* shapes;
    char byte;
  };
  for (const Row& row : {Row{"┴┻┷┸", '\x90'}, Row{"┬┳┯┰", '\x91'}, Row{"├┣┠┝", '\x92'}, Row{"┼╋┿╂", '\x93'},
                         Row{"┤┫┨┥", '\x94'}, Row{"─━", '\x95'}, Row{"│┃", '\x96'}, Row{"┌┏", '\x98'},
                         Row{"┐┓", '\x99'}, Row{"└┗", '\x9A'}, Row{"┘┛", '\x9B'}}) {
    const std::string sjis = Sjis(row.shapes);
    EXPECT_EQ(Program(sjis + "\r\n"), std::string(sjis.size() / 2, row.byte) + "\r") << row.shapes;
  }
}

TEST(PrgPayloadFromText, EntriesPerLeadByte) {
  // Every pair of lead bytes 0x81 to 0x84 on its own: the number that have an entry.
  const std::size_t expected[] = {74, 10 + 26 + 26 + 80, 81, 32};
  for (int lead = 0x81; lead <= 0x84; ++lead) {
    std::size_t entries = 0;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      ConvertSettings settings;
      std::string error;
      const std::string text{static_cast<char>(lead), static_cast<char>(trail), '\r', '\n'};
      if (!PrgPayloadFromText(test::Bytes(text), settings, error).empty())
        ++entries;
    }
    EXPECT_EQ(entries, expected[lead - 0x81]) << std::hex << lead;
  }
}

// --- ordinary or full-width ---

TEST(PrgPayloadFromText, OneAsciiByteAtAnEvenPositionMakesTheTextOrdinary) {
  // Stored as typed: the full-width characters keep their Shift JIS bytes.
  EXPECT_EQ(Program("x" + Sjis("ガ") + "\r\n"), "x\x83\x4B\r");
  EXPECT_EQ(Program("\x7F" + Sjis("ガ") + "\r\n"), "\x7F\x83\x4B\r");  // 0x7F is the top of the range
  EXPECT_EQ(Program("!" + Sjis("ガ") + "\r\n"), "!\x83\x4B\r");        // and 0x21 its bottom
  // A half-width katakana pushes the trail byte 0x60 of Ａ to an even position.
  EXPECT_EQ(Program("\xB1" + Sjis("ＡＢ") + "\r\n"), "\xB1\x82\x60\x82\x61\r");
  // Bytes of 0x20 and below at even positions leave the text full-width; ASCII below 0x60 passes through.
  EXPECT_EQ(Program(" A\r\n"), " A\r");
  EXPECT_EQ(Program(Sjis("Ａ") + " #\r\n"), "A #\r");
}

TEST(PrgPayloadFromText, FullWidthTextRefusesWhatHasNoEntry) {
  struct Row {
    std::string text;
    std::string error;
  };
  const std::string notFullWidth =
      " is not a full-width character (a text with no ASCII at its even positions is "
      "read as full-width)";
  const Row rows[] = {
      {Sjis("ＡＢ漢") + "\r\n", "line 1: character 0x8ABF has no single-byte form"},
      {Sjis("ＡＢ") + " \xB1\r\n", "line 1: byte 0xB1" + notFullWidth},  // half-width katakana, odd position
      {" a\r\n", "line 1: byte 0x61" + notFullWidth},                    // small ASCII letter, odd position
      {"\xB1\xB2\xB3\r\n", "line 1: byte 0xB1" + notFullWidth},          // half-width katakana only
      {Sjis("ヵ") + "\r\n", "line 1: character 0x8395 has no single-byte form"},
  };
  for (const Row& row : rows)
    EXPECT_EQ(Refusal(row.text), row.error);

  std::string text;
  for (int i = 0; i < 11; ++i)
    text += Sjis("ＰＲＩＮＴ") + "\r\n";
  EXPECT_EQ(Refusal(text + Sjis("宇") + "\r\n"), "line 12: character 0x8946 has no single-byte form");
}

TEST(PrgPayloadFromText, FullWidthTextDecodesNoEscapes) {
  // The backslash stands at an odd position, so the text stays full-width and the backslash stays.
  EXPECT_EQ(Program(" \\" + Sjis("　") + "\r\n", 1, 1), " \\ \r");
}

TEST(PrgPayloadFromText, EmptyTextFails) {
  EXPECT_EQ(Refusal(""), "the file is empty");
}

// --- the walk, against the algorithm done literally ---

// The conversion as the handheld's tool describes it: one buffer, bytes deleted from it as it goes.
bool LiteralEncode(std::vector<std::uint8_t> b, const ConvertSettings& settings,
                   std::vector<std::uint8_t>& out) {
  if (b.empty())
    return false;
  if (std::find(b.begin(), b.end(), '\r') == b.end()) {
    for (std::size_t k = 0; k < b.size(); ++k) {
      if (b[k] == '\n')
        b.insert(b.begin() + static_cast<std::ptrdiff_t>(k++), '\r');
    }
  }
  bool fullWidth = true;
  for (std::size_t k = 0; k < b.size(); k += 2)
    fullWidth = fullWidth && !(b[k] >= 0x21 && b[k] <= 0x7F);
  if (!fullWidth)
    b.resize(DecodeEscapes(b, settings));
  std::size_t i = 0, s = 0;
  while (i + 1 < b.size()) {
    if (b[i] == '\r') {
      s = i;
      if (b[i + 1] == '\n')
        b.erase(b.begin() + static_cast<std::ptrdiff_t>(i) + 1);
    }
    if (fullWidth && b[i] >= 0x60) {
      const FullWidthCode code = FullWidthCodeOf(b[i], b[i + 1]);
      if (code.size == 0)
        return false;
      b[i] = code.first;
      if (code.size == 1) {
        b.erase(b.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      } else {
        b[i + 1] = code.second;
        ++i;
      }
    }
    if (settings.PRG_Limit && i - s > 198)
      return false;
    ++i;
  }
  out = b;
  return true;
}

TEST(EncodeProgramText, AgreesWithTheLiteralAlgorithmOnRandomTexts) {
  std::mt19937 rng(20261206);
  const std::vector<std::string> pieces = {
      "\r\n",     "\r",       "\n",       " ",        " A",       "x",        "\\0D", "\\0a",  "\\",
      "\x82\x60", "\x83\x4B", "\x81\x85", "\x81\x99", "\x84\xA9", "\x8A\xBF", "\xB1", " \xB1", "\x83\x95"};
  int accepted = 0, fullWidthAccepted = 0;
  for (int round = 0; round < 3000; ++round) {
    std::string text;
    const bool wide = round % 2 == 0;  // half the texts are made of pairs only
    const int count = static_cast<int>(rng() % (round % 10 == 0 ? 400 : 40));
    for (int k = 0; k < count; ++k) {
      const std::string& piece = pieces[rng() % pieces.size()];
      if (wide && (piece.size() != 2 || (static_cast<unsigned char>(piece[0]) >= 0x21 &&
                                         static_cast<unsigned char>(piece[0]) <= 0x7F)))
        continue;
      text += piece;
    }
    if (text.empty())
      text = "\x82\x60";
    ConvertSettings settings;
    settings.PRG_Limit = static_cast<int>(rng() % 2);
    settings.PRG_ESCAPE = static_cast<int>(rng() % 2);
    std::vector<std::uint8_t> expected, actual;
    std::string error;
    const bool literal = LiteralEncode(test::Bytes(text), settings, expected);
    const bool ours = EncodeProgramText(test::Bytes(text), settings, actual, error);
    ASSERT_EQ(ours, literal) << "round " << round << ": " << error;
    ASSERT_EQ(ours, error.empty()) << error;
    if (ours) {
      ASSERT_EQ(actual, expected) << "round " << round;
      ++accepted;
      fullWidthAccepted += wide;
    }
  }
  EXPECT_GT(accepted, 300);  // the comparison covered accepted texts of both kinds
  EXPECT_GT(fullWidthAccepted, 100);
}

// --- the converter ---

struct Converted {
  bool ok = false;
  std::string reason;
  std::vector<std::string> written;
};

Converted Convert(const TempDir& dir, const std::string& name, const ConvertSettings& settings = {}) {
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  Converted c;
  c.ok = ConvertPrgText(MakeConvertJob(dir / name, false, settings), ctx);
  c.reason = report.Reason;
  c.written = report.Written;
  return c;
}

TEST(ConvertPrgText, WritesTheProgramBesideItsText) {
  TempDir dir;
  test::WriteText(dir / "Hello.txt", "10 PRINT 1\r\n20 END\r\n");
  const Converted c = Convert(dir, "Hello.txt");
  ASSERT_TRUE(c.ok) << c.reason;
  const auto file = test::ReadBytes(dir / "Hello_PRG.zkp");
  ASSERT_EQ(file.size(), 80u);
  const test::ContainerView view(file);
  EXPECT_EQ(view.magic, "PX01");
  EXPECT_EQ(view.storedSize, 44u);
  EXPECT_EQ(view.type, 0u);
  EXPECT_EQ(view.Name(), "HELLO");
  EXPECT_TRUE(view.DigestMatches());
  EXPECT_EQ(std::string(file.begin() + 36, file.begin() + 48), "QAVN0300RPRG");
  EXPECT_EQ(test::ContainerView::U32(file, 56), 18u);
  EXPECT_EQ(std::string(file.begin() + 60, file.begin() + 78), "10 PRINT 1\r20 END\r");
}

TEST(ConvertPrgText, NameFallsBackToPrg) {
  TempDir dir;
  test::WriteText(dir / "~tmp.txt", "10 END\r\n");
  ASSERT_TRUE(Convert(dir, "~tmp.txt").ok);
  EXPECT_EQ(test::ContainerView(test::ReadBytes(dir / "~tmp_PRG.zkp")).Name(), "PRG");
}

TEST(ConvertPrgText, RefusedInputsWriteNothing) {
  TempDir dir;
  test::WriteText(dir / "empty.txt", "");
  test::WriteText(dir / "long.txt", "10 A\r\n" + std::string(199, 'x') + "\r\n");
  test::WriteText(dir / "kanji.txt", Sjis("ＡＢ漢字") + "\r\n");

  Converted c = Convert(dir, "empty.txt");
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.reason, "the file is empty");
  c = Convert(dir, "long.txt");
  EXPECT_FALSE(c.ok);
  EXPECT_EQ(c.reason, "line 2 is 199 bytes long; the limit is 198");
  c = Convert(dir, "kanji.txt");
  EXPECT_FALSE(c.ok);
  EXPECT_NE(c.reason.find("line 1: character 0x8ABF has no single-byte form"), std::string::npos) << c.reason;
  c = Convert(dir, "missing.txt");
  EXPECT_FALSE(c.ok);
  EXPECT_NE(c.reason.find("missing.txt"), std::string::npos) << c.reason;
  EXPECT_TRUE(c.written.empty());
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"empty.txt", "kanji.txt", "long.txt"}));

  ConvertSettings unlimited;
  unlimited.PRG_Limit = 0;
  EXPECT_TRUE(Convert(dir, "long.txt", unlimited).ok);
}

TEST(BuildPrgPayload, ReadsTheJobsPath) {
  TempDir dir;
  test::WriteText(dir / "p.txt", "A\\41\r\n");
  ConvertSettings settings;
  settings.PRG_ESCAPE = 1;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  const ResourcePayload payload = BuildPrgPayload(MakeConvertJob(dir / "p.txt", false, settings), ctx);
  ASSERT_EQ(payload.size(), 36u) << report.Reason;
  EXPECT_EQ(std::string(payload.begin() + 32, payload.begin() + 35), "AA\r");
}

}  // namespace
}  // namespace granvel
