// The part converter's notes: each note of the target voice with the chord notes that follow
// it, its ties, slurs, beams, stems, grace group, fermata, articulations and breath mark; and
// the wedges, dynamics and metronome marks of directions.

#include <algorithm>
#include <cctype>
#include <cmath>
#include <string>
#include <vector>

#include "import/musicxml/ImportWarnings.h"
#include "import/musicxml/WholeNoteTime.h"
#include "import/musicxml/xmlpart2vornel.h"
#include "musicxml/tree/TextNumbers.h"
#include "musicxml/visitors/browser.h"
#include "musicxml/visitors/conversions.h"

namespace vornel {

using namespace MusicXML2;

namespace {

template <typename Handle>
Handle FirstOfType(const std::vector<Handle>& list, const char* type) {
  for (const Handle& e : list) {
    if (e->getAttributeValue("type") == type) return e;
  }
  return nullptr;
}

// The note's sounding MIDI pitch (C4 is 48) as the converted tree keeps it: its written pitch
// moved by `transposition` semitones; -1 for a rest, an unpitched note and a pitch that no note
// can have.
int16_t PitchOf(const notevisitor& note, int transposition) {
  const float written = note.getPitchNumber();
  if (!std::isfinite(written) || written < 0.0f || written >= 128.0f) return -1;
  const int pitch = static_cast<int>(written) + transposition;
  return pitch < 0 || pitch >= 128 ? -1 : static_cast<int16_t>(pitch);
}

fraction NoteTypeValue(const std::string& type) { return NoteType::toFraction(NoteType::fromString(type)); }

}  // namespace

std::string xmlpart2vornel::AccidentalText(float alter) {
  double a = std::isnan(alter) ? 0.0 : std::clamp(static_cast<double>(alter), -3.0, 3.0);
  std::string text;
  while (a > 0.5) {
    text += '#';
    a -= 1;
  }
  while (a < -0.5) {
    text += '&';
    a += 1;
  }
  return text;
}

std::string xmlpart2vornel::stepName(const notevisitor& note) const {
  if (note.getKind() == notevisitor::kRest) return "_";
  std::string name = note.getStep();
  if (name.empty()) {
    ImportWarning("warning: empty note name");
    return name;
  }
  name[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
  return name;
}

vornelnoteduration xmlpart2vornel::durationOf(const notevisitor& note) const {
  if (note.getKind() == notevisitor::kRest) {
    const fraction value = DurationInWholeNotes(note.getDuration(), divisions_);
    return vornelnoteduration(value.getNumerator(), value.getDenominator(), 0);
  }
  const fraction type = NoteTypeValue(note.getTypeText());
  if (type.getNumerator() == 0) {
    // Without a value of its type, the duration holds the whole length, dots and tuplet
    // included: neither is counted again.
    const fraction value = DurationInWholeNotes(note.getDuration(), divisions_);
    return vornelnoteduration(value.getNumerator(), value.getDenominator(), 0);
  }
  const fraction value = TimeProduct(WholeNotes(type.getNumerator(), type.getDenominator()), note.getTimeModification());
  // The score's time advances by the duration: where the value, its dots and tuplet say
  // otherwise, and not only by what the divisions could not express, the duration holds the
  // length.
  if (note.getDuration() > 0 && !note.isGrace()) {
    const int32_t dots = std::clamp(note.getDots(), 0, 8);
    const fraction length = TimeProduct(value, WholeNotes((int64_t{2} << dots) - 1, int64_t{1} << dots));
    const fraction divisions = TimeProduct(length, WholeNotes(int64_t{4} * divisions_, 1));
    const int64_t below = divisions.getNumerator() / divisions.getDenominator();
    const int64_t above = below + (divisions.getNumerator() % divisions.getDenominator() != 0 ? 1 : 0);
    if (note.getDuration() != below && note.getDuration() != above) {
      const fraction duration = DurationInWholeNotes(note.getDuration(), divisions_);
      return vornelnoteduration(duration.getNumerator(), duration.getDenominator(), 0);
    }
  }
  return vornelnoteduration(value.getNumerator(), value.getDenominator(), note.getDots());
}

void xmlpart2vornel::emitNote(const notevisitor& note) {
  openTie(note.getTied());
  // The octave field is eight bits: far-off octaves only need to stay far off.
  const int octave = std::clamp(note.getOctave(), -100, 100) - 3;
  add(vornelnote::create(targetVoice_, stepName(note), octave, PitchOf(note, transposeSemitones_), durationOf(note),
                         static_cast<uint32_t>(note.getFretString()), AccidentalText(note.getAlter())));
  closeTie(note.getTied());
}

void xmlpart2vornel::visitStart(Snote& elt) {
  notevisitor::visitStart(elt);
  insideNote_ = true;
}

void xmlpart2vornel::visitEnd(Snote& elt) {
  insideNote_ = false;
  // A chord note is written with the note it follows.
  if (inChord()) return;
  const bool ours = getVoice() == targetVoice_;
  if (!isGrace()) moveMeasureTime(getDuration(), ours);
  if (!ours) return;

  jumpToStaff(getStaff());
  checkVoiceTime(measurePosition_, voicePosition_);
  if (getKind() != kRest) emitStems();
  updateGrace();
  openSlur(getSlurs());
  openBeam(getBeams());

  // The fermata, the articulations and the chord hold the note until they are popped.
  const size_t depth = stack_.size();
  if (hasFermata()) push(vorneltag::create("fermata"));
  openArticulations();
  const Sxmlelement self = elt;
  const std::vector<Sxmlelement> chordNotes = chordNotesAfter(self);
  for (const Sxmlelement& chordNote : chordNotes) emitLyrics(chordNote);
  if (!chordNotes.empty()) push(vornelchord::create());

  emitNote(*this);
  for (const Sxmlelement& chordNote : chordNotes) {
    notevisitor values;
    typed_tree_browser(&values).browse(*chordNote);
    jumpToStaff(values.getStaff());
    emitNote(values);
  }
  while (stack_.size() > depth) pop();

  closeBeam(getBeams());
  closeSlur(getSlurs());
  if (getBreathMark()) add(vorneltag::create("breathMark"));
  measureEmpty_ = false;
}

std::vector<Sxmlelement> xmlpart2vornel::chordNotesAfter(const Sxmlelement& note) {
  std::vector<Sxmlelement> notes;
  if (!currentMeasure_) return notes;
  const xmlelement::iterator last = currentMeasure_->end();
  // Notes come in document order, so each is found after the one before; one that is not
  // there lies beyond the measure, and so does every later one.
  xmlelement::iterator at = measureCursor_ ? *measureCursor_ : currentMeasure_->begin();
  while (at != last && (*at).get() != note.get()) at.forward();
  measureCursor_ = at;
  if (at == last) return notes;
  for (at.forward(); at != last; at.forward()) {
    const Sxmlelement e = *at;
    if (e->getType() != ElementType("note")) continue;
    if (e->getChildIntValue(ElementType("voice"), 0) != targetVoice_) continue;
    if (e->find(ElementType("chord")) == e->end()) break;
    notes.push_back(e);
  }
  return notes;
}

void xmlpart2vornel::emitLyrics(const Sxmlelement& note) {
  // A syllable's "syllabic" comes before its text.
  std::string syllabic;
  for (auto it = note->begin(); it != note->end(); it.forward()) {
    if ((*it)->getType() == ElementType("syllabic")) syllabic = (*it)->getValue();
    if ((*it)->getType() != ElementType("text")) continue;
    add(lyricTag((*it)->getValue(), syllabic));
    syllabic.clear();
  }
}

void xmlpart2vornel::openTie(const std::vector<Stied>& tied) {
  const Stied start = FirstOfType(tied, "start");
  if (!start) return;
  Svornelelement tag = vorneltag::create("tieBegin");
  const std::string number = start->getAttributeValue("number");
  if (!number.empty()) tag->add(vornelparam::create(number, false));
  // The placement: 0 above, 1 below, 2 not given (the notes decide).
  const std::string placement = start->getAttributeValue("placement");
  tag->add(vornelparam::create(placement == "above" ? 0 : placement == "below" ? 1 : 2, false));
  add(tag);
}

void xmlpart2vornel::closeTie(const std::vector<Stied>& tied) {
  const Stied stop = FirstOfType(tied, "stop");
  if (!stop) return;
  Svornelelement tag = vorneltag::create("tieEnd");
  const std::string number = stop->getAttributeValue("number");
  if (!number.empty()) tag->add(vornelparam::create(number, false));
  add(tag);
}

void xmlpart2vornel::openSlur(const std::vector<Sslur>& slurs) {
  const Sslur start = FirstOfType(slurs, "start");
  if (!start) return;
  Svornelelement tag = vorneltag::create("slurBegin");
  tag->add(vornelparam::create(AtoI(start->getAttributeValue("number")), false));
  // The placement: 0 above, 1 below, 2 not given (the notes decide).
  const std::string placement = start->getAttributeValue("placement");
  tag->add(vornelparam::create(placement == "above" ? 0 : placement == "below" ? 1 : 2, false));
  add(tag);
}

void xmlpart2vornel::closeSlur(const std::vector<Sslur>& slurs) {
  const Sslur stop = FirstOfType(slurs, "stop");
  if (!stop) return;
  const std::string number = stop->getAttributeValue("number");
  Svornelelement tag = vorneltag::create("slurEnd");
  tag->add(vornelparam::create(number.empty() ? -1 : AtoI(number), true));
  add(tag);
}

void xmlpart2vornel::openBeam(const std::vector<Sbeam>& beams) {
  if (beamOpen_) return;
  for (const Sbeam& beam : beams) {
    if (beam->getValue() != "begin") continue;
    beamNumber_ = beam->getAttributeIntValue("number", 1);
    beamTag_ = vorneltag::create("beam");
    push(beamTag_);
    beamOpen_ = true;
    return;
  }
}

void xmlpart2vornel::closeBeam(const std::vector<Sbeam>& beams) {
  for (const Sbeam& beam : beams) {
    if (!beamOpen_) return;
    if (beam->getValue() != "end" || beam->getAttributeIntValue("number", 1) != beamNumber_) continue;
    closeContainer(beamTag_);
    beamTag_ = nullptr;
    beamOpen_ = false;
    beamNumber_ = 0;
  }
}

void xmlpart2vornel::emitStems() {
  struct Stem {
    const char* text;
    const char* tag;
    int direction;
  };
  static constexpr Stem kStems[] = {{"down", "stemsDown", 2}, {"up", "stemsUp", 1}, {"none", "stemsOff", 3}};
  const Sstem& stem = getStem();
  const Stem* wanted = nullptr;
  static constexpr Stem kAuto = {"", "stemsAuto", 0};
  if (!stem) {
    wanted = &kAuto;
  } else {
    for (const Stem& s : kStems) {
      if (stem->getValue() == s.text) wanted = &s;
    }
  }
  if (wanted == nullptr || wanted->direction == stemDirection_) return;
  add(vorneltag::create(wanted->tag));
  stemDirection_ = wanted->direction;
}

void xmlpart2vornel::updateGrace() {
  if (isGrace() && !inGrace_) {
    graceTag_ = vorneltag::create("grace");
    push(graceTag_);
    inGrace_ = true;
  } else if (!isGrace() && inGrace_) {
    closeGrace();
  }
}

void xmlpart2vornel::openArticulations() {
  if (getAccent()) push(vorneltag::create("accent"));
  if (getStrongAccent()) push(vorneltag::create("marcato"));
  if (getStaccato()) push(vorneltag::create("stacc"));
  if (getTenuto()) push(vorneltag::create("ten"));
}

void xmlpart2vornel::visitStart(Swedge& elt) {
  if (skipDirection_) return;
  const std::string type = elt->getAttributeValue("type");
  const char* tag = nullptr;
  if (type == "crescendo") {
    tag = "crescBegin";
    crescendoPending_ = true;
  } else if (type == "diminuendo") {
    tag = "dimBegin";
    crescendoPending_ = false;
  } else if (type == "stop") {
    tag = crescendoPending_ ? "crescEnd" : "dimEnd";
  }
  if (tag == nullptr) return;
  Svornelelement wedge = vorneltag::create(tag);
  addPlacement(wedge);
  addDirectionElement(wedge);
}

void xmlpart2vornel::visitStart(Sdynamics& elt) {
  if (skipDirection_) return;
  // The dynamics of a note's notations belong to that note's voice.
  if (insideNote_ && getVoice() != targetVoice_) return;
  for (const Sxmlelement& child : elt->elements()) {
    if (!child || child->getType() == ElementType("other-dynamics")) continue;
    Svornelelement tag = vorneltag::create("intens");
    tag->add(vornelparam::create(child->getName(), true));
    addPlacement(tag);
    addDirectionElement(tag);
  }
}

void xmlpart2vornel::visitEnd(Smetronome& elt) {
  if (skipDirection_) return;
  metronomevisitor::visitEnd(elt);
  if (beats.size() != 1 || perMinute == 0) return;
  fraction value = NoteTypeValue(beats.front().unit);
  // Each dot multiplies the value by 3/2; the value saturates long before 16 dots.
  for (int32_t dot = 0; dot < beats.front().dots && dot < 16; ++dot) value = TimeProduct(value, fraction(3, 2));
  value = WholeNotes(value.getNumerator(), value.getDenominator());
  Svornelelement tag = vorneltag::create("tempo");
  tag->add(vornelparam::create("tempo=\"[" + value.toString() + "] = " + std::to_string(perMinute) + "\"", false));
  addDirectionElement(tag);
}

}  // namespace vornel
