#include <gtest/gtest.h>

#include "support/run_cli.h"
#include "support/temp_dir.h"
#include "support/zkp_builder.h"

namespace granvel {
namespace {

using test::Join;
using test::RunCli;
using test::Stored;
using test::StoredPrg;
using test::TempDir;
using test::ZkpFile;
using Bytes = std::vector<std::uint8_t>;

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// A package of a 10-byte program, upper BGU0, lower BGU0 and upper COL0.
Bytes Package() {
  const Bytes program(10, 'A');
  return ZkpFile(
      0, "PACKAGE",
      Join({StoredPrg(0, (1u << 8) | (1u << 13) | (1u << 27), program), Stored("QAVN0100RCHR", Bytes(8192)),
            Stored("QAVN0100RCOL", Bytes(512)), Stored("QAVN0100RCHR", Bytes(8192))}));
}

TEST(CliInfo, ShowsHeaderResourcesAndSlots) {
  TempDir dir;
  test::WriteBytes(dir / "game.zkp", Package());
  const auto run = RunCli(dir.Path(), {"info", "game.zkp"});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "magic \"PX01\"")) << run.out;
  EXPECT_TRUE(Has(run.out, "stored size " + std::to_string(12 + 24 + 8204 + 524 + 8204))) << run.out;
  EXPECT_TRUE(Has(run.out, "type 0 (PRG)")) << run.out;
  EXPECT_TRUE(Has(run.out, "name \"PACKAGE\"")) << run.out;
  EXPECT_TRUE(Has(run.out, "digest matches")) << run.out;
  EXPECT_TRUE(Has(run.out, "offset 36: PRG, 22 data bytes (program 10 bytes)")) << run.out;
  EXPECT_TRUE(Has(run.out, "offset 72: CHR, 8192 data bytes")) << run.out;  // 36 + 12 + 22 + 2 padding
  EXPECT_TRUE(Has(run.out, "offset 8276: COL, 512 data bytes")) << run.out;
  EXPECT_TRUE(Has(run.out, "bit 8: BGU0\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "bit 13: COL0\n")) << run.out;
  EXPECT_TRUE(Has(run.out, "bit 27: BGU0 (Down screen)\n")) << run.out;
  EXPECT_TRUE(dir.List() == std::vector<std::string>{"game.zkp"});  // info writes nothing
}

TEST(CliInfo, JsonGivesOneObjectPerFile) {
  TempDir dir;
  test::WriteBytes(dir / "game.zkp", Package());
  Bytes wrong = ZkpFile(5, "A\"B", Stored("QAVN0100RCOL", Bytes(512)));
  wrong[25] ^= 1;
  test::WriteBytes(dir / "pal.zkp", wrong);
  const auto run = RunCli(dir.Path(), {"info", "--json", "game.zkp", "pal.zkp"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto newline = run.out.find('\n');
  ASSERT_NE(newline, std::string::npos);
  const std::string first = run.out.substr(0, newline), second = run.out.substr(newline + 1);
  EXPECT_TRUE(Has(first, "\"path\":\"game.zkp\"")) << first;
  EXPECT_TRUE(Has(first, "\"digest_matches\":true")) << first;
  EXPECT_TRUE(Has(first,
                  "{\"offset\":36,\"type\":\"PRG\",\"data_offset\":48,\"data_size\":22,\"program_length\":10,"
                  "\"mask\":\"0x0000000008002100\",\"slots\":[{\"bit\":8,\"label\":\"BGU0\"},{\"bit\":13,"
                  "\"label\":\"COL0\"},{\"bit\":27,\"label\":\"BGU0 (Down screen)\"}]}"))
      << first;
  EXPECT_TRUE(Has(first, "\"error\":null}")) << first;
  EXPECT_TRUE(Has(second, "\"name\":\"A\\\"B\"")) << second;
  EXPECT_TRUE(Has(second, "\"digest_matches\":false")) << second;
  EXPECT_TRUE(Has(second, "\"type_name\":\"COL\"")) << second;
  EXPECT_EQ(second.back(), '\n');
}

TEST(CliInfo, UnreadableContainersExitWithOne) {
  TempDir dir;
  test::WriteBytes(dir / "good.zkp", ZkpFile(5, "P", Stored("QAVN0100RCOL", Bytes(512))));
  test::WriteBytes(dir / "short.zkp", Bytes(20, 'P'));
  test::WriteBytes(dir / "cut.zkp", ZkpFile(3, "P", Stored("QAVN0100RCHR", Bytes(100))));
  auto run = RunCli(dir.Path(), {"info", "good.zkp", "short.zkp", "cut.zkp", "missing.zkp"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.out, "good.zkp:\n")) << run.out;
  EXPECT_TRUE(Has(run.err, "short.zkp: not a readable container: the file is 20 bytes long")) << run.err;
  EXPECT_TRUE(Has(run.err, "cut.zkp: not a readable container: offset 48")) << run.err;
  EXPECT_TRUE(Has(run.err, "missing.zkp: not a readable container")) << run.err;

  run = RunCli(dir.Path(), {"info", "--json", "cut.zkp"});
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.out, "\"resources\":[],\"error\":\"offset 48")) << run.out;

  run = RunCli(dir.Path(), {"info"});
  EXPECT_EQ(run.status, 2);
}

}  // namespace
}  // namespace granvel
