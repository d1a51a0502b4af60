// The build state: what a build writes reads back the same, and a damaged or cut file is refused with a
// note (everything then builds) rather than half read.
#include "project/build_state.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace granvel {
namespace {

const char* const kDigest = "0123456789abcdef0123456789abcdef";

TEST(BuildState, WrittenStateReadsBack) {
  test::TempDir dir;
  BuildState state;
  state.Version = "9.9";
  state.Assets["title"] = {kDigest, {{"art/title.png", kDigest}}, {"out/title_CHR.zkp", "out/title_COL.zkp"}};
  state.Packages["out/G.zkp"] = {"", {}, {"out/title_CHR.zkp"}};  // a failed package: no key
  std::string error, note;
  ASSERT_TRUE(WriteBuildState(dir / ".granvel/state", state, error)) << error;
  BuildState read;
  ASSERT_TRUE(ReadBuildState(dir / ".granvel/state", read, note));
  EXPECT_EQ(read.Version, "9.9");
  EXPECT_EQ(read.Assets["title"].Key, kDigest);
  EXPECT_EQ(read.Assets["title"].Inputs.at("art/title.png"), kDigest);
  EXPECT_EQ(read.Assets["title"].Outputs,
            (std::vector<std::string>{"out/title_CHR.zkp", "out/title_COL.zkp"}));
  EXPECT_EQ(read.Packages["out/G.zkp"].Key, "");
}

TEST(BuildState, DamagedStatesAreRefusedWithANote) {
  const std::string good = std::string("granvel-build-state 1\nversion\t1\nasset\ta\t") + kDigest +
                           "\nin\tx\t" + kDigest + "\nout\ty\nend\n";
  const struct {
    std::string Text;
    const char* Why;
  } rows[] = {
      {"", "no header"},
      {"granvel-build-state 2\nend\n", "no header"},
      {good.substr(0, good.size() - 4), "cut short"},  // no "end": a write that stopped part-way
      {good.substr(0, 36), "line 3"},                  // cut inside a record
      {"granvel-build-state 1\nin\tx\t" + std::string(kDigest) + "\nend\n", "line 2"},  // no record yet
      {"granvel-build-state 1\nasset\ta\tk\nin\tx\tshort\nend\n", "line 3"},            // not a digest
      {"granvel-build-state 1\nbogus\nend\n", "line 2"},
  };
  test::TempDir dir;
  for (const auto& row : rows) {
    test::WriteText(dir / "state", row.Text);
    BuildState state;
    std::string note;
    EXPECT_FALSE(ReadBuildState(dir / "state", state, note)) << row.Why;
    EXPECT_NE(note.find(std::string("damaged (") + row.Why + ")"), std::string::npos) << note;
    EXPECT_TRUE(state.Assets.empty());
  }
  test::WriteText(dir / "state", good);
  BuildState state;
  std::string note;
  EXPECT_TRUE(ReadBuildState(dir / "state", state, note)) << note;
  EXPECT_FALSE(ReadBuildState(dir / "none", state, note));
  EXPECT_EQ(note, "");  // no state is no damage
}

}  // namespace
}  // namespace granvel
