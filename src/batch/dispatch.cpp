#include "batch/dispatch.h"

#include "batch/run_ledger.h"
#include "convert/job.h"
#include "decode/reader.h"
#include "encode/image/binary.h"
#include "encode/image/chr.h"
#include "encode/image/grp.h"
#include "encode/image/screen.h"
#include "encode/text/mem.h"
#include "encode/text/prg.h"
#include "encode/text/scr.h"

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

}  // namespace

bool ConvertFile(const std::string& path, const ConvertSettings& settings, Host& host, ConvertReport& report,
                 OutputLedger* ledger) {
  std::string folderError;
  const ConvertJob job = MakeConvertJob(path, settings.Create == 1, settings, &folderError);
  RunLedger own;
  const ConvertContext ctx(settings, host, report, nullptr, ledger ? ledger : &own, path);
  const Converter converter = ConverterFor(job, settings);
  if (!converter)
    return ctx.Fail(folderError.empty() ? "no converter for this file" : folderError);
  return converter(job, ctx);
}

BatchResult ConvertFileList(const std::vector<std::string>& paths, const ConvertSettings& settings,
                            Host& host, const FileDoneCallback& onFileDone) {
  BatchResult result;
  RunLedger ledger;
  std::string failures, notes, written;
  MessageReport summary;
  const auto add = [](std::string& lines, const std::string& line) {
    lines += (lines.empty() ? "" : "\n") + line;
  };
  for (const std::string& path : paths) {
    ++result.Seen;
    ConvertReport report;
    const bool ok = ConvertFile(path, settings, host, report, &ledger);
    ++(ok ? result.Converted : result.Failed);
    // Some reasons name their file already; the path is not repeated then.
    if (!ok && report.Reason.rfind(path + ": ", 0) == 0)
      add(failures, report.Reason);
    else if (!ok)
      add(failures, path + ": " + (report.Reason.empty() ? "no reason given" : report.Reason));
    for (const std::string& note : report.Notes)
      add(notes, path + ": note: " + note);
    for (const std::string& file : report.Written) {
      add(written, "wrote " + file);
      if (summary.Folder.empty()) {
        const PathParts parts = SplitPath(file);
        summary.Folder = parts.Dir.empty() ? "." : parts.Drive + parts.Dir;
      }
    }
    if (onFileDone)
      onFileDone(path, ok, report);
  }
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
  return std::to_string(result.Seen) + " files converted\nSuccessed\xEF\xBC\x9A" +
         std::to_string(result.Converted) + "\nFailured\xEF\xBC\x9A" + std::to_string(result.Failed);
}

}  // namespace granvel
