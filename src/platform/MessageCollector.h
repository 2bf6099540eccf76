#pragma once
// Collects the messages given while it is installed, one a line, instead of showing them;
// questions and file and text prompts go on to the prompts that were in force before.

#include <string>
#include <string_view>

#include "platform/UserPrompts.h"

namespace vornel {

class MessageCollector : public ForwardingPrompts {
 public:
  MessageCollector() : ForwardingPrompts(Prompts()), scope_(*this) {}

  void ShowMessage(std::string_view text, MessageKind, std::string_view) override {
    if (!messages.empty()) messages += '\n';
    messages.append(text);
  }

  std::string messages;

 private:
  ScopedPrompts scope_;
};

}  // namespace vornel
