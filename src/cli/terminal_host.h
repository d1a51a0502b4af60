// The command line's Host: questions on the terminal, messages on standard output.
#pragma once

#include <iosfwd>

#include "platform/host.h"

namespace granvel::cli {

class TerminalHost : public Host {
 public:
  // `interactive`: standard input is a terminal, so questions may be asked there.
  TerminalHost(std::istream& in, std::ostream& out, std::ostream& err, bool interactive);

  bool AskYesNo(const std::string& caption, const std::string& text) override;
  void ShowMessage(const std::string& caption, const std::string& text) override;
  bool ChooseFile(FileChoice& choice) override;

 private:
  std::istream& in_;
  std::ostream& out_;
  std::ostream& err_;
  bool interactive_;
};

}  // namespace granvel::cli
