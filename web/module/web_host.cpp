#include "web_host.h"

#include "forms/main_window_form.h"

namespace granvel::web {

using emscripten::val;

bool WebHost::AskYesNo(const std::string& caption, const std::string& text) {
  questions_.push_back({caption, text, answerYes_});
  return answerYes_;
}

void WebHost::ShowMessage(const std::string& caption, const std::string& text) {
  messages_.push_back({caption, text, {}, {}});
}

void WebHost::ShowReport(const MessageReport& report) {
  messages_.push_back(report);
}

bool WebHost::ChooseFile(FileChoice& choice) {
  if (chosenPath_.empty())
    return false;
  choice.Files = {chosenPath_};
  chosenPath_.clear();
  return true;
}

void WebHost::ShowProgress(const RunProgress& progress) {
  const val report = val::global("globalThis")["granvelProgress"];
  if (report.typeOf().as<std::string>() == "function")
    report(ProgressObject(progress));
}

val WebHost::TakeEvents() {
  val messages = val::array();
  for (const MessageReport& message : messages_) {
    val item = val::object();
    item.set("caption", message.Caption);
    item.set("text", message.Text);
    item.set("details", message.Details);
    messages.call<void>("push", item);
  }
  val questions = val::array();
  for (const Question& question : questions_) {
    val item = val::object();
    item.set("caption", question.Caption);
    item.set("text", question.Text);
    item.set("answer", question.Answer);
    questions.call<void>("push", item);
  }
  messages_.clear();
  questions_.clear();
  val events = val::object();
  events.set("messages", messages);
  events.set("questions", questions);
  return events;
}

val ProgressObject(const RunProgress& progress) {
  val object = val::object();
  object.set("filesDone", progress.FilesDone);
  object.set("filesTotal", progress.FilesTotal);
  object.set("currentFile", progress.CurrentFile);
  object.set("stepsDone", static_cast<double>(progress.StepsDone));
  object.set("stepsTotal", static_cast<double>(progress.StepsTotal));
  object.set("line", ProgressLine(progress));
  object.set("permille", ProgressPermille(progress));
  return object;
}

namespace {

double NumberOr0(const val& object, const char* key) {
  const val field = object[key];
  return field.typeOf().as<std::string>() == "number" ? field.as<double>() : 0.0;
}

}  // namespace

RunProgress ProgressFrom(const val& object) {
  RunProgress progress;
  progress.FilesDone = static_cast<int>(NumberOr0(object, "filesDone"));
  progress.FilesTotal = static_cast<int>(NumberOr0(object, "filesTotal"));
  if (object["currentFile"].typeOf().as<std::string>() == "string")
    progress.CurrentFile = object["currentFile"].as<std::string>();
  progress.StepsDone = static_cast<std::uint64_t>(NumberOr0(object, "stepsDone"));
  progress.StepsTotal = static_cast<std::uint64_t>(NumberOr0(object, "stepsTotal"));
  return progress;
}

val StringArray(const std::vector<std::string>& items) {
  val array = val::array();
  for (const std::string& item : items)
    array.call<void>("push", item);
  return array;
}

}  // namespace granvel::web
