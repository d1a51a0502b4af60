// The window's runs: each list of paths is one run of ConvertFileList (and each other work, such as a
// project's build, one run of its own) on a thread of its own, one run at a time, in the order they were
// asked for. A run converts with a copy of the window's settings taken as it starts, so what the menus change
// during a run applies to the next. Everything but the conversion itself happens on the window's thread: the
// listener's calls, the host's boxes (through GuiThreadHost) and the progress.
#pragma once

#include <QObject>
#include <deque>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "batch/dispatch.h"
#include "convert/settings.h"
#include "shell/gui_thread_host.h"

namespace granvel::shell {

struct RunListener {
  std::function<void()> Started;                     // a run begins
  std::function<void(const RunProgress&)> Progress;  // how far it is, at most ~30 times a second
  std::function<void(const BatchResult&)> Finished;  // it ended (Busy() says whether another follows)
};

class RunQueue {
 public:
  // Made on the window's thread. `settings` and `host` must outlive the queue; `host` shows the boxes.
  RunQueue(const ConvertSettings& settings, Host& host, RunListener listener);
  // Stop().
  ~RunQueue();
  RunQueue(const RunQueue&) = delete;
  RunQueue& operator=(const RunQueue&) = delete;

  // What a run does on its thread, with its copy of the settings and the host that reports to the window.
  using Work = std::function<BatchResult(const ConvertSettings& settings, Host& host)>;

  // Queues a run of `paths`; it starts at once when no run goes on. Ignored once the queue is stopped.
  void Add(std::vector<std::string> paths);
  // Queues a run of `work`, as Add does.
  void AddWork(Work work);
  // The run in progress stops at its next check and ends with its summary; the queued runs follow.
  void Cancel();
  // For a closing window: cancels the run in progress without showing anything more, forgets the queued
  // runs and waits for the thread, which ends within a moment. The queue takes no more runs.
  void Stop();
  // A run goes on or waits.
  bool Busy() const { return thread_.joinable() || !waiting_.empty(); }

 private:
  void StartNext();
  void Finish(const BatchResult& result);

  const ConvertSettings& settings_;
  RunListener listener_;
  GuiThreadHost host_;
  QObject context_;  // receives the end of each run on the window's thread
  std::deque<Work> waiting_;
  std::thread thread_;
  bool stopped_ = false;
};

}  // namespace granvel::shell
