// Running a program as a child process and measuring what it cost: CPU time (user + system), peak memory,
// and, under callgrind, the instructions of the whole process.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace granvel::bench {

struct Usage {
  double CpuSeconds = 0;  // user + system
  double PeakMiB = 0;     // the largest resident set
};

// Runs `argv` (argv[0] a path, or a name looked up in PATH) in the folder `dir`, its output thrown away.
// False with a message on standard error when it cannot be started or does not exit with 0.
bool Run(const std::vector<std::string>& argv, const std::string& dir, Usage& usage);

// The instructions that `argv` executes from its first to its last, counted by callgrind; 0 when valgrind
// is not installed or the run fails.
std::uint64_t CountInstructions(const std::vector<std::string>& argv, const std::string& dir);

// The median of `values` (which it sorts).
double Median(std::vector<double> values);

struct Paired {
  double First = 0, Second = 0;  // median CPU seconds of each
  double Ratio = 0;              // median of the per-pair ratios first / second
  double FirstPeakMiB = 0, SecondPeakMiB = 0;
};

// Runs the two commands `runs` times each, alternately (the order swapped every pair, so neither always runs
// on a warmer machine), in the folder `dir`. False when a run fails.
bool RunPaired(const std::vector<std::string>& first, const std::vector<std::string>& second,
               const std::string& dir, int runs, Paired& result);

}  // namespace granvel::bench
