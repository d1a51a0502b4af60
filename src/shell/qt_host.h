// The desktop program's Host: questions, messages and file choices as modal Qt dialogs owned by one window.
#pragma once

#include <string>

#include "platform/host.h"

class QWidget;

namespace granvel::shell {

class QtHost : public Host {
 public:
  // `owner` owns every box and dialog this host shows; it must outlive the host's use.
  explicit QtHost(QWidget* owner);

  bool AskYesNo(const std::string& caption, const std::string& text) override;
  // An OK-only box without an icon. When details were set, the box offers them in its details section and
  // they are cleared.
  void ShowMessage(const std::string& caption, const std::string& text) override;
  bool ChooseFile(FileChoice& choice) override;

  // Text offered in the details section of the next message box only (empty: none).
  void SetNextMessageDetails(std::string details) { details_ = std::move(details); }

 private:
  QWidget* owner_;
  std::string details_;
};

}  // namespace granvel::shell
