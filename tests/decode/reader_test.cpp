#include "decode/reader.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "convert/dispatch.h"

#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "support/zkp_builder.h"

namespace granvel {
namespace {

using test::Join;
using test::Stored;
using test::StoredPrg;
using test::ZkpFile;
using Bytes = std::vector<std::uint8_t>;
using Names = std::vector<std::string>;

constexpr std::uint32_t Bit(int n) {
  return std::uint32_t{1} << n;
}

Bytes Chr(std::uint8_t fill = 0) {
  return Stored("QAVN0100RCHR", Bytes(8192, fill));
}
Bytes Col() {
  return Stored("QAVN0100RCOL", Bytes(512));
}
Bytes Scr() {
  return Stored("QAVN0100RSCR", Bytes(8192));
}
Bytes Grp() {
  return Stored("QAVN0100RGRP", Bytes(49152));
}
Bytes Mem(std::uint16_t code = 0xFF21) {
  Bytes data(516, 0);
  data[0] = static_cast<std::uint8_t>(code);
  data[1] = static_cast<std::uint8_t>(code >> 8);
  data[512] = 1;
  return Stored("QAVN0200RMEM", data);
}

// Decodes `file` with the output folder "out/" of a fresh temporary folder.
struct Decoded {
  test::TempDir dir;
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  bool ok = false;

