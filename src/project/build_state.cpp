#include "project/build_state.h"

#include <sstream>

#include "platform/files.h"

namespace granvel {
namespace {

constexpr const char* kHeader = "granvel-build-state 1";

// Paths hold no line breaks or tabs: each field ends at a tab, each record at a line end.
bool ParseLine(const std::string& line, std::vector<std::string>& fields) {
  fields.clear();
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos)
      break;
    start = tab + 1;
  }
  return !fields.empty();
}

}  // namespace

bool ReadBuildState(const std::string& path, BuildState& state, std::string& note) {
  state = BuildState{};
  note.clear();
  std::vector<std::uint8_t> bytes;
  std::string error;
  if (!PathExists(path))
    return false;
  if (!ReadWholeFile(path, bytes, error)) {
    note = error;
    return false;
  }
  std::istringstream in(std::string(bytes.begin(), bytes.end()));
  std::string line;
  std::vector<std::string> fields;
  BuildRecord* record = nullptr;
  const auto damaged = [&](const std::string& why) {
    note = DisplayPath(path) + " is damaged (" + why + "); everything builds";
    state = BuildState{};
    return false;
  };
  if (!std::getline(in, line) || line != kHeader)
    return damaged("no header");
  int number = 1;
  while (std::getline(in, line)) {
    ++number;
    ParseLine(line, fields);
    const std::string& kind = fields[0];
    if (kind == "version" && fields.size() == 2) {
      state.Version = fields[1];
    } else if ((kind == "asset" || kind == "package") && fields.size() == 3) {
      record = &(kind == "asset" ? state.Assets : state.Packages)[fields[1]];
      record->Key = fields[2];
    } else if (kind == "in" && fields.size() == 3 && record && fields[2].size() == 32) {
      record->Inputs[fields[1]] = fields[2];
    } else if (kind == "out" && fields.size() == 2 && record) {
      record->Outputs.push_back(fields[1]);
    } else if (kind != "end" || fields.size() != 1) {
      return damaged("line " + std::to_string(number));
    } else {
      return true;
    }
  }
  return damaged("cut short");
}

bool WriteBuildState(const std::string& path, const BuildState& state, std::string& error) {
  std::string text = std::string(kHeader) + "\nversion\t" + state.Version + "\n";
  for (const auto* records : {&state.Assets, &state.Packages}) {
    for (const auto& [name, record] : *records) {
      text +=
          std::string(records == &state.Assets ? "asset\t" : "package\t") + name + "\t" + record.Key + "\n";
      for (const auto& [input, digest] : record.Inputs)
        text += "in\t" + input + "\t" + digest + "\n";
      for (const std::string& output : record.Outputs)
        text += "out\t" + output + "\n";
    }
  }
  text += "end\n";
  if (!EnsureDirectories(FolderOf(path), error))
    return false;
  return WriteWholeFile(path, std::vector<std::uint8_t>(text.begin(), text.end()), error);
}

}  // namespace granvel
