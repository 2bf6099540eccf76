#pragma once
// What the commands on documents share: opening a file by the system's own open path, and
// the system's messages printed on the standard error stream.

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "document/DocumentFiles.h"
#include "model/score/CSectionArray.h"
#include "platform/UserPrompts.h"
#include "platform/text/NumberText.h"

namespace vornel::tool {

// The system's messages, one per line, without a label, on the standard error stream; it
// counts them.
class PrintedPrompts : public ConsolePrompts {
 public:
  void ShowMessage(std::string_view text, MessageKind, std::string_view) override {
    std::fprintf(stderr, "%.*s\n", static_cast<int>(text.size()), text.data());
    ++shown;
  }
  int shown = 0;
};

// The document at `path` in any form the system reads, or null. The messages the system gave
// while opening go to the standard error stream.
inline std::unique_ptr<CVornelTabDoc> OpenDocument(const std::string& path) {
  OpenedDocument opened = OpenDocumentFile(path);
  if (!opened.message.empty()) std::fprintf(stderr, "%s\n", opened.message.c_str());
  return std::move(opened.document);
}

// Section `number` of the document, counted from 1 as the sections pane lists them, or the
// active one; null (after saying why) when there is no such section. The number is checked
// before it becomes an index, so that no value overflows.
inline CSystemArray* ChooseSection(CVornelTabDoc* doc, std::optional<long> number, const std::string& path) {
  CSectionArray* sections = doc ? &doc->sections : nullptr;
  if (sections == nullptr || sections->empty()) {
    std::fprintf(stderr, "%s: no section could be read\n", path.c_str());
    return nullptr;
  }
  const long n = number ? *number : std::max<long>(sections->activeSection, 0) + 1;
  if (n < 1 || static_cast<unsigned long>(n) > sections->size()) {
    std::fprintf(stderr, "%s: there is no section %ld\n", path.c_str(), n);
    return nullptr;
  }
  return sections->at(static_cast<size_t>(n - 1));
}

// A whole number of `text` within low..high.
inline bool ScanNumber(const std::string& text, int32_t low, int32_t high, int32_t& value) {
  uint32_t scanned = 0;
  if (!ScanInt(text, scanned) || scanned > static_cast<uint32_t>(high)) return false;
  value = static_cast<int32_t>(scanned);
  return value >= low;
}

// "--pages A-B" or "--pages A": pages counted from 1, the first not after the last.
inline bool ScanPageRange(const std::string& text, int32_t& first, int32_t& last) {
  const size_t dash = text.find('-');
  if (dash == std::string::npos) {
    if (!ScanNumber(text, 1, 100000, first)) return false;
    last = first;
    return true;
  }
  return ScanNumber(text.substr(0, dash), 1, 100000, first) && ScanNumber(text.substr(dash + 1), 1, 100000, last) &&
         first <= last;
}

}  // namespace vornel::tool
