#include <unistd.h>

#include "platform/console.h"

namespace granvel {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

StandardStreams::StandardStreams() = default;
StandardStreams::~StandardStreams() = default;

bool StandardInputIsTerminal() {
  return ::isatty(STDIN_FILENO) == 1;
}

}  // namespace granvel
