// Screen texts and raw screen files: a 64x64 background map becomes the handheld's SCR resource.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "convert/context.h"
#include "convert/job.h"
#include "format/container.h"

namespace granvel {

inline constexpr int kScreenSide = 64;
inline constexpr std::size_t kScreenCells = kScreenSide * kScreenSide;

// The map in reading order, cell (x, y) at y * 64 + x. A cell holds the character number (bits 0 to 9), the
// horizontal and vertical reverse (bits 10 and 11) and the palette (bits 12 to 15).
using ScreenMap = std::array<std::uint16_t, kScreenCells>;

// Reads a screen text of BGPUT statements into `map` (which it does not clear first). A carriage return or a
// line feed ends a line; the last line needs no line end. False at the first byte it cannot accept, with the
// place and the reason in `error`; the map is then partly filled.
bool ReadScreenText(std::span<const std::uint8_t> text, ScreenMap& map, std::string& error);

// The map of a raw screen file: 4096 cells of two bytes, high byte first. Missing bytes of a short file count
// as 0; bytes after the first 8192 are ignored.
ScreenMap ReadRawScreen(std::span<const std::uint8_t> file);

// The 8212-byte SCR payload of a map: the tag, then the cells as 16-bit little-endian values by quarters (top
// left, top right, bottom left, bottom right), each quarter row by row.
ResourcePayload ScrPayloadFromMap(const ScreenMap& map);

// The SCR payload of a raw screen file held in memory; never fails.
ResourcePayload ScrPayloadFromRaw(std::span<const std::uint8_t> file);

// The SCR payload of a screen text held in memory, or an empty payload with the reason in `error`.
ResourcePayload ScrPayloadFromText(std::span<const std::uint8_t> text, std::string& error);

// The SCR payload of the file at job.Path: a screen text when the job's extension is ".txt", a raw screen
// file otherwise (an empty extension included). An empty payload with the reason recorded in `ctx` on
// failure.
ResourcePayload BuildScrPayload(const ConvertJob& job, const ConvertContext& ctx);

// Converts a ScrText job into "<OutDir><FileName>_SCR.zkp".
bool ConvertScrText(ConvertJob job, const ConvertContext& ctx);

}  // namespace granvel
