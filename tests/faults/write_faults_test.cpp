// Output writes that fail part-way (a file-size limit, as on a full disk), or cannot start (a folder where
// the file goes, a read-only folder): every writer returns false with a reason, leaves no partial or
// temporary file, and leaves an older file of the same name as it was.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "convert/context.h"
#include "convert/job.h"
#include "decode/bitmap.h"
#include "decode/mem.h"
#include "decode/palettes.h"
#include "decode/prg.h"
#include "decode/scr.h"
#include "encode/image/data_text.h"
#include "format/container.h"
#include "package/package.h"
#include "support/fake_host.h"
#include "support/temp_dir.h"
#include "support/write_faults.h"

namespace granvel {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// One writer: the files it writes into `out` (in order), how many bytes the first of them takes at least,
// and the call itself. The call returns the writer's result and leaves its reason in `reason`.
struct Writer {
  const char* name;
  std::vector<std::string> targets;
  std::size_t firstFileBytes;
  std::function<bool(const std::string& in, const std::string& out, std::string& reason)> write;
};

// Test names and failure messages show the row by its name.
void PrintTo(const Writer& row, std::ostream* os) {
  *os << row.name;
}

// Runs a core writer with default settings and a host that says No.
template <typename F>
bool WithContext(std::string& reason, F f) {
  ConvertSettings settings;
  test::FakeHost host;
  ConvertReport report;
  const ConvertContext ctx(settings, host, report);
  const bool ok = f(ctx);
  reason = report.Reason;
  return ok;
}

std::vector<std::uint8_t> Repeated(std::size_t n, std::uint8_t first) {
  std::vector<std::uint8_t> bytes(n);
  for (std::size_t i = 0; i < n; ++i)
    bytes[i] = static_cast<std::uint8_t>(first + i % 26);
  return bytes;
}

std::vector<Writer> Writers() {
  return {
      {"container",
       {"OUT_CHR.zkp"},
       36 + 8192,
       [](const std::string&, const std::string& out, std::string& reason) {
         return WithContext(reason, [&](const ConvertContext& ctx) {
           ConvertJob job;
           job.OutFile = out + "/OUT_CHR.zkp";
           job.ResName = "OUT";
           return WriteZkpContainer(job, NewPayload(kTagChr, kChrPayloadSize), ResourceType::Chr, ctx);
         });
       }},
      {"data_text",
       {"OUT_DATA.txt"},
       100000,
       [](const std::string&, const std::string& out, std::string& reason) {
         return WithContext(reason, [&](const ConvertContext& ctx) {
           DataText text;
           if (!text.Open(true, out + "/OUT_DATA.txt", ctx))
             return false;
           for (int i = 0; i < 2000; ++i)
             text.Text() += "DATA \"00112233445566778899AABBCCDDEEFF00112233\"\r";
           return text.Flush(ctx) && text.Finish(ctx);
         });
       }},
      {"bmp",
       {"OUT_CHR.bmp"},
       1078 + 128 * 128,
       [](const std::string&, const std::string& out, std::string& reason) {
         return WithContext(reason, [&](const ConvertContext& ctx) {
           IndexedImage image;
           image.Width = 128;
           image.Height = 128;
           image.Pixels.assign(128 * 128, 7);
           return WriteIndexedBitmap(out + "/OUT_CHR.bmp", image, BuiltInBgPalette(), ctx);
         });
       }},
      {"scr_text",
       {"OUT_SCR.rscr", "OUT_SCR.txt"},
       8192,
       [](const std::string&, const std::string& out, std::string& reason) {
         return WithContext(reason, [&](const ConvertContext& ctx) {
           return DecodeScr(std::vector<std::uint8_t>(8192, 0x11), out + "/OUT", "", ctx);
         });
       }},
      {"mem_text",
       {"OUT_MEM.txt"},
       8 + 200,
       [](const std::string&, const std::string& out, std::string& reason) {
         return WithContext(reason, [&](const ConvertContext& ctx) {
           // 200 codes of full-width "A" (U+FF21), then the count.
           std::vector<std::uint8_t> data(516, 0);
           for (int i = 0; i < 200; ++i) {
             data[2 * i] = 0x21;
             data[2 * i + 1] = 0xFF;
           }
           data[512] = 200;
           return DecodeMem(data, out + "/OUT", ctx);
         });
       }},
      {"prg_text",
       {"OUT_PRG.txt"},
       20000,
       [](const std::string&, const std::string& out, std::string& reason) {
         return WithContext(reason, [&](const ConvertContext& ctx) {
           return DecodePrg(Repeated(20000, 'A'), out + "/OUT", ctx);
         });
       }},
      {"package",
       {"GAME.zkp"},
       36 + 20000,
       [](const std::string& in, const std::string& out, std::string& reason) {
         PackageForm form;
         SlotState& slot = form.Slot(7936);  // the program slot
         slot.Checked = true;
         slot.Path = in + "/main.txt";
         test::FakeHost host;
         host.choices.push_back({out + "/GAME.zkp"});
         PackageOutcome outcome;
         const bool ok = BuildPackage(form, ConvertSettings{}, host, outcome);
         reason = outcome.Reason;
         return ok;
       }},
  };
}

// The names and contents of every file in a folder tree, and the folders, relative to it.
std::map<std::string, std::string> Snapshot(const std::string& root) {
  std::map<std::string, std::string> tree;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    const std::string rel = fs::relative(entry.path(), root).string();
    tree[rel] = entry.is_directory() ? "<folder>" : test::ReadText(entry.path().string());
  }
  return tree;
}

