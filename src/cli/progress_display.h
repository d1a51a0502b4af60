// The command line's progress: one line on standard error, drawn over itself, for runs that last longer
// than half a second: "[3/10] level2.bmp", with the share and speed of a file of many pages or banks.
#pragma once

#include <chrono>
#include <iosfwd>
#include <string>

#include "platform/host.h"

namespace granvel::cli {

class ProgressDisplay {
 public:
  using Clock = std::chrono::steady_clock;
  // Draws on `err` only when `enabled` (a terminal, not -q, or --progress).
  ProgressDisplay(std::ostream& err, bool enabled, Clock::time_point start = Clock::now());

  // Draws `progress` unless the run is younger than half a second or the line was drawn less than a tenth
  // of a second ago; the end of the run (no current file) clears it.
  void Show(const RunProgress& progress, Clock::time_point now = Clock::now());
  // Wipes the line, so that other output starts on a clean line; the next Show draws it again.
  void Clear();

  // The line for `progress`, `seconds` into its current file.
  static std::string Line(const RunProgress& progress, double seconds);

 private:
  std::ostream& err_;
  bool enabled_;
  Clock::time_point start_;
  Clock::time_point lastDrawn_{};
  Clock::time_point fileStart_{};
  std::string file_;            // the file fileStart_ belongs to
  std::size_t drawnWidth_ = 0;  // characters on the line now
};

}  // namespace granvel::cli
