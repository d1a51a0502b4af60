// granvel-cli render --scr S.zkp --chr C0.zkp [--chr C1.zkp]... [--col COL.zkp] -o OUT.bmp|OUT.png
//                    [--crop WxH]
#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <sstream>

#include "cli/commands.h"
#include "cli/options.h"
#include "convert/job.h"
#include "decode/bitmap.h"
#include "decode/render.h"
#include "decode/scr.h"
#include "format/palettes.h"
#include "format/walk.h"
#include "platform/files.h"
#include "platform/png_encoder.h"

namespace granvel::cli {
namespace {

struct RenderOptions {
  std::string scr, col, out, crop;
  std::vector<std::string> chr;
};

// The data of the first resource of `letters` in the container at `path`.
bool ResourceData(const std::string& path, const std::string& letters, std::vector<std::uint8_t>& file,
                  std::span<const std::uint8_t>& data, std::string& error) {
  StoredResource resource;
  if (ReadWholeFile(path, file, error) && FindResource(file, letters, resource, error)) {
    data = resource.Data;
    return true;
  }
  error = path + ": " + error;
  return false;
}

// The PNG palette of the colour words: each entry's red, green and blue as the BMP's colour table has them.
PngPalette PngPaletteOf(const ColourWords& words) {
  PngPalette palette;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const auto entry = ColourTableEntry(words[i]);  // blue, green, red, 0
    palette[i] = {entry[2], entry[1], entry[0]};
  }
  return palette;
}

// The picture's file: an 8-bit BMP, or an 8-bit palette PNG.
bool ImageFileBytes(const IndexedImage& image, const ColourWords& palette, bool png,
                    std::vector<std::uint8_t>& file, std::string& error) {
  if (!png) {
    file = IndexedBitmapBytes(image, palette);
    return true;
  }
  return EncodeIndexedPng(static_cast<std::uint32_t>(image.Width), static_cast<std::uint32_t>(image.Height),
                          image.Pixels, PngPaletteOf(palette), file, error);
}

int RunRender(const RenderOptions& options, const CommandIo& io) {
  const std::string extension = LowerAscii(SplitPath(options.out).Ext);
  if (extension != ".bmp" && extension != ".png") {
    io.err << "granvel-cli render: -o takes a .bmp or .png file, not \"" << options.out << "\"\n";
    return kExitUsage;
  }
  int width = 512, height = 512;
  if (!options.crop.empty()) {
    char x = 0;
    std::istringstream in(options.crop);
    if (!(in >> width >> x >> height) || x != 'x' || !in.eof() || width <= 0 || height <= 0 || width > 512 ||
        height > 512 || width % 8 != 0 || height % 8 != 0) {
      io.err << "granvel-cli render: --crop takes WxH, multiples of 8 up to 512x512, not \"" << options.crop
             << "\"\n";
      return kExitUsage;
    }
  }
  std::string error;
  std::vector<std::uint8_t> scrFile, colFile;
  std::span<const std::uint8_t> scr, col;
  std::vector<std::vector<std::uint8_t>> chrFiles(options.chr.size());
  std::vector<std::span<const std::uint8_t>> banks(options.chr.size());
  bool ok = ResourceData(options.scr, "SCR", scrFile, scr, error);
  for (std::size_t i = 0; ok && i < options.chr.size(); ++i)
    ok = ResourceData(options.chr[i], "CHR", chrFiles[i], banks[i], error);
  if (ok && !options.col.empty())
    ok = ResourceData(options.col, "COL", colFile, col, error);
  const ColourWords palette = col.size() >= 512 ? ColourWordsOf(col) : BuiltInBgPalette();
  std::vector<std::uint8_t> image;
  if (!ok ||
      !ImageFileBytes(RenderScreen(ScrCellsInReadingOrder(scr), banks, width, height), palette,
                      extension == ".png", image, error) ||
      !WriteWholeFile(options.out, image, error)) {
    io.err << "granvel-cli render: " << error << "\n";
    return kExitFailed;
  }
  io.out << "wrote " << options.out << "\n";
  return kExitOk;
}

}  // namespace

void AddRenderCommand(CLI::App& app, const CommandIo& io, int& status) {
  auto options = std::make_shared<RenderOptions>();
  CLI::App* command = app.add_subcommand(
      "render", "Draw a screen map with its tiles and palette as an 8-bit BMP or PNG image");
  command->add_option("--scr", options->scr, "The screen map (.zkp holding an SCR resource)")->required();
  command->add_option("--chr", options->chr, "The tiles, bank 0 first (.zkp holding a CHR resource)")
      ->allow_extra_args(false);
  command->add_option("--col", options->col, "The palette (.zkp holding a COL resource; default: built-in)");
  command->add_option("-o,--output", options->out, "The image to write: a .bmp or .png file")->required();
  command->add_option("--crop", options->crop, "Draw only the top-left WxH pixels (default 512x512)");
  command->callback([options, &io, &status] { status = RunRender(*options, io); });
}

}  // namespace granvel::cli