class WriteFaults : public ::testing::TestWithParam<Writer> {
 protected:
  void SetUp() override {
    fs::create_directory(in_);
    fs::create_directory(out_);
    // The package's program: 20000 bytes in lines of 100.
    std::vector<std::uint8_t> program = Repeated(20000, 'A');
    for (std::size_t i = 100; i < program.size(); i += 100)
      program[i] = '\r';
    test::WriteBytes(in_ + "/main.txt", program);
  }
  // Puts an older file under every target name.
  void PlaceOlderFiles() {
    for (const std::string& target : GetParam().targets)
      test::WriteText(out_ + "/" + target, "older " + target);
  }
  TempDir dir_;
  std::string in_ = dir_ / "in";
  std::string out_ = dir_ / "out";
};

// The control: with room to spare, the same writer succeeds and replaces the older files.
TEST_P(WriteFaults, WithoutAFaultTheWriterReplacesTheOlderFile) {
  const Writer& writer = GetParam();
  PlaceOlderFiles();
  const bool succeeded = test::RunWithFileSizeLimit(16 << 20, [&] {
    std::string reason;
    return writer.write(in_, out_, reason);
  });
  EXPECT_TRUE(succeeded) << writer.name;
  for (const std::string& target : writer.targets)
    EXPECT_NE(test::ReadText(out_ + "/" + target), "older " + target) << writer.name;
  EXPECT_EQ(dir_.List("out").size(), writer.targets.size()) << writer.name;
}

TEST_P(WriteFaults, ASizeLimitFailsWithAReasonAndKeepsTheOlderFile) {
  const Writer& writer = GetParam();
  PlaceOlderFiles();
  const auto before = Snapshot(out_);
  const std::size_t limit = writer.firstFileBytes / 2;
  // The child reports whether the writer failed with a reason.
  const bool failedWithReason = test::RunWithFileSizeLimit(limit, [&] {
    std::string reason;
    return !writer.write(in_, out_, reason) && !reason.empty();
  });
  EXPECT_TRUE(failedWithReason) << writer.name;
  EXPECT_EQ(Snapshot(out_), before) << writer.name;
}

TEST_P(WriteFaults, AFolderInPlaceOfTheFileFailsWithAReason) {
  const Writer& writer = GetParam();
  for (const std::string& target : writer.targets) {
    fs::create_directory(out_ + "/" + target);
    test::WriteText(out_ + "/" + target + "/inside", "kept");
  }
  const auto before = Snapshot(out_);
  std::string reason;
  EXPECT_FALSE(writer.write(in_, out_, reason)) << writer.name;
  EXPECT_FALSE(reason.empty()) << writer.name;
  EXPECT_EQ(Snapshot(out_), before) << writer.name;
}

TEST_P(WriteFaults, AReadOnlyFolderFailsWithAReason) {
  if (test::PermissionsAreIgnored())
    GTEST_SKIP() << "running with rights that ignore file permissions";
  const Writer& writer = GetParam();
  PlaceOlderFiles();
  const auto before = Snapshot(out_);
  ASSERT_EQ(::chmod(out_.c_str(), 0555), 0);
  std::string reason;
  const bool ok = writer.write(in_, out_, reason);
  ::chmod(out_.c_str(), 0755);
  EXPECT_FALSE(ok) << writer.name;
  EXPECT_FALSE(reason.empty()) << writer.name;
  EXPECT_EQ(Snapshot(out_), before) << writer.name;
}

INSTANTIATE_TEST_SUITE_P(EveryWriter, WriteFaults, ::testing::ValuesIn(Writers()),
                         [](const ::testing::TestParamInfo<Writer>& info) { return info.param.name; });

// A screen's raw file fits under the limit and its text does not: the raw file is the new one, the text
// stays the older one, and nothing else is left.
TEST(WriteFaultsScr, TheTextFailingAfterTheRawFileKeepsTheOlderText) {
  TempDir dir;
  test::WriteText(dir / "OUT_SCR.rscr", "older raw");
  test::WriteText(dir / "OUT_SCR.txt", "older text");
  const bool failedWithReason = test::RunWithFileSizeLimit(16384, [&] {
    std::string reason;
    const bool ok = WithContext(reason, [&](const ConvertContext& ctx) {
      return DecodeScr(std::vector<std::uint8_t>(8192, 0x11), dir / "OUT", "", ctx);
    });
    return !ok && !reason.empty();
  });
  EXPECT_TRUE(failedWithReason);
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"OUT_SCR.rscr", "OUT_SCR.txt"}));
  EXPECT_EQ(test::ReadBytes(dir / "OUT_SCR.rscr"), std::vector<std::uint8_t>(8192, 0x11));
  EXPECT_EQ(test::ReadText(dir / "OUT_SCR.txt"), "older text");
}

}  // namespace
}  // namespace granvel
