#include "support/run_cli.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/windows_text.h"
#else
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#endif

#include <stdexcept>

#include "support/temp_dir.h"

namespace granvel::test {

#ifdef _WIN32

namespace {

// One argument as CommandLineToArgvW reads it back: quoted, with backslashes doubled before a quote.
std::wstring Quote(const std::wstring& argument) {
  std::wstring quoted = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : argument) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    quoted.push_back(c);
  }
  quoted.append(backslashes * 2, L'\\');
  return quoted + L"\"";
}

HANDLE OpenInherited(const std::string& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return ::CreateFileW(windows::Widen(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

CliRun RunCli(const std::string& cwd, const std::vector<std::string>& args, std::uint64_t fileSizeLimit) {
  if (fileSizeLimit != 0)
    throw std::runtime_error("Windows has no limit on the size of the files a process writes");
  TempDir capture;
  const std::string outPath = capture / "out", errPath = capture / "err";
  std::wstring commandLine = Quote(windows::Widen(GRANVEL_CLI_PATH));
  for (const std::string& argument : args)
    commandLine += L" " + Quote(windows::Widen(argument));
  HANDLE in = OpenInherited("NUL", GENERIC_READ, OPEN_EXISTING);
  HANDLE out = OpenInherited(outPath, GENERIC_WRITE, CREATE_ALWAYS);
  HANDLE err = OpenInherited(errPath, GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  // Under Wine a start now and then fails for a moment while the other test process starts its own: try
  // again.
  bool started = false;
  DWORD code = 0;
  for (int attempt = 0; attempt < 5 && !started; ++attempt) {
    started = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                               windows::Widen(cwd).c_str(), &startup, &process);
    code = started ? 0 : ::GetLastError();
    if (!started)
      ::Sleep(200);
  }
  for (HANDLE handle : {in, out, err})
    ::CloseHandle(handle);
  if (!started)
    throw std::runtime_error("cannot start granvel-cli.exe: " + windows::ErrorText(code));
  ::WaitForSingleObject(process.hProcess, INFINITE);
  DWORD status = 0;
  ::GetExitCodeProcess(process.hProcess, &status);
  ::CloseHandle(process.hThread);
  ::CloseHandle(process.hProcess);
  CliRun run;
  run.status = static_cast<int>(status);
  run.out = ReadText(outPath);
  run.err = ReadText(errPath);
  return run;
}

#else

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

#endif

}  // namespace granvel::test
