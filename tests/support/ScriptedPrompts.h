#pragma once
// Prompts for tests: records every message and beep, answers questions and file prompts from
// a script, and fails the test when a question comes that the script did not expect.

#include <deque>
#include <memory>
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
  void QueueFolder(std::optional<std::string> path) { folders_.push_back(std::move(path)); }
  void QueueText(std::optional<std::string> text) { texts_.push_back(std::move(text)); }
  void QueueNumber(std::optional<long> number) { numbers_.push_back(number); }

  void ShowMessage(std::string_view text, MessageKind kind, std::string_view caption) override;
  Answer Ask(std::string_view text, Buttons buttons, MessageKind kind, std::string_view caption) override;
  void Beep(BeepKind kind) override;
  std::optional<std::string> PromptOpenFile(std::string_view title, std::string_view pattern,
                                            std::string_view initialFolder) override;
  std::optional<std::string> PromptSaveFile(std::string_view title, std::string_view pattern,
                                            std::string_view suggestedName, std::string_view initialFolder) override;
  std::optional<std::string> PromptFolder(std::string_view title, std::string_view initialFolder) override;
  std::optional<std::string> PromptText(std::string_view prompt, std::string_view initial,
                                        std::string_view caption) override;
  std::optional<long> PromptNumber(std::string_view caption, std::string_view prompt, long minimum, long maximum,
                                   long value) override;
  void ShowStatusText(std::string_view text) override { statusTexts.emplace_back(text); }
  // Records the runs' titles and steps; answers Cancel at step `cancelProgressAtStep` (0: never).
  std::unique_ptr<BatchProgress> ProgressWindow() override;

  std::vector<std::string> messages;   // messages and questions, in order
  std::vector<std::string> questions;  // questions only
  std::vector<std::string> captions;   // the caption of each message and question, in order
  std::vector<BeepKind> beeps;
  std::vector<std::string> textPrompts;    // "prompt|initial" of each text prompt
  std::vector<std::string> filePrompts;    // "title|pattern|suggested name|initial folder" of each file prompt
  std::vector<std::string> numberPrompts;  // "caption|prompt|minimum|maximum|value" of each number prompt
  std::vector<std::string> statusTexts;    // texts shown on the status line, in order
  std::vector<std::string> progressSteps;  // "title" at each start, "number|status" at each step
  int cancelProgressAtStep = 0;

 private:
  std::deque<Answer> answers_;
  std::deque<std::optional<std::string>> files_;
  std::deque<std::optional<std::string>> folders_;
  std::deque<std::optional<std::string>> texts_;
  std::deque<std::optional<long>> numbers_;
  ScopedPrompts scope_;
};

}  // namespace vornel::testing
