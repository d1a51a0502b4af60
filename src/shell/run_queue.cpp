#include "shell/run_queue.h"

#include <utility>

namespace granvel::shell {

RunQueue::RunQueue(const ConvertSettings& settings, Host& host, RunListener listener)
    : settings_(settings), listener_(std::move(listener)), host_(host, [this](const RunProgress& progress) {
        if (listener_.Progress)
          listener_.Progress(progress);
      }) {}

RunQueue::~RunQueue() {
  Stop();
}

void RunQueue::Add(std::vector<std::string> paths) {
  if (paths.empty())
    return;
  AddWork([paths = std::move(paths)](const ConvertSettings& settings, Host& host) {
    return ConvertFileList(paths, settings, host);
  });
}

void RunQueue::AddWork(Work work) {
  if (stopped_)
    return;
  waiting_.push_back(std::move(work));
  if (!thread_.joinable())
    StartNext();
}

void RunQueue::Cancel() {
  if (thread_.joinable())
    host_.Cancel();
}

void RunQueue::Stop() {
  stopped_ = true;
  waiting_.clear();
  host_.Close();
  if (thread_.joinable())
    thread_.join();
}

void RunQueue::StartNext() {
  if (waiting_.empty())
    return;
  Work work = std::move(waiting_.front());
  waiting_.pop_front();
  host_.BeginRun();
  if (listener_.Started)
    listener_.Started();
  // The thread gets its own copy of the settings; the window's may change while it runs.
  thread_ = std::thread([this, work = std::move(work), settings = settings_] {
    const BatchResult result = work(settings, host_);
    QMetaObject::invokeMethod(
        &context_, [this, result] { Finish(result); }, Qt::QueuedConnection);
  });
}

void RunQueue::Finish(const BatchResult& result) {
  if (thread_.joinable())
    thread_.join();  // it has nothing left to do but return
  if (stopped_)
    return;
  if (listener_.Finished)
    listener_.Finished(result);
  StartNext();
}

}  // namespace granvel::shell
