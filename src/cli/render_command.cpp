// granvel-cli render --scr S.zkp --chr C0.zkp [--chr C1.zkp]... [--col COL.zkp] -o OUT.bmp|OUT.png
//                    [--crop WxH]
#include <CLI/CLI.hpp>

#include <memory>
#include <ostream>
#include <sstream>

#include "cli/commands.h"
#include "cli/options.h"
#include "convert/job.h"
#include "decode/render_file.h"
#include "platform/files.h"

namespace granvel::cli {
namespace {

struct RenderOptions {
  std::string scr, col, out, crop;
  std::vector<std::string> chr;
};

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
  std::vector<std::uint8_t> image;
  if (!RenderScreenFile({options.scr, options.chr, options.col}, width, height, extension == ".png", image,
                        error) ||
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
