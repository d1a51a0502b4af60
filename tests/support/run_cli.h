// Runs the built granvel-cli in a folder with standard input closed, and collects its output.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace granvel::test {

struct CliRun {
  int status = -1;
  std::string out, err;
};

// Runs granvel-cli with `args` in the working directory `cwd`; standard input is /dev/null (NUL). A non-zero
// `fileSizeLimit` caps the size of every file it writes, so that a write past it fails as on a full disk.
CliRun RunCli(const std::string& cwd, const std::vector<std::string>& args, std::uint64_t fileSizeLimit = 0);

}  // namespace granvel::test
