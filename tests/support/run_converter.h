// Runs one converter on a file, as the dispatch would, and collects what it reported.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "convert/context.h"
#include "convert/job.h"

namespace granvel::test {

struct ConverterRun {
  bool ok = false;
  std::string reason;
  std::vector<std::string> written;
};

using Converter = bool (*)(ConvertJob, const ConvertContext&);

// Converts `path` with `converter` and `settings` (folders are not made; a fake host answers No).
ConverterRun RunConverter(Converter converter, const std::string& path, const ConvertSettings& settings);

// The payload (brand word put back) of the GRP page container at `path`, after checking its type, stored
// size, resource name `name`, digest and tag.
std::vector<std::uint8_t> GrpPagePayload(const std::string& path, const std::string& name);

}  // namespace granvel::test