  explicit Decoded(const Bytes& file, int makeWide = 0) {
    settings.Make_Wide = makeWide;
    std::filesystem::create_directory(dir / "out");
    ConvertJob job;
    job.OutDir = dir / "out/";
    const ConvertContext ctx(settings, host, report);
    ok = DecodeZkpBytes(file, job, ctx);
  }
  Names List(const std::string& sub) const { return dir.List(sub); }
};

TEST(DecodeZkpBytes, APlainChrFileGivesOneImageInItsFolder) {
  const Decoded d(ZkpFile(3, "HERO", Chr()));
  ASSERT_TRUE(d.ok) << d.report.Reason;
  EXPECT_EQ(d.List("out"), Names{"ZKP_HERO"});
  EXPECT_EQ(d.List("out/ZKP_HERO"), Names{"HERO_CHR.bmp"});
  EXPECT_EQ(test::ReadBytes(d.dir / "out/ZKP_HERO/HERO_CHR.bmp").size(), 17462u);
  EXPECT_EQ(d.report.Written, Names{d.dir / "out/ZKP_HERO/HERO_CHR.bmp"});
}

TEST(DecodeZkpBytes, APackageNamesItsResourcesByTheMask) {
  const Bytes stored =
      Join({StoredPrg(0, Bit(8) | Bit(13) | Bit(18), Bytes{'1', '0', '\r'}), Chr(), Col(), Grp()});
  const Decoded d(ZkpFile(0, "PACKAGE", stored));
  ASSERT_TRUE(d.ok) << d.report.Reason;
  EXPECT_EQ(d.List("out/ZKP_PACKAGE"),
            (Names{"PACKAGE_BGU0.bmp", "PACKAGE_COL0.bmp", "PACKAGE_GRP0.bmp", "PACKAGE_PRG.txt"}));
  EXPECT_EQ(test::ReadText(d.dir / "out/ZKP_PACKAGE/PACKAGE_PRG.txt"), "10\r");
}

TEST(DecodeZkpBytes, BitsZeroAndEightNameTwoBanksInStoredOrder) {
  const Decoded d(ZkpFile(0, "P", Join({StoredPrg(0, Bit(0) | Bit(8), {}), Chr(1), Chr(2)})));
  ASSERT_TRUE(d.ok) << d.report.Reason;
  EXPECT_EQ(d.List("out/ZKP_P"), (Names{"P_BGU0.bmp", "P_PRG.txt", "P_SPU0.bmp"}));
  // The first bank (pixels 1) became SPU0.
  EXPECT_EQ(test::ReadBytes(d.dir / "out/ZKP_P/P_SPU0.bmp")[1078], 1);
  EXPECT_EQ(test::ReadBytes(d.dir / "out/ZKP_P/P_BGU0.bmp")[1078], 2);
}

TEST(DecodeZkpBytes, BanksBeyondTheMaskAreNamedChr) {
  const Decoded d(ZkpFile(0, "P", Join({StoredPrg(0, Bit(8), {}), Chr(), Chr()})));
  ASSERT_TRUE(d.ok) << d.report.Reason;
  EXPECT_EQ(d.List("out/ZKP_P"), (Names{"P_BGU0.bmp", "P_CHR.bmp", "P_PRG.txt"}));
}

TEST(DecodeZkpBytes, TwoBanksOfAPlainFileShareOneNameAndTheSecondWins) {
  const Decoded d(ZkpFile(3, "HERO", Join({Chr(1), Chr(2)})));
  ASSERT_TRUE(d.ok) << d.report.Reason;
  EXPECT_EQ(d.List("out/ZKP_HERO"), Names{"HERO_CHR.bmp"});
  EXPECT_EQ(test::ReadBytes(d.dir / "out/ZKP_HERO/HERO_CHR.bmp")[1078], 2);
}

TEST(DecodeZkpBytes, MemTakesNoBitAndTheLowerScreenHasItsOwnNames) {
  const std::uint32_t high = Bit(32 - 32) | Bit(35 - 32) | Bit(41 - 32);
  const Bytes stored =
      Join({StoredPrg(high, Bit(22) | Bit(27), {}), Chr(), Col(), Scr(), Mem(), Chr(), Mem()});
  const Decoded d(ZkpFile(0, "P", stored));
  ASSERT_TRUE(d.ok) << d.report.Reason;
  EXPECT_EQ(d.List("out/ZKP_P"), (Names{"P_BGS0.bmp", "P_COL0_S.bmp", "P_MEM.txt", "P_PRG.txt",
                                        "P_SCR2_SCR.rscr", "P_SCR2_SCR.txt", "P_SPS0.bmp"}));
}

TEST(DecodeZkpBytes, AWrongDigestDecodesAnyway) {
  Bytes file = ZkpFile(3, "HERO", Chr());
  file[20] ^= 0xFF;
  file[0] = 'Q';  // nor is the magic checked
  EXPECT_TRUE(Decoded(file).ok);
}

TEST(DecodeZkpBytes, AResourceWithItsFullTagDecodes) {
  const Decoded d(ZkpFile(3, "HERO", Stored("ZORIKAMUQAVN0100RCHR", Bytes(8192))));
  ASSERT_TRUE(d.ok) << d.report.Reason;
  EXPECT_EQ(d.List("out/ZKP_HERO"), Names{"HERO_CHR.bmp"});
}

TEST(DecodeZkpBytes, AHeaderAloneMakesTheFolderOnly) {
  const Decoded d(ZkpFile(0, "AB", {}));
  ASSERT_TRUE(d.ok) << d.report.Reason;
  EXPECT_EQ(d.List("out"), Names{"ZKP_AB"});
  EXPECT_TRUE(d.List("out/ZKP_AB").empty());

  const Decoded shorter(Bytes(30, 'x'));
  EXPECT_FALSE(shorter.ok);
  EXPECT_TRUE(shorter.List("out").empty());
  EXPECT_NE(shorter.report.Reason.find("36-byte"), std::string::npos) << shorter.report.Reason;
}

TEST(DecodeZkpBytes, UnsafeNamesStayInsideTheirFolder) {
  struct Row {
    std::string name;
    std::string safe;
  };
  const Row rows[] = {
      {"../../x", ".._.._x"},
      {"a/b", "a_b"},
      {"C:", "C_"},
      {std::string("\x01\x1F\x7F\xFF", 4), "____"},
      {"..", "_"},
      {".", "_"},
      {"", "_"},
      {"a\\b*?|<", "a_b____"},
      {"\"x\">", "_x__"},
  };
  for (const Row& row : rows) {
    const Decoded d(ZkpFile(3, row.name, Chr()));
    ASSERT_TRUE(d.ok) << row.safe << ": " << d.report.Reason;
    EXPECT_EQ(d.List(""), Names{"out"}) << row.safe;
    EXPECT_EQ(d.List("out"), Names{"ZKP_" + row.safe}) << row.safe;
    EXPECT_EQ(d.List("out/ZKP_" + row.safe), Names{row.safe + "_CHR.bmp"}) << row.safe;
  }
}

TEST(SafeFileName, KeepsSafeNamesAsTheyAre) {
  EXPECT_EQ(SafeFileName("HERO"), "HERO");
  EXPECT_EQ(SafeFileName("MY FILE"), "MY FILE");
  EXPECT_EQ(SafeFileName("50%OFF!"), "50%OFF!");
  EXPECT_EQ(SafeFileName("..."), "...");  // not a step up: a plain name
}

TEST(DecodeZkpBytes, AFailureKeepsWhatWasDecodedBefore) {
  struct Row {
    const char* what;
    Bytes stored;
    Names written;
    std::string reasonPart;
  };
  const Row rows[] = {
      {"unknown letters", Join({Col(), Stored("QAVN0100RXYZ", Bytes(8192))}), {"P_COL.bmp"}, "offset 569"},
      {"trailing bytes", Join({Col(), Bytes{0, 0, 0}}), {"P_COL.bmp"}, "offset 560"},
      {"truncated resource", Join({Col(), Stored("QAVN0100RCHR", Bytes(8000))}), {"P_COL.bmp"}, "offset 572"},
      {"MEM code without byte", Join({Col(), Mem(0x0041), Chr()}), {"P_COL.bmp", "P_MEM.txt"}, "U+0041"},
  };
  for (const Row& row : rows) {
    const Decoded d(ZkpFile(0, "P", row.stored));
    EXPECT_FALSE(d.ok) << row.what;
    EXPECT_EQ(d.List("out/ZKP_P"), row.written) << row.what;
    EXPECT_NE(d.report.Reason.find(row.reasonPart), std::string::npos) << row.what << ": " << d.report.Reason;
  }
}

TEST(DecodeZkpFile, ReadsThePathAndFailsForAMissingFile) {
  test::TempDir dir;
  test::WriteBytes(dir / "hero_CHR.zkp", ZkpFile(3, "HERO", Chr()));
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  ConvertJob job;
  job.Path = dir / "hero_CHR.zkp";
  job.OutDir = dir.Path() + "/";
  ASSERT_TRUE(DecodeZkpFile(job, ctx)) << report.Reason;
  EXPECT_TRUE(test::Exists(dir / "ZKP_HERO/HERO_CHR.bmp"));

  job.Path = dir / "missing.zkp";
  EXPECT_FALSE(DecodeZkpFile(job, ctx));
  EXPECT_FALSE(report.Reason.empty());
}

TEST(DecodeZkpFile, FailsWhenTheFolderCannotBeMade) {
  test::TempDir dir;
  test::WriteBytes(dir / "ZKP_HERO", Bytes{1});  // a file in the folder's place
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  ConvertJob job;
  job.OutDir = dir.Path() + "/";
  EXPECT_FALSE(DecodeZkpBytes(ZkpFile(3, "HERO", Chr()), job, ctx));
  EXPECT_FALSE(report.Reason.empty());
}

TEST(DecodeZkpFile, IsTheConverterOfZkpFilesAndUsesTheZkpFolderWithCreate) {
  test::TempDir dir;
  test::WriteBytes(dir / "Title.zkp", ZkpFile(5, "TITLE", Stored("QAVN0100RCOL", Bytes(512))));
  ConvertSettings settings;
  settings.Create = 1;
  test::FakeHost host;
  ConvertReport report;
  ASSERT_TRUE(ConvertFile(dir / "Title.zkp", settings, host, report)) << report.Reason;
  EXPECT_EQ(dir.List("ZKP"), Names{"ZKP_TITLE"});  // no per-file folder for a .zkp input
  EXPECT_EQ(report.Written, Names{dir / "ZKP/ZKP_TITLE/TITLE_COL.bmp"});
}

}  // namespace
}  // namespace granvel
