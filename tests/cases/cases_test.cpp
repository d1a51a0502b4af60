// Runs every case folder under tests/cases/ end to end through granvel-cli: the layout of a case folder and
// the directives of its run.case are in README.md beside this file.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "support/run_cli.h"
#include "support/temp_dir.h"

namespace granvel {
namespace {

namespace fs = std::filesystem;

// Every regular file below `root` (a FIFO a case made is no file), by its path relative to `root`, with its
// bytes.
std::map<std::string, std::vector<std::uint8_t>> FilesBelow(const fs::path& root) {
  std::map<std::string, std::vector<std::uint8_t>> files;
  if (!fs::exists(root))
    return files;
  for (const auto& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file())
      files[test::Utf8Of(fs::relative(entry.path(), root))] = test::ReadBytes(test::Utf8Of(entry.path()));
  }
  return files;
}

std::string TextOrEmpty(const fs::path& path) {
  return fs::exists(path) ? test::ReadText(path.string()) : std::string();
}

std::vector<std::string> SplitArguments(const std::string& line) {
  std::istringstream in(line);
  return {std::istream_iterator<std::string>(in), std::istream_iterator<std::string>()};
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

class Case : public testing::TestWithParam<std::string> {};

TEST_P(Case, Run) {
  const fs::path folder = fs::path(GRANVEL_CASES_DIR) / GetParam();
  test::TempDir work;
  if (fs::exists(folder / "in"))
    fs::copy(folder / "in", work.Path(), fs::copy_options::recursive);

  std::ifstream script(folder / "run.case");
  ASSERT_TRUE(script) << "no run.case in " << folder;
  std::string line, out, err;
  std::uint64_t fileSizeLimit = 0;
  for (int number = 1; std::getline(script, line); ++number) {
    std::vector<std::string> words = SplitArguments(line);
    const std::string where = "line " + std::to_string(number) + ": " + line;
    if (words.empty() || words[0][0] == '#')
      continue;
#ifdef _WIN32
    if (words[0] == "fsize" || words[0] == "mkfifo")
      GTEST_SKIP() << "Windows has no per-process file-size limit and no FIFOs in its file system";
#endif
    if (words[0] == "fsize" && words.size() == 2) {
      fileSizeLimit = std::stoull(words[1]);
    } else if (words[0] == "same" && words.size() == 4) {
      const auto a = test::ReadBytes(work / words[1]), b = test::ReadBytes(work / words[2]);
      const auto from = static_cast<std::ptrdiff_t>(std::stoul(words[3]));
      EXPECT_TRUE(a.size() == b.size() && a.size() >= static_cast<std::size_t>(from) &&
                  std::equal(a.begin() + from, a.end(), b.begin() + from))
          << where;
    } else if (words[0] == "copy" && words.size() == 3) {
      fs::create_directories(fs::path(work / words[2]).parent_path());
      fs::remove(work / words[2]);  // MinGW's copy_file does not overwrite
      EXPECT_TRUE(fs::copy_file(work / words[1], work / words[2])) << where;
    } else if (words[0] == "remove" && words.size() == 2) {
      EXPECT_TRUE(fs::remove(work / words[1])) << where;
    } else if (words[0] == "mkfifo" && words.size() == 2) {
#ifndef _WIN32
      ASSERT_EQ(::mkfifo((work / words[1]).c_str(), 0600), 0);
#endif
    } else {
      int status = 0;
      if (words[0].size() > 2 && words[0].front() == '[' && words[0].back() == ']') {
        status = std::stoi(words[0].substr(1));
        words.erase(words.begin());
      }
      const test::CliRun run = test::RunCli(work.Path(), words, fileSizeLimit);
      EXPECT_EQ(run.status, status) << where << "\n" << run.err;
      fileSizeLimit = 0;
      out += run.out;
      err += run.err;
    }
  }
  out = Replace(out, work.Path(), "$WORK");
  err = Replace(err, work.Path(), "$WORK");
  if (std::getenv("GRANVEL_RECORD_CASES")) {  // writes what this build does as the case's expectation
    const auto inputs = FilesBelow(folder / "in");
    fs::remove_all(folder / "expected");
    for (const auto& [name, bytes] : FilesBelow(work.Path())) {
      if (inputs.count(name) && inputs.at(name) == bytes)
        continue;
      fs::create_directories((folder / "expected" / test::Utf8Path(name)).parent_path());
      test::WriteBytes(test::Utf8Of(folder / "expected" / test::Utf8Path(name)), bytes);
    }
    for (const auto& [file, text] : {std::pair{"stdout.txt", out}, std::pair{"stderr.txt", err}})
      text.empty() ? (void)fs::remove(folder / file) : test::WriteText((folder / file).string(), text);
  }
  std::string expectedOut = TextOrEmpty(folder / "stdout.txt"),
              expectedErr = TextOrEmpty(folder / "stderr.txt");
#ifdef _WIN32  // paths are shown with "\\" there; the cases spell them with "/"
  for (std::string* text : {&out, &err, &expectedOut, &expectedErr})
    std::replace(text->begin(), text->end(), '\\', '/');
#endif
  EXPECT_EQ(out, expectedOut);
  EXPECT_EQ(err, expectedErr);
  auto expected = FilesBelow(folder / "in");
  for (auto& [name, bytes] : FilesBelow(folder / "expected"))
    expected[name] = bytes;
  auto actual = FilesBelow(work.Path());
#ifdef _WIN32  // Windows programs end the lines of their profile files with CR LF
  for (auto& [name, bytes] : actual) {
    if (name.ends_with(".ini"))
      std::erase(bytes, '\r');
  }
#endif
  std::string actualNames, expectedNames;  // one name a line: a missing or stray file shows in the difference
  for (const auto& [name, bytes] : actual)
    actualNames += name + "\n";
  for (const auto& [name, bytes] : expected)
    expectedNames += name + "\n";
  EXPECT_EQ(actualNames, expectedNames);
  for (const auto& [name, bytes] : actual)
    EXPECT_TRUE(!expected.count(name) || expected.at(name) == bytes) << name << " differs";
}

std::vector<std::string> CaseNames() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(GRANVEL_CASES_DIR)) {
    if (entry.is_directory())
      names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Case folders are named as test names may be: letters, digits and "_".
INSTANTIATE_TEST_SUITE_P(Cli, Case, testing::ValuesIn(CaseNames()),
                         [](const testing::TestParamInfo<std::string>& info) { return info.param; });

}  // namespace
}  // namespace granvel
