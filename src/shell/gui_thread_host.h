// The host a conversion thread talks to. Every box and file dialog of the window's own host is shown on the
// window's thread: a question or a file choice holds the converting thread until it is answered, a message
// or report is handed over and the run goes on. Progress is kept as it comes and shown on the window's thread
// at most about 30 times a second; CancelRequested answers from a flag the window sets.
#pragma once

#include <QObject>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/host.h"

namespace granvel::shell {

class GuiThreadHost : public Host {
 public:
  using ProgressView = std::function<void(const RunProgress&)>;

  // Made on the window's thread, where `target`'s boxes are shown and `view` is called. `target` must
  // outlive this host; its own ShowProgress and CancelRequested are called from the converting thread too.
  GuiThreadHost(Host& target, ProgressView view);
  ~GuiThreadHost() override;
  GuiThreadHost(const GuiThreadHost&) = delete;
  GuiThreadHost& operator=(const GuiThreadHost&) = delete;

  bool AskYesNo(const std::string& caption, const std::string& text) override;
  bool AskYesNoForRun(const std::string& caption, const std::string& text, bool& keep) override;
  void ShowMessage(const std::string& caption, const std::string& text) override;
  void ShowReport(const MessageReport& report) override;
  bool ChooseFile(FileChoice& choice) override;
  void ShowProgress(const RunProgress& progress) override;
  bool CancelRequested() override;

  // From the window's thread: a new run begins (not cancelled, no progress shown yet).
  void BeginRun();
  // From the window's thread: the run in progress stops at its next check.
  void Cancel() { cancel_ = true; }
  // From the window's thread, as the window closes: cancels the run, answers a question waiting (and every
  // later one) No without showing it, a file choice with none, and shows no more messages or progress.
  void Close();

 private:
  bool OnGuiThread() const;
  bool Closed();
  // Runs `ask` on the window's thread and waits for its result; `closed` once the host is closed.
  template <class Result>
  Result Ask(std::function<Result()> ask, Result closed);
  // Runs `show` on the window's thread without waiting, unless the host is closed by then.
  void Post(std::function<void()> show);
  void ShowLatestProgress();

  Host& target_;
  ProgressView view_;
  std::unique_ptr<QObject> context_;  // the window's thread's receiver; dropping it drops what waits for it
  std::chrono::steady_clock::time_point lastShown_;  // on the window's thread only
  std::atomic<bool> cancel_{false};
  std::mutex mutex_;  // guards what follows
  std::condition_variable answered_;
  bool closed_ = false;
  RunProgress progress_;  // the latest, not shown yet when progressPosted_
  bool progressPosted_ = false;
};

}  // namespace granvel::shell
