// Decoded files convert back: encode -> decode -> encode through granvel-cli must give the same payload (and
// decoded images the same pixels). Inputs are seeded random data made here.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::RunCli;
using test::TempDir;
using Bytes = std::vector<std::uint8_t>;
using Args = std::vector<std::string>;

// The stored payload of a container: everything after its 36-byte header.
Bytes StoredPayload(const std::string& path) {
  const Bytes file = test::ReadBytes(path);
  return file.size() < 36 ? Bytes{} : Bytes(file.begin() + 36, file.end());
}

Bytes RandomBytes(std::size_t count, std::uint32_t seed, int below = 256) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> value(0, below - 1);
  Bytes bytes(count);
  for (auto& b : bytes)
    b = static_cast<std::uint8_t>(value(random));
  return bytes;
}

// Runs `granvel-cli convert` with `args` in `dir`; a failed conversion stops the calling test.
testing::AssertionResult Convert(const TempDir& dir, Args args) {
  args.insert(args.begin(), "convert");
  const auto run = RunCli(dir.Path(), args);
  if (run.status == 0)
    return testing::AssertionSuccess();
  return testing::AssertionFailure() << "convert " << args.back() << " exited with " << run.status << "\n"
                                     << run.out << run.err;
}

// An uncompressed 8-bit BMP of palette indices (top row first in `pixels`), with a grey colour table.
Bytes EightBitBmp(int width, int height, const Bytes& pixels) {
  const std::size_t stride = (static_cast<std::size_t>(width) + 3) / 4 * 4;
  Bytes file(1078 + stride * height, 0);
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
      file[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<std::uint32_t>(file.size()));
  put32(10, 1078);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  file[26] = 1;
  file[28] = 8;
  put32(46, 256);
  for (int i = 0; i < 256; ++i) {
    file[54 + 4 * i] = file[55 + 4 * i] = file[56 + 4 * i] = static_cast<std::uint8_t>(i);
  }
  for (int y = 0; y < height; ++y) {
    std::copy_n(pixels.begin() + static_cast<std::ptrdiff_t>(y) * width, width,
                file.begin() + 1078 + static_cast<std::ptrdiff_t>((height - 1 - y) * stride));
  }
  return file;
}

// The palette indices of an 8-bit BMP written bottom row first without row padding, top row first.
Bytes BmpPixels(const std::string& path) {
  const Bytes file = test::ReadBytes(path);
  if (file.size() < 1078)
    return {};
  const std::size_t width = file[18] | (file[19] << 8), height = file[22] | (file[23] << 8);
  Bytes pixels;
  for (std::size_t y = 0; y < height; ++y) {
    const auto row = file.begin() + 1078 + static_cast<std::ptrdiff_t>((height - 1 - y) * width);
    pixels.insert(pixels.end(), row, row + static_cast<std::ptrdiff_t>(width));
  }
  return pixels;
}

TEST(RoundTrip, MemTextComesBackByteForByte) {
  for (int escape : {0, 1}) {
    TempDir dir;
    const Bytes text = RandomBytes(256, 42 + escape);
    Bytes file = test::Bytes("MEM$=\"");
    file.insert(file.end(), text.begin(), text.end());
    for (char c : std::string("\"\r\n"))
      file.push_back(static_cast<std::uint8_t>(c));
    test::WriteBytes(dir / "notes_mem.txt", file);
    const std::string set = "PRG_ESCAPE=" + std::to_string(escape);

    ASSERT_TRUE(Convert(dir, {"--set", set, "notes_mem.txt"}));
    ASSERT_TRUE(Convert(dir, {"--set", set, "notes_mem_MEM.zkp"}));
    const std::string decoded = dir / "ZKP_NOTES_ME/NOTES_ME_MEM.txt";
    if (escape == 0) {
      EXPECT_EQ(test::ReadBytes(decoded), file);  // with escapes off the text itself comes back
    }
    ASSERT_TRUE(Convert(dir, {"--set", set, "ZKP_NOTES_ME/NOTES_ME_MEM.txt"}));
    const Bytes first = StoredPayload(dir / "notes_mem_MEM.zkp");
    ASSERT_EQ(first.size(), 528u);
    EXPECT_EQ(StoredPayload(dir / "ZKP_NOTES_ME/NOTES_ME_MEM_MEM.zkp"), first) << "escape " << escape;
  }
}

