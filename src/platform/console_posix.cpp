#include <signal.h>
#include <unistd.h>

#include <atomic>

#include "platform/console.h"

namespace granvel {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

StandardStreams::StandardStreams() = default;
StandardStreams::~StandardStreams() = default;

bool StandardInputIsTerminal() {
  return ::isatty(STDIN_FILENO) == 1;
}

bool StandardErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

namespace {

std::atomic<bool> interrupted{false};  // set from the signal handler: lock-free, so safe there
static_assert(std::atomic<bool>::is_always_lock_free);

void OnInterrupt(int) {
  interrupted.store(true);
}

}  // namespace

void CatchInterrupts() {
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_RESETHAND;  // calls go on; the second signal ends the program
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
}

bool InterruptRequested() {
  return interrupted.load(std::memory_order_relaxed);
}

}  // namespace granvel
