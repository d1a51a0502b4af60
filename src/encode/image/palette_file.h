// A palette that every image is matched to (the Palette_File setting, `--palette FILE`), so that pictures
// drawn with their colours in different orders share one COL. It is read from a COL ".zkp", a GIMP ".gpl",
// a JASC ".pal", an Adobe ".act" (768 bytes, or 772 with a colour count; format/palette_file.h), or the
// colour table of a BMP or PNG image.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "convert/context.h"
#include "encode/image/bmp.h"

namespace granvel {

// The colour words of the palette file at `path` (at most 256), by its extension. False with the reason in
// `ctx`.
bool ReadPaletteFile(const std::string& path, const ConvertContext& ctx, std::vector<std::uint16_t>& words);

// Reads Palette_File's colours into settings.PaletteWords, once for a run: nothing to do when no palette file
// is set or its colours are read already. False with the reason in `ctx`; PaletteWords stays empty then.
bool ReadRunPalette(ConvertSettings& settings, const ConvertContext& ctx);

// Gives `image` the palette `words`: every index used takes the first palette entry of the same colour word
// (index 0 stays 0 where it stands for transparency), and the COL payload becomes the palette. A colour the
// palette lacks is refused with where it first appears.
bool MatchToPalette(BmpImage& image, const std::vector<std::uint16_t>& words, const std::string& paletteName,
                    const ConvertContext& ctx);

}  // namespace granvel
