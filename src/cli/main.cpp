// granvel-cli: the command-line front end of the converter.
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/options.h"
#include "cli/terminal_host.h"
#include "platform/console.h"
#include "platform/memory.h"

int main(int argc, char** argv) {
  using namespace granvel::cli;
  granvel::KeepFreedMemory();
  const granvel::StandardStreams streams;
  std::vector<std::string> arguments = granvel::CommandLineArguments(argc, argv);
  std::vector<char*> pointers;
  for (std::string& argument : arguments)
    pointers.push_back(argument.data());
  CLI::App app{"granvel-cli: converts PC files to the handheld's .zkp resource files and back"};
  app.require_subcommand(1);
  app.set_version_flag("--version", std::string("granvel-cli ") + GRANVEL_VERSION);
  const CommandIo io{std::cin, std::cout, std::cerr, granvel::StandardInputIsTerminal()};
  int status = kExitOk;
  AddConvertCommand(app, io, status);
  AddSettingsCommand(app, io, status);
  AddInfoCommand(app, io, status);
  AddPackageCommand(app, io, status);
  AddRenderCommand(app, io, status);
  try {
    app.parse(static_cast<int>(pointers.size()), pointers.data());
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? kExitOk : kExitUsage;
  }
  return status;
}
