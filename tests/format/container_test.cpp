#include "format/container.h"

#include <gtest/gtest.h>

#include "support/container_view.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::ContainerView;
using test::TempDir;

// Writes `payload` to dir/out.zkp under `name` and returns the report.
struct Written {
  bool ok;
  ConvertReport report;
};

Written Write(const TempDir& dir, const ResourcePayload& payload, ResourceType type, const std::string& name,
              const std::string& file = "out.zkp") {
  ConvertSettings settings;
  test::FakeHost host;
  Written w{false, {}};
  const ConvertContext ctx(settings, host, w.report);
  ConvertJob job;
  job.OutFile = dir / file;
  job.ResName = name;
  w.ok = WriteZkpContainer(job, payload, type, ctx);
  return w;
}

TEST(WriteZkpContainer, MemPayloadGivesTheDocumentedLayoutAndDigest) {
  TempDir dir;
  ResourcePayload payload = NewPayload(kTagMem, 536);
  for (std::size_t i = 20; i < 536; ++i)
    payload[i] = static_cast<std::uint8_t>(i * 13);
  ASSERT_TRUE(Write(dir, payload, ResourceType::Mem, "NOTES_ME").ok);

  const auto file = test::ReadBytes(dir / "out.zkp");
  ASSERT_EQ(file.size(), 564u);
  const ContainerView view(file);
  EXPECT_EQ(view.magic, "PX01");
  EXPECT_EQ(view.storedSize, 528u);
  EXPECT_EQ(view.type, 1u);
  EXPECT_EQ(view.Name(), "NOTES_ME");
  // The stored payload starts with the tag less its brand word.
  EXPECT_EQ(std::string(view.stored.begin(), view.stored.begin() + 12), "QAVN0200RMEM");
  EXPECT_EQ(view.Payload(), payload);
  EXPECT_TRUE(view.DigestMatches());
  // The digest covers the brand word: MD5 of the stored bytes alone differs.
  const auto storedOnly = test::ReferenceMd5(view.stored);
  EXPECT_NE(std::vector<std::uint8_t>(storedOnly.begin(), storedOnly.end()), view.digest);
}

TEST(WriteZkpContainer, ColPayloadGives560Bytes) {
  TempDir dir;
  ASSERT_TRUE(Write(dir, NewPayload(kTagCol, 532), ResourceType::Col, "X").ok);
  const auto file = test::ReadBytes(dir / "out.zkp");
  EXPECT_EQ(file.size(), 560u);
  EXPECT_EQ(ContainerView(file).storedSize, 524u);
  EXPECT_EQ(ContainerView(file).type, 5u);
}

TEST(WriteZkpContainer, NameFieldIsZeroFilledOrFullWithoutTerminator) {
  struct Row {
    std::string name;
    std::vector<std::uint8_t> field;
  };
  const Row rows[] = {
      {"AB", {0x41, 0x42, 0, 0, 0, 0, 0, 0}},
      {"ABCDEFGH", {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}},
      {"ABCDEFGHIJ", {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'}},
      {"", {0, 0, 0, 0, 0, 0, 0, 0}},
  };
  for (const Row& row : rows) {
    TempDir dir;
    ASSERT_TRUE(Write(dir, NewPayload(kTagCol, 532), ResourceType::Col, row.name).ok);
    EXPECT_EQ(ContainerView(test::ReadBytes(dir / "out.zkp")).nameField, row.field) << row.name;
  }
}

TEST(WriteZkpContainer, PayloadOfOnlyItsTagIsRefusedWithoutTouchingAFile) {
  TempDir dir;
  const auto refused = Write(dir, NewPayload(kTagPrg, 20), ResourceType::Prg, "P");
  EXPECT_FALSE(refused.ok);
  EXPECT_FALSE(refused.report.Reason.empty());
  EXPECT_TRUE(dir.List().empty());

  ASSERT_TRUE(Write(dir, NewPayload(kTagPrg, 21), ResourceType::Prg, "P").ok);
  const auto file = test::ReadBytes(dir / "out.zkp");
  EXPECT_EQ(file.size(), 49u);
  EXPECT_EQ(ContainerView(file).storedSize, 13u);
}

TEST(WriteZkpContainer, OverwritesALongerFileToExactlyTheNewLength) {
  TempDir dir;
  test::WriteBytes(dir / "out.zkp", std::vector<std::uint8_t>(100000, 0xEE));
  ASSERT_TRUE(Write(dir, NewPayload(kTagCol, 532), ResourceType::Col, "C").ok);
  EXPECT_EQ(test::ReadBytes(dir / "out.zkp").size(), 560u);
}

TEST(WriteZkpContainer, UnwritableTargetFailsWithAReasonAndRecordsNothingWritten) {
  TempDir dir;
  const auto result = Write(dir, NewPayload(kTagCol, 532), ResourceType::Col, "C", "missing/out.zkp");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.report.Reason.find("out.zkp"), std::string::npos) << result.report.Reason;
  EXPECT_TRUE(result.report.Written.empty());
}

TEST(MakeResourceName, FollowsTheNameTable) {
  struct Row {
    std::string fileName, name;
  };
  const Row rows[] = {
      {"title", "TITLE"},
      {"Stage_1", "STAGE_1"},
      {"my file", "MY FILE"},
      {"Notes_mem", "NOTES_ME"},
      {"Background2", "BACKGROU"},
      {"a.b", "A.B"},
      {"abc{x", "ABC"},
      {"~tmp", ""},
      {"\x83\x41name", ""},
      {"ab\x83\x41", "AB"},
      {"50%off", "50%OFF"},
      {"a\tb", "A"},
      {"x|y", "X"},
      {"az`AZ", "AZ`AZ"},
      {"", ""},
  };
  for (const Row& row : rows)
    EXPECT_EQ(MakeResourceName(row.fileName), row.name) << row.fileName;
  EXPECT_EQ(ResourceNameOr("~tmp", "MEM"), "MEM");
  EXPECT_EQ(ResourceNameOr("abc", "MEM"), "ABC");
}

}  // namespace
}  // namespace granvel
