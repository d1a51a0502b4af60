#include "encode/text/mem.h"

#include <algorithm>
#include <optional>

#include "encode/text/text_encoding.h"
#include "format/bytes.h"
#include "format/escapes.h"
#include "format/mem_codes.h"
#include "platform/files.h"

namespace granvel {
namespace {

constexpr std::size_t kMemCharacters = 256;
constexpr std::size_t kMemCodesOffset = 20;
constexpr std::size_t kMemCountOffset = 532;

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
