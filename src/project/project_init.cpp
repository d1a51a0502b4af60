#include "project/project_init.h"

#include <set>

#include "convert/job.h"
#include "project/glob.h"

namespace granvel {
namespace {

// An asset name from a file's name: its stem with every character but letters, digits, '_' and '-' made
// '_', made unique with "_2", "_3", ...
std::string AssetName(const std::string& path, std::set<std::string>& taken) {
  std::string stem = path.substr(path.find_last_of('/') + 1);
  stem = stem.substr(0, stem.find_last_of('.'));
  for (char& c : stem) {
    const bool plain =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-';
    c = plain ? c : '_';
  }
  if (stem.empty())
    stem = "asset";
  std::string name = stem;
  for (int n = 2; !taken.insert(name).second; ++n)
    name = stem + "_" + std::to_string(n);
  return name;
}

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\')
      quoted += '\\';
    quoted += c;
  }
  return quoted + "\"";
}

}  // namespace

std::string StarterProjectText(const std::string& folder) {
  std::string text =
      "# GRANVEL project: \"granvel-cli build\" converts what changed since the last build.\n"
      "# Every key is described in docs/project.md.\n"
      "\n"
      "# Settings of every asset, as in GRANVEL.ini (an asset's own \"settings\" override them).\n"
      "[settings]\n"
      "TextOut = 0  # 1: DATA texts beside the resources\n";
  std::set<std::string> taken;
  std::string pictures, texts;
  for (const std::string& path : ExpandGlob(folder, "**/*")) {
    const std::string top = path.substr(0, path.find('/'));
    if (path.find('/') != std::string::npos && (top == "out" || top.rfind("ZKP", 0) == 0))
      continue;
    const std::string ext = LowerAscii(
        path.substr(path.find_last_of('.') == std::string::npos ? path.size() : path.find_last_of('.')));
    const bool picture = ext == ".bmp" || ext == ".png";
    if (!picture && ext != ".txt" && ext != ".rscr")
      continue;
    std::string& into = picture ? pictures : texts;
    into += "\n[[asset]]\nname = " + Quoted(AssetName(path, taken)) + "\ninputs = [" + Quoted(path) + "]\n";
    if (picture)
      into += "type = \"bg\"  # bg, 16x16 ... 64x64 (sprites), grp, bin or screen\n";
    into += "output = \"out\"\n";
  }
  if (!pictures.empty())
    text += "\n# Pictures: inputs may be globs (\"art/*.png\", \"levels/**/*.bmp\").\n" + pictures;
  if (!texts.empty())
    text += "\n# Texts: programs, screen texts (NAME_scr.txt), MEM texts (NAME_mem.txt).\n" + texts;
  if (pictures.empty() && texts.empty())
    text +=
        "\n# No picture or text was found here. An asset:\n# [[asset]]\n# name = \"title\"\n"
        "# inputs = [\"art/title.png\"]\n# type = \"bg\"\n# output = \"out\"\n";
  text +=
      "\n# A package of the assets' outputs, slot by slot (names as \"granvel-cli package\" takes them):\n"
      "# [[package]]\n# name = \"GAME\"\n# output = \"out/GAME.zkp\"\n"
      "# slots = { PRG = \"main\", BGU0 = \"title\", COL0 = \"title\" }\n"
      "# screens = { SCU1 = \"levels:level1_SCR.zkp\" }  # the map with its banks and palette\n";
  return text;
}

}  // namespace granvel
