// What the main window's black area shows while a run goes on: a progress bar over a line that says how far
// the run is and which file it converts, and a button that cancels the run (Escape does the same).
#pragma once

#include <QWidget>
#include <functional>

#include "platform/host.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace granvel::shell {

class ProgressPanel : public QWidget {
  Q_OBJECT

 public:
  // `cancel` is called when the button is pressed; the button stays disabled until the next run.
  ProgressPanel(std::function<void()> cancel, QWidget* parent);

  // A new run: nothing done yet, the button enabled.
  void Reset();
  void Show(const RunProgress& progress);

  QProgressBar* Bar() const { return bar_; }
  QLabel* Line() const { return line_; }
  QPushButton* CancelButton() const { return cancel_; }

 private:
  QProgressBar* bar_ = nullptr;
  QLabel* line_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace granvel::shell
