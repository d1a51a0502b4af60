// Decoded texts in the form the settings ask for: Shift JIS with the line ends the handheld's PC tools
// write, or (UTF8_Text on) UTF-8 with LF line ends, as today's editors open them. The encoders read either
// form to the same bytes.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "convert/context.h"

namespace granvel {

// Which carriage returns of a Shift JIS text end its lines.
enum class LineEnds {
  Program,  // every CR, and CR LF as one line end: a text with no CR reads its LFs as line ends
  Screen,   // every CR LF
  LastOnly  // the CR LF that ends the text (a MEM$ text, whose string may hold any byte)
};

// The UTF-8 form of the Shift JIS `text`, its line ends made LF. False, with what stood in the way in
// `reason`, when the UTF-8 form would not read back to the same bytes: a byte that stands for no character
// (a graphic code of the handheld, a user-defined character), or in a program a line feed that is no line
// end.
bool Utf8FormOf(std::span<const std::uint8_t> text, LineEnds lineEnds, std::vector<std::uint8_t>& utf8,
                std::string& reason);

// Writes the decoded Shift JIS `text` to `path`: as it is, or with UTF8_Text on in its UTF-8 form; a text
// without one is written as it is, with a note saying why.
bool WriteDecodedText(const std::string& path, std::vector<std::uint8_t> text, LineEnds lineEnds,
                      const ConvertContext& ctx);

}  // namespace granvel
