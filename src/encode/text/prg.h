// Program texts: a BASIC program typed on the PC becomes the handheld's PRG resource.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "convert/context.h"
#include "convert/job.h"
#include "format/container.h"

namespace granvel {

// The program bytes of a program text: CR LF becomes CR; an ordinary text has its escapes decoded (with
// PRG_ESCAPE on); a text typed entirely in full width has its characters turned into the handheld's codes.
// A text with no carriage return at all ends its lines with LF alone and is read as its CR LF twin. With
// PRG_Limit on, a line may not pass 198 bytes after its carriage return. False with the reason (naming the
// line) in `error`.
bool EncodeProgramText(std::vector<std::uint8_t> text, const ConvertSettings& settings,
                       std::vector<std::uint8_t>& program, std::string& error);

// The PRG payload of a program: the tag, two zero words, the length, the bytes and zero padding to 4.
ResourcePayload PrgPayloadFromProgram(const std::vector<std::uint8_t>& program);

// The PRG payload of a program text held in memory, or an empty payload with the reason in `error`.
ResourcePayload PrgPayloadFromText(std::vector<std::uint8_t> text, const ConvertSettings& settings,
                                   std::string& error);

// The PRG payload of the program text at job.Path, or an empty payload with the reason recorded in `ctx`.
ResourcePayload BuildPrgPayload(const ConvertJob& job, const ConvertContext& ctx);

// Converts a PrgText job into "<OutDir><FileName>_PRG.zkp".
bool ConvertPrgText(ConvertJob job, const ConvertContext& ctx);

}  // namespace granvel
