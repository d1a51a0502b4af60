#include "shell/gui_thread_host.h"

#include <QThread>
#include <QTimer>
#include <utility>

namespace granvel::shell {
namespace {

// The progress is shown at most this often, however often the run reports it.
constexpr std::chrono::milliseconds kProgressInterval{33};

}  // namespace

GuiThreadHost::GuiThreadHost(Host& target, ProgressView view)
    : target_(target), view_(std::move(view)), context_(std::make_unique<QObject>()) {}

GuiThreadHost::~GuiThreadHost() = default;

bool GuiThreadHost::OnGuiThread() const {
  return QThread::currentThread() == context_->thread();
}

bool GuiThreadHost::Closed() {
  const std::lock_guard lock(mutex_);
  return closed_;
}

template <class Result>
Result GuiThreadHost::Ask(std::function<Result()> ask, Result closed) {
  if (OnGuiThread())
    return Closed() ? closed : ask();
  struct Answer {
    bool given = false;
    Result result{};
  };
  // Shared with the call on the window's thread, which may still finish after this one gave up waiting.
  const auto answer = std::make_shared<Answer>();
  if (Closed())
    return closed;
  QMetaObject::invokeMethod(
      context_.get(),
      [this, answer, ask = std::move(ask)] {
        if (Closed())
          return;
        Result result = ask();
        {
          const std::lock_guard lock(mutex_);
          answer->result = std::move(result);
          answer->given = true;
        }
        answered_.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(mutex_);
  answered_.wait(lock, [&] { return answer->given || closed_; });
  return answer->given ? answer->result : closed;
}

void GuiThreadHost::Post(std::function<void()> show) {
  if (OnGuiThread()) {
    if (!Closed())
      show();
    return;
  }
  QMetaObject::invokeMethod(
      context_.get(),
      [this, show = std::move(show)] {
        if (!Closed())
          show();
      },
      Qt::QueuedConnection);
}

bool GuiThreadHost::AskYesNo(const std::string& caption, const std::string& text) {
  return Ask<bool>([this, caption, text] { return target_.AskYesNo(caption, text); }, false);
}

bool GuiThreadHost::AskYesNoForRun(const std::string& caption, const std::string& text, bool& keep) {
  const auto [yes, kept] = Ask<std::pair<bool, bool>>(
      [this, caption, text] {
        bool keepIt = false;
        const bool answer = target_.AskYesNoForRun(caption, text, keepIt);
        return std::pair{answer, keepIt};
      },
      {false, false});
  keep = kept;
  return yes;
}

void GuiThreadHost::ShowMessage(const std::string& caption, const std::string& text) {
  Post([this, caption, text] { target_.ShowMessage(caption, text); });
}

void GuiThreadHost::ShowReport(const MessageReport& report) {
  Post([this, report] { target_.ShowReport(report); });
}

bool GuiThreadHost::ChooseFile(FileChoice& choice) {
  FileChoice none = choice;
  none.Files.clear();
  auto [chosen, result] = Ask<std::pair<bool, FileChoice>>(
      [this, request = choice]() mutable {
        const bool ok = target_.ChooseFile(request);
        return std::pair{ok, request};
      },
      {false, none});
  choice = std::move(result);
  return chosen;
}

void GuiThreadHost::ShowProgress(const RunProgress& progress) {
  target_.ShowProgress(progress);
  {
    const std::lock_guard lock(mutex_);
    progress_ = progress;
    if (progressPosted_ || closed_)
      return;  // the update on its way shows this one
    progressPosted_ = true;
  }
  QMetaObject::invokeMethod(
      context_.get(), [this] { ShowLatestProgress(); }, Qt::QueuedConnection);
}

void GuiThreadHost::ShowLatestProgress() {
  const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(lastShown_ + kProgressInterval -
                                                                          std::chrono::steady_clock::now());
  if (wait.count() > 0) {
    QTimer::singleShot(wait, context_.get(), [this] { ShowLatestProgress(); });
    return;
  }
  RunProgress progress;
  {
    const std::lock_guard lock(mutex_);
    progressPosted_ = false;
    if (closed_ || progress_.FilesTotal == 0)
      return;  // nothing of this run reported yet
    progress = progress_;
  }
  lastShown_ = std::chrono::steady_clock::now();
  view_(progress);
}

bool GuiThreadHost::CancelRequested() {
  return cancel_ || target_.CancelRequested();
}

void GuiThreadHost::BeginRun() {
  cancel_ = false;
  const std::lock_guard lock(mutex_);
  progress_ = {};
}

void GuiThreadHost::Close() {
  cancel_ = true;
  {
    const std::lock_guard lock(mutex_);
    closed_ = true;
  }
  answered_.notify_all();
}

}  // namespace granvel::shell
