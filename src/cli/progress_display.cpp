#include "cli/progress_display.h"

#include <cstdio>
#include <ostream>

namespace granvel::cli {
namespace {

constexpr auto kQuietStart = std::chrono::milliseconds(500);
constexpr auto kRedrawGap = std::chrono::milliseconds(100);

// The characters a terminal shows for UTF-8 `text` (wide characters are counted once; the line is padded
// generously enough for that).
std::size_t Width(const std::string& text) {
  std::size_t width = 0;
  for (const char c : text)
    width += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return width;
}

}  // namespace

ProgressDisplay::ProgressDisplay(std::ostream& err, bool enabled, Clock::time_point start)
    : err_(err), enabled_(enabled), start_(start) {}

std::string ProgressDisplay::Line(const RunProgress& progress, double seconds) {
  const std::size_t slash = progress.CurrentFile.find_last_of("/\\");
  std::string line = "[" + std::to_string(progress.FilesDone + 1) + "/" +
                     std::to_string(progress.FilesTotal) + "] " +
                     progress.CurrentFile.substr(slash == std::string::npos ? 0 : slash + 1);
  if (progress.StepsTotal > 1) {
    const double share = static_cast<double>(progress.StepsDone) / static_cast<double>(progress.StepsTotal);
    char figures[64];
    std::snprintf(figures, sizeof figures, " %3d%%", static_cast<int>(100 * share));
    line += figures;
    if (progress.FileBytes > 0 && seconds > 0) {
      std::snprintf(figures, sizeof figures, " %.1f MB/s",
                    share * static_cast<double>(progress.FileBytes) / 1e6 / seconds);
      line += figures;
    }
  }
  return line;
}

void ProgressDisplay::Show(const RunProgress& progress, Clock::time_point now) {
  if (!enabled_)
    return;
  if (progress.CurrentFile != file_) {
    file_ = progress.CurrentFile;
    fileStart_ = now;
  }
  if (progress.CurrentFile.empty()) {
    Clear();
    return;
  }
  if (now - start_ < kQuietStart || (drawnWidth_ > 0 && now - lastDrawn_ < kRedrawGap))
    return;
  const std::string line = Line(progress, std::chrono::duration<double>(now - fileStart_).count());
  const std::size_t width = Width(line);
  err_ << "\r" << line << std::string(drawnWidth_ > width ? drawnWidth_ - width : 0, ' ') << std::flush;
  drawnWidth_ = width;
  lastDrawn_ = now;
}

void ProgressDisplay::Clear() {
  if (drawnWidth_ == 0)
    return;
  err_ << "\r" << std::string(drawnWidth_, ' ') << "\r" << std::flush;
  drawnWidth_ = 0;
}

}  // namespace granvel::cli
