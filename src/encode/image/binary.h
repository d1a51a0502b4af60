// Any file carried byte for byte in GRP pages: file byte k is pixel (k % 256, k / 256) of 256x192 pages,
// 49152 bytes a page; the last page is filled up with zeros. No palette is written.
#pragma once

#include <cstdint>
#include <span>

#include "convert/context.h"
#include "convert/job.h"
#include "format/container.h"

namespace granvel {

inline constexpr std::uint64_t kPageBytes = 49152;

// The GRP payload of one page of a file: up to 49152 bytes in file order, the rest of the page 0. Empty for
// more than 49152 bytes.
ResourcePayload BuildBinaryPagePayload(std::span<const std::uint8_t> pageBytes);

// Converts a BinaryData job into "<name>_BIN.zkp" (or "<name>_BIN0.zkp" and on), with "<name>_DATA.txt" when
// TextOut is on. The file is read and written one page at a time; empty files and files over 4 GiB are
// refused.
bool ConvertBinaryToGrp(ConvertJob job, const ConvertContext& ctx);

}  // namespace granvel
