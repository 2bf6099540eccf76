#pragma once
// Messages, questions, beeps and file prompts that the core needs go through this interface,
// so that every operation runs headless in tests with scripted answers. The window layer
// installs an implementation with real dialogs; tools install a console one.

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/BatchProgress.h"

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
  // `caption` is the title of the message box; empty means the application's name.
  virtual void ShowMessage(std::string_view text, MessageKind kind = MessageKind::kInformation,
                           std::string_view caption = {}) = 0;
  virtual Answer Ask(std::string_view text, Buttons buttons, MessageKind kind = MessageKind::kQuestion,
                     std::string_view caption = {}) = 0;
  virtual void Beep(BeepKind kind = BeepKind::kDefault) = 0;
  // An existing file to open; nothing when the user cancels. `pattern` is like "*.btxml" or
  // "*.xml;*.musicxml"; `initialFolder` is where the chooser starts (empty: wherever it likes).
  virtual std::optional<std::string> PromptOpenFile(std::string_view title, std::string_view pattern,
                                                    std::string_view initialFolder = {}) = 0;
  // A file to write; nothing when the user cancels.
  virtual std::optional<std::string> PromptSaveFile(std::string_view title, std::string_view pattern,
                                                    std::string_view suggestedName,
                                                    std::string_view initialFolder = {}) = 0;
  // An existing folder; nothing when the user cancels.
  virtual std::optional<std::string> PromptFolder(std::string_view title, std::string_view initialFolder = {}) = 0;
  // One line of text, prefilled with `initial`; nothing when the user cancels.
  virtual std::optional<std::string> PromptText(std::string_view prompt, std::string_view initial,
                                                std::string_view caption = {}) = 0;
  // A whole number from `minimum` to `maximum`, prefilled with `value`; nothing when the user
  // cancels. Implementations never return a number outside the range.
  virtual std::optional<long> PromptNumber(std::string_view caption, std::string_view prompt, long minimum,
                                           long maximum, long value) = 0;
  // A short progress text for the status line of the main window ("sect.3"); nothing shows it
  // where there is no window.
  virtual void ShowStatusText(std::string_view /*text*/) {}
  // The progress of a long run over files: a window with a bar, a status line and Cancel;
  // a silent one that never cancels where there is no window.
  virtual std::unique_ptr<BatchProgress> ProgressWindow() { return std::make_unique<SilentProgress>(); }
};

// Writes messages to standard error, answers every question with its first button and every
// file, folder, text or number prompt with nothing. The default until a front end installs its own.
class ConsolePrompts : public UserPrompts {
 public:
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
};

// Passes every call on to `outer`; a subclass overrides only what it wants to see or change
// (collecting messages while an operation runs, for example).
class ForwardingPrompts : public UserPrompts {
 public:
  explicit ForwardingPrompts(UserPrompts& outer) : outer_(outer) {}
  void ShowMessage(std::string_view text, MessageKind kind, std::string_view caption) override {
    outer_.ShowMessage(text, kind, caption);
  }
  Answer Ask(std::string_view text, Buttons buttons, MessageKind kind, std::string_view caption) override {
    return outer_.Ask(text, buttons, kind, caption);
  }
  void Beep(BeepKind kind) override { outer_.Beep(kind); }
  std::optional<std::string> PromptOpenFile(std::string_view title, std::string_view pattern,
                                            std::string_view initialFolder) override {
    return outer_.PromptOpenFile(title, pattern, initialFolder);
  }
  std::optional<std::string> PromptSaveFile(std::string_view title, std::string_view pattern,
                                            std::string_view suggestedName, std::string_view initialFolder) override {
    return outer_.PromptSaveFile(title, pattern, suggestedName, initialFolder);
  }
  std::optional<std::string> PromptFolder(std::string_view title, std::string_view initialFolder) override {
    return outer_.PromptFolder(title, initialFolder);
  }
  std::optional<std::string> PromptText(std::string_view prompt, std::string_view initial,
                                        std::string_view caption) override {
    return outer_.PromptText(prompt, initial, caption);
  }
  std::optional<long> PromptNumber(std::string_view caption, std::string_view prompt, long minimum, long maximum,
                                   long value) override {
    return outer_.PromptNumber(caption, prompt, minimum, maximum, value);
  }
  void ShowStatusText(std::string_view text) override { outer_.ShowStatusText(text); }
  std::unique_ptr<BatchProgress> ProgressWindow() override { return outer_.ProgressWindow(); }

 protected:
  UserPrompts& outer() { return outer_; }

 private:
  UserPrompts& outer_;
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

// Runs an action of a window-system callback; an exception is shown as a message, never
// passed to the window system.
template <typename F>
void RunGuarded(F&& action) {
  try {
    action();
  } catch (const std::exception& e) {
    Prompts().ShowMessage(e.what(), MessageKind::kError);
  }
}

}  // namespace vornel
