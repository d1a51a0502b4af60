// A run of files: every file tried in order, the summary and its details, settings refused before any
// file, and a run cancelled at every step of a file of many pages.
#include "batch/dispatch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "support/fake_host.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

TEST(ConvertFileList, SummarisesFailuresNotesAndFilesAndRefusesBadRunSettingsFirst) {
  test::TempDir dir;
  test::WriteText(dir / "a_mem.txt", "MEM$=\"A\"\r\n");
  test::WriteText(dir / "b_mem.txt", "no assignment");
  test::WriteText(dir / "c.png", "carried");
  ConvertSettings settings;
  settings.PNG_Image = 0;
  settings.TextOut = 0;
  test::FakeHost host;
  const BatchResult result =
      ConvertFileList({dir / "a_mem.txt", dir / "b_mem.txt", dir / "c.png"}, settings, host);
  EXPECT_EQ(std::vector<int>({result.Seen, result.Converted, result.Failed, result.PngCarried}),
            std::vector<int>({3, 2, 1, 1}));
  ASSERT_EQ(host.reports.size(), 1u);
  const MessageReport& summary = host.reports[0];
  EXPECT_EQ(summary.Caption, "Finished");
  EXPECT_EQ(summary.Text,
            "3 files converted\nSuccessed\xEF\xBC\x9A"
            "2\nFailured\xEF\xBC\x9A"
            "1\n\n1 .png file was carried as data, "
            "not as a picture: tick \"Convert PNG files as images\" in Options (PNG_Image=1)");
  // Failures, then notes, then every file written; the folder of the first.
  EXPECT_EQ(summary.Details,
            dir / "b_mem.txt: no MEM$ = \" assignment with text after its quote\n" +
                dir /
                    "c.png: note: carried as binary data, not as a picture: tick \"Convert PNG files "
                    "as images\" in Options (PNG_Image=1)\nwrote " +
                dir / "a_mem_MEM.zkp\nwrote " + dir / "c_BIN.zkp");
  EXPECT_EQ(summary.Folder, dir.Path() + "/");

  settings.TransparentColour = "red";
  const BatchResult refused = ConvertFileList({dir / "a_mem.txt"}, settings, host);
  EXPECT_EQ(refused.Seen + refused.Converted, 0);
  EXPECT_EQ(host.messages.back().caption + "|" + host.messages.back().text,
            "Error|TransparentColour \"red\" is not a colour RRGGBB\nNo file was converted.");
}

// The files of a folder with their bytes.
std::map<std::string, std::vector<std::uint8_t>> FilesIn(const std::string& folder) {
  std::map<std::string, std::vector<std::uint8_t>> files;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    files[entry.path().filename().string()] = test::ReadBytes(entry.path().string());
  return files;
}

TEST(ConvertFileList, CancelledAtAnyStepKeepsWholeFilesOnlyAndSaysHowFarItGot) {
  // 16 + 1 pages of 49152 bytes (page k's bytes all k), carried with their DATA text.
  constexpr std::size_t kPages = 17, kPage = 49152;
  std::vector<std::uint8_t> data(kPage * (kPages - 1) + 1);
  for (std::size_t i = 0; i < data.size(); ++i)
    data[i] = static_cast<std::uint8_t>(i / kPage);
  ConvertSettings settings;
  settings.ConvertType = kConvertBinary;
  test::TempDir whole;
  test::WriteBytes(whole / "big.bin", data);
  test::FakeHost host;
  ASSERT_EQ(ConvertFileList({whole / "big.bin"}, settings, host).Converted, 1);
  const auto all = FilesIn(whole.Path());
  ASSERT_EQ(all.size(), kPages + 2);  // the input, the pages and the DATA text
  // The progress: the file as it begins (0 of 1, no steps), each page as it is made, then the end.
  ASSERT_EQ(host.progress.size(), kPages + 2);
  EXPECT_EQ(host.progress[0].CurrentFile + " " + std::to_string(host.progress[0].FileBytes),
            whole / "big.bin " + std::to_string(data.size()));
  EXPECT_EQ(host.progress[5].StepsDone * 100 + host.progress[5].StepsTotal, 4 * 100 + kPages);
  EXPECT_EQ(host.progress.back().FilesDone * 10 + host.progress.back().FilesTotal, 11);

  std::size_t lastKept = 0;
  for (int after = 0; after <= static_cast<int>(kPages) + 1; ++after) {
    test::TempDir dir;
    test::WriteBytes(dir / "big.bin", data);
    test::FakeHost cancelling;
    cancelling.cancelAfter = after;
    const BatchResult result = ConvertFileList({dir / "big.bin"}, settings, cancelling);
    ASSERT_TRUE(result.Cancelled) << after;
    EXPECT_EQ(result.Seen + result.Converted + result.Failed, 0);
    ASSERT_EQ(cancelling.reports.size(), 1u);
    EXPECT_EQ(cancelling.reports[0].Text.substr(0, 30), "Cancelled after 0 of 1 files\n0") << after;
    // What stays is a run of the first pages, each as the whole run wrote it, and nothing else.
    const auto kept = FilesIn(dir.Path());
    std::string listed;
    for (const auto& [name, bytes] : kept) {
      ASSERT_TRUE(all.count(name) && all.at(name) == bytes) << name << " after " << after;
      EXPECT_EQ(name.find("DATA"), std::string::npos);
      if (name != "big.bin")
        listed += (listed.empty() ? "wrote " : "\nwrote ") + (dir / name);
    }
    EXPECT_GE(kept.size(), lastKept);
    lastKept = kept.size();
    EXPECT_TRUE(kept.size() == 1 || kept.count("big_BIN" + std::to_string(kept.size() - 2) + ".zkp"));
    EXPECT_EQ(cancelling.reports[0].Details.size(), listed.size()) << after;
  }
  EXPECT_GT(lastKept, 1u);  // a late cancel keeps the pages written before it

  // Between files: the second of three is never begun; the first's file stays.
  test::TempDir three;
  for (const char* name : {"a_mem.txt", "b_mem.txt", "c_mem.txt"})
    test::WriteText(three / name, "MEM$=\"A\"\r\n");
  test::FakeHost between;
  between.cancelAfter = 1;  // once a has begun
  const BatchResult stopped =
      ConvertFileList({three / "a_mem.txt", three / "b_mem.txt", three / "c_mem.txt"}, {}, between);
  EXPECT_EQ(std::vector<int>({stopped.Total, stopped.Seen, stopped.Converted}), std::vector<int>({3, 1, 1}));
  EXPECT_EQ(between.reports.at(0).Text.substr(0, 30), "Cancelled after 1 of 3 files\n1");
  EXPECT_EQ(FilesIn(three.Path()).size(), 4u);
}

}  // namespace
}  // namespace granvel
