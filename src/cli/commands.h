// The subcommands of granvel-cli. Each registers itself on the app and sets the exit status when it runs.
#pragma once

#include <iosfwd>

namespace CLI {
class App;
}

namespace granvel::cli {

struct CommandIo {
  std::istream& in;
  std::ostream& out;
  std::ostream& err;
  bool interactive;            // standard input is a terminal
  bool errIsTerminal = false;  // standard error is a terminal: a progress line may be drawn there
};

void AddConvertCommand(CLI::App& app, const CommandIo& io, int& status);
void AddSettingsCommand(CLI::App& app, const CommandIo& io, int& status);
void AddInfoCommand(CLI::App& app, const CommandIo& io, int& status);
void AddPackageCommand(CLI::App& app, const CommandIo& io, int& status);
void AddRenderCommand(CLI::App& app, const CommandIo& io, int& status);
// "build" and "init": projects.
void AddBuildCommand(CLI::App& app, const CommandIo& io, int& status);

}  // namespace granvel::cli
