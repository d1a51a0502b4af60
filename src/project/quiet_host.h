// The host of a project build: nobody to ask (a question is answered No, as without a terminal), messages
// kept rather than shown, and a save dialog that answers with the path it was given.
#pragma once

#include <string>
#include <vector>

#include "platform/host.h"

namespace granvel {

class QuietHost final : public Host {
 public:
  explicit QuietHost(std::string savePath = {}) : savePath_(std::move(savePath)) {}
  bool AskYesNo(const std::string&, const std::string&) override { return false; }
  void ShowMessage(const std::string& caption, const std::string& text) override {
    Messages.push_back(caption + ": " + text);
  }
  bool ChooseFile(FileChoice& choice) override {
    choice.Files = {savePath_};
    return !savePath_.empty();
  }

  std::vector<std::string> Messages;

 private:
  std::string savePath_;
};

}  // namespace granvel
