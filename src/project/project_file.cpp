#include "project/project_file.h"

#define TOML_EXCEPTIONS 0
#include <toml++/toml.h>

#include <cstdio>
#include <set>

#include "convert/setting_text.h"
#include "platform/files.h"
#include "project/glob.h"

namespace granvel {
namespace {

// Reads one project file, remembering the first fault with its place.
class Reader {
 public:
  Reader(std::string file, std::string root) : file_(std::move(file)), root_(std::move(root)) {}

  bool Fail(const toml::source_region& where, const std::string& what) {
    if (error_.empty())
      error_ = DisplayPath(file_) + ":" + std::to_string(where.begin.line) + ":" +
               std::to_string(where.begin.column) + ": " + what;
    return false;
  }
  const std::string& Error() const { return error_; }

  // Every key of `table` must be one of `known`.
  bool KnownKeys(const toml::table& table, std::initializer_list<const char*> known, const std::string& in) {
    for (auto&& [key, node] : table) {
      bool found = false;
      std::string list;
      for (const char* name : known) {
        found = found || key.str() == name;
        list += (list.empty() ? "" : ", ") + std::string(name);
      }
      if (!found)
        return Fail(key.source(),
                    "unknown key \"" + std::string(key.str()) + "\" in " + in + "; the keys are " + list);
    }
    return true;
  }

  bool String(const toml::table& table, const char* key, std::string& value, bool required,
              const std::string& in) {
    const toml::node* node = table.get(key);
    if (!node) {
      if (required)
        return Fail(table.source(), in + " needs \"" + key + "\"");
      return true;
    }
    if (!node->is_string())
      return Fail(node->source(), "\"" + std::string(key) + "\" takes a string");
    value = node->as_string()->get();
    if (value.empty())
      return Fail(node->source(), "\"" + std::string(key) + "\" may not be empty");
    return true;
  }

  // A table of settings: each value a whole number or a string, each key and value as the settings take.
  bool Settings(const toml::node& node, std::vector<std::pair<std::string, std::string>>& settings) {
    if (!node.is_table())
      return Fail(node.source(), "\"settings\" takes a table of KEY = value");
    ConvertSettings check;
    for (auto&& [key, value] : *node.as_table()) {
      std::string text, error;
      if (value.is_integer())
        text = std::to_string(value.as_integer()->get());
      else if (value.is_string())
        text = value.as_string()->get();
      else
        return Fail(value.source(),
                    "setting " + std::string(key.str()) + " takes a whole number or a string");
      if (!ApplySettingText(check, std::string(key.str()), text, error))
        return Fail(PersistedIntField(check, std::string(key.str())) ||
                            PersistedStringField(check, std::string(key.str()))
                        ? value.source()
                        : key.source(),
                    error);
      settings.emplace_back(std::string(key.str()), text);
    }
    return true;
  }

  // A relative path that stays inside the project folder.
  bool RelativePath(const toml::node& node, const std::string& path) {
    if (path.empty() || path[0] == '/' || path.find('\\') != std::string::npos ||
        path.find(':') != std::string::npos || ("/" + path + "/").find("/../") != std::string::npos)
      return Fail(node.source(), "\"" + path + "\" is not a path inside the project folder (use \"/\")");
    return true;
  }

  bool Inputs(const toml::node& node, std::vector<std::string>& inputs) {
    std::vector<const toml::node*> items;
    if (node.is_string()) {
      items.push_back(&node);
    } else if (node.is_array()) {
      for (const toml::node& item : *node.as_array())
        items.push_back(&item);
    }
    if (items.empty())
      return Fail(node.source(), "\"inputs\" takes a path or glob, or an array of them");
    for (const toml::node* item : items) {
      if (!item->is_string())
        return Fail(item->source(), "\"inputs\" takes strings: paths or globs");
      const std::string pattern = item->as_string()->get();
      if (!RelativePath(*item, pattern))
        return false;
      if (IsGlob(pattern)) {
        const std::vector<std::string> found = ExpandGlob(root_, pattern);
        if (found.empty())
          return Fail(item->source(), "input \"" + pattern + "\" matches no file");
        inputs.insert(inputs.end(), found.begin(), found.end());
      } else if (!PathExists(root_ + pattern) || IsDirectory(root_ + pattern)) {
        return Fail(item->source(), "input \"" + pattern + "\" is missing (no such file)");
      } else {
        inputs.push_back(pattern);
      }
    }
    return true;
  }

