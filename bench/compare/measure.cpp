#include "measure.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace granvel::bench {
namespace {

// Starts `argv` in `dir` with standard output going to /dev/null and standard error to `errPath` (or
// /dev/null), waits for it and returns its exit status (-1 when it could not run).
int Spawn(const std::vector<std::string>& argv, const std::string& dir, const std::string& errPath,
          rusage& usage) {
  std::vector<char*> args;
  for (const std::string& arg : argv)
    args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  const pid_t child = ::fork();
  if (child < 0)
    return -1;
  if (child == 0) {
    const int out = ::open("/dev/null", O_WRONLY);
    const int err = errPath.empty() ? out : ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int in = ::open("/dev/null", O_RDONLY);
    if (out < 0 || err < 0 || in < 0 || ::chdir(dir.c_str()) != 0)
      ::_exit(126);
    ::dup2(in, 0);
    ::dup2(out, 1);
    ::dup2(err, 2);
    ::execvp(args[0], args.data());
    ::_exit(127);
  }
  int status = 0;
  if (::wait4(child, &status, 0, &usage) != child)
    return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
}

}  // namespace

bool Run(const std::vector<std::string>& argv, const std::string& dir, Usage& usage) {
  rusage used{};
  const int status = Spawn(argv, dir, "", used);
  if (status != 0) {
    std::fprintf(stderr, "granvel_compare: %s exited with %d in %s\n", argv[0].c_str(), status, dir.c_str());
    return false;
  }
  usage.CpuSeconds = Seconds(used.ru_utime) + Seconds(used.ru_stime);
  usage.PeakMiB = static_cast<double>(used.ru_maxrss) / 1024.0;  // KiB on Linux
  return true;
}

std::uint64_t CountInstructions(const std::vector<std::string>& argv, const std::string& dir) {
  std::vector<std::string> traced{"valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"};
  traced.insert(traced.end(), argv.begin(), argv.end());
  char errPath[] = "/tmp/granvel-callgrind-XXXXXX";
  const int fd = ::mkstemp(errPath);
  if (fd < 0)
    return 0;
  ::close(fd);
  rusage used{};
  const int status = Spawn(traced, dir, errPath, used);
  std::ifstream err(errPath);
  std::stringstream text;
  text << err.rdbuf();
  ::unlink(errPath);
  if (status != 0)
    return 0;
  // callgrind ends with "==pid== Collected : N".
  const std::string log = text.str();
  const auto at = log.rfind("Collected : ");
  return at == std::string::npos ? 0 : std::strtoull(log.c_str() + at + 12, nullptr, 10);
}

double Median(std::vector<double> values) {
  if (values.empty())
    return 0;
  std::sort(values.begin(), values.end());
  const std::size_t mid = values.size() / 2;
  return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

bool RunPaired(const std::vector<std::string>& first, const std::vector<std::string>& second,
               const std::string& dir, int runs, Paired& result) {
  std::vector<double> a, b, ratios;
  for (int i = 0; i < runs; ++i) {
    Usage one, two;
    const bool ok = i % 2 == 0 ? Run(first, dir, one) && Run(second, dir, two)
                               : Run(second, dir, two) && Run(first, dir, one);
    if (!ok)
      return false;
    a.push_back(one.CpuSeconds);
    b.push_back(two.CpuSeconds);
    ratios.push_back(one.CpuSeconds / std::max(two.CpuSeconds, 1e-6));
    result.FirstPeakMiB = std::max(result.FirstPeakMiB, one.PeakMiB);
    result.SecondPeakMiB = std::max(result.SecondPeakMiB, two.PeakMiB);
  }
  result.First = Median(a);
  result.Second = Median(b);
  result.Ratio = Median(ratios);
  return true;
}

}  // namespace granvel::bench
