// granvel-cli: the command-line front end of the converter.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/commands.h"
#include "cli/options.h"
#include "cli/terminal_host.h"

int main(int argc, char** argv) {
  using namespace granvel::cli;
  CLI::App app{"granvel-cli: converts PC files to the handheld's .zkp resource files and back"};
  app.require_subcommand(1);
  const CommandIo io{std::cin, std::cout, std::cerr, StdinIsTerminal()};
  int status = kExitOk;
  AddConvertCommand(app, io, status);
  AddSettingsCommand(app, io, status);
  AddInfoCommand(app, io, status);
  AddPackageCommand(app, io, status);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? kExitOk : kExitUsage;
  }
  return status;
}
