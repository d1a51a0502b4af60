// The desktop program's Host: questions, messages and file choices as modal Qt dialogs owned by one window.
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
  // An OK-only box without an icon.
  void ShowMessage(const std::string& caption, const std::string& text) override;
  // The same box with the details behind "Show Details...", and "Open folder" when the report names one.
  void ShowReport(const MessageReport& report) override;
  bool ChooseFile(FileChoice& choice) override;

  // Replaces what "Open folder" does (tests record it); by default the desktop opens the folder.
  void SetFolderOpener(std::function<void(const QString&)> open) { openFolder_ = std::move(open); }

 private:
  QWidget* owner_;
  std::function<void(const QString&)> openFolder_;
};

}  // namespace granvel::shell
