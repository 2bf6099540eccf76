#include "import/musicxml/xmlpart2vornel.h"

#include <algorithm>

namespace vornel {

xmlpart2vornel::xmlpart2vornel(bool generateComments, bool generateStems, bool generateBars)
    : generateComments_(generateComments), generateStems_(generateStems), generateBars_(generateBars) {
  VoiceNoteStatus().reset();
}

void xmlpart2vornel::initialize(const Svornelelement& sequence, int staff, int staffIndex, int voice, bool notesOnly,
                                const fraction& timeSignature) {
  targetStaff_ = currentStaff_ = staff;
  staffIndex_ = staffIndex;
  targetVoice_ = voice;
  notesOnly_ = notesOnly;
  currentTimeSign_ = timeSignature;
  stack_.push_back(sequence);
  stackFloor_ = stack_.size();
}

void xmlpart2vornel::add(const Svornelelement& element) {
  if (!stack_.empty() && stack_.back()) stack_.back()->add(element);
}

void xmlpart2vornel::push(const Svornelelement& element) {
  add(element);
  stack_.push_back(element);
}

void xmlpart2vornel::pop() {
  if (stack_.size() > stackFloor_) stack_.pop_back();
}

Svornelelement xmlpart2vornel::current() const { return stack_.empty() ? Svornelelement() : stack_.back(); }

void xmlpart2vornel::closeContainer(const Svornelelement& element) {
  if (!element) return;
  const auto found = std::find(stack_.begin() + static_cast<std::ptrdiff_t>(stackFloor_), stack_.end(), element);
  if (found == stack_.end()) return;
  while (stack_.size() > static_cast<size_t>(found - stack_.begin())) stack_.pop_back();
  // What was open inside it is closed with it.
  const auto open = [this](const Svornelelement& e) {
    return std::find(stack_.begin(), stack_.end(), e) != stack_.end();
  };
  if (graceTag_ && !open(graceTag_)) {
    graceTag_ = nullptr;
    inGrace_ = false;
  }
  if (beamTag_ && !open(beamTag_)) {
    beamTag_ = nullptr;
    beamOpen_ = false;
    beamNumber_ = 0;
  }
  if (voltaTag_ && !open(voltaTag_)) voltaTag_ = nullptr;
}

void xmlpart2vornel::closeGrace() {
  if (inGrace_) closeContainer(graceTag_);
  inGrace_ = false;
  graceTag_ = nullptr;
}

}  // namespace vornel
