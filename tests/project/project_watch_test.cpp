// Watching a project: an edited input is built again, and a new file a glob matches is taken, while the watch
// runs on its own thread; the watch ends when told to.
#include "project/project_watch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "support/temp_dir.h"

namespace granvel {
namespace {

// Waits up to ten seconds for `done`.
template <typename Done>
bool WaitFor(Done done) {
  for (int i = 0; i < 200 && !done(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return done();
}

TEST(WatchProject, EditedAndNewInputsAreBuilt) {
  test::TempDir dir;
  std::filesystem::create_directories(dir / "text");
  test::WriteText(dir / "text/a_mem.txt", "MEM$ = \"A\"");
  test::WriteText(dir / "granvel.toml", "[[asset]]\nname = \"texts\"\ninputs = \"text/*_mem.txt\"\n");
  std::atomic<bool> stop{false};
  std::atomic<int> builds{0};
  std::string error;
  bool watched = false;
  std::thread watcher([&] {
    watched = WatchProject(
        dir / "granvel.toml", ProjectBuildOptions{}, [](const std::vector<BuildLine>&) {},
        [&](const ProjectBuildResult&) { ++builds; }, [](const std::string&) {}, [&] { return stop.load(); },
        error, 50);
  });
  const std::string a = dir / "out/a_mem_MEM.zkp";
  EXPECT_TRUE(WaitFor([&] { return builds == 1; }));
  const std::vector<std::uint8_t> first = test::ReadBytes(a);
  test::WriteText(dir / "text/a_mem.txt", "MEM$ = \"B\"");
  EXPECT_TRUE(WaitFor([&] { return builds >= 2 && test::ReadBytes(a) != first; }));
  test::WriteText(dir / "text/b_mem.txt", "MEM$ = \"C\"");
  EXPECT_TRUE(WaitFor([&] { return std::filesystem::exists(dir / "out/b_mem_MEM.zkp"); }));
  stop = true;
  watcher.join();
  EXPECT_TRUE(watched) << error;
  EXPECT_EQ(builds, 3);  // the build's own writes start no build of their own
}

}  // namespace
}  // namespace granvel
