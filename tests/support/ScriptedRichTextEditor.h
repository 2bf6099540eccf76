#pragma once
// A rich-text editor for tests, installed for its lifetime: answers OK with `answer` (the
// length reported is its size, so an empty answer is a cleared text) or Cancel without one,
// and notes every text it was opened on.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/text/RichTextEditor.h"

namespace vornel::testing {

class ScriptedRichTextEditor : public RichTextEditor {
 public:
  ScriptedRichTextEditor() : scope_(*this) {}
  bool Edit(std::string& rtf, bool, int32_t& length) override {
    seen.push_back(rtf);
    if (!answer) return false;
    rtf = *answer;
    length = static_cast<int32_t>(rtf.size());
    return true;
  }
  std::optional<std::string> answer;
  std::vector<std::string> seen;

 private:
  ScopedRichTextEditor scope_;
};

}  // namespace vornel::testing
