#include "project/depfile.h"

#include "platform/files.h"

namespace granvel {
namespace {

std::string Escaped(const std::string& path) {
  std::string text;
  for (const char c : path) {
    if (c == ' ' || c == '#')
      text += '\\';
    if (c == '$')
      text += '$';
    text += c;
  }
  return text;
}

}  // namespace

std::string DepFileText(const Project& project, const BuildState& state) {
  std::string text;
  const auto rule = [&](const std::string& output, const std::vector<std::string>& inputs) {
    text += Escaped(project.PathOf(output)) + ":";
    for (const std::string& input : inputs)
      text += " " + Escaped(project.PathOf(input));
    text += " " + Escaped(project.File) + "\n";
  };
  for (const ProjectAsset& asset : project.Assets) {
    const auto record = state.Assets.find(asset.Name);
    if (record == state.Assets.end())
      continue;
    for (const std::string& output : record->second.Outputs)
      rule(output, asset.Inputs);
  }
  for (const ProjectPackage& package : project.Packages) {
    const auto record = state.Packages.find(package.Output);
    if (record != state.Packages.end())
      rule(package.Output, record->second.Outputs);
  }
  return text;
}

bool WriteDepFile(const std::string& path, const Project& project, const BuildState& state,
                  std::string& error) {
  const std::string text = DepFileText(project, state);
  return WriteWholeFile(path, std::vector<std::uint8_t>(text.begin(), text.end()), error);
}

}  // namespace granvel
