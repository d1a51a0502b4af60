// granvel-cli: the command-line front end of the converter.
#include <CLI/CLI.hpp>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/options.h"
#include "cli/terminal_host.h"
#include "granvel_version.h"
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
  const CommandIo io{std::cin, std::cout, std::cerr, granvel::StandardInputIsTerminal(),
                     granvel::StandardErrorIsTerminal()};
  int status = kExitOk;
  AddConvertCommand(app, io, status);
  AddSettingsCommand(app, io, status);
  AddInfoCommand(app, io, status);
  AddPackageCommand(app, io, status);
  AddRenderCommand(app, io, status);
  AddBuildCommand(app, io, status);
  // A first word that names no command gets the closest one, rather than CLI11's "not expected".
  std::vector<std::string> commands;
  for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; }))
    commands.push_back(command->get_name());
  if (arguments.size() > 1 && !arguments[1].empty() && arguments[1][0] != '-' &&
      std::find(commands.begin(), commands.end(), arguments[1]) == commands.end()) {
    io.err << "granvel-cli: unknown command '" << arguments[1] << "'; "
           << ClosestNameText(arguments[1], commands) << "\n";
    return kExitUsage;
  }
  try {
    app.parse(static_cast<int>(pointers.size()), pointers.data());
  } catch (const CLI::ParseError& e) {
    return app.exit(e) == 0 ? kExitOk : kExitUsage;
  }
  return status;
}
