#include "platform/files.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include "support/temp_dir.h"

namespace granvel {
namespace {

using test::Bytes;
using test::TempDir;

TEST(ReadWholeFile, ReadsEveryByteAndRefusesWhatIsNoFile) {
  TempDir dir;
  std::vector<std::uint8_t> content(70000);
  for (std::size_t i = 0; i < content.size(); ++i)
    content[i] = static_cast<std::uint8_t>(i * 7);
  test::WriteBytes(dir / "in.bin", content);

  std::vector<std::uint8_t> read;
  std::string error;
  ASSERT_TRUE(ReadWholeFile(dir / "in.bin", read, error)) << error;
  EXPECT_EQ(read, content);

  EXPECT_FALSE(ReadWholeFile(dir / "missing.txt", read, error));
  EXPECT_NE(error.find("missing.txt"), std::string::npos) << error;
  EXPECT_FALSE(ReadWholeFile(dir.Path(), read, error));
  EXPECT_NE(error.find("folder"), std::string::npos) << error;
}

TEST(OutputFile, CommitReplacesAnOlderLongerFileAndLeavesNoTemporary) {
  TempDir dir;
  test::WriteText(dir / "out.zkp", std::string(1000, 'x'));
  OutputFile out(dir / "out.zkp");
  ASSERT_TRUE(out.Open()) << out.Error();
  ASSERT_TRUE(out.Write(std::string_view("new")));
  ASSERT_TRUE(out.Commit()) << out.Error();
  EXPECT_EQ(test::ReadText(dir / "out.zkp"), "new");
  EXPECT_EQ(dir.List(), std::vector<std::string>{"out.zkp"});
}

TEST(OutputFile, UncommittedOutputLeavesTheOldFileAndNothingElse) {
  TempDir dir;
  test::WriteText(dir / "keep.txt", "old");
  {
    OutputFile out(dir / "keep.txt");
    ASSERT_TRUE(out.Open());
    ASSERT_TRUE(out.Write(std::string_view("half of it")));
  }
  EXPECT_EQ(test::ReadText(dir / "keep.txt"), "old");
  EXPECT_EQ(dir.List(), std::vector<std::string>{"keep.txt"});
}

TEST(OutputFile, FailedWriteOnFileSizeLimitKeepsTheOldFile) {
  TempDir dir;
  test::WriteText(dir / "big.bin", "previous content");
  // A file-size limit makes write() fail with EFBIG, as a full disk would fail it.
  rlimit old{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  std::string error;
  const bool written = WriteWholeFile(dir / "big.bin", std::vector<std::uint8_t>(10000, 1), error);
  ::setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);

  EXPECT_FALSE(written);
  EXPECT_NE(error.find("big.bin"), std::string::npos) << error;
  EXPECT_EQ(test::ReadText(dir / "big.bin"), "previous content");
  EXPECT_EQ(dir.List(), std::vector<std::string>{"big.bin"});
}

TEST(OutputFile, MissingFolderIsAFailureWithAReason) {
  TempDir dir;
  std::string error;
  EXPECT_FALSE(WriteWholeFile(dir / "no/such/folder/x.zkp", Bytes("x"), error));
  EXPECT_NE(error.find("x.zkp"), std::string::npos) << error;
  EXPECT_FALSE(test::Exists(dir / "no"));
}

TEST(Directories, EnsureMakesOneLevelAndAcceptsAnExistingFolder) {
  TempDir dir;
  std::string error;
  EXPECT_TRUE(EnsureDirectory(dir / "a", error)) << error;
  EXPECT_TRUE(IsDirectory(dir / "a"));
  EXPECT_TRUE(EnsureDirectory(dir / "a", error));
  EXPECT_FALSE(EnsureDirectory(dir / "b/c", error));
  EXPECT_FALSE(IsDirectory(dir / "b"));
}

}  // namespace
}  // namespace granvel
