#include "inputs.h"

#include <fstream>

#include "encode/text/prg.h"
#include "format/bytes.h"
#include "format/container.h"

namespace granvel::bench {
namespace {

std::vector<std::uint8_t> Text(const std::string& text) {
  return {text.begin(), text.end()};
}

std::string ProgramText(int n) {
  std::string text;
  for (int line = 1; line <= 40; ++line)
    text += std::to_string(line * 10) + " PRINT \"FILE " + std::to_string(n) + " LINE " +
            std::to_string(line) + "\":X=X+" + std::to_string(line) + "\r\n";
  return text;
}

std::string ScreenText(int n) {
  std::string text = "' BG SCREEN DATA\r\n' LAYER=0\r\n\r\n";
  for (int cell = 0; cell < 64; ++cell)
    text += "BGPUT LAYER, " + std::to_string(cell % 64) + ", " + std::to_string(n % 64) + ", " +
            std::to_string((cell * 7 + n) % 1024) + ", " + std::to_string(cell % 16) + ", 0, 0\r\n";
  return text;
}

}  // namespace

void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint8_t> MakeBmp(int width, int height, int bits) {
  const std::uint32_t colours = 1u << bits;
  const std::uint32_t rowBytes = (static_cast<std::uint32_t>(width) * bits + 31) / 32 * 4;
  const std::uint32_t offset = 14 + 40 + 4 * colours;
  const std::uint32_t size = offset + rowBytes * static_cast<std::uint32_t>(height);
  std::vector<std::uint8_t> file(size, 0);
  file[0] = 'B';
  file[1] = 'M';
  PutU32LE(&file[2], size);
  PutU32LE(&file[10], offset);
  PutU32LE(&file[14], 40);
  PutU32LE(&file[18], static_cast<std::uint32_t>(width));
  PutU32LE(&file[22], static_cast<std::uint32_t>(height));
  PutU16LE(&file[26], 1);
  PutU16LE(&file[28], static_cast<std::uint16_t>(bits));
  for (std::uint32_t i = 0; i < colours; ++i) {
    file[54 + 4 * i] = static_cast<std::uint8_t>(i * 37);
    file[55 + 4 * i] = static_cast<std::uint8_t>(i * 11);
    file[56 + 4 * i] = static_cast<std::uint8_t>(255 - i);
  }
  for (std::uint32_t y = 0; y < static_cast<std::uint32_t>(height); ++y)
    for (std::uint32_t x = 0; x < rowBytes; ++x)
      file[offset + y * rowBytes + x] = static_cast<std::uint8_t>(x * 7 + y * 13 + (x * y >> 5));
  return file;
}

std::vector<std::uint8_t> MakeBinary(std::size_t size, std::uint32_t seed) {
  std::vector<std::uint8_t> bytes(size);
  std::uint32_t state = seed * 2654435761u + 1;
  for (std::uint8_t& byte : bytes) {
    state = state * 1664525u + 1013904223u;
    byte = static_cast<std::uint8_t>(state >> 24);
  }
  return bytes;
}

std::vector<std::string> MakeMixedBatch(const std::filesystem::path& dir, int count) {
  std::vector<std::string> names;
  const std::vector<std::uint8_t> image = MakeBmp(64, 64, 4);
  for (int n = 0; n < count; ++n) {
    const std::string id = std::to_string(10000 + n).substr(1);
    std::string name;
    std::vector<std::uint8_t> bytes;
    switch (n % 6) {
      case 0:
        name = "image" + id + ".bmp";
        bytes = image;
        bytes.back() = static_cast<std::uint8_t>(n);
        break;
      case 1:
        name = "data" + id + ".dat";
        bytes = MakeBinary(256 + static_cast<std::size_t>(n) * 7 % 4096, static_cast<std::uint32_t>(n));
        break;
      case 2:
        name = "prog" + id + ".txt";
        bytes = Text(ProgramText(n));
        break;
      case 3:
        name = "note" + id + "_mem.txt";
        bytes = Text("MEM$ = \"NOTE NUMBER " + std::to_string(n) + " OF THE BATCH\"\r\n");
        break;
      case 4:
        name = "map" + id + "_scr.txt";
        bytes = Text(ScreenText(n));
        break;
      default: {
        // A program container whose resource name is its own, so that each decodes into its own folder.
        name = "P" + id + ".zkp";
        std::vector<std::uint8_t> program = Text(ProgramText(n));
        for (std::size_t i = 0; i + 1 < program.size(); ++i)
          if (program[i] == '\r' && program[i + 1] == '\n')
            program.erase(program.begin() + static_cast<std::ptrdiff_t>(i + 1));
        bytes = BuildZkpContainer(PrgPayloadFromProgram(program), ResourceType::Prg, "P" + id);
        break;
      }
    }
    WriteBytes(dir / name, bytes);
    names.push_back(name);
  }
  return names;
}

}  // namespace granvel::bench