  bool Asset(const toml::table& table, Project& project, std::set<std::string>& names) {
    ProjectAsset asset;
    asset.Line = static_cast<int>(table.source().begin.line);
    if (!KnownKeys(table, {"name", "inputs", "type", "output", "shared", "settings"}, "an [[asset]]") ||
        !String(table, "name", asset.Name, true, "an [[asset]]") ||
        !String(table, "type", asset.Type, false, "an [[asset]]") ||
        !String(table, "output", asset.Output, false, "an [[asset]]") ||
        !String(table, "shared", asset.Shared, false, "an [[asset]]"))
      return false;
    const toml::node* name = table.get("name");
    if (asset.Name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_-") !=
        std::string::npos)
      return Fail(name->source(),
                  "an asset's name holds letters, digits, '_' and '-', not \"" + asset.Name + "\"");
    if (!names.insert(asset.Name).second)
      return Fail(name->source(), "asset \"" + asset.Name + "\" is named twice");
    ConvertSettings check;
    if (!ApplyConvertTypeName(check, asset.Type))
      return Fail(table.get("type")->source(),
                  "unknown type \"" + asset.Type + "\"; the types are " + JoinNames(ConvertTypeNames()));
    if (table.get("output") && !RelativePath(*table.get("output"), asset.Output))
      return false;
    if (!asset.Shared.empty() && asset.Type != "screen")
      return Fail(table.get("shared")->source(),
                  "\"shared\" is for screens, which share tiles; it takes type = \"screen\"");
    if (asset.Shared.find_first_of("/\\:") != std::string::npos)
      return Fail(table.get("shared")->source(),
                  "\"shared\" takes the name of the set's files, not a path: \"" + asset.Shared + "\"");
    const toml::node* inputs = table.get("inputs");
    if (!inputs)
      return Fail(table.source(), "an [[asset]] needs \"inputs\"");
    if (!Inputs(*inputs, asset.Inputs))
      return false;
    if (const toml::node* settings = table.get("settings"); settings && !Settings(*settings, asset.Settings))
      return false;
    project.Assets.push_back(std::move(asset));
    return true;
  }

  bool Slots(const toml::node& node, bool screens, ProjectPackage& package, const Project& project) {
    const char* key = screens ? "screens" : "slots";
    if (!node.is_table())
      return Fail(node.source(), "\"" + std::string(key) + "\" takes a table of SLOT = \"asset\"");
    for (auto&& [name, value] : *node.as_table()) {
      ProjectSlot slot;
      slot.Screen = screens;
      slot.Line = static_cast<int>(value.source().begin.line);
      slot.Slot = SlotByCommandLineName(std::string(name.str()));
      if (!slot.Slot)
        return Fail(name.source(), "unknown slot \"" + std::string(name.str()) + "\"");
      if (screens && slot.Slot->Kind != SlotKind::Scr)
        return Fail(name.source(), "\"screens\" takes the screen slots SCU0, SCU1, down:SCU0 and down:SCU1");
      if (!value.is_string())
        return Fail(value.source(), "slot " + std::string(name.str()) +
                                        " takes a string: \"asset\" or "
                                        "\"asset:FILE\"");
      const std::string text = value.as_string()->get();
      const std::size_t colon = text.find(':');
      slot.Asset = text.substr(0, colon);
      slot.File = colon == std::string::npos ? std::string() : text.substr(colon + 1);
      if (!project.FindAsset(slot.Asset))
        return Fail(value.source(),
                    "slot " + std::string(name.str()) + " names no asset: \"" + slot.Asset + "\"");
      for (const ProjectSlot& other : package.Slots) {
        if (other.Slot == slot.Slot)
          return Fail(name.source(), "slot " + std::string(name.str()) + " is given twice");
      }
      package.Slots.push_back(std::move(slot));
    }
    return true;
  }

