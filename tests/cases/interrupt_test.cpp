// Ctrl+C during a run of granvel-cli: the run stops at the next page, the pages written stay whole, no
// temporary file is left, the summary says how far it got and the status is 130.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "support/temp_dir.h"

namespace granvel {
namespace {

namespace fs = std::filesystem;

TEST(CliInterrupt, StopsAtThePageItIsOnAndLeavesWholePagesOnly) {
  test::TempDir dir;
  constexpr std::uintmax_t kBytes = 200'000'000;  // 4070 pages of 49152 bytes: seconds of work
  test::WriteText(dir / "big.bin", "");
  fs::resize_file(dir / "big.bin", kBytes);
  const std::string out = dir / "out.txt", err = dir / "err.txt";
  const pid_t pid = ::fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    const int in = ::open("/dev/null", O_RDONLY);
    const int o = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int e = ::open(err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || o < 0 || e < 0 || ::dup2(in, 0) < 0 || ::dup2(o, 1) < 0 || ::dup2(e, 2) < 0 ||
        ::chdir(dir.Path().c_str()) != 0)
      ::_exit(127);
    ::execl(GRANVEL_CLI_PATH, GRANVEL_CLI_PATH, "convert", "--type", "bin", "--set", "TextOut=0", "-q",
            "big.bin", static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // Once the first page is there, the run is under way.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  while (!fs::exists(dir / "big_BIN0.zkp") && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  ::kill(pid, SIGINT);
  int status = 0;
  ::waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130);
  EXPECT_EQ(test::ReadText(out).substr(0, 29), "Cancelled after 0 of 1 files\n");
  EXPECT_NE(test::ReadText(err).find("big.bin: cancelled; the "), std::string::npos) << test::ReadText(err);
  std::size_t pages = 0;
  for (const auto& entry : fs::directory_iterator(dir.Path())) {
    const std::string name = entry.path().filename().string();
    if (name == "big.bin" || name == "out.txt" || name == "err.txt")
      continue;
    EXPECT_TRUE(std::regex_match(name, std::regex("big_BIN[0-9]+\\.zkp"))) << name;
    EXPECT_EQ(entry.file_size(), 36u + 12u + 49152u) << name;  // header, tag and a whole page
    ++pages;
  }
  EXPECT_GT(pages, 0u);
  EXPECT_LT(pages, 4070u);
}

}  // namespace
}  // namespace granvel
#endif
