// The project file and the build state: any bytes load or are refused with a reason (a project file's
// reason begins with its name and place), never half read.
#include <unistd.h>

#include <string>

#include "fuzz_support.h"
#include "platform/files.h"
#include "project/build_state.h"
#include "project/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace granvel;
  static const std::string path = "/tmp/granvel-fuzz-" + std::to_string(::getpid()) + ".toml";
  std::string error, note;
  GRANVEL_FUZZ_CHECK(WriteWholeFile(path, fuzz::ToBytes(data, size), error));
  Project project;
  if (!LoadProject(path, project, error))
    GRANVEL_FUZZ_CHECK(error.rfind(path + ":", 0) == 0);
  BuildState state;
  if (!ReadBuildState(path, state, note))
    GRANVEL_FUZZ_CHECK(!note.empty() && state.Assets.empty());
  return 0;
}
