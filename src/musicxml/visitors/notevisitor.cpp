#include "musicxml/visitors/notevisitor.h"

#include <cmath>

#include "musicxml/visitors/conversions.h"

namespace vornel::MusicXML2 {

int32_t stepIndex(const std::string& step) {
  if (step.size() != 1) return -1;
  switch (step[0]) {
    case 'C': return 0;
    case 'D': return 1;
    case 'E': return 2;
    case 'F': return 3;
    case 'G': return 4;
    case 'A': return 5;
    case 'B': return 6;
    default: return -1;
  }
}

notevisitor::notevisitor() { reset(); }

notevisitor::~notevisitor() = default;

void notevisitor::reset() {
  stem = nullptr;
  accent = nullptr;
  strongAccent = nullptr;
  staccato = nullptr;
  tenuto = nullptr;
  breathMark = nullptr;
  grace = cue = chord = fermata = false;
  kind = kUndefined;
  dots = tie = duration = 0;
  dynamics = -1;
  step.clear();
  // A note without a type has none: it does not inherit the previous note's.
  typeText.clear();
  alter = 0;
  octave = staff = voice = fretString = 0;
  timeModification = fraction(1, 1);
  instrument.clear();
  tied.clear();
  slurs.clear();
  beams.clear();
}

float notevisitor::getPitchNumber() const {
  if (kind != kPitched) return -1.0f;
  const int32_t index = stepIndex(getStep());
  if (index < 0) return -1.0f;
  static constexpr int kSemitones[] = {0, 2, 4, 5, 7, 9, 11};
  const float pitch = static_cast<float>(getOctave() * 12.0 + kSemitones[index]);
  return pitch + getAlter();
}

void notevisitor::print(std::ostream& out) const {
  if (grace) out << "grace ";
  if (cue) out << "cue ";
  switch (kind) {
    case kUndefined:
      out << "type undefined";
      break;
    case kUnpitched:
      out << "unpitched note - duration " << getDuration() << " ";
      break;
    case kRest:
      out << "rest - duration " << getDuration() << " ";
      break;
    case kPitched: {
      out << "note " << getStep();
      // The alteration rounded to the nearest integer, halves away from zero. Absurd values
      // from a hostile file are held to a few signs.
      const double a = getAlter();
      const double n = std::isnan(a) ? 0.0 : std::round(std::fmax(-16.0, std::fmin(16.0, a)));
      for (int i = 0; i < static_cast<int>(std::fabs(n)); ++i) out << (n < 0 ? "b" : "#");
      out << getOctave() << " (" << getPitchNumber() << ")"
          << " - duration " << getDuration() << " ";
      break;
    }
    default:
      out << "unknown type " << kind << " ";
  }
  if (chord) out << "in chord ";
  if (tie & StartStop::start) out << "- tie start ";
  if (tie & StartStop::stop) out << "- tie stop ";
  if (!getInstrument().empty()) out << "instrument " << getInstrument() << " ";
  if (getDynamics() >= 0) out << "dynamics " << getDynamics();
}

void notevisitor::visitStart(Snote& elt) {
  inNote = true;
  reset();
  dynamics = static_cast<int32_t>(elt->getAttributeLongValue("dynamics", -1));
}

void notevisitor::visitStart(Spitch&) { kind = kPitched; }

void notevisitor::visitStart(Sunpitched&) {
  if (inNote) kind = kUnpitched;
}

void notevisitor::visitStart(Srest&) { kind = kRest; }

void notevisitor::visitStart(Sstep& elt) {
  if (inNote) step = elt->getValue();
}

void notevisitor::visitStart(Sdisplay_step& elt) {
  if (inNote) step = elt->getValue();
}

void notevisitor::visitStart(Salter& elt) {
  if (inNote) alter = elt->getFloatValue();
}

void notevisitor::visitStart(Soctave& elt) {
  if (inNote) octave = elt->getIntValue();
}

void notevisitor::visitStart(Sdisplay_octave& elt) {
  if (inNote) octave = elt->getIntValue();
}

void notevisitor::visitStart(Sduration& elt) {
  if (inNote) duration = elt->getIntValue();
}

void notevisitor::visitStart(Sdot&) {
  if (inNote) ++dots;
}

void notevisitor::visitStart(Stype& elt) {
  if (inNote) typeText = elt->getValue();
}

void notevisitor::visitStart(Sinstrument& elt) {
  if (inNote) instrument = elt->getValue();
}

void notevisitor::visitStart(Sstaff& elt) { staff = elt->getIntValue(); }

void notevisitor::visitStart(Svoice& elt) { voice = elt->getIntValue(); }

void notevisitor::visitStart(Schord&) { chord = true; }

void notevisitor::visitStart(Scue&) { cue = true; }

void notevisitor::visitStart(Sgrace&) { grace = true; }

void notevisitor::visitStart(Sfermata&) { fermata = true; }

void notevisitor::visitStart(Stie& elt) { tie |= StartStop::fromString(elt->getAttributeValue("type")); }

void notevisitor::visitStart(Stied& elt) { tied.push_back(elt); }

void notevisitor::visitStart(Sslur& elt) { slurs.push_back(elt); }

void notevisitor::visitStart(Sbeam& elt) { beams.push_back(elt); }

void notevisitor::visitStart(Sstem& elt) { stem = elt; }

void notevisitor::visitStart(Saccent& elt) { accent = elt; }

void notevisitor::visitStart(Sstrong_accent& elt) { strongAccent = elt; }

void notevisitor::visitStart(Sstaccato& elt) { staccato = elt; }

void notevisitor::visitStart(Stenuto& elt) { tenuto = elt; }

void notevisitor::visitStart(Sbreath_mark& elt) { breathMark = elt; }

void notevisitor::visitStart(Stime_modification& elt) {
  const int32_t normal = elt->getChildIntValue(ElementType("normal-notes"), 1);
  const int32_t actual = elt->getChildIntValue(ElementType("actual-notes"), 1);
  // A count that is not positive is no time modification.
  timeModification = normal > 0 && actual > 0 ? fraction(normal, actual) : fraction(1, 1);
}

void notevisitor::visitStart(Stechnical& elt) {
  int32_t fret = 0;
  int32_t string = 0;
  for (auto it = elt->begin(); it != elt->end(); ++it) {
    if ((*it)->getType() == ElementType("fret")) fret = (*it)->getIntValue();
    if ((*it)->getType() == ElementType("string")) string = (*it)->getIntValue();
  }
  // Frets outside 0 to 255 and strings below 1 are absent: they would overlap the other field.
  if (fret < 0 || fret > 255) fret = 0;
  if (string < 0) string = 0;
  fretString = static_cast<int32_t>(static_cast<uint32_t>(string) << 8 | static_cast<uint32_t>(fret));
}

}  // namespace vornel::MusicXML2
