#include "encode/text/prg.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <optional>

#include "encode/text/fullwidth.h"
#include "encode/text/text_encoding.h"
#include "format/bytes.h"
#include "format/escapes.h"
#include "platform/files.h"

namespace granvel {
namespace {

constexpr std::uint8_t kCr = 0x0D;
constexpr std::uint8_t kLf = 0x0A;
constexpr std::size_t kPrgHeaderSize = 32;  // tag, two mask words, length
constexpr std::size_t kPrgLengthOffset = 28;
// With PRG_Limit on, no byte of a line may stand more than this many bytes after the line's carriage return
// (for the first line: after position 0, so it may hold one byte more).
constexpr std::size_t kLineBound = 198;

std::string Hex2(unsigned value) {
  char text[8];
  std::snprintf(text, sizeof text, "%02X", value & 0xFFu);
  return text;
}

bool IsShiftJisLead(std::uint8_t byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// A text with no carriage return at all ends its lines with LF alone; it is read as its CR LF twin.
void ExpandBareLineFeeds(std::vector<std::uint8_t>& text) {
  if (std::find(text.begin(), text.end(), kCr) != text.end())
    return;
  const auto feeds = static_cast<std::size_t>(std::count(text.begin(), text.end(), kLf));
  if (feeds == 0)
    return;
  std::vector<std::uint8_t> expanded;
  expanded.reserve(text.size() + feeds);
  for (std::uint8_t byte : text) {
    if (byte == kLf)
      expanded.push_back(kCr);
    expanded.push_back(byte);
  }
  text.swap(expanded);
}

// A text is ordinary when any byte at an even position is printable ASCII (0x21 to 0x7F); otherwise it is
// taken as typed entirely in full-width characters.
bool IsFullWidthText(const std::vector<std::uint8_t>& text) {
  for (std::size_t i = 0; i < text.size(); i += 2) {
    if (text[i] >= 0x21 && text[i] <= 0x7F)
      return false;
  }
  return true;
}

struct OverlongLine {
  std::size_t line;
  std::size_t start;  // program position of its first byte
  std::size_t limit;  // the bytes the line may hold
};

std::string OverlongReason(const OverlongLine& over, std::optional<std::size_t> length) {
  const std::string where = "line " + std::to_string(over.line);
  const std::string limit = std::to_string(over.limit);
  if (!length)
    return where + " is longer than the limit of " + limit + " bytes (PRG_Limit=0 lifts it)";
  return where + " is " + std::to_string(*length) + " bytes long; the limit is " + limit +
         " (PRG_Limit=0 lifts it)";
}

std::string NoFormReason(std::size_t line, std::uint8_t lead, std::uint8_t trail) {
  const std::string where = "line " + std::to_string(line) + ": ";
  if (IsShiftJisLead(lead))
    return where + "character 0x" + Hex2(lead) + Hex2(trail) + " has no single-byte form";
  return where + "byte 0x" + Hex2(lead) +
         " is not a full-width character (a text with no ASCII at its even positions is read as full-width)";
}

}  // namespace

bool EncodeProgramText(std::vector<std::uint8_t> text, const ConvertSettings& settings,
                       std::vector<std::uint8_t>& program, std::string& error) {
  if (text.empty()) {
    error = "the file is empty";
    return false;
  }
  ExpandBareLineFeeds(text);
  const bool fullWidth = IsFullWidthText(text);
  if (!fullWidth)
    text.resize(DecodeEscapes(text, settings));
  const bool limited = settings.PRG_Limit != 0;

  // The text is rewritten in place: program bytes settle at `w`, the byte being examined is text[r], and
  // deleting the byte after it moves it one place on. The last byte is never examined.
  const std::size_t n = text.size();
  std::size_t r = 0, w = 0;
  std::size_t mark = 0;  // where the line's carriage return stands (0 for the first line)
  std::size_t line = 1, lineStart = 0;
  std::optional<OverlongLine> over;
  while (r + 1 < n) {
    if (text[r] == kCr) {
      if (over) {
        error = OverlongReason(*over, w - over->start);
        return false;
      }
      mark = w;
      ++line;
      lineStart = w + 1;
      if (text[r + 1] == kLf) {  // CR LF becomes CR
        text[r + 1] = kCr;
        ++r;
      }
    }
    if (fullWidth && text[r] >= 0x60) {
      const FullWidthCode code = FullWidthCodeOf(text[r], text[r + 1]);
      if (code.size == 0) {
        error = over ? OverlongReason(*over, std::nullopt) : NoFormReason(line, text[r], text[r + 1]);
        return false;
      }
      if (code.size == 1) {
        text[r + 1] = code.first;
        ++r;
      } else {
        text[r] = code.first;
        text[r + 1] = code.second;
        text[w++] = text[r++];
      }
    }
    if (limited && !over && w - mark > kLineBound)
      over = OverlongLine{line, lineStart, line == 1 ? kLineBound + 1 : kLineBound};
    text[w++] = text[r++];
  }
  while (r < n)
    text[w++] = text[r++];
  text.resize(w);
  if (over) {
    const std::size_t end = text.back() == kCr ? w - 1 : w;
    error = OverlongReason(*over, end - over->start);
    return false;
  }
  if (w > std::numeric_limits<std::uint32_t>::max() - kPrgHeaderSize - 3) {
    error = "the program is too long";
    return false;
  }
  program.swap(text);
  return true;
}

ResourcePayload PrgPayloadFromProgram(const std::vector<std::uint8_t>& program) {
  const std::size_t n = program.size();
  ResourcePayload payload = NewPayload(kTagPrg, kPrgHeaderSize + n + (4 - n % 4) % 4);
  PutU32LE(&payload[kPrgLengthOffset], static_cast<std::uint32_t>(n));
  std::copy(program.begin(), program.end(), payload.begin() + kPrgHeaderSize);
  return payload;
}

ResourcePayload PrgPayloadFromText(std::vector<std::uint8_t> text, const ConvertSettings& settings,
                                   std::string& error) {
  std::vector<std::uint8_t> program;
  if (!EncodeProgramText(std::move(text), settings, program, error))
    return {};
  return PrgPayloadFromProgram(program);
}

ResourcePayload BuildPrgPayload(const ConvertJob& job, const ConvertContext& ctx) {
  std::vector<std::uint8_t> file;
  if (!ReadTextInput(job, ctx, file))
    return {};
  std::string error;
  ResourcePayload payload = PrgPayloadFromText(std::move(file), ctx.Settings(), error);
  if (payload.empty())
    ctx.Fail(error);
  return payload;
}

bool ConvertPrgText(ConvertJob job, const ConvertContext& ctx) {
  const ResourcePayload payload = BuildPrgPayload(job, ctx);
  if (payload.empty())
    return false;
  job.ResName = NoteResourceName(job, "PRG", ctx);
  job.OutFile = job.OutDir + job.FileName + "_PRG.zkp";
  return WriteZkpContainer(job, payload, ResourceType::Prg, ctx);
}

}  // namespace granvel
