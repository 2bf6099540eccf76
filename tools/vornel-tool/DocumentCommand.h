#pragma once
// What the commands on documents share: opening a file by the system's own open path, and
// the system's messages printed on the standard error stream.

#include <cstdio>
#include <memory>
#include <string>

#include "document/DocumentFiles.h"
#include "platform/UserPrompts.h"

namespace vornel::tool {

// The system's messages, one per line, without a label, on the standard error stream.
class PrintedPrompts : public ConsolePrompts {
 public:
  void ShowMessage(std::string_view text, MessageKind, std::string_view) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
  }
};

// The document at `path` in any form the system reads, or null. The messages the system gave
// while opening go to the standard error stream.
inline std::unique_ptr<CVornelTabDoc> OpenDocument(const std::string& path) {
  OpenedDocument opened = OpenDocumentFile(path);
  if (!opened.message.empty()) std::fprintf(stderr, "%s\n", opened.message.c_str());
  return std::move(opened.document);
}

}  // namespace vornel::tool
