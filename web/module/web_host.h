// The host of the browser's worker: nothing can stop for a dialog there, so questions are answered with the
// answer the page chose beforehand, messages are kept for the page to show, a file dialog returns the path
// the page gave, and progress goes to the page's function granvelProgress when it has one.
#pragma once

#include <emscripten/val.h>

#include <string>
#include <vector>

#include "platform/host.h"

namespace granvel::web {

class WebHost : public Host {
 public:
  explicit WebHost(bool answerYes = false) : answerYes_(answerYes) {}

  bool AskYesNo(const std::string& caption, const std::string& text) override;
  void ShowMessage(const std::string& caption, const std::string& text) override;
  bool ChooseFile(FileChoice& choice) override;
  void ShowReport(const MessageReport& report) override;
  void ShowProgress(const RunProgress& progress) override;

  // The path the next file dialog returns; empty: the dialog is cancelled.
  void SetChosenPath(std::string path) { chosenPath_ = std::move(path); }
  // The messages and questions since the last call, as {messages: [{caption, text, details}], questions:
  // [{caption, text, answer}]}; both lists start again empty.
  emscripten::val TakeEvents();

 private:
  bool answerYes_;
  std::string chosenPath_;
  std::vector<MessageReport> messages_;
  struct Question {
    std::string Caption, Text;
    bool Answer;
  };
  std::vector<Question> questions_;
};

// A progress report as the page receives it: the fields, the desktop's line and its thousandths.
emscripten::val ProgressObject(const RunProgress& progress);
// The same read back from such an object (missing fields are 0).
RunProgress ProgressFrom(const emscripten::val& object);

// A JavaScript array of the strings.
emscripten::val StringArray(const std::vector<std::string>& items);

}  // namespace granvel::web
