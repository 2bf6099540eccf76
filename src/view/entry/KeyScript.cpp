#include "view/entry/KeyScript.h"

#include <deque>

#include "document/CBriotabDoc.h"
#include "platform/UserPrompts.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/text/NumberText.h"
#include "view/core/CBriotabView.h"
#include "view/entry/KeyInput.h"
#include "view/entry/NoteEntry.h"

namespace vornel::view {

namespace {

// The questions of the script answered in turn; everything else goes on to the prompts in
// force.
class AnsweringPrompts : public ForwardingPrompts {
 public:
  using ForwardingPrompts::ForwardingPrompts;
  Answer Ask(std::string_view text, Buttons buttons, MessageKind kind, std::string_view caption) override {
    if (answers.empty()) return ForwardingPrompts::Ask(text, buttons, kind, caption);
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::deque<Answer> answers;
};

void Repaint(CBriotabView& view) {
  RecordingDevice dc(96, false);
  dc.SetExtent(view.Window().ClientSize());
  view.OnPrepareDC(dc);
  view.OnDraw(dc);
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

}  // namespace

bool ReplayKeyScript(CBriotabView& view, std::string_view script, std::string* error) {
  AnsweringPrompts prompts(Prompts());
  ScopedPrompts scoped(prompts);
  Repaint(view);
  size_t number = 0;
  while (!script.empty()) {
    const size_t end = script.find('\n');
    const std::string_view line = Trim(script.substr(0, end));
    script.remove_prefix(end == std::string_view::npos ? script.size() : end + 1);
    ++number;
    if (line.empty() || line.front() == '#') continue;
    const size_t space = line.find(' ');
    const std::string_view verb = line.substr(0, space);
    const std::string_view rest = space == std::string_view::npos ? std::string_view() : Trim(line.substr(space + 1));
    bool read = false;
    if (verb == "key" || verb == "char") {
      // Pressed and released as on a US keyboard, through the path the window's keys take.
      std::optional<KeyEvent> key;
      char32_t typed = 0;
      if (verb == "key") {
        key = ParseKeyName(rest);
        if (key) typed = TypedCharacter(*key);
      } else if (rest.size() == 1 || rest == "space") {
        typed = rest.size() == 1 ? static_cast<unsigned char>(rest[0]) : U' ';
        key = KeyTyping(typed);
      }
      if (key) {
        view.Entry().PressKey(*key, typed);
        if (key->key != 0) view.Entry().OnKeyUp(*key);
        read = true;
      }
    } else if (verb == "cmd") {
      const size_t gap = rest.find(' ');
      uint32_t id = 0;
      // An id the view does not carry is a mistake of the script, not a command that did nothing.
      if (ScanInt(rest.substr(0, gap), id) && id < 0x10000 && view.Commands().Contains(static_cast<int>(id))) {
        const CBriotabDoc::UnchangedStepCheck check(view.Document());
        CommandEvent event{static_cast<int>(id), std::nullopt, {}};
        uint32_t value = 0;
        if (gap != std::string_view::npos && ScanInt(Trim(rest.substr(gap + 1)), value)) event.value = value;
        view.Commands().Execute(event);
        read = true;
      }
    } else if (verb == "answer") {
      read = true;
      if (rest == "yes") {
        prompts.answers.push_back(Answer::kYes);
      } else if (rest == "no") {
        prompts.answers.push_back(Answer::kNo);
      } else if (rest == "ok") {
        prompts.answers.push_back(Answer::kOk);
      } else if (rest == "cancel") {
        prompts.answers.push_back(Answer::kCancel);
      } else {
        read = false;
      }
    }
    if (!read) {
      if (error != nullptr) *error = "line " + std::to_string(number) + ": " + std::string(line);
      return false;
    }
    Repaint(view);
  }
  return true;
}

}  // namespace vornel::view
