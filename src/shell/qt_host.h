// The desktop program's Host: questions, messages and file choices as modal Qt dialogs owned by one window,
// called on the window's thread (a run's thread reaches it through GuiThreadHost).
#pragma once

#include <QString>
#include <functional>
#include <string>

#include "platform/host.h"

class QWidget;

namespace granvel::shell {

class QtHost : public Host {
 public:
  // `owner` owns every box and dialog this host shows; it must outlive the host's use.
  explicit QtHost(QWidget* owner);

  bool AskYesNo(const std::string& caption, const std::string& text) override;
  // The same question with the check box kKeepAnswerLabel under it.
  bool AskYesNoForRun(const std::string& caption, const std::string& text, bool& keep) override;
  // A report box with the text alone.
  void ShowMessage(const std::string& caption, const std::string& text) override;
  // A ReportBox. While one is open (a queued run ends while the box of the run before is still open), the
  // report goes into that box and the call returns at once.
  void ShowReport(const MessageReport& report) override;
  // Opens in InitialPath's folder (the whole path when it ends in '/'), with the first filter selected; in
  // FolderMode it shows folders only and chooses one.
  bool ChooseFile(FileChoice& choice) override;

  // Replaces what "Open folder" does (tests record it); by default the desktop opens the folder. The opener
  // returns false when nothing could open it.
  void SetFolderOpener(std::function<bool(const QString&)> open) { openFolder_ = std::move(open); }

 private:
  QWidget* owner_;
  std::function<bool(const QString&)> openFolder_;
};

}  // namespace granvel::shell
