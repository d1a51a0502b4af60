// The converter for ".zkp" files: makes the folder "ZKP_<name>/" beside the output folder and decodes every
// stored resource into it, naming what a package holds by its slot mask.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "convert/context.h"
#include "convert/job.h"

namespace granvel {

// A resource name made safe as a folder and file name: every byte that is not printable ASCII, or is one of
// / \ : * ? " < > |, becomes "_"; a name that is then empty, "." or ".." becomes "_".
std::string SafeFileName(std::string_view name);

// Decodes a container held in memory into job.OutDir + "ZKP_<name>/", each output named "<name><ending>".
// Keeps the resource name in job.ResName. Stops at the first resource that cannot be decoded, with a reason
// naming its file offset; what was decoded before stays written. With Palette_File set, a plain file's
// images are drawn with the settings' PaletteWords, which the caller reads (ConvertFile does); without
// them nothing is decoded.
bool DecodeZkpBytes(std::span<const std::uint8_t> file, ConvertJob job, const ConvertContext& ctx);

// The converter of ZkpFile jobs: reads job.Path whole, once, and decodes it with DecodeZkpBytes.
bool DecodeZkpFile(ConvertJob job, const ConvertContext& ctx);

}  // namespace granvel
