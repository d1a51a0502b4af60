// granvel-cli info [--json] FILE...: what a ".zkp" file holds, without writing anything.
#include <CLI/CLI.hpp>

#include <cstdio>
#include <memory>
#include <ostream>
#include <vector>

#include "cli/commands.h"
#include "cli/options.h"
#include "decode/mask_names.h"
#include "format/container.h"
#include "format/walk.h"
#include "platform/files.h"

namespace granvel::cli {
namespace {

struct InfoOptions {
  bool json = false;
  std::vector<std::string> paths;
};

// What one file holds, as far as it could be read.
struct Inspection {
  std::string path;
  std::size_t fileSize = 0;
  bool hasHeader = false;
  ContainerHeader header;
  bool digestMatches = false;
  std::vector<StoredResource> resources;
  std::string error;     // empty when the whole file was walked
  bool foreign = false;  // the file is no container at all
};

// A byte string as shown on the terminal: printable ASCII as it is, other bytes as \xNN.
std::string Shown(const std::string& bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string text;
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F && b != '"' && b != '\\') {
      text.push_back(c);
    } else {
      text += "\\x";
      text.push_back(kHex[b >> 4]);
      text.push_back(kHex[b & 15]);
    }
  }
  return text;
}

Inspection Inspect(const std::string& path) {
  Inspection result;
  result.path = path;
  std::vector<std::uint8_t> file;
  if (!ReadWholeFile(path, file, result.error))
    return result;
  result.fileSize = file.size();
  result.hasHeader = ReadContainerHeader(file, result.header, result.error);
  if (!result.hasHeader)
    return result;
  if (result.header.Magic != kContainerMagic) {
    // Any file of 36 bytes has the fields of a header; only the magic says it is one.
    result.hasHeader = false;
    result.foreign = true;
    result.error = "not a .zkp container: it begins with \"" + Shown(result.header.Magic) + "\", not \"" +
                   std::string(kContainerMagic) + "\"";
    return result;
  }
  result.digestMatches = ContainerDigestMatches(file);
  ResourceWalk walk(file);
  StoredResource resource;
  std::string reason;
  for (;;) {
    const auto step = walk.Next(resource, reason);
    if (step == ResourceWalk::Step::End)
      break;
    if (step == ResourceWalk::Step::Malformed) {
      result.error = reason;
      break;
    }
    resource.Data = {};  // the bytes go away with `file`
    result.resources.push_back(resource);
  }
  return result;
}

const char* TypeName(std::uint32_t type) {
  static constexpr const char* kNames[] = {"PRG", "MEM", "GRP", "CHR", "SCR", "COL"};
  return type < 6 ? kNames[type] : "unknown";
}

std::uint64_t MaskOf(const StoredResource& resource) {
  return (std::uint64_t{resource.MaskHigh} << 32) | resource.MaskLow;
}

std::string MaskHex(std::uint64_t mask) {
  char text[24];
  std::snprintf(text, sizeof text, "0x%016llX", static_cast<unsigned long long>(mask));
  return text;
}

std::string BitLabel(int bit) {
  const MaskBitName* name = FindMaskBitName(bit);
  return name ? std::string(name->Label) : "unnamed";
}

// A JSON string. Bytes from 0x80 up are kept as they are when `utf8` (paths), else written as \u00NN (names
// and letters read from a file, which are no UTF-8).
std::string Json(const std::string& bytes, bool utf8 = false) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string text = "\"";
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      text.push_back('\\');
      text.push_back(c);
    } else if (b < 0x20 || b == 0x7F || (b >= 0x80 && !utf8)) {
      text += "\\u00";
      text.push_back(kHex[b >> 4]);
      text.push_back(kHex[b & 15]);
    } else {
      text.push_back(c);
    }
  }
  return text + "\"";
}

