// Runs every case folder under tests/cases/ end to end through granvel-cli.
//
// A case folder holds:
//   run.case    what the case shows (comments), then one command per line (granvel-cli's arguments, split at
//               blanks; "..." keeps blanks) and directives: "exit N" (the status the command before must end
//               with; 0 when not given), "fsize N" (the next command's files may not grow past N bytes),
//               "mkfifo NAME" (makes a FIFO in the work folder) and "same A B FROM" (files A and B hold the
//               same bytes from offset FROM on: a round trip's first and second encoding);
//   in/         the inputs, copied into a fresh work folder in which the commands run;
//   expected/   every file the commands must leave in the work folder besides the inputs, byte for byte;
//   stdout.txt, stderr.txt   what the commands print, all together ("$WORK" stands for the work folder);
//               a missing file means nothing is printed there.
// GRANVEL_RECORD_CASES=1 in the environment writes what the build does as the expectation, for review.
// After the commands the work folder holds exactly the inputs (unchanged) and the expected files.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
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
      files[fs::relative(entry.path(), root).string()] = test::ReadBytes(entry.path().string());
  }
  return files;
}

std::string TextOrEmpty(const fs::path& path) {
  return fs::exists(path) ? test::ReadText(path.string()) : std::string();
}

std::vector<std::string> SplitArguments(const std::string& line) {
  std::vector<std::string> args;
  std::string arg;
  bool quoted = false, any = false;
  for (char c : line) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any)
        args.push_back(arg);
      arg.clear();
      any = false;
    } else {
      arg.push_back(c);
      any = true;
    }
  }
  if (any)
    args.push_back(arg);
  return args;
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
  test::CliRun last;
  std::string lastCommand;
  for (int number = 1; std::getline(script, line); ++number) {
    const std::vector<std::string> words = SplitArguments(line);
    if (words.empty() || words[0][0] == '#')
      continue;
    if (words[0] == "exit" && words.size() == 2) {
      EXPECT_EQ(last.status, std::stoi(words[1])) << lastCommand << "\n" << last.err;
      last.status = -1;
    } else if (words[0] == "fsize" && words.size() == 2) {
      fileSizeLimit = std::stoull(words[1]);
    } else if (words[0] == "same" && words.size() == 4) {
      const auto a = test::ReadBytes(work / words[1]), b = test::ReadBytes(work / words[2]);
      const auto from = static_cast<std::ptrdiff_t>(std::stoul(words[3]));
      EXPECT_TRUE(a.size() == b.size() && a.size() >= static_cast<std::size_t>(from) &&
                  std::equal(a.begin() + from, a.end(), b.begin() + from))
          << "line " << number << ": " << line;
    } else if (words[0] == "mkfifo" && words.size() == 2) {
      ASSERT_EQ(::mkfifo((work / words[1]).c_str(), 0600), 0);
    } else {
      if (last.status > 0)
        ADD_FAILURE() << lastCommand << " ended with " << last.status << "\n" << last.err;
      last = test::RunCli(work.Path(), words, fileSizeLimit);
      lastCommand = "line " + std::to_string(number) + ": " + line;
      fileSizeLimit = 0;
      out += last.out;
      err += last.err;
    }
  }
  if (last.status > 0)
    ADD_FAILURE() << lastCommand << " ended with " << last.status << "\n" << last.err;

  out = Replace(out, work.Path(), "$WORK");
  err = Replace(err, work.Path(), "$WORK");
  if (std::getenv("GRANVEL_RECORD_CASES")) {  // writes what this build does as the case's expectation
    const auto inputs = FilesBelow(folder / "in");
    fs::remove_all(folder / "expected");
    for (const auto& [name, bytes] : FilesBelow(work.Path())) {
      if (inputs.count(name) && inputs.at(name) == bytes)
        continue;
      fs::create_directories((folder / "expected" / name).parent_path());
      test::WriteBytes((folder / "expected" / name).string(), bytes);
    }
    for (const auto& [file, text] : {std::pair{"stdout.txt", out}, std::pair{"stderr.txt", err}})
      text.empty() ? (void)fs::remove(folder / file) : test::WriteText((folder / file).string(), text);
  }
  EXPECT_EQ(out, TextOrEmpty(folder / "stdout.txt"));
  EXPECT_EQ(err, TextOrEmpty(folder / "stderr.txt"));
  auto expected = FilesBelow(folder / "in");
  for (auto& [name, bytes] : FilesBelow(folder / "expected"))
    expected[name] = bytes;
  const auto actual = FilesBelow(work.Path());
  for (const auto& [name, bytes] : actual) {
    const auto want = expected.find(name);
    if (want == expected.end())
      ADD_FAILURE() << "unexpected file " << name;
    else
      EXPECT_TRUE(bytes == want->second)
          << name << " differs (" << bytes.size() << " bytes, expected " << want->second.size() << ")";
  }
  for (const auto& [name, bytes] : expected)
    EXPECT_TRUE(actual.count(name)) << "missing file " << name;
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

INSTANTIATE_TEST_SUITE_P(Cli, Case, testing::ValuesIn(CaseNames()),
                         [](const testing::TestParamInfo<std::string>& info) {
                           std::string name = info.param;
                           for (char& c : name)
                             if (!std::isalnum(static_cast<unsigned char>(c)))
                               c = '_';
                           return name;
                         });

}  // namespace
}  // namespace granvel
