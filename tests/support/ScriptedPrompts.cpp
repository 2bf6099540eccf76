#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace vornel::testing {

namespace {

template <typename T>
std::optional<T> Next(std::deque<std::optional<T>>& queue, std::string_view what, std::string_view title) {
  if (queue.empty()) {
    ADD_FAILURE() << "unexpected " << what << " prompt: " << title;
    return std::nullopt;
  }
  auto value = std::move(queue.front());
  queue.pop_front();
  return value;
}

}  // namespace

void ScriptedPrompts::ShowMessage(std::string_view text, MessageKind, std::string_view caption) {
  messages.emplace_back(text);
  captions.emplace_back(caption);
}

Answer ScriptedPrompts::Ask(std::string_view text, Buttons, MessageKind, std::string_view caption) {
  messages.emplace_back(text);
  questions.emplace_back(text);
  captions.emplace_back(caption);
  if (answers_.empty()) {
    ADD_FAILURE() << "unexpected question: " << text;
    return Answer::kCancel;
  }
  const Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void ScriptedPrompts::Beep(BeepKind kind) { beeps.push_back(kind); }

std::optional<std::string> ScriptedPrompts::PromptOpenFile(std::string_view title, std::string_view pattern,
                                                           std::string_view initialFolder) {
  return PromptSaveFile(title, pattern, {}, initialFolder);
}

std::optional<std::string> ScriptedPrompts::PromptSaveFile(std::string_view title, std::string_view pattern,
                                                           std::string_view suggestedName,
                                                           std::string_view initialFolder) {
  filePrompts.push_back(std::string(title) + "|" + std::string(pattern) + "|" + std::string(suggestedName) + "|" +
                        std::string(initialFolder));
  return Next(files_, "file", title);
}

std::optional<std::string> ScriptedPrompts::PromptFolder(std::string_view title, std::string_view) {
  return Next(folders_, "folder", title);
}

std::optional<std::string> ScriptedPrompts::PromptText(std::string_view prompt, std::string_view initial,
                                                       std::string_view) {
  textPrompts.push_back(std::string(prompt) + "|" + std::string(initial));
  return Next(texts_, "text", prompt);
}

std::optional<long> ScriptedPrompts::PromptNumber(std::string_view caption, std::string_view prompt, long minimum,
                                                  long maximum, long value) {
  numberPrompts.push_back(std::string(caption) + "|" + std::string(prompt) + "|" + std::to_string(minimum) + "|" +
                          std::to_string(maximum) + "|" + std::to_string(value));
  return Next(numbers_, "number", prompt);
}

namespace {

class RecordingProgress : public BatchProgress {
 public:
  explicit RecordingProgress(ScriptedPrompts& prompts) : prompts_(prompts) {}
  void Start(int, const std::string& title) override { prompts_.progressSteps.push_back(title); }
  bool Step(int number, const std::string& status) override {
    prompts_.progressSteps.push_back(std::to_string(number) + "|" + status);
    return number != prompts_.cancelProgressAtStep;
  }
  void Finish() override {}

 private:
  ScriptedPrompts& prompts_;
};

}  // namespace

std::unique_ptr<BatchProgress> ScriptedPrompts::ProgressWindow() { return std::make_unique<RecordingProgress>(*this); }

}  // namespace vornel::testing
