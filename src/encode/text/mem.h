// MEM texts: a `MEM$ = "..."` assignment becomes the handheld's 256-character string memory.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "convert/context.h"
#include "convert/job.h"
#include "format/container.h"

namespace granvel {

// The 536-byte MEM payload of a MEM text held in memory, or an empty payload with the reason in `error`.
// A text of more than 256 characters is cut there; `note`, when given, then says how many were dropped.
ResourcePayload MemPayloadFromText(const std::vector<std::uint8_t>& file, const ConvertSettings& settings,
                                   std::string& error, std::string* note = nullptr);

// The 536-byte MEM payload of the text at job.Path, or an empty payload with the reason recorded in `ctx`.
ResourcePayload BuildMemPayload(const ConvertJob& job, const ConvertContext& ctx);

// Converts a MemText job into "<OutDir><FileName>_MEM.zkp".
bool ConvertMemText(ConvertJob job, const ConvertContext& ctx);

}  // namespace granvel
