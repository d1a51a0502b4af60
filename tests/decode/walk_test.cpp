#include "decode/walk.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/zkp_builder.h"

namespace granvel {
namespace {

using test::Join;
using test::Stored;
using test::StoredPrg;
using test::ZkpFile;
using Bytes = std::vector<std::uint8_t>;

struct Walked {
  std::vector<StoredResource> resources;
  bool malformed = false;
  std::string reason;
};

Walked WalkAll(const Bytes& file) {
  Walked result;
  ResourceWalk walk(file);
  StoredResource resource;
  for (int guard = 0; guard < 100; ++guard) {
    const auto step = walk.Next(resource, result.reason);
    if (step == ResourceWalk::Step::End)
      return result;
    if (step == ResourceWalk::Step::Malformed) {
      result.malformed = true;
      return result;
    }
    result.resources.push_back(resource);
  }
  ADD_FAILURE() << "the walk did not end";
  return result;
}

TEST(ReadContainerHeader, TakesTheFieldsByOffsetAndTheNameUpToItsFirstZero) {
  const Bytes file = ZkpFile(5, "AB", Stored("QAVN0100RCOL", Bytes(512)));
  ContainerHeader header;
  std::string reason;
  ASSERT_TRUE(ReadContainerHeader(file, header, reason));
  EXPECT_EQ(header.Magic, "PX01");
  EXPECT_EQ(header.StoredSize, 524u);
  EXPECT_EQ(header.Type, 5u);
  EXPECT_EQ(header.Name, "AB");

  ASSERT_TRUE(ReadContainerHeader(ZkpFile(0, "EIGHTCHR", {}), header, reason));
  EXPECT_EQ(header.Name, "EIGHTCHR");  // 8 bytes, no terminator

  EXPECT_FALSE(ReadContainerHeader(Bytes(35, 'x'), header, reason));
  EXPECT_NE(reason.find("35 bytes"), std::string::npos) << reason;
}

TEST(ContainerDigestMatches, CoversTheBrandWordAndEveryStoredByte) {
  Bytes file = ZkpFile(5, "P", Stored("QAVN0100RCOL", Bytes(512, 7)));
  EXPECT_TRUE(ContainerDigestMatches(file));
  file.back() ^= 1;
  EXPECT_FALSE(ContainerDigestMatches(file));
  EXPECT_FALSE(ContainerDigestMatches(Bytes(20)));
}

TEST(ResourceWalk, FindsEachKindWithItsDataSize) {
  const Bytes file = ZkpFile(0, "P",
                             Join({Stored("QAVN0100RCHR", Bytes(8192)), Stored("QAVN0100RCOL", Bytes(512)),
                                   Stored("QAVN0100RGRP", Bytes(49152)), Stored("QAVN0100RSCR", Bytes(8192)),
                                   Stored("QAVN0200RMEM", Bytes(516))}));
  const Walked w = WalkAll(file);
  ASSERT_FALSE(w.malformed) << w.reason;
  ASSERT_EQ(w.resources.size(), 5u);
  const std::size_t offsets[] = {36, 36 + 8204, 36 + 8204 + 524, 36 + 8204 + 524 + 49164,
                                 36 + 8204 + 524 + 49164 + 8204};
  const char* letters[] = {"CHR", "COL", "GRP", "SCR", "MEM"};
  const std::size_t sizes[] = {8192, 512, 49152, 8192, 516};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(w.resources[i].Offset, offsets[i]) << i;
    EXPECT_EQ(w.resources[i].Letters, letters[i]) << i;
    EXPECT_EQ(w.resources[i].DataOffset, offsets[i] + 12) << i;
    EXPECT_EQ(w.resources[i].DataSize, sizes[i]) << i;
    EXPECT_EQ(w.resources[i].Data.size(), sizes[i]) << i;
    EXPECT_EQ(w.resources[i].Data.data(), file.data() + offsets[i] + 12) << i;
  }
}

TEST(ResourceWalk, ReadsTheProgramHeaderAndSkipsPaddingByFileOffset) {
  const Bytes program{'1', '2', '3', '4', '5'};
  const Bytes file =
      ZkpFile(0, "P", Join({StoredPrg(0x1200, 0x80000101, program), Stored("QAVN0100RCOL", Bytes(512))}));
  const Walked w = WalkAll(file);
  ASSERT_FALSE(w.malformed) << w.reason;
  ASSERT_EQ(w.resources.size(), 2u);
  const StoredResource& prg = w.resources[0];
  EXPECT_EQ(prg.MaskHigh, 0x1200u);
  EXPECT_EQ(prg.MaskLow, 0x80000101u);
  EXPECT_EQ(prg.ProgramLength, 5u);
  EXPECT_EQ(prg.DataSize, 17u);
  EXPECT_EQ(Bytes(prg.Data.begin(), prg.Data.end()), program);
  // 36 + 12 tag + 12 header + 5 program = 65, padded to 68.
  EXPECT_EQ(w.resources[1].Offset, 68u);
}

TEST(ResourceWalk, ATagWithItsBrandWordStillWalks) {
  const Bytes file = ZkpFile(3, "P", Stored("ZORIKAMUQAVN0100RCHR", Bytes(8192, 1)));
  const Walked w = WalkAll(file);
  ASSERT_FALSE(w.malformed) << w.reason;
  ASSERT_EQ(w.resources.size(), 1u);
  EXPECT_EQ(w.resources[0].Letters, "CHR");
  EXPECT_EQ(w.resources[0].DataOffset, 36u + 20u);
}

TEST(ResourceWalk, AHeaderAloneHoldsNoResource) {
  EXPECT_TRUE(WalkAll(ZkpFile(0, "P", {})).resources.empty());
  EXPECT_FALSE(WalkAll(ZkpFile(0, "P", {})).malformed);
}

TEST(ResourceWalk, MalformedFilesFailWithTheOffset) {
  struct Row {
    const char* what;
    Bytes stored;
    std::size_t goodResources;
    std::string reasonPart;
  };
  Bytes hugePrg = Stored("QAVN0300RPRG", Bytes{0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2, 3});
  const Row rows[] = {
      {"trailing bytes", Join({Stored("QAVN0100RCOL", Bytes(512)), Bytes{1, 2, 3, 4, 5}}), 1, "offset 560"},
      {"trailing bytes with no R", Join({Stored("QAVN0100RCOL", Bytes(512)), Bytes(20, 'Q')}), 1,
       "offset 560"},
      {"unknown letters", Stored("QAVN0100RXYZ", Bytes(8192)), 0, "offset 45: unknown resource type \"XYZ\""},
      {"small letters", Stored("QAVN0100Rchr", Bytes(8192)), 0, "unknown resource type \"chr\""},
      {"truncated CHR", Stored("QAVN0100RCHR", Bytes(100)), 0, "offset 48"},
      {"truncated second", Join({Stored("QAVN0100RCOL", Bytes(512)), Stored("QAVN0100RGRP", Bytes(49151))}),
       1, "offset 572"},
      {"letters cut off", Bytes{'Q', 'A', 'V', 'N', '0', '1', '0', '0', 'R', 'C'}, 0, "cut off"},
      {"PRG header cut off", Stored("QAVN0300RPRG", Bytes(11)), 0, "offset 48"},
      {"program longer than the file", hugePrg, 0, "offset 60"},
      {"no R at all", Bytes(40, 'x'), 0, "offset 36"},
  };
  for (const Row& row : rows) {
    const Walked w = WalkAll(ZkpFile(0, "P", row.stored));
    EXPECT_TRUE(w.malformed) << row.what;
    EXPECT_EQ(w.resources.size(), row.goodResources) << row.what;
    EXPECT_NE(w.reason.find(row.reasonPart), std::string::npos) << row.what << ": " << w.reason;
  }
}

}  // namespace
}  // namespace granvel
