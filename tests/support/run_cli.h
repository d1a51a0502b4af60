// Runs the built granvel-cli in a folder with standard input closed, and collects its output.
#pragma once

#include <string>
#include <vector>

namespace granvel::test {

struct CliRun {
  int status = -1;
  std::string out, err;
};

// Runs granvel-cli with `args` in the working directory `cwd`; standard input is /dev/null.
CliRun RunCli(const std::string& cwd, const std::vector<std::string>& args);

}  // namespace granvel::test
