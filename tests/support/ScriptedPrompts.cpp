#include "support/ScriptedPrompts.h"

#include <gtest/gtest.h>

namespace vornel::testing {

void ScriptedPrompts::ShowMessage(std::string_view text, MessageKind) { messages.emplace_back(text); }

Answer ScriptedPrompts::Ask(std::string_view text, Buttons, MessageKind) {
  messages.emplace_back(text);
  questions.emplace_back(text);
  if (answers_.empty()) {
    ADD_FAILURE() << "unexpected question: " << text;
    return Answer::kCancel;
  }
  const Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void ScriptedPrompts::Beep(BeepKind kind) { beeps.push_back(kind); }

std::optional<std::string> ScriptedPrompts::PromptOpenFile(std::string_view title, std::string_view) {
  if (files_.empty()) {
    ADD_FAILURE() << "unexpected file prompt: " << title;
    return std::nullopt;
  }
  auto path = std::move(files_.front());
  files_.pop_front();
  return path;
}

std::optional<std::string> ScriptedPrompts::PromptSaveFile(std::string_view title, std::string_view,
                                                           std::string_view) {
  return PromptOpenFile(title, {});
}

std::optional<std::string> ScriptedPrompts::PromptText(std::string_view prompt, std::string_view initial) {
  textPrompts.push_back(std::string(prompt) + "|" + std::string(initial));
  if (texts_.empty()) {
    ADD_FAILURE() << "unexpected text prompt: " << prompt;
    return std::nullopt;
  }
  auto text = std::move(texts_.front());
  texts_.pop_front();
  return text;
}

}  // namespace vornel::testing
