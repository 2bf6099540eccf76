#include "musicxml/visitors/partsummary.h"

namespace vornel::MusicXML2 {

void partsummary::visitStart(Spart&) {
  stavesCount = 1;
  voiceNotes.clear();
  staffVoiceNotes.clear();
}

void partsummary::visitStart(Sstaves& elt) { stavesCount = elt->getIntValue(); }

void partsummary::visitEnd(Snote&) {
  ++voiceNotes[voice];
  ++staffVoiceNotes[staff][voice];
}

SMARTP<smartlist<int>> partsummary::getVoices() const {
  SMARTP<smartlist<int>> list = smartlist<int>::create();
  for (const auto& [voiceNumber, notes] : voiceNotes) list->push_back(voiceNumber);
  return list;
}

SMARTP<smartlist<int>> partsummary::getStaves(int32_t voiceNumber) const {
  SMARTP<smartlist<int>> list = smartlist<int>::create();
  for (const auto& [staffNumber, voices] : staffVoiceNotes) {
    if (voices.contains(voiceNumber)) list->push_back(staffNumber);
  }
  return list;
}

int32_t partsummary::getMainStaff(int32_t voiceNumber) const {
  int32_t best = 0;
  int32_t main = 0;
  const SMARTP<smartlist<int>> staves = getStaves(voiceNumber);
  for (const int staffNumber : *staves) {
    const auto& voices = staffVoiceNotes.at(staffNumber);
    const auto found = voices.find(voiceNumber);
    const int32_t count = found == voices.end() ? 0 : found->second;
    if (count > best) {
      best = count;
      main = staffNumber;
    }
  }
  return main;
}

}  // namespace vornel::MusicXML2