TEST(RoundTrip, ScreenTextAndRawFileEncodeToTheSameScreen) {
  TempDir dir;
  const Bytes raw = RandomBytes(8192, 7);
  test::WriteBytes(dir / "map.rscr", raw);
  ASSERT_TRUE(Convert(dir, {"map.rscr"}));
  const Bytes first = StoredPayload(dir / "map_SCR.zkp");
  ASSERT_EQ(first.size(), 8204u);

  ASSERT_TRUE(Convert(dir, {"map_SCR.zkp"}));
  EXPECT_EQ(test::ReadBytes(dir / "ZKP_MAP/MAP_SCR_SCR.rscr"), raw);  // the raw file is the map itself
  EXPECT_EQ(test::ReadBytes(dir / "ZKP_MAP/MAP_SCR_SCR.txt").size(), 151658u);

  // Both decoded files encode to the same name; encode each in turn.
  ASSERT_TRUE(Convert(dir, {"ZKP_MAP/MAP_SCR_SCR.txt"}));
  EXPECT_EQ(StoredPayload(dir / "ZKP_MAP/MAP_SCR_SCR_SCR.zkp"), first) << "from the screen text";
  std::filesystem::remove(dir / "ZKP_MAP/MAP_SCR_SCR_SCR.zkp");
  ASSERT_TRUE(Convert(dir, {"ZKP_MAP/MAP_SCR_SCR.rscr"}));
  EXPECT_EQ(StoredPayload(dir / "ZKP_MAP/MAP_SCR_SCR_SCR.zkp"), first) << "from the raw file";
}

TEST(RoundTrip, PlainProgramComesBackAsTheSameProgram) {
  TempDir dir;
  std::mt19937 random(9);
  std::string text, program;
  for (int line = 0; line < 50; ++line) {
    std::string body = std::to_string(10 * (line + 1)) + " ";
    const int length = static_cast<int>(random() % 60);
    for (int i = 0; i < length; ++i)
      body.push_back(static_cast<char>(0x20 + random() % 0x5F));  // printable ASCII
    text += body + "\r\n";
    program += body + "\r";
  }
  test::WriteText(dir / "game.txt", text);
  const Args off{"--set", "PRG_MultiByte=0", "--set", "PRG_ESCAPE=0"};
  auto with = [&](const std::string& path) {
    Args args = off;
    args.push_back(path);
    return args;
  };
  ASSERT_TRUE(Convert(dir, with("game.txt")));
  const Bytes first = StoredPayload(dir / "game_PRG.zkp");
  ASSERT_TRUE(Convert(dir, with("game_PRG.zkp")));
  EXPECT_EQ(test::ReadText(dir / "ZKP_GAME/GAME_PRG.txt"), program);  // the program bytes as they are
  ASSERT_TRUE(Convert(dir, with("ZKP_GAME/GAME_PRG.txt")));
  EXPECT_EQ(StoredPayload(dir / "ZKP_GAME/GAME_PRG_PRG.zkp"), first);
}

TEST(RoundTrip, GrpPageComesBackAsTheSamePage) {
  TempDir dir;
  const Bytes pixels = RandomBytes(256 * 192, 11);
  test::WriteBytes(dir / "pic.bmp", EightBitBmp(256, 192, pixels));
  ASSERT_TRUE(Convert(dir, {"--type", "grp", "pic.bmp"}));
  const Bytes first = StoredPayload(dir / "pic_GRP.zkp");
  ASSERT_EQ(first.size(), 49164u);

  ASSERT_TRUE(Convert(dir, {"--type", "grp", "pic_GRP.zkp"}));
  EXPECT_EQ(BmpPixels(dir / "ZKP_PIC/PIC_GRP.bmp"), pixels);
  ASSERT_TRUE(Convert(dir, {"--type", "grp", "ZKP_PIC/PIC_GRP.bmp"}));
  EXPECT_EQ(StoredPayload(dir / "ZKP_PIC/PIC_GRP_GRP.zkp"), first);
}

TEST(RoundTrip, ChrBankComesBackAsTheSameBankForEveryUnit) {
  for (const std::string type : {"bg", "16x16", "32x16", "16x32", "32x32", "64x32", "32x64", "64x64"}) {
    TempDir dir;
    const Bytes pixels = RandomBytes(128 * 128, 13, 16);
    test::WriteBytes(dir / "pic.bmp", EightBitBmp(128, 128, pixels));
    const Args settings{"--type", type, "--set", "AutoTrim=1", "--set", "Make_Wide=0"};
    auto with = [&](const std::string& path) {
      Args args = settings;
      args.push_back(path);
      return args;
    };
    ASSERT_TRUE(Convert(dir, with("pic.bmp")));
    const Bytes first = StoredPayload(dir / "pic_CHR.zkp");
    ASSERT_EQ(first.size(), 8204u) << type;

    ASSERT_TRUE(Convert(dir, with("pic_CHR.zkp")));
    EXPECT_EQ(BmpPixels(dir / "ZKP_PIC/PIC_CHR.bmp"), pixels) << type;
    ASSERT_TRUE(Convert(dir, with("ZKP_PIC/PIC_CHR.bmp")));
    EXPECT_EQ(StoredPayload(dir / "ZKP_PIC/PIC_CHR_CHR.zkp"), first) << type;
  }
}

}  // namespace
}  // namespace granvel
