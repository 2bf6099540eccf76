#include "import/musicxml/xmlpart2vornel.h"

namespace vornel {

xmlpart2vornel::xmlpart2vornel(bool generateComments, bool generateStems, bool generateBars)
    : generateComments_(generateComments), generateStems_(generateStems), generateBars_(generateBars) {
  VoiceNoteStatus().reset();
}

void xmlpart2vornel::initialize(const Svornelelement& sequence, int staff, int staffIndex, int voice,
                                bool notesOnly, const fraction& timeSignature) {
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

void xmlpart2vornel::visitStart(Spart&) {
  VoiceNoteStatus().reset();
  beamNumber_ = 0;
  skipDirection_ = false;
  crescendoPending_ = false;
  inCue_ = false;
  inGrace_ = false;
  inhibitNextBar_ = false;
  pendingBar_ = false;
  beamOpen_ = false;
  stemDirection_ = 0;
  directionOffset_ = 0;
  octaveShift_ = 0;
  measureNumber_ = 0;
  divisions_ = 1;
  // Browsed without initialize, the converter writes into a sequence of its own.
  if (!current()) {
    stack_.push_back(vornelseq::create(targetStaff_));
    stackFloor_ = stack_.size();
  }
}

}  // namespace vornel
