// GRP encoding: a BMP image becomes a COL palette and graphic pages of 256x192 pixels, 8 bits a pixel.
#pragma once

#include <cstdint>
#include <string>

#include "convert/context.h"
#include "convert/job.h"

namespace granvel {

inline constexpr std::int32_t kPageWidth = 256;
inline constexpr std::int32_t kPageHeight = 192;

// Names page `index` of `count`: "<OutDir><FileName><ending>.zkp" with the resource name `base` for a single
// page, "<OutDir><FileName><ending><index>.zkp" with `base` and the index in upper-case hexadecimal
// otherwise.
void NamePage(ConvertJob& job, const std::string& ending, const std::string& base, std::int64_t index,
              std::int64_t count);

// Converts a Bitmap job into "<name>_COL.zkp" and "<name>_GRP.zkp" (or "<name>_GRP0.zkp" and on), with
// "<name>_GRP_DATA.txt" when TextOut is on.
bool ConvertBmpToGrp(ConvertJob job, const ConvertContext& ctx);

}  // namespace granvel
