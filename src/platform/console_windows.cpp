// The command line's streams and arguments on Windows.
#include <windows.h>  // before the headers that build on it

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <atomic>
#include <cstdio>

#include "platform/console.h"
#include "platform/windows_text.h"

namespace granvel {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!wide)
    return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i)
    arguments.push_back(windows::Narrow(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

StandardStreams::StandardStreams() {
  for (std::FILE* stream : {stdin, stdout, stderr})
    ::_setmode(::_fileno(stream), _O_BINARY);
  // A console shows the UTF-8 bytes as the characters they are (the full-width colon of the summary,
  // Japanese file names); the user's code page comes back at the end.
  savedCodePage_ = ::GetConsoleOutputCP();
  if (savedCodePage_ != 0)
    ::SetConsoleOutputCP(CP_UTF8);
}

StandardStreams::~StandardStreams() {
  std::fflush(stdout);
  std::fflush(stderr);
  if (savedCodePage_ != 0)
    ::SetConsoleOutputCP(savedCodePage_);
}

bool StandardInputIsTerminal() {
  // _isatty says yes to NUL too; only a console is a terminal.
  HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  return input != INVALID_HANDLE_VALUE && input != nullptr && ::GetFileType(input) == FILE_TYPE_CHAR &&
         ::GetConsoleMode(input, &mode);
}

bool StandardErrorIsTerminal() {
  HANDLE error = ::GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  return error != INVALID_HANDLE_VALUE && error != nullptr && ::GetFileType(error) == FILE_TYPE_CHAR &&
         ::GetConsoleMode(error, &mode);
}

namespace {

std::atomic<bool> interrupted{false};  // set from the console's control thread

BOOL WINAPI OnControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
    return FALSE;
  // The first one asks the run to stop; a second goes on to the system's handler, which ends the program.
  return interrupted.exchange(true) ? FALSE : TRUE;
}

}  // namespace

void CatchInterrupts() {
  ::SetConsoleCtrlHandler(OnControl, TRUE);
}

bool InterruptRequested() {
  return interrupted.load(std::memory_order_relaxed);
}

}  // namespace granvel
