#include "shell_win32/run_thread.h"

#include <utility>

#include "batch/dispatch.h"

namespace granvel::win32 {

// The host the run's thread converts with: progress and the cancel request are answered on that thread,
// dialogs are made on the window's, and the report waits for the end of the run.
class RunThread::ThreadHost : public Host {
 public:
  explicit ThreadHost(RunThread& run) : run_(run) {}

  bool AskYesNo(const std::string& caption, const std::string& text) override {
    bool yes = false;
    run_.Call([&](Host& host) { yes = host.AskYesNo(caption, text); });
    return yes;
  }
  bool AskYesNoForRun(const std::string& caption, const std::string& text, bool& keep) override {
    bool yes = false;
    keep = false;
    run_.Call([&](Host& host) { yes = host.AskYesNoForRun(caption, text, keep); });
    return yes;
  }
  void ShowMessage(const std::string& caption, const std::string& text) override {
    run_.Call([&](Host& host) { host.ShowMessage(caption, text); });
  }
  void ShowReport(const MessageReport& report) override { run_.KeepReport(report); }
  bool ChooseFile(FileChoice& choice) override {
    bool chosen = false;
    run_.Call([&](Host& host) { chosen = host.ChooseFile(choice); });
    return chosen;
  }
  void ShowProgress(const RunProgress& progress) override { run_.ShowProgress(progress); }
  bool CancelRequested() override { return run_.cancel_; }

 private:
  RunThread& run_;
};

RunThread::RunThread(HWND window, Host& windowHost)
    : window_(window), windowHost_(windowHost), ended_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

RunThread::~RunThread() {
  Stop();
  if (ended_)
    CloseHandle(ended_);
}

RunThread::Work RunThread::ConvertWork(std::vector<std::string> paths) {
  return [paths = std::move(paths)](const ConvertSettings& settings, Host& host) {
    ConvertFileList(paths, settings, host);
  };
}

bool RunThread::Start(Work work, ConvertSettings settings) {
  if (Running() || !ended_)
    return false;
  cancel_ = false;
  {
    const std::lock_guard lock(mutex_);
    progress_ = {};
    progressPosted_ = false;
    reports_.clear();
  }
  ResetEvent(ended_);
  ++number_;
  thread_ = std::thread(&RunThread::Run, this, std::move(work), std::move(settings));
  return true;
}

void RunThread::Run(Work work, ConvertSettings settings) {
  const WPARAM number = number_;
  ThreadHost host(*this);
  work(settings, host);
  SetEvent(ended_);
  PostMessageW(window_, kEndedMessage, number, 0);
}

void RunThread::Call(const std::function<void(Host&)>& call) {
  // The window's thread handles the message while it waits for messages, also in a dialog's loop; this
  // thread waits for it to return. Without the window, the call is not made.
  const std::function<void()> onWindowThread = [&] { call(windowHost_); };
  SendMessageW(window_, kCallMessage, 0, reinterpret_cast<LPARAM>(&onWindowThread));
}

LRESULT RunThread::Answer(LPARAM call) {
  if (stopping_ || !call)
    return 0;
  ++calls_;
  (*reinterpret_cast<const std::function<void()>*>(call))();
  --calls_;
  return 1;
}

void RunThread::ShowProgress(const RunProgress& progress) {
  const std::lock_guard lock(mutex_);
  progress_ = progress;
  if (!progressPosted_)
    progressPosted_ = PostMessageW(window_, kProgressMessage, 0, 0) != FALSE;
}

RunProgress RunThread::TakeProgress() {
  const std::lock_guard lock(mutex_);
  progressPosted_ = false;
  return progress_;
}

void RunThread::KeepReport(const MessageReport& report) {
  const std::lock_guard lock(mutex_);
  reports_.push_back(report);
}

void RunThread::Join() {
  if (!thread_.joinable())
    return;
  // The thread may be waiting in SendMessage for this one: its calls are handled while waiting.
  for (;;) {
    MSG message;
    PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    const DWORD woken =
        MsgWaitForMultipleObjectsEx(1, &ended_, INFINITE, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
    if (woken != WAIT_OBJECT_0 + 1)
      break;  // ended (or the wait failed: then the join waits)
  }
  if (thread_.joinable())  // not joined already by a Stop of a message handled meanwhile
    thread_.join();
}

std::vector<MessageReport> RunThread::Finish() {
  Join();
  const std::lock_guard lock(mutex_);
  return std::exchange(reports_, {});
}

void RunThread::Stop() {
  if (!Running())
    return;
  cancel_ = true;
  stopping_ = true;
  Join();
  stopping_ = false;
  const std::lock_guard lock(mutex_);
  reports_.clear();
}

}  // namespace granvel::win32
