// A Host with scripted answers that records what it was asked and shown.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/host.h"

namespace granvel::test {

class FakeHost : public Host {
 public:
  struct Message {
    std::string caption, text;
  };
  std::deque<bool> answers;                      // AskYesNo answers in order; No when empty
  std::vector<Message> questions, messages;      // what AskYesNo asked and ShowMessage showed
  std::deque<std::vector<std::string>> choices;  // ChooseFile results in order; cancelled when empty

  bool AskYesNo(const std::string& caption, const std::string& text) override {
    questions.push_back({caption, text});
    const bool answer = !answers.empty() && answers.front();
    if (!answers.empty())
      answers.pop_front();
    return answer;
  }
  void ShowMessage(const std::string& caption, const std::string& text) override {
    messages.push_back({caption, text});
  }
  bool ChooseFile(FileChoice& choice) override {
    if (choices.empty())
      return false;
    choice.Files = choices.front();
    choices.pop_front();
    return true;
  }
};

}  // namespace granvel::test
