// CHR encoding: a BMP image becomes a COL palette and banks of 256 tiles (8x8 pixels, 4 bits a pixel).
#pragma once

#include <cstdint>

#include "convert/context.h"
#include "convert/job.h"

namespace granvel {

// The block of the image that fills one bank (BankBlockWidth x BankBlockHeight = 16384 pixels) and the
// grid of blocks.
struct ChrBankGeometry {
  std::int32_t BankBlockWidth = 0;
  std::int32_t BankBlockHeight = 0;
  std::int64_t Columns = 0;
  std::int64_t Rows = 0;
  std::int64_t Count() const { return Columns * Rows; }
};

// The bank geometry of an image of width x height: with AutoTrim on, the smallest power of two not below the
// width (at most 16384) by 16384 / that; with it off, 256x64 when WideMode is on, else 128x128. False, with
// the reason in `ctx`, for a width above 16384 or a block shallower than one unit of `unitHeight` rows.
bool ChrBankGeometryFor(std::int32_t width, std::int32_t height, int unitHeight,
                        const ConvertSettings& settings, const ConvertContext& ctx,
                        ChrBankGeometry& geometry);

// Converts a Bitmap job into "<name>_COL.zkp" and "<name>_CHR.zkp" (or "<name>_CHR0.zkp" and on), with
// "<name>_CHR_DATA.txt" when TextOut is on. Unit size from UnitWidth x UnitHeight.
bool ConvertBmpToChr(ConvertJob job, const ConvertContext& ctx);

}  // namespace granvel
