// Texts as today's editors save them: a Unicode text (UTF-8, or UTF-16 with its byte-order mark) becomes
// Shift JIS before it is encoded, so it gives the same bytes as its Shift JIS twin. Anything else is read as
// Shift JIS, as it always was.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "convert/context.h"
#include "convert/job.h"

namespace granvel {

enum class TextEncoding { ShiftJis, Utf8, Utf16LE, Utf16BE };

// The form of `bytes`: a UTF-8 or UTF-16 byte-order mark says so; without one, bytes that are valid UTF-8
// and hold at least one multi-byte sequence are UTF-8; anything else is Shift JIS.
TextEncoding DetectTextEncoding(std::span<const std::uint8_t> bytes);

// "UTF-8", "UTF-16 LE", ... for notes.
const char* TextEncodingName(TextEncoding encoding);

// Replaces the Unicode `text` (in `encoding`, with or without its byte-order mark) by its Shift JIS bytes.
// False with the place of the first character that has no Shift JIS form, or is not valid in the encoding:
// "line 3, column 5: 'é' (U+00E9) has no Shift JIS form".
bool ConvertToShiftJis(std::vector<std::uint8_t>& text, TextEncoding encoding, std::string& error);

// Reads the text file of `job` as Shift JIS: a Unicode file is converted, with a note saying so. False, with
// the reason in `ctx`, when it cannot be read or converted.
bool ReadTextInput(const ConvertJob& job, const ConvertContext& ctx, std::vector<std::uint8_t>& text);

}  // namespace granvel
