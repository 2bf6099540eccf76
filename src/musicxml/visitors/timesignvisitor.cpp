#include "musicxml/visitors/timesignvisitor.h"

#include "musicxml/tree/TextNumbers.h"

namespace vornel::MusicXML2 {

void timesignvisitor::reset() {
  senzaMisura = false;
  currentBeats.clear();
  timeSigns.clear();
  staffNumber = -1;
  symbol.clear();
}

fraction timesignvisitor::getTimeSign(uint32_t index) const {
  if (index >= timeSigns.size()) return fraction(0, 1);
  const int32_t beats = AtoI(timeSigns[index].first);
  const int32_t beatType = AtoI(timeSigns[index].second);
  if (beats == 0 || beatType == 0) return fraction(0, 1);
  return fraction(beats, beatType);
}

void timesignvisitor::visitStart(Stime& elt) {
  reset();
  staffNumber = elt->getAttributeIntValue("number", -1);
  symbol = elt->getAttributeValue("symbol");
}

void metronomevisitor::reset() {
  beats.clear();
  perMinute = 0;
  resetBeat(currentBeat);
}

void metronomevisitor::resetBeat(beat& b) {
  b.unit.clear();
  b.dots = 0;
}

void metronomevisitor::closeBeat() {
  if (currentBeat.unit.empty()) return;
  beats.push_back(currentBeat);
  resetBeat(currentBeat);
}

void metronomevisitor::visitEnd(Smetronome&) { closeBeat(); }

void metronomevisitor::visitStart(Sbeat_unit& elt) {
  closeBeat();
  currentBeat.unit = elt->getValue();
}

}  // namespace vornel::MusicXML2