  bool Package(const toml::table& table, Project& project) {
    ProjectPackage package;
    package.Line = static_cast<int>(table.source().begin.line);
    if (!KnownKeys(table, {"name", "output", "slots", "screens"}, "a [[package]]") ||
        !String(table, "name", package.Name, true, "a [[package]]") ||
        !String(table, "output", package.Output, true, "a [[package]]") ||
        !RelativePath(*table.get("output"), package.Output))
      return false;
    for (const bool screens : {false, true}) {
      if (const toml::node* slots = table.get(screens ? "screens" : "slots");
          slots && !Slots(*slots, screens, package, project))
        return false;
    }
    if (package.Slots.empty())
      return Fail(table.source(), "a [[package]] needs \"slots\" or \"screens\"");
    project.Packages.push_back(std::move(package));
    return true;
  }

  // The array of tables under `key`, each handed to `read`.
  template <typename Read>
  bool Tables(const toml::table& root, const char* key, Read read) {
    const toml::node* node = root.get(key);
    if (!node)
      return true;
    if (!node->is_array_of_tables())
      return Fail(node->source(), "\"" + std::string(key) + "\" is written [[" + key + "]]");
    for (const toml::node& item : *node->as_array()) {
      if (!read(*item.as_table()))
        return false;
    }
    return true;
  }

