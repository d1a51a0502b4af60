// The DATA statement text written beside graphic conversions: palettes, CHR banks and GRP pages as BASIC
// DATA lines. Plain ASCII, every line ending in a carriage return alone, hexadecimal digits in upper case.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "convert/context.h"
#include "encode/image/bmp.h"
#include "format/container.h"
#include "platform/files.h"

namespace granvel {

// Hexadecimal digits of `value` in upper case without leading zeros ("%X").
std::string HexText(std::uint64_t value);

// Appends the image's PaletteRows palettes: per palette a title "' PALETTE %d", four DATA lines of four
// quoted RRGGBB items, and an empty line. Nothing for an image that was not read.
void WritePaletteData(std::string& out, const BmpImage& image);

// Appends one CHR bank (an 8212-byte payload) unit by unit: a line "' &H%X%X" with the unit's running number
// (from bankIndex x 64), the unit's tiles as one line of 64 hex digits each (each byte low nibble first), and
// an empty line. Nothing for a payload of another size.
void WriteChrData(std::string& out, const ResourcePayload& payload, std::uint8_t unitWidth,
                  std::uint8_t unitHeight, int bankIndex);

// Appends the first 256 tiles of a GRP page (a 49172-byte payload), one line per tile: a quoted string of 128
// hex digits when DATA_Type is on, 64 decimal numbers when it is 0. Nothing for a payload of another size.
void WriteGrpData(std::string& out, const ResourcePayload& payload, const ConvertSettings& settings);

// The DATA text file of one conversion. Opened before any resource is written, so a text that cannot be
// created stops the conversion before it writes anything; written under its name only by Finish(). The
// converters flush it after every bank or page, which writes the lines out once they fill 256 KiB: no more
// than that and one bank's or page's lines are held, and a large text takes few writes.
// Says once a run, when a DATA text of graphic pages is written, that its lines hold only the top 64 rows
// of each page.
void NoteGrpDataRows(const ConvertContext& ctx);

class DataText {
 public:
  // Does nothing (and succeeds) when `on` is false. False, with the reason in `ctx`, when the file cannot be
  // created.
  bool Open(bool on, std::string path, const ConvertContext& ctx);
  bool IsOpen() const { return file_.has_value(); }
  // The text not yet written out.
  std::string& Text() { return text_; }
  // Writes out what the text holds once it holds 256 KiB (it stays invisible until Finish()).
  bool Flush(const ConvertContext& ctx);
  // Writes the rest and puts the file in place; records it in `ctx`. True when nothing was open.
  bool Finish(const ConvertContext& ctx);

 private:
  static constexpr std::size_t kFlushSize = 256 * 1024;
  bool WriteOut(const ConvertContext& ctx);

  std::optional<OutputFile> file_;
  std::string text_;
};

}  // namespace granvel
