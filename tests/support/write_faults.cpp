#include "support/write_faults.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

namespace granvel::test {

bool RunWithFileSizeLimit(std::size_t limitBytes, const std::function<bool()>& work) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::signal(SIGXFSZ, SIG_IGN);  // a write past the limit then fails with EFBIG instead of killing
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = limitBytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
    // The child never returns into the test framework, not even when `work` throws.
    bool ok = false;
    try {
      ok = work();
    } catch (...) {
    }
    ::_exit(ok ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool PermissionsAreIgnored() {
  return ::geteuid() == 0;
}

}  // namespace granvel::test
