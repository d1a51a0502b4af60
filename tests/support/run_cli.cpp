#include "support/run_cli.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <stdexcept>

#include "support/temp_dir.h"

namespace granvel::test {

CliRun RunCli(const std::string& cwd, const std::vector<std::string>& args, std::uint64_t fileSizeLimit) {
  TempDir capture;
  const std::string outPath = capture / "out", errPath = capture / "err";
  std::vector<std::string> argv{GRANVEL_CLI_PATH};
  argv.insert(argv.end(), args.begin(), args.end());
  std::vector<char*> pointers;
  for (std::string& a : argv)
    pointers.push_back(a.data());
  pointers.push_back(nullptr);

  const pid_t pid = ::fork();
  if (pid < 0)
    throw std::runtime_error("cannot start granvel-cli");
  if (pid == 0) {  // the child: only async-signal-safe calls from here on
    const int in = ::open("/dev/null", O_RDONLY);
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || ::dup2(in, 0) < 0 || ::dup2(out, 1) < 0 || ::dup2(err, 2) < 0 ||
        ::chdir(cwd.c_str()) != 0)
      ::_exit(127);
    if (fileSizeLimit != 0) {
      const rlimit limit{fileSizeLimit, fileSizeLimit};
      ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG
      // A coverage build could not write its counters past the limit either: keep them out of the build's.
      ::setenv("GCOV_PREFIX", capture.Path().c_str(), 1);
      ::setenv("GCOV_ERROR_FILE", "/dev/null", 1);
      if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
        ::_exit(127);
    }
    ::execv(pointers[0], pointers.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  CliRun run;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = ReadText(outPath);
  run.err = ReadText(errPath);
  return run;
}

}  // namespace granvel::test
