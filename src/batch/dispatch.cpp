#include "batch/dispatch.h"

#include <array>

#include "batch/inputs.h"
#include "batch/run_ledger.h"
#include "convert/job.h"
#include "decode/reader.h"
#include "encode/image/binary.h"
#include "encode/image/chr.h"
#include "encode/image/grp.h"
#include "encode/image/palette_file.h"
#include "encode/image/screen.h"
#include "encode/image/true_colour.h"
#include "encode/text/mem.h"
#include "encode/text/prg.h"
#include "encode/text/scr.h"
#include "platform/files.h"

namespace granvel {
namespace {

using Converter = bool (*)(ConvertJob, const ConvertContext&);

Converter ConverterFor(const ConvertJob& job, const ConvertSettings& settings) {
  switch (job.Kind) {
    case JobKind::Bitmap:
      if (settings.ConvertType == kConvertScreen)
        return ConvertBmpToScreen;
      return settings.ConvertType == kConvertGraphics ? ConvertBmpToGrp : ConvertBmpToChr;
    case JobKind::PrgText:
      return ConvertPrgText;
    case JobKind::MemText:
      return ConvertMemText;
    case JobKind::ScrText:
      return ConvertScrText;
    case JobKind::ZkpFile:
      return DecodeZkpFile;
    case JobKind::BinaryData:
      return ConvertBinaryToGrp;
    case JobKind::FolderFailed:
      break;
  }
  return nullptr;
}

// A path of a run that is no screen of a shared tile set.
constexpr int kNoScreen = -2;

// The jobs that read the Palette_File palette: pictures are matched to it, decoded images drawn with it.
bool UsesPaletteFile(const ConvertJob& job) {
  return job.Kind == JobKind::Bitmap || job.Kind == JobKind::ZkpFile;
}

}  // namespace

bool ConvertFile(const std::string& path, const ConvertSettings& settings, Host& host, ConvertReport& report,
                 RunMemory* memory, OutputSink* output) {
  std::string folderError;
  const ConvertJob job = MakeConvertJob(path, settings.Create == 1, settings, &folderError);
  RunLedger own;
  const ConvertContext ctx(settings, host, report, output, memory ? memory : &own, path);
  const Converter converter = ConverterFor(job, settings);
  if (!converter)
    return ctx.Fail(folderError.empty() ? "no converter for this file" : folderError);
  if (UsesPaletteFile(job) && !settings.Palette_File.empty() && settings.PaletteWords.empty()) {
    // Called alone, not from a run that read the palette: this file's own read of it.
    ConvertSettings withPalette = settings;
    if (!ReadRunPalette(withPalette, ctx))
      return false;
    return converter(job, ConvertContext(withPalette, host, report, output, memory ? memory : &own, path));
  }
  return converter(job, ctx);
}

BatchResult ConvertFileList(const std::vector<std::string>& given, const ConvertSettings& settings,
                            Host& host, const FileDoneCallback& onFileDone, OutputSink* output) {
  BatchResult result;
  ConvertSettings run = settings;  // with Palette_File's colours, read once for every file
  if (!CheckRunSettings(run, host, result.Refused)) {
    host.ShowMessage(kRunRefusedCaption, result.Refused + "\nNo file was converted.");
    return result;
  }
  const std::vector<RunInput> inputs = ExpandInputs(given);
  result.Total = static_cast<int>(inputs.size());
  RunProgress progress;
  progress.FilesTotal = result.Total;
  RunLedger ledger;
  ledger.OnAdvance([&](std::uint64_t done, std::uint64_t total) {
    progress.StepsDone = done;
    progress.StepsTotal = total;
    host.ShowProgress(progress);
  });
  const auto begin = [&](std::size_t i) {
    progress.CurrentFile = inputs[i].Path;
    progress.StepsDone = progress.StepsTotal = 0;
    progress.FileBytes = FileSizeOf(inputs[i].Path);
    host.ShowProgress(progress);
  };
  // Screens that share a tile set are all mapped first, in the run's order, so that the set is whole when
  // its files are written with the first of them that converted; every file still reports in its place.
  std::vector<ConvertReport> reports(inputs.size());
  std::vector<ConvertJob> screenJobs(inputs.size());
  std::vector<int> screens(inputs.size(), kNoScreen);
  ScreenRun screenRun(run);
  if (run.ConvertType == kConvertScreen && SharesTiles(run)) {
    for (std::size_t i = 0; i < inputs.size() && !result.Cancelled; ++i) {
      const std::string& path = inputs[i].Path;
      if (!inputs[i].Error.empty() || MakeConvertJob(path, false, run).Kind != JobKind::Bitmap)
        continue;
      if ((result.Cancelled = host.CancelRequested()))
        break;
      begin(i);
      screenJobs[i] = MakeConvertJob(path, run.Create == 1, run);
      if (screenJobs[i].Kind == JobKind::Bitmap)
        screens[i] =
            screenRun.Map(screenJobs[i], ConvertContext(run, host, reports[i], output, &ledger, path));
    }
  }
  std::string failures, notes, written;
  MessageReport summary;
  const auto add = [](std::string& lines, const std::string& line) {
    lines += (lines.empty() ? "" : "\n") + line;
  };
  for (std::size_t i = 0; i < inputs.size() && !result.Cancelled; ++i) {
    const std::string& path = inputs[i].Path;
    ConvertReport& report = reports[i];
    if (host.CancelRequested()) {
      result.Cancelled = true;
      break;
    }
    begin(i);
    ledger.BeginInput();
    bool ok = false;
    if (!inputs[i].Error.empty())
      ok = ConvertContext(run, host, report).Fail(inputs[i].Error);
    else if (screens[i] == kNoScreen)
      ok = ConvertFile(path, run, host, report, &ledger, output);
    else if (screens[i] >= 0)
      ok = screenRun.Write(screens[i], screenJobs[i],
                           ConvertContext(run, host, report, output, &ledger, path));
    result.Cancelled = report.Cancelled;
    if (!report.Cancelled) {
      ++result.Seen;
      ++(ok ? result.Converted : result.Failed);
      result.PngCarried += report.PngCarried ? 1 : 0;
      // Some reasons name their file already; the path is not repeated then.
      if (!ok && report.Reason.rfind(path + ": ", 0) == 0)
        add(failures, report.Reason);
      else if (!ok)
        add(failures, path + ": " + (report.Reason.empty() ? "no reason given" : report.Reason));
      for (const std::string& note : report.Notes)
        add(notes, path + ": note: " + note);
    }
    for (const std::string& file : report.Written) {  // a cancelled file's finished outputs stay
      add(written, "wrote " + file);
      if (summary.Folder.empty())
        summary.Folder = ShownFolderOf(file);
    }
    progress.FilesDone = result.Seen;
    if (onFileDone)
      onFileDone(path, ok, report);
  }
  progress.CurrentFile.clear();
  progress.StepsDone = progress.StepsTotal = progress.FileBytes = 0;
  host.ShowProgress(progress);
  summary.Caption = kSummaryCaption;
  summary.Text = SummaryText(result);
  for (const std::string* lines : {&failures, &notes, &written}) {
    if (!lines->empty())
      add(summary.Details, *lines);
  }
  host.ShowReport(summary);
  return result;
}

std::string SummaryText(const BatchResult& result) {
  std::string text = result.Cancelled ? "Cancelled after " + std::to_string(result.Seen) + " of " +
                                            std::to_string(result.Total) + " files\n"
                                      : std::string();
  text += std::to_string(result.Seen) + " files converted\nSuccessed\xEF\xBC\x9A" +
          std::to_string(result.Converted) + "\nFailured\xEF\xBC\x9A" + std::to_string(result.Failed);
  if (result.PngCarried > 0) {
    const bool one = result.PngCarried == 1;
    text += "\n\n" + std::to_string(result.PngCarried) + (one ? " .png file was" : " .png files were") +
            " carried as data, not as " + (one ? "a picture: " : "pictures: ") + kPngImageRemedy;
  }
  return text;
}

bool CheckRunSettings(ConvertSettings& settings, Host& host, std::string& error) {
  std::array<std::uint8_t, 3> rgb{};
  if (!settings.TransparentColour.empty() && !ParseRgbText(settings.TransparentColour, rgb)) {
    error = "TransparentColour \"" + settings.TransparentColour + "\" is not a colour RRGGBB";
    return false;
  }
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  if (ReadRunPalette(settings, ctx) && ReadRunTiles(settings, ctx))
    return true;
  error = report.Reason;
  return false;
}

}  // namespace granvel
