// A build told to stop between assets: it keeps the asset it finished and its state, says how far it came,
// and the next build converts only the rest and the package.
#include "project/project_build.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "support/temp_dir.h"

namespace granvel {
namespace {

// Asks to stop once the first asset is done; keeps every report.
class StopAfterOne : public Host {
 public:
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void ShowMessage(const std::string&, const std::string&) override {}
  bool ChooseFile(FileChoice&) override { return false; }
  void ShowProgress(const RunProgress& progress) override { seen.push_back(progress); }
  bool CancelRequested() override { return !seen.empty() && seen.back().FilesDone >= 1; }
  std::vector<RunProgress> seen;
};

TEST(BuildProject, CancelledBuildKeepsWhatItFinished) {
  test::TempDir dir;
  for (const char* name : {"a", "b", "c"})
    test::WriteText(dir / (std::string(name) + "_mem.txt"), "MEM$ = \"X\"");
  test::WriteText(dir / "granvel.toml",
                  "[[asset]]\nname = \"a\"\ninputs = \"a_mem.txt\"\n[[asset]]\nname = \"b\"\ninputs = "
                  "\"b_mem.txt\"\n[[asset]]\nname = \"c\"\ninputs = \"c_mem.txt\"\n"
                  "[[package]]\nname = \"P\"\noutput = \"out/P.zkp\"\nslots = { MEM = \"a\" }\n");
  Project project;
  std::string error;
  ASSERT_TRUE(LoadProject(dir / "granvel.toml", project, error)) << error;
  StopAfterOne host;
  ProjectBuildOptions options;
  options.Progress = &host;
  std::vector<std::string> said;
  const auto say = [&](const std::vector<BuildLine>& lines) {
    for (const BuildLine& line : lines)
      said.push_back(line.Text);
  };
  ProjectBuildResult result;
  ASSERT_TRUE(BuildProject(project, options, say, result, error)) << error;
  EXPECT_TRUE(result.Cancelled);
  EXPECT_EQ(result.BuiltAssets, 1);
  EXPECT_EQ(result.BuiltPackages, 0);
  EXPECT_EQ(said.back(), "Cancelled after 1 of 3 assets");
  ASSERT_FALSE(host.seen.empty());
  EXPECT_EQ(host.seen.front().FilesTotal, 4);  // three assets and the package
  EXPECT_EQ(host.seen.front().CurrentFile, "a");
  EXPECT_TRUE(std::filesystem::exists(dir / "out/a_mem_MEM.zkp"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out/b_mem_MEM.zkp"));
  EXPECT_FALSE(std::filesystem::exists(dir / "out/P.zkp"));

  said.clear();
  options.Progress = nullptr;
  ASSERT_TRUE(BuildProject(project, options, say, result, error)) << error;
  EXPECT_FALSE(result.Cancelled);
  EXPECT_EQ(result.BuiltAssets, 2);
  EXPECT_EQ(result.BuiltPackages, 1);
  EXPECT_EQ(said.front(), "b: new");
  EXPECT_TRUE(std::filesystem::exists(dir / "out/c_mem_MEM.zkp"));
  EXPECT_TRUE(std::filesystem::exists(dir / "out/P.zkp"));
}

#ifndef _WIN32
// make reads the depfile: an output is up to date while its inputs and the project file are older, and out
// of date once an input changes.
TEST(BuildProject, ADepfileTellsMakeWhichOutputsAnInputChangeMakesOld) {
  namespace fs = std::filesystem;
  test::TempDir dir;
  test::WriteText(dir / "a_mem.txt", "MEM$ = \"X\"");
  test::WriteText(dir / "granvel.toml", "[[asset]]\nname = \"a\"\ninputs = \"a_mem.txt\"\n");
  Project project;
  std::string error;
  ASSERT_TRUE(LoadProject(dir / "granvel.toml", project, error)) << error;
  ProjectBuildOptions options;
  options.DepFile = dir / "deps.d";
  ProjectBuildResult result;
  ASSERT_TRUE(BuildProject(
      project, options, [](const std::vector<BuildLine>&) {}, result, error))
      << error;
  const std::string output = dir / "out/a_mem_MEM.zkp";  // named as the project file was: here in full
  test::WriteText(dir / "Makefile", output + ":\n\ttouch $@\n-include deps.d\n");
  const auto now = fs::file_time_type::clock::now();
  for (const char* input : {"a_mem.txt", "granvel.toml"})
    fs::last_write_time(dir / input, now - std::chrono::seconds(200));
  fs::last_write_time(output, now - std::chrono::seconds(100));
  const std::string make = "make -s -q -C '" + dir.Path() + "' '" + output + "'";
  EXPECT_EQ(std::system(make.c_str()), 0);
  test::WriteText(dir / "a_mem.txt", "MEM$ = \"Y\"");
  EXPECT_NE(std::system(make.c_str()), 0);
}
#endif

}  // namespace
}  // namespace granvel