void PrintText(const Inspection& info, std::ostream& out) {
  if (!info.hasHeader)
    return;
  out << info.path << ":\n";
  const ContainerHeader& h = info.header;
  out << "  magic \"" << Shown(h.Magic) << "\"" << (h.Magic == "PX01" ? "" : " (not PX01)") << "\n"
      << "  stored size " << h.StoredSize << " (the file holds " << info.fileSize - 36
      << " after the header)\n"
      << "  type " << h.Type << " (" << TypeName(h.Type) << ")\n"
      << "  name \"" << Shown(h.Name) << "\"\n"
      << "  digest " << (info.digestMatches ? "matches" : "does not match") << "\n"
      << "  resources: " << info.resources.size() << "\n";
  for (const StoredResource& r : info.resources) {
    out << "    offset " << r.Offset << ": " << r.Letters << ", " << r.DataSize << " data bytes";
    if (r.Letters == "PRG")
      out << " (program " << r.ProgramLength << " bytes)";
    out << "\n";
    const std::uint64_t mask = MaskOf(r);
    if (mask == 0)
      continue;
    out << "      package mask " << MaskHex(mask) << ":\n";
    for (int bit = 0; bit < 64; ++bit) {
      if (mask & (std::uint64_t{1} << bit))
        out << "        bit " << bit << ": " << BitLabel(bit) << "\n";
    }
  }
}

void PrintJson(const Inspection& info, std::ostream& out) {
  out << "{\"path\":" << Json(info.path, true) << ",\"file_size\":" << info.fileSize;
  if (info.hasHeader) {
    const ContainerHeader& h = info.header;
    out << ",\"magic\":" << Json(h.Magic) << ",\"stored_size\":" << h.StoredSize << ",\"type\":" << h.Type
        << ",\"type_name\":" << Json(TypeName(h.Type)) << ",\"name\":" << Json(h.Name)
        << ",\"digest_matches\":" << (info.digestMatches ? "true" : "false") << ",\"resources\":[";
    const char* separator = "";
    for (const StoredResource& r : info.resources) {
      out << separator << "{\"offset\":" << r.Offset << ",\"type\":" << Json(r.Letters)
          << ",\"data_offset\":" << r.DataOffset << ",\"data_size\":" << r.DataSize;
      if (r.Letters == "PRG") {
        const std::uint64_t mask = MaskOf(r);
        out << ",\"program_length\":" << r.ProgramLength << ",\"mask\":" << Json(MaskHex(mask))
            << ",\"slots\":[";
        const char* slotSeparator = "";
        for (int bit = 0; bit < 64; ++bit) {
          if (mask & (std::uint64_t{1} << bit)) {
            out << slotSeparator << "{\"bit\":" << bit << ",\"label\":" << Json(BitLabel(bit)) << "}";
            slotSeparator = ",";
          }
        }
        out << "]";
      }
      out << "}";
      separator = ",";
    }
    out << "]";
  }
  out << ",\"error\":" << (info.error.empty() ? "null" : Json(info.error, true)) << "}\n";
}

int RunInfo(const InfoOptions& options, const CommandIo& io) {
  int status = kExitOk;
  for (const std::string& path : options.paths) {
    const Inspection info = Inspect(path);
    if (options.json)
      PrintJson(info, io.out);
    else
      PrintText(info, io.out);
    if (!info.error.empty()) {
      io.err << path << (info.foreign ? ": " : ": not a readable container: ") << info.error << "\n";
      status = kExitFailed;
    }
    io.out.flush();
  }
  return status;
}

}  // namespace

void AddInfoCommand(CLI::App& app, const CommandIo& io, int& status) {
  auto options = std::make_shared<InfoOptions>();
  CLI::App* command = app.add_subcommand(
      "info", "Show what .zkp files hold: header, stored resources and a package's slots; writes nothing");
  command->add_flag("--json", options->json, "One JSON object per file, one per line");
  command->add_option("paths", options->paths, ".zkp files to inspect")->required();
  command->callback([options, &io, &status] { status = RunInfo(*options, io); });
}

}  // namespace granvel::cli
