#pragma once

#include "platform/UserPrompts.h"

class wxWindow;

namespace vornel {

// The prompts of the editor: message boxes, file and text dialogs and the system beep.
class WxPrompts : public UserPrompts {
 public:
  explicit WxPrompts(wxWindow* parent = nullptr) : parent_(parent) {}
  void SetParent(wxWindow* parent) { parent_ = parent; }

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
  std::unique_ptr<BatchProgress> ProgressWindow() override;

 private:
  wxWindow* parent_;
};

}  // namespace vornel
