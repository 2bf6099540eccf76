#pragma once
// Prompts for tests: records every message and beep, answers questions and file prompts from
// a script, and fails the test when a question comes that the script did not expect.

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "platform/UserPrompts.h"

namespace vornel::testing {

class ScriptedPrompts : public UserPrompts {
 public:
  ScriptedPrompts() : scope_(*this) {}

  void QueueAnswer(Answer answer) { answers_.push_back(answer); }
  void QueueFile(std::optional<std::string> path) { files_.push_back(std::move(path)); }
  void QueueText(std::optional<std::string> text) { texts_.push_back(std::move(text)); }

  void ShowMessage(std::string_view text, MessageKind kind) override;
  Answer Ask(std::string_view text, Buttons buttons, MessageKind kind) override;
  void Beep(BeepKind kind) override;
  std::optional<std::string> PromptOpenFile(std::string_view title, std::string_view pattern) override;
  std::optional<std::string> PromptSaveFile(std::string_view title, std::string_view pattern,
                                            std::string_view suggestedName) override;
  std::optional<std::string> PromptText(std::string_view prompt, std::string_view initial) override;

  std::vector<std::string> messages;   // messages and questions, in order
  std::vector<std::string> questions;  // questions only
  std::vector<BeepKind> beeps;
  std::vector<std::string> textPrompts;  // "prompt|initial" of each text prompt

 private:
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> files_;
  std::deque<std::optional<std::string>> texts_;
  ScopedPrompts scope_;
};

}  // namespace vornel::testing
