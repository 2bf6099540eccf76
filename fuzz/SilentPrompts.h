#pragma once
// Prompts for the fuzz targets: messages and beeps are expected and shown to no one, every
// question is cancelled and every file prompt answered with nothing.

#include <optional>
#include <string>
#include <string_view>

#include "platform/UserPrompts.h"

namespace vornel::fuzzing {

class SilentPrompts : public UserPrompts {
 public:
  void ShowMessage(std::string_view, MessageKind, std::string_view) override {}
  Answer Ask(std::string_view, Buttons, MessageKind, std::string_view) override { return Answer::kCancel; }
  void Beep(BeepKind) override {}
  std::optional<std::string> PromptOpenFile(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> PromptSaveFile(std::string_view, std::string_view, std::string_view,
                                            std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> PromptFolder(std::string_view, std::string_view) override { return std::nullopt; }
  std::optional<std::string> PromptText(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  std::optional<long> PromptNumber(std::string_view, std::string_view, long, long, long) override {
    return std::nullopt;
  }
};

}  // namespace vornel::fuzzing
