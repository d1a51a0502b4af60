// granvel-cli on program texts, screen texts and raw screen files, end to end.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/container_view.h"
#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::RunCli;
using test::TempDir;

// The PRG payload of a program, put together by hand.
std::vector<std::uint8_t> PrgPayload(const std::string& program) {
  std::vector<std::uint8_t> payload = test::Bytes("ZORIKAMUQAVN0300RPRG");
  payload.resize(28, 0);
  for (int i = 0; i < 4; ++i)
    payload.push_back(static_cast<std::uint8_t>(program.size() >> (8 * i)));
  payload.insert(payload.end(), program.begin(), program.end());
  payload.resize(32 + (program.size() + 3) / 4 * 4, 0);
  return payload;
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(CliTextConvert, ProgramTextsWithEitherLineEnd) {
  TempDir dir;
  test::WriteText(dir / "Game.txt", "10 CLS\r\n20 PRINT \"HI\"\r\n30 END\r\n");
  test::WriteText(dir / "game_lf.txt", "10 CLS\n20 PRINT \"HI\"\n30 END\n");
  const auto run = RunCli(dir.Path(), {"convert", "Game.txt", "game_lf.txt"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Contains(run.out, "Game.txt: wrote Game_PRG.zkp")) << run.out;
  EXPECT_TRUE(Contains(run.out, "2 files converted")) << run.out;

  const std::string program = "10 CLS\r20 PRINT \"HI\"\r30 END\r";
  for (const char* name : {"Game_PRG.zkp", "game_lf_PRG.zkp"}) {
    const auto file = test::ReadBytes(dir / name);
    const test::ContainerView view(file);
    EXPECT_EQ(file.size(), 36 + PrgPayload(program).size() - 8) << name;
    EXPECT_EQ(view.magic, "PX01");
    EXPECT_EQ(view.type, 0u);
    EXPECT_TRUE(view.DigestMatches()) << name;
    EXPECT_EQ(view.Payload(), PrgPayload(program)) << name;
  }
  EXPECT_EQ(test::ContainerView(test::ReadBytes(dir / "Game_PRG.zkp")).Name(), "GAME");
  EXPECT_EQ(test::ContainerView(test::ReadBytes(dir / "game_lf_PRG.zkp")).Name(), "GAME_LF");
}

TEST(CliTextConvert, ScreenTextAndRawScreenGiveScrFiles) {
  TempDir dir;
  test::WriteText(dir / "Stage_scr.txt",
                  "' stage\nBGPUT LAYER, 5, 12, 564, 1, 0, 0\nBGPUT 0, 32, 0, &H0C01\n");
  std::vector<std::uint8_t> raw(8192, 0);
  raw[2 * (12 * 64 + 5)] = 0x12;  // (5, 12), high byte first
  raw[2 * (12 * 64 + 5) + 1] = 0x34;
  raw[2 * 32] = 0x0C;  // (32, 0)
  raw[2 * 32 + 1] = 0x01;
  test::WriteBytes(dir / "Stage.rscr", raw);
  const auto run = RunCli(dir.Path(), {"convert", "Stage_scr.txt", "Stage.rscr"});
  ASSERT_EQ(run.status, 0) << run.err;

  std::vector<std::uint8_t> expected = test::Bytes("ZORIKAMUQAVN0100RSCR");
  expected.resize(8212, 0);
  expected[20 + 2 * (12 * 32 + 5)] = 0x34;  // little-endian, first quarter
  expected[21 + 2 * (12 * 32 + 5)] = 0x12;
  expected[20 + 2 * 1024] = 0x01;  // (32, 0) opens the second quarter
  expected[21 + 2 * 1024] = 0x0C;
  for (const char* name : {"Stage_scr_SCR.zkp", "Stage_SCR.zkp"}) {
    const auto file = test::ReadBytes(dir / name);
    ASSERT_EQ(file.size(), 8240u) << name;
    const test::ContainerView view(file);
    EXPECT_EQ(view.type, 4u);
    EXPECT_TRUE(view.DigestMatches());
    EXPECT_EQ(view.Payload(), expected) << name;
  }
  EXPECT_EQ(test::ContainerView(test::ReadBytes(dir / "Stage_SCR.zkp")).Name(), "STAGE");
}

TEST(CliTextConvert, RefusalsNameThePlaceAndWriteNothing) {
  TempDir dir;
  test::WriteText(dir / "long.txt", "10 A\r\n" + std::string(199, 'x') + "\r\n");
  test::WriteText(dir / "bad_scr.txt", "' map\n\nBGPUT LAYER, 1, P, 1\n");
  test::WriteText(dir / "empty.txt", "");
  const auto run = RunCli(dir.Path(), {"convert", "long.txt", "bad_scr.txt", "empty.txt"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Contains(run.err, "long.txt: failed: line 2 is 199 bytes long; the limit is 198")) << run.err;
  EXPECT_TRUE(Contains(run.err, "bad_scr.txt: failed: line 3, column 17: unexpected 'P'")) << run.err;
  EXPECT_TRUE(Contains(run.err, "empty.txt: failed: the file is empty")) << run.err;
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"bad_scr.txt", "empty.txt", "long.txt"}));

  // The limit is a setting.
  const auto unlimited = RunCli(dir.Path(), {"convert", "--set", "PRG_Limit=0", "long.txt"});
  EXPECT_EQ(unlimited.status, 0) << unlimited.err;
  EXPECT_TRUE(test::Exists(dir / "long_PRG.zkp"));
}

TEST(CliTextConvert, EscapesFollowTheSetting) {
  TempDir dir;
  test::WriteText(dir / "esc.txt", "PRINT \"\\41\"\n");
  auto run = RunCli(dir.Path(), {"convert", "--set", "PRG_ESCAPE=1", "esc.txt"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(test::ContainerView(test::ReadBytes(dir / "esc_PRG.zkp")).Payload(), PrgPayload("PRINT \"A\"\r"));
  run = RunCli(dir.Path(), {"convert", "--set", "PRG_ESCAPE=0", "esc.txt"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(test::ContainerView(test::ReadBytes(dir / "esc_PRG.zkp")).Payload(),
            PrgPayload("PRINT \"\\41\"\r"));
}

}  // namespace
}  // namespace granvel
