// A run of conversions for the page's worker, with each file's result handed over as soon as it is finished
// (globalThis.granvelFileDone) and the run's progress (globalThis.granvelProgress); and what the page's
// previews ask: a screen map drawn, and what a ".zkp" file holds.
#include <emscripten/bind.h>

#include <sstream>

#include "batch/dispatch.h"
#include "decode/render_file.h"
#include "format/container.h"
#include "format/walk.h"
#include "package/screen_fill.h"
#include "package/slots.h"
#include "platform/files.h"
#include "settings_text.h"
#include "web_host.h"

namespace granvel::web {
namespace {

using emscripten::val;

bool Has(const val& object, const char* key, const char* type) {
  return object[key].typeOf().as<std::string>() == type;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// Converts request.paths (files and folders of the in-memory file system) as one run with the settings of
// request.ini, the convert type request.type, and request.answerYes as the answer to every question.
val Convert(const val& request) {
  ConvertSettings settings =
      SettingsFromIniText(Has(request, "ini", "string") ? request["ini"].as<std::string>() : std::string());
  if (Has(request, "type", "number"))
    SelectConvertType(settings, request["type"].as<int>());
  std::vector<std::string> paths;
  if (request["paths"].isArray())
    paths = emscripten::vecFromJSArray<std::string>(request["paths"]);
  WebHost host(Has(request, "answerYes", "boolean") && request["answerYes"].as<bool>());

  const val fileDone = val::global("globalThis")["granvelFileDone"];
  const bool reportFiles = fileDone.typeOf().as<std::string>() == "function";
  const BatchResult result = ConvertFileList(
      paths, settings, host, [&](const std::string& path, bool ok, const ConvertReport& report) {
        if (!reportFiles)
          return;
        val file = val::object();
        file.set("path", path);
        file.set("ok", ok);
        file.set("reason", report.Reason);
        file.set("notes", StringArray(report.Notes));
        file.set("written", StringArray(report.Written));
        file.set("pngCarried", report.PngCarried);
        fileDone(file);
      });

  val events = host.TakeEvents();
  val out = val::object();
  out.set("total", result.Total);
  out.set("seen", result.Seen);
  out.set("converted", result.Converted);
  out.set("failed", result.Failed);
  out.set("pngCarried", result.PngCarried);
  out.set("refused", result.Refused);
  // The run ends with one message: the summary, or the reason no file was tried.
  const val messages = events["messages"];
  const int count = messages["length"].as<int>();
  const val last = count > 0 ? messages[count - 1] : val::object();
  out.set("summaryCaption", count > 0 ? last["caption"] : val(std::string(kSummaryCaption)));
  out.set("summaryText", count > 0 ? last["text"] : val(SummaryText(result)));
  out.set("details",
          StringArray(count > 0 ? Lines(last["details"].as<std::string>()) : std::vector<std::string>{}));
  out.set("questions", events["questions"]);
  return out;
}

// The summary's text for counts the page kept itself (a run it stopped).
std::string SummaryTextOf(const val& counts) {
  BatchResult result;
  const auto number = [&](const char* key) { return Has(counts, key, "number") ? counts[key].as<int>() : 0; };
  result.Total = number("total");
  result.Seen = number("seen");
  result.Converted = number("converted");
  result.Failed = number("failed");
  result.PngCarried = number("pngCarried");
  result.Cancelled = Has(counts, "cancelled", "boolean") && counts["cancelled"].as<bool>();
  return SummaryText(result);
}

std::string ProgressLineOf(const val& progress) {
  return ProgressObject(ProgressFrom(progress))["line"].as<std::string>();
}

int ProgressPermilleOf(const val& progress) {
  return ProgressObject(ProgressFrom(progress))["permille"].as<int>();
}

val Outcome(bool ok, const std::string& reason) {
  val out = val::object();
  out.set("ok", ok);
  out.set("reason", reason);
  return out;
}

// Draws the screen map at `scrPath` with the banks and palette beside it (as "Fill from screen" finds them)
// into a PNG at `outPath`.
val RenderScreenPreview(const std::string& scrPath, const std::string& outPath) {
  std::vector<ScreenFillRow> rows;
  std::string reason;
  if (!FindScreenFill(*SlotByCommandLineName("SCU0"), scrPath, rows, reason))
    return Outcome(false, reason);
  ScreenFiles files{scrPath, {}, {}};
  for (const ScreenFillRow& row : rows) {
    if (row.Slot->Kind == SlotKind::Chr)
      files.Chr.push_back(row.Path);
    else if (row.Slot->Kind == SlotKind::Col)
      files.Col = row.Path;
  }
  std::vector<std::uint8_t> image;
  if (!RenderScreenFile(files, 512, 512, true, image, reason) || !WriteWholeFile(outPath, image, reason))
    return Outcome(false, reason);
  return Outcome(true, {});
}

// What the ".zkp" file at `path` holds: its header's type and name, and its resources in order.
val DescribeZkp(const std::string& path) {
  static constexpr const char* kTypeNames[] = {"PRG", "MEM", "GRP", "CHR", "SCR", "COL"};
  std::vector<std::uint8_t> file;
  std::string reason;
  ContainerHeader header;
  if (!ReadWholeFile(path, file, reason) || !ReadContainerHeader(file, header, reason))
    return Outcome(false, reason);
  if (header.Magic != kContainerMagic)
    return Outcome(false, "not a .zkp container");
  val out = Outcome(true, {});
  out.set("name", header.Name);
  out.set("type", static_cast<int>(header.Type));
  out.set("typeName", std::string(header.Type < 6 ? kTypeNames[header.Type] : "unknown"));
  val parts = val::array();
  ResourceWalk walk(file);
  StoredResource resource;
  bool package = false;
  for (ResourceWalk::Step step; (step = walk.Next(resource, reason)) != ResourceWalk::Step::End;) {
    if (step == ResourceWalk::Step::Malformed) {
      out.set("reason", reason);
      break;
    }
    if (resource.Letters == "PRG" && (resource.MaskHigh != 0 || resource.MaskLow != 0))
      package = true;
    val part = val::object();
    part.set("typeName", resource.Letters);
    part.set("offset", static_cast<double>(resource.Offset));
    part.set("size", static_cast<double>(resource.DataSize));
    parts.call<void>("push", part);
  }
  out.set("package", package);
  out.set("parts", parts);
  return out;
}

}  // namespace

EMSCRIPTEN_BINDINGS(granvel_convert) {
  emscripten::function("convert", &Convert);
  emscripten::function("summaryText", &SummaryTextOf);
  emscripten::function("progressLine", &ProgressLineOf);
  emscripten::function("progressPermille", &ProgressPermilleOf);
  emscripten::function("renderScreen", &RenderScreenPreview);
  emscripten::function("describeZkp", &DescribeZkp);
}

}  // namespace granvel::web
