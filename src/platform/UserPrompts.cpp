#include "platform/UserPrompts.h"

#include <cstdio>
#include <string>

namespace vornel {

namespace {

UserPrompts* g_current = nullptr;

const char* KindLabel(MessageKind kind) {
  switch (kind) {
    case MessageKind::kWarning: return "warning: ";
    case MessageKind::kError: return "error: ";
    default: return "";
  }
}

}  // namespace

void ConsolePrompts::ShowMessage(std::string_view text, MessageKind kind, std::string_view) {
  std::fprintf(stderr, "%s%.*s\n", KindLabel(kind), static_cast<int>(text.size()), text.data());
}

Answer ConsolePrompts::Ask(std::string_view text, Buttons buttons, MessageKind kind, std::string_view caption) {
  ShowMessage(text, kind, caption);
  return buttons == Buttons::kOk || buttons == Buttons::kOkCancel ? Answer::kOk : Answer::kYes;
}

void ConsolePrompts::Beep(BeepKind) {}

std::optional<std::string> ConsolePrompts::PromptOpenFile(std::string_view, std::string_view, std::string_view) {
  return std::nullopt;
}

std::optional<std::string> ConsolePrompts::PromptSaveFile(std::string_view, std::string_view, std::string_view,
                                                          std::string_view) {
  return std::nullopt;
}

std::optional<std::string> ConsolePrompts::PromptFolder(std::string_view, std::string_view) { return std::nullopt; }

std::optional<std::string> ConsolePrompts::PromptText(std::string_view, std::string_view, std::string_view) {
  return std::nullopt;
}

std::optional<long> ConsolePrompts::PromptNumber(std::string_view, std::string_view, long, long, long) {
  return std::nullopt;
}

UserPrompts& Prompts() {
  static ConsolePrompts console;
  return g_current != nullptr ? *g_current : console;
}

ScopedPrompts::ScopedPrompts(UserPrompts& prompts) : previous_(g_current) { g_current = &prompts; }

ScopedPrompts::~ScopedPrompts() { g_current = previous_; }

}  // namespace vornel
