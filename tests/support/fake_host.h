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
  std::deque<bool> keeps;                        // AskYesNoForRun's check box in order; unticked when empty
  std::vector<Message> questions, messages;      // what AskYesNo asked and ShowMessage showed
  std::deque<std::vector<std::string>> choices;  // ChooseFile results in order; cancelled when empty
  std::vector<MessageReport> reports;            // what ShowReport showed (also in `messages`)
  std::vector<FileChoice> asked;                 // the file dialogs ChooseFile was asked to show
  std::vector<RunProgress> progress;             // what ShowProgress showed
  int cancelAfter = -1;  // CancelRequested is true once this many progress calls came; never when < 0

  bool AskYesNo(const std::string& caption, const std::string& text) override {
    questions.push_back({caption, text});
    const bool answer = !answers.empty() && answers.front();
    if (!answers.empty())
      answers.pop_front();
    return answer;
  }
  bool AskYesNoForRun(const std::string& caption, const std::string& text, bool& keep) override {
    keep = !keeps.empty() && keeps.front();
    if (!keeps.empty())
      keeps.pop_front();
    return AskYesNo(caption, text);
  }
  void ShowMessage(const std::string& caption, const std::string& text) override {
    messages.push_back({caption, text});
  }
  void ShowReport(const MessageReport& report) override {
    reports.push_back(report);
    ShowMessage(report.Caption, report.Text);
  }
  void ShowProgress(const RunProgress& shown) override { progress.push_back(shown); }
  bool CancelRequested() override {
    return cancelAfter >= 0 && progress.size() >= static_cast<std::size_t>(cancelAfter);
  }
  bool ChooseFile(FileChoice& choice) override {
    asked.push_back(choice);
    if (choices.empty())
      return false;
    choice.Files = choices.front();
    choices.pop_front();
    return true;
  }
};

}  // namespace granvel::test
