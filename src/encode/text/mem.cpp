#include "encode/text/mem.h"

#include <algorithm>
#include <array>
#include <optional>

#include "encode/text/text_encoding.h"
#include "format/bytes.h"
#include "format/escapes.h"
#include "platform/files.h"

namespace granvel {
namespace {

constexpr std::size_t kMemCharacters = 256;
constexpr std::size_t kMemCodesOffset = 20;
constexpr std::size_t kMemCountOffset = 532;

// Codes of the half-width katakana 0xA1 to 0xDF.
constexpr std::array<std::uint16_t, 0xDF - 0xA1 + 1> kKatakanaCodes{
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1,          // A1-A7
    0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7, 0x30C3,  // A8-AF
    0xFF70, 0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD,  // B0-B7
    0x30AF, 0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD,  // B8-BF
    0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC,  // C0-C7
    0x30CD, 0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE,  // C8-CF
    0x30DF, 0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9,  // D0-D7
    0x30EA, 0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,  // D8-DF
};

// Finds the end of the `MEM$ = "` assignment: the index just past its opening quote, or nothing. The keyword
// is matched in capitals; blanks may stand before "=" and before the quote. A byte that breaks the match is
// not tried again as the start of a new one. The opening quote must not be the file's last byte.
std::optional<std::size_t> FindAssignment(const std::vector<std::uint8_t>& text) {
  static constexpr char kExpected[] = {'M', 'E', 'M', '$', '=', '"'};
  int state = 0;
  for (std::size_t read = 0; read < text.size();) {
    const std::uint8_t byte = text[read++];
    if (byte == kExpected[state]) {
      ++state;
    } else if (!(state >= 4 && (byte == ' ' || byte == '\t'))) {
      state = 0;
    }
    if (read == text.size())
      return std::nullopt;
    if (state == 6)
      return read;
  }
  return std::nullopt;
}

}  // namespace

std::uint16_t WideCodeOf(std::uint8_t byte) {
  switch (byte) {
    case '"':
      return 0x201D;
    case '\'':
      return 0x2019;
    case '\\':
      return 0xFFE5;
    default:
      break;
  }
  if (byte >= 0x21 && byte <= 0x7F)
    return static_cast<std::uint16_t>(byte + 0xFEE0);
  if (byte >= 0xA1 && byte <= 0xDF)
    return kKatakanaCodes[byte - 0xA1];
  return byte;
}

ResourcePayload MemPayloadFromText(const std::vector<std::uint8_t>& file, const ConvertSettings& settings,
                                   std::string& error, std::string* note) {
  if (file.empty()) {
    error = "the file is empty";
    return {};
  }
  const auto start = FindAssignment(file);
  if (!start) {
    error = "no MEM$ = \" assignment with text after its quote";
    return {};
  }
  const auto textBegin = file.begin() + static_cast<std::ptrdiff_t>(*start);
  const auto lastQuote = std::find(file.rbegin(), std::make_reverse_iterator(textBegin), '"');
  if (lastQuote.base() == textBegin) {
    error = "the MEM$ text has no closing quote";
    return {};
  }
  std::vector<std::uint8_t> text(textBegin, lastQuote.base() - 1);
  DecodeEscapes(text, settings);
  if (text.size() > kMemCharacters) {
    if (note)
      *note = "the MEM$ text holds " + std::to_string(text.size()) + " characters; the last " +
              std::to_string(text.size() - kMemCharacters) + " were dropped (256 at most)";
    text.resize(kMemCharacters);
  }

  ResourcePayload payload = NewPayload(kTagMem, kMemPayloadSize);
  for (std::size_t i = 0; i < text.size(); ++i)
    PutU16LE(&payload[kMemCodesOffset + 2 * i], WideCodeOf(text[i]));
  PutU32LE(&payload[kMemCountOffset], static_cast<std::uint32_t>(text.size()));
  return payload;
}

ResourcePayload BuildMemPayload(const ConvertJob& job, const ConvertContext& ctx) {
  std::vector<std::uint8_t> file;
  if (!ReadTextInput(job, ctx, file))
    return {};
  std::string error;
  std::string note;
  ResourcePayload payload = MemPayloadFromText(file, ctx.Settings(), error, &note);
  if (payload.empty())
    ctx.Fail(error);
  else if (!note.empty())
    ctx.Note(note);
  return payload;
}

bool ConvertMemText(ConvertJob job, const ConvertContext& ctx) {
  const ResourcePayload payload = BuildMemPayload(job, ctx);
  if (payload.empty())
    return false;
  job.ResName = NoteResourceName(job, "MEM", ctx);
  job.OutFile = job.OutDir + job.FileName + "_MEM.zkp";
  return WriteZkpContainer(job, payload, ResourceType::Mem, ctx);
}

}  // namespace granvel
