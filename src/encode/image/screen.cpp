#include "encode/image/screen.h"

#include <algorithm>

#include "encode/image/data_text.h"
#include "encode/image/image_file.h"
#include "format/palette_file.h"
#include "format/walk.h"
#include "platform/files.h"

namespace granvel {
namespace {

// The name a set started from banks is written under: the first bank's without its "_CHR0".
std::string BankSetName(const std::string& firstBank) {
  const std::string stem = SplitPath(firstBank).Name;
  const bool numbered = stem.size() > 5 && UpperAscii(stem.substr(stem.size() - 5)) == "_CHR0";
  return numbered ? stem.substr(0, stem.size() - 5) : stem;
}

// The picture's file name as refusals and notes name it.
std::string PictureName(const std::string& path) {
  const PathParts parts = SplitPath(path);
  return parts.Name + parts.Ext;
}

// The set's resource name, from its name, with a note when it is not simply that name in capitals.
std::string SetResourceName(const std::string& setName, const ConvertContext& ctx) {
  const std::string made = ResourceNameOr(setName, "SCR");
  if (made != UpperAscii(setName))
    ctx.Note("the tile set " + setName + " is stored under the resource name " + made);
  return made;
}

// The cells of a picture of width x height, row by row, 16 cells of 4 hex digits to a line.
void AppendCells(std::string& out, const ScreenMap& map, int width, int height) {
  out += "' SCREEN MAP " + std::to_string(width / 8) + "x" + std::to_string(height / 8) + "\r";
  for (int cy = 0; cy < height / 8; ++cy) {
    for (int cx = 0; cx < width / 8; cx += 16) {
      out += "DATA \"";
      for (int x = cx; x < std::min(cx + 16, width / 8); ++x) {
        const std::string hex = HexText(map[static_cast<std::size_t>(cy * kScreenSide + x)]);
        out += std::string(4 - hex.size(), '0') + hex;
      }
      out += "\"\r";
    }
  }
}

}  // namespace

bool SharesTiles(const ConvertSettings& settings) {
  return settings.Share_Tiles == 1 || !settings.TileSetName.empty() || !settings.TileBanks.empty();
}

bool ReadRunTiles(ConvertSettings& settings, const ConvertContext& ctx) {
  if (settings.ConvertType != kConvertScreen)
    return true;
  if (settings.TileBanks.size() > kSetBankLimit)
    return ctx.Fail(std::to_string(settings.TileBanks.size()) + " tile banks are given; a set holds " +
                    std::to_string(kSetBankLimit) + " (1024 tiles)");
  std::vector<std::uint8_t> file;
  std::string error;
  if (settings.TileBankData.size() != settings.TileBanks.size()) {
    std::vector<std::vector<std::uint8_t>> banks;
    for (const std::string& path : settings.TileBanks) {
      StoredResource chr;
      if (!ReadWholeFile(path, file, error) || !FindResource(file, "CHR", chr, error))
        return ctx.Fail("the tile bank " + path + ": " + error);
      if (banks.empty() &&
          std::any_of(chr.Data.begin(), chr.Data.begin() + 32, [](auto b) { return b != 0; }))
        return ctx.Fail("the tile bank " + path + " begins with a tile that is not empty; tile 0 is the " +
                        "empty tile of every screen cell that shows nothing");
      banks.emplace_back(chr.Data.begin(), chr.Data.end());
    }
    settings.TileBankData = std::move(banks);
  }
  if (!settings.TileCol.empty() && settings.TileColWords.empty()) {
    if (!ReadWholeFile(settings.TileCol, file, error))
      return ctx.Fail("the COL " + settings.TileCol + ": " + error);
    if (!ReadColPalette(file, settings.TileColWords))
      return ctx.Fail("the COL " + settings.TileCol + " holds no COL resource");
  }
  return true;
}

ScreenRun::ScreenRun(const ConvertSettings& settings) : shared_(SharesTiles(settings)), set_(shared_) {}

bool ScreenRun::Start(const ConvertJob& first, const ConvertContext& ctx) {
  started_ = true;
  const ConvertSettings& settings = ctx.Settings();
  setDir_ = first.OutDir;
  setName_ = !settings.TileSetName.empty() ? settings.TileSetName
             : !settings.TileBanks.empty() ? BankSetName(settings.TileBanks[0])
                                           : first.FileName;
  // A run read the tiles once for every picture; a picture converted alone reads them itself.
  ConvertSettings own;
  const ConvertSettings* read = &settings;
  if (settings.TileBankData.size() != settings.TileBanks.size() ||
      (!settings.TileCol.empty() && settings.TileColWords.empty())) {
    own = settings;
    ConvertReport report;
    if (!ReadRunTiles(own, ConvertContext(own, ctx.GetHost(), report))) {
      startError_ = report.Reason;
      return false;
    }
    read = &own;
  }
  if (!read->TileBankData.empty())
    set_.StartFrom(read->TileBankData);
  if (!read->TileCol.empty())
    set_.FixPalettes(read->TileColWords, read->TileCol);
  if (read->TilesFixed)
    set_.FixTiles();
  return true;
}

int ScreenRun::Map(const ConvertJob& job, const ConvertContext& ctx) {
  if (!started_)
    Start(job, ctx);
  if (!startError_.empty()) {
    ctx.Fail(startError_);
    return -1;
  }
  const BmpImage image = ReadImageFile(job.Path, 8, 8, 0xFF, ctx);
  if (image.PixelCount == 0)
    return -1;
  Picture picture{{}, image.Width, image.Height};
  if (!set_.Add(image, PictureName(job.Path), ctx, picture.Map))
    return -1;
  if (shared_)
    ctx.Note(set_.BudgetText() + " in the set " + setName_ + "; this picture added " +
             std::to_string(set_.LastAdded()));
  else
    ctx.Note(set_.BudgetText());
  pictures_.push_back(picture);
  return static_cast<int>(pictures_.size() - 1);
}

bool ScreenRun::WriteSetFiles(ConvertJob job, const std::string& resName, DataText* text,
                              const ConvertContext& ctx) const {
  BmpImage palette;  // the set's palette as the COL and DATA writers take a picture's
  palette.ColPayload = set_.ColPayload();
  palette.PaletteRows = 16;
  palette.PixelCount = 1;
  if (text)
    WritePaletteData(text->Text(), palette);
  bool ok = WriteColFile(job, palette, resName, ctx);
  const auto make = [&](std::int64_t i, ResourcePayload& payload) {
    payload = set_.BankPayload(static_cast<std::size_t>(i));
    return true;
  };
  const auto write = [&](std::int64_t i, const ResourcePayload& payload, const Md5Digest& digest) {
    job.OutFile = job.OutDir + job.FileName + "_CHR" + std::to_string(i) + ".zkp";
    job.ResName = resName + HexText(static_cast<std::uint64_t>(i));
    bool wrote = WriteZkpContainer(job, payload, digest, ResourceType::Chr, ctx);
    if (text) {
      text->Text() += "' - BG" + std::to_string(i) + "\r";
      WriteChrData(text->Text(), payload, 8, 8, static_cast<int>(i));
      wrote = text->Flush(ctx) && wrote;
    }
    return wrote;
  };
  return MakeAndWritePayloads(static_cast<std::int64_t>(set_.BankCount()), make, write) && ok;
}

bool ScreenRun::Write(int picture, ConvertJob job, const ConvertContext& ctx) {
  const Picture& p = pictures_[static_cast<std::size_t>(picture)];
  const bool textOut = ctx.Settings().TextOut != 0;
  if (shared_ && setFiles_ == SetFiles::Failed)
    return ctx.Fail("the tile set " + setName_ + " was not written (" + setWriter_ + " failed)");
  if (shared_ && setFiles_ == SetFiles::Due) {
    // Once, with the first picture written: the set's palette and banks, and their DATA text.
    setWriter_ = job.Path;
    ConvertJob setJob = job;
    setJob.OutDir = setDir_;
    setJob.FileName = setName_;
    DataText text;
    bool ok = text.Open(textOut, setDir_ + setName_ + "_CHR_DATA.txt", ctx);
    ok = ok && WriteSetFiles(setJob, SetResourceName(setName_, ctx), text.IsOpen() ? &text : nullptr, ctx);
    ok = text.Finish(ctx) && ok;
    setFiles_ = ok ? SetFiles::Written : SetFiles::Failed;
    if (!ok)
      return false;
  }
  // The picture's map; unshared, after its palette and banks, with one DATA text for all three.
  DataText text;
  if (!text.Open(textOut, job.OutDir + job.FileName + "_SCR_DATA.txt", ctx))
    return false;
  const std::string base = NoteResourceName(job, "SCR", ctx);
  bool ok = shared_ || WriteSetFiles(job, base, text.IsOpen() ? &text : nullptr, ctx);
  job.OutFile = job.OutDir + job.FileName + "_SCR.zkp";
  job.ResName = base;
  ok = WriteZkpContainer(job, ScrPayloadFromMap(p.Map), ResourceType::Scr, ctx) && ok;
  if (text.IsOpen())
    AppendCells(text.Text(), p.Map, p.Width, p.Height);
  return text.Finish(ctx) && ok;
}

bool ConvertBmpToScreen(ConvertJob job, const ConvertContext& ctx) {
  ScreenRun run(ctx.Settings());
  const int picture = run.Map(job, ctx);
  return picture >= 0 && run.Write(picture, std::move(job), ctx);
}

}  // namespace granvel
