// A run of the converter on a thread of its own, so that the window that started it answers its messages
// while it goes on. The thread tells the window how far it is with one posted message at a time (the window
// reads the latest progress when it handles it), makes every question, message and file dialog of the run
// on the window's thread through a sent message (the run waits for the answer), keeps the run's report for
// the window to show once the run has ended, and posts the end of the run.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "convert/settings.h"
#include "platform/host.h"
#include "shell_win32/win32.h"

namespace granvel::win32 {

class RunThread {
 public:
  // Posted: the run has new progress (TakeProgress).
  static constexpr UINT kProgressMessage = WM_APP + 2;
  // Sent: a call to make on the window's thread; the window answers with Answer(lParam).
  static constexpr UINT kCallMessage = WM_APP + 3;
  // Posted when the run has ended, with its number (Number) as wParam: the window then calls Finish.
  static constexpr UINT kEndedMessage = WM_APP + 4;

  // The messages go to `window`; the run's calls reach `windowHost` on the window's thread.
  RunThread(HWND window, Host& windowHost);
  ~RunThread();
  RunThread(const RunThread&) = delete;
  RunThread& operator=(const RunThread&) = delete;

  // What a run does on the thread, with its settings and the host that reaches the window.
  using Work = std::function<void(const ConvertSettings& settings, Host& host)>;

  // Runs `work` (ConvertFileList of the paths a drop gives, a project's build) with `settings`, the run's
  // own copy, unless a run is going on (false).
  bool Start(Work work, ConvertSettings settings);
  // Start with the conversion of `paths` as one run.
  static Work ConvertWork(std::vector<std::string> paths);
  // From Start until Finish or Stop.
  bool Running() const { return thread_.joinable(); }
  WPARAM Number() const { return number_; }
  // Asks the run to stop before its next file or step.
  void Cancel() { cancel_ = true; }
  // The run waits for a call the window is making now (a dialog is open for it).
  bool InCall() const { return calls_ > 0; }

  // The latest progress; the next progress posts a message again.
  RunProgress TakeProgress();
  // Makes the call of a kCallMessage, or declines it (No, nothing chosen) while Stop waits.
  LRESULT Answer(LPARAM call);
  // After kEndedMessage: waits for the thread and gives the reports the run left to show.
  std::vector<MessageReport> Finish();
  // Cancels the run and waits for its thread, declining its calls meanwhile; its reports are dropped.
  void Stop();

 private:
  class ThreadHost;
  void Run(Work work, ConvertSettings settings);
  void Call(const std::function<void(Host&)>& call);
  void ShowProgress(const RunProgress& progress);
  void KeepReport(const MessageReport& report);
  // Waits for the thread to end, making the calls it sends meanwhile, then joins it.
  void Join();

  HWND window_;
  Host& windowHost_;
  std::thread thread_;
  HANDLE ended_;  // set by the thread as it ends
  WPARAM number_ = 0;
  std::atomic<bool> cancel_ = false;
  bool stopping_ = false;
  int calls_ = 0;
  std::mutex mutex_;  // guards the three below
  RunProgress progress_;
  bool progressPosted_ = false;
  std::vector<MessageReport> reports_;
};

}  // namespace granvel::win32
