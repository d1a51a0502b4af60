// The command line's arguments and standard streams, as each system hands them over.
#pragma once

#include <string>
#include <vector>

namespace granvel {

// The program's arguments in UTF-8, the program's own name first. On Windows they are read again from the
// UTF-16 command line: `argv` holds them in the ANSI code page, where "日本語" becomes "???".
std::vector<std::string> CommandLineArguments(int argc, char** argv);

// For its lifetime, the standard streams carry bytes as they are: on Windows in binary mode (no CR before
// each LF, no end at byte 0x1A) and the console shows UTF-8; on Linux this is already so.
class StandardStreams {
 public:
  StandardStreams();
  ~StandardStreams();
  StandardStreams(const StandardStreams&) = delete;
  StandardStreams& operator=(const StandardStreams&) = delete;

 private:
  [[maybe_unused]] unsigned int savedCodePage_ = 0;  // the console's, on Windows
};

// True when standard input is an interactive terminal (a console on Windows; not NUL, a file or a pipe).
bool StandardInputIsTerminal();
// True when standard error is one (where a progress line may be drawn over itself).
bool StandardErrorIsTerminal();

// From this call on, Ctrl+C and SIGTERM (on Windows Ctrl+C, Ctrl+Break and closing the console) no longer
// end the program at once: they set the flag InterruptRequested reads, so that the run stops cleanly; a
// second one ends the program as before. The flag is the process's, as signals are.
void CatchInterrupts();
bool InterruptRequested();

}  // namespace granvel
