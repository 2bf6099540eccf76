#pragma once
// Messages, questions, beeps and file prompts that the core needs go through this interface,
// so that every operation runs headless in tests with scripted answers. The window layer
// installs an implementation with real dialogs; tools install a console one.

#include <optional>
#include <string>
#include <string_view>

namespace vornel {

// The application's name: the caption of its main window and of its message boxes.
inline constexpr const char* kApplicationName = "Vornel Tablature Composer";

enum class MessageKind { kInformation, kWarning, kError, kQuestion };
enum class Buttons { kOk, kOkCancel, kYesNo, kYesNoCancel };
enum class Answer { kOk, kCancel, kYes, kNo };
enum class BeepKind { kDefault, kExclamation, kError };

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;
  virtual void ShowMessage(std::string_view text, MessageKind kind = MessageKind::kInformation) = 0;
  virtual Answer Ask(std::string_view text, Buttons buttons, MessageKind kind = MessageKind::kQuestion) = 0;
  virtual void Beep(BeepKind kind = BeepKind::kDefault) = 0;
  // An existing file to open; nothing when the user cancels. `pattern` is like "*.btxml".
  virtual std::optional<std::string> PromptOpenFile(std::string_view title, std::string_view pattern) = 0;
  // A file to write; nothing when the user cancels.
  virtual std::optional<std::string> PromptSaveFile(std::string_view title, std::string_view pattern,
                                                    std::string_view suggestedName) = 0;
  // One line of text, prefilled with `initial`; nothing when the user cancels.
  virtual std::optional<std::string> PromptText(std::string_view prompt, std::string_view initial) = 0;
};

// Writes messages to standard error, answers every question with its first button and every
// file or text prompt with nothing. The default until a front end installs its own.
class ConsolePrompts : public UserPrompts {
 public:
  void ShowMessage(std::string_view text, MessageKind kind) override;
  Answer Ask(std::string_view text, Buttons buttons, MessageKind kind) override;
  void Beep(BeepKind kind) override;
  std::optional<std::string> PromptOpenFile(std::string_view title, std::string_view pattern) override;
  std::optional<std::string> PromptSaveFile(std::string_view title, std::string_view pattern,
                                            std::string_view suggestedName) override;
  std::optional<std::string> PromptText(std::string_view prompt, std::string_view initial) override;
};

// The prompts in force.
UserPrompts& Prompts();

// Installs `prompts` for its lifetime and restores the previous ones after.
class ScopedPrompts {
 public:
  explicit ScopedPrompts(UserPrompts& prompts);
  ~ScopedPrompts();
  ScopedPrompts(const ScopedPrompts&) = delete;
  ScopedPrompts& operator=(const ScopedPrompts&) = delete;

 private:
  UserPrompts* previous_;
};

}  // namespace vornel