 private:
  std::string file_;
  std::string root_;
  std::string error_;
};

// toml++ 3.3's test for non-ASCII whitespace falls through to an unreachable point (undefined behaviour) for
// most characters from U+00A1 to U+0499, U+2C7E to U+3077 and U+FB26 to U+FEFE, and the parser asks it of any
// character that stands outside a string or a comment. TOML takes no character beyond ASCII there anyway
// (keys without quotes and values are ASCII), so such a character is refused here first, with its place;
// strings (basic, literal, multi-line) and comments may hold any. False with the reason then.
bool CheckCharacters(const std::string& path, std::string_view text, std::string& error) {
  enum class In { Structure, Comment, Basic, Literal, MultiBasic, MultiLiteral } in = In::Structure;
  std::size_t line = 1, column = 0;
  const auto opens = [&](std::size_t i, char quote) {
    return text.compare(i, 3, std::string(3, quote)) == 0;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
      ++column;  // a continuation byte belongs to the character of its lead byte
    if (c == '\n') {
      ++line;
      column = 0;
      if (in != In::MultiBasic && in != In::MultiLiteral)
        in = In::Structure;  // an unclosed string is the parser's to report
      continue;
    }
    switch (in) {
      case In::Structure:
        if (static_cast<unsigned char>(c) >= 0x80) {
          error = DisplayPath(path) + ":" + std::to_string(line) + ":" + std::to_string(column) +
                  ": a character beyond ASCII stands outside a string or a comment";
          return false;
        }
        if (c == '#') {
          in = In::Comment;
        } else if (c == '"' || c == '\'') {
          const bool multi = opens(i, c);
          in = c == '"' ? (multi ? In::MultiBasic : In::Basic) : (multi ? In::MultiLiteral : In::Literal);
          i += multi ? 2 : 0;
          column += multi ? 2 : 0;
        }
        break;
      case In::Comment:
        break;
      case In::Basic:
      case In::MultiBasic:
        if (c == '\\' && i + 1 < text.size() && text[i + 1] != '\n') {
          ++i;  // an escaped character, a quote among them
          ++column;
        } else if (c == '"' && (in == In::Basic || opens(i, '"'))) {
          const bool multi = in == In::MultiBasic;
          in = In::Structure;
          // A multi-line string's closing quotes may follow one or two quotes of its own.
          for (std::size_t more = multi ? 2 : 0; more > 0 && i + 3 < text.size() && text[i + 3] == '"';
               --more)
            ++i, ++column;
          i += multi ? 2 : 0;
          column += multi ? 2 : 0;
        }
        break;
      case In::Literal:
      case In::MultiLiteral:
        if (c == '\'' && (in == In::Literal || opens(i, '\''))) {
          const bool multi = in == In::MultiLiteral;
          in = In::Structure;
          for (std::size_t more = multi ? 2 : 0; more > 0 && i + 3 < text.size() && text[i + 3] == '\'';
               --more)
            ++i, ++column;
          i += multi ? 2 : 0;
          column += multi ? 2 : 0;
        }
        break;
    }
  }
  return true;
}

bool ApplyAll(const std::vector<std::pair<std::string, std::string>>& given, ConvertSettings& settings,
              std::string& error) {
  for (const auto& [key, value] : given) {
    if (!ApplySettingText(settings, key, value, error))
      return false;
  }
  return true;
}

}  // namespace

const ProjectAsset* Project::FindAsset(const std::string& name) const {
  for (const ProjectAsset& asset : Assets) {
    if (asset.Name == name)
      return &asset;
  }
  return nullptr;
}

bool LoadProject(const std::string& path, Project& project, std::string& error) {
  project = Project{};
  project.File = path;
  project.Root = FolderOf(path);
  std::vector<std::uint8_t> bytes;
  if (!ReadWholeFile(path, bytes, error))
    return false;
  const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!CheckCharacters(path, text, error))
    return false;
  toml::parse_result parsed = toml::parse(text, path);
  if (!parsed) {
    const toml::source_region& where = parsed.error().source();
    error = DisplayPath(path) + ":" + std::to_string(where.begin.line) + ":" +
            std::to_string(where.begin.column) + ": " + std::string(parsed.error().description());
    return false;
  }
  const toml::table& root = parsed.table();
  Reader reader(path, project.Root);
  std::set<std::string> names;
  const bool ok =
      reader.KnownKeys(root, {"settings", "asset", "package"}, "the project file") &&
      (!root.get("settings") || reader.Settings(*root.get("settings"), project.Settings)) &&
      reader.Tables(root, "asset", [&](const toml::table& t) { return reader.Asset(t, project, names); }) &&
      reader.Tables(root, "package", [&](const toml::table& t) { return reader.Package(t, project); });
  if (!ok)
    error = reader.Error();
  return ok;
}

bool ProjectSettings(const Project& project, ConvertSettings& settings, std::string& error) {
  settings = ConvertSettings{};
  settings.ToolDir = settings.User = project.Root.empty() ? "." : project.Root;
  if (!ApplyAll(project.Settings, settings, error))
    return false;
  // A palette file is named relative to the project folder.
  if (!settings.Palette_File.empty() && settings.Palette_File[0] != '/')
    settings.Palette_File = project.PathOf(settings.Palette_File);
  return true;
}

bool AssetSettings(const Project& project, const ProjectAsset& asset, ConvertSettings& settings,
                   std::string& error) {
  if (!ProjectSettings(project, settings, error))
    return false;
  const std::string palette = settings.Palette_File;
  if (!ApplyAll(asset.Settings, settings, error))
    return false;
  if (settings.Palette_File != palette && !settings.Palette_File.empty() && settings.Palette_File[0] != '/')
    settings.Palette_File = project.PathOf(settings.Palette_File);
  ApplyConvertTypeName(settings, asset.Type);
  settings.TileSetName = asset.Shared;
  settings.Select = kSelectUserFolder;
  settings.User = project.PathOf(asset.Output);
  return true;
}

}  // namespace granvel
