// The part converter's measure flow and attributes: parts, measures with their owed bar,
// divisions, backup and forward, barlines and repeats, time signatures and clefs.

#include <algorithm>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "import/musicxml/ImportWarnings.h"
#include "import/musicxml/WholeNoteTime.h"
#include "import/musicxml/xmlpart2vornel.h"
#include "model/instrument/CKey.h"
#include "musicxml/tree/TextNumbers.h"

namespace vornel {

using namespace MusicXML2;

namespace {

// The text read back as one word, as a stream would read it.
std::string FirstWord(const std::string& text) {
  std::istringstream in(text);
  std::string word;
  in >> word;
  return word;
}

// The beats and beat-type pairs of the time element itself, in order (those of an
// interchangeable time are another way to show the same measure).
std::vector<std::pair<std::string, std::string>> OwnTimePairs(const Sxmlelement& time) {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::string beats;
  for (const Sxmlelement& child : time->elements()) {
    if (!child) continue;
    if (child->getType() == ElementType("beats")) beats = child->getValue();
    if (child->getType() == ElementType("beat-type")) pairs.emplace_back(beats, child->getValue());
  }
  return pairs;
}

// A pair's value; beats of several terms ("3+2") count as their sum. 0/1 when a term is not a
// count of beats.
fraction PairValue(const std::pair<std::string, std::string>& pair) {
  constexpr int64_t kMostBeats = 1 << 16;
  int64_t beats = 0;
  size_t at = 0;
  while (at <= pair.first.size()) {
    const size_t plus = std::min(pair.first.find('+', at), pair.first.size());
    const int32_t term = AtoI(std::string_view(pair.first).substr(at, plus - at));
    if (term <= 0) return fraction(0, 1);
    beats += term;
    if (beats > kMostBeats) return fraction(0, 1);
    at = plus + 1;
  }
  const int32_t beatType = AtoI(pair.second);
  if (beatType <= 0) return fraction(0, 1);
  return fraction(static_cast<int32_t>(beats), beatType);
}

// The number of a measure, when its "number" starts with a digit.
std::optional<int32_t> MeasureNumber(const Sxmlelement& measure) {
  const std::string number = measure->getAttributeValue("number");
  if (number.empty() || number[0] < '0' || number[0] > '9') return std::nullopt;
  return AtoI(number);
}

// The number the part's first measure takes: its own; a pickup left out of the count, whose
// next measure has the same number, one less. 1 when the first measure has no number.
int32_t FirstMeasureNumber(const Sxmlelement& part) {
  constexpr int32_t kHighest = 9999;
  std::vector<Sxmlelement> measures;
  for (const Sxmlelement& child : part->elements()) {
    if (child && child->getType() == ElementType("measure")) measures.push_back(child);
    if (measures.size() == 2) break;
  }
  if (measures.empty()) return 1;
  const std::optional<int32_t> first = MeasureNumber(measures[0]);
  if (!first) return 1;
  int32_t number = *first;
  if (measures.size() == 2 && measures[0]->getAttributeValue("implicit") == "yes" &&
      MeasureNumber(measures[1]) == first) {
    --number;
  }
  return std::clamp(number, 0, kHighest);
}

}  // namespace

void xmlpart2vornel::visitStart(Spart& elt) {
  VoiceNoteStatus().reset();
  transposeSemitones_ = transposeSteps_ = 0;
  previousBarHidden_ = false;
  beamNumber_ = 0;
  skipDirection_ = false;
  crescendoPending_ = false;
  inGrace_ = false;
  inhibitNextBar_ = false;
  pendingBar_ = false;
  beamOpen_ = false;
  graceTag_ = beamTag_ = voltaTag_ = nullptr;
  stemDirection_ = 0;
  directionOffset_ = 0;
  measureNumber_ = 0;
  divisions_ = 1;
  // Browsed without initialize, the converter writes into a sequence of its own.
  if (!current()) {
    stack_.push_back(vornelseq::create(targetStaff_));
    stackFloor_ = stack_.size();
  }
  const int32_t firstNumber = FirstMeasureNumber(elt);
  if (notesOnly_ || firstNumber == 1) return;
  Svornelelement first = vorneltag::create("firstBar");
  first->add(vornelparam::create(firstNumber, false));
  add(first);
}

void xmlpart2vornel::visitStart(Smeasure& elt) {
  // A measure the count leaves out is a pickup, or the rest of a measure behind an invisible
  // bar line (no bar of its own); after a bar line that shows, its bar is not numbered.
  const bool implicit = elt->getAttributeValue("implicit") == "yes";
  if (implicit && (measureNumber_ == 0 || previousBarHidden_)) pendingBar_ = false;
  unnumberedMeasure_ = implicit && measureNumber_ > 0 && !previousBarHidden_;
  previousBarHidden_ = false;
  if (pendingBar_) {
    // A forward repeat opening the measure stands for its bar.
    const xmlelement::iterator repeat = elt->find(ElementType("repeat"));
    const bool forwardRepeat = repeat != elt->end() && (*repeat)->getAttributeValue("direction") == "forward";
    if (!forwardRepeat) {
      jumpToStaff(targetStaff_);
      Svornelelement bar = vorneltag::create("bar");
      bar->add(vornelparam::create(measureNumber_, false));
      add(bar);
    }
  }
  currentMeasure_ = elt;
  measureCursor_.reset();
  if (measureNumber_ < INT32_MAX) ++measureNumber_;
  measureLength_ = measurePosition_ = voicePosition_ = fraction(0, 1);
  inhibitNextBar_ = false;
  pendingBar_ = false;
  measureEmpty_ = true;
  if (generateComments_) add(vornelelement::create("\n   (* meas. " + std::to_string(measureNumber_) + " *) "));
}

void xmlpart2vornel::visitEnd(Smeasure&) {
  closeGrace();
  // The bar line that opened a measure the count leaves out is not numbered.
  if (unnumberedMeasure_) add(vorneltag::create("skipNumber"));
  checkVoiceTime(measureLength_, voicePosition_);
  if (!inhibitNextBar_) {
    pendingBar_ = generateBars_ || (!measureEmpty_ && TimeLess(voicePosition_, measureLength_));
  }
}

void xmlpart2vornel::visitStart(Sdivisions& elt) {
  const int32_t value = elt->getIntValue();
  if (value <= 0) {
    ImportWarning("warning: divisions of " + std::to_string(value) + " left out, keeping " +
                  std::to_string(divisions_));
    return;
  }
  divisions_ = value;
}

void xmlpart2vornel::moveMeasureTime(int32_t duration, bool moveVoice) {
  const fraction time = DurationInWholeNotes(duration, divisions_);
  measurePosition_ = TimeSum(measurePosition_, time);
  if (TimeLess(measureLength_, measurePosition_)) measureLength_ = measurePosition_;
  if (moveVoice) voicePosition_ = TimeSum(voicePosition_, time);
}

void xmlpart2vornel::addFiller(const fraction& duration) {
  add(vornelnote::create(targetVoice_, "empty", 0, 0,
                         vornelnoteduration(duration.getNumerator(), duration.getDenominator(), 0), 0, ""));
}

void xmlpart2vornel::visitStart(Sbackup& elt) {
  closeGrace();
  const int32_t duration = elt->getChildIntValue(ElementType("duration"), 0);
  if (duration == 0) return;
  measurePosition_ = TimeDifference(measurePosition_, DurationInWholeNotes(duration, divisions_));
  if (TimeLess(measureLength_, measurePosition_)) measureLength_ = measurePosition_;
}

void xmlpart2vornel::visitStart(Sforward& elt) {
  const bool ours = elt->getChildIntValue(ElementType("voice"), 0) == targetVoice_ &&
                    elt->getChildIntValue(ElementType("staff"), 0) == targetStaff_;
  const int32_t duration = elt->getChildIntValue(ElementType("duration"), 0);
  moveMeasureTime(duration, ours);
  if (!ours) return;
  closeGrace();
  if (duration != 0) {
    addFiller(DurationInWholeNotes(duration, divisions_));
    measureEmpty_ = false;
  }
}

void xmlpart2vornel::visitStart(Sbarline& elt) {
  const std::string location = elt->getAttributeValue("location");
  if (location == "middle") add(vorneltag::create("bar"));
  const xmlelement::iterator style = elt->find(ElementType("bar-style"));
  if ((location.empty() || location == "right") && style != elt->end() && (*style)->getValue() == "none") {
    previousBarHidden_ = true;
  }
}

void xmlpart2vornel::visitEnd(Srepeat& elt) {
  const std::string direction = elt->getAttributeValue("direction");
  if (direction == "forward") {
    add(vorneltag::create("repeatBegin"));
  } else if (direction == "backward") {
    add(vorneltag::create("repeatEnd"));
    inhibitNextBar_ = true;
  }
}

void xmlpart2vornel::visitStart(Sattributes& elt) {
  const xmlelement::iterator found = elt->find(ElementType("transpose"));
  if (found == elt->end()) return;
  const Sxmlelement transpose = *found;
  // Far-off values only have to stay far off: pitches beyond the keyboard are left out later.
  const int octaves = std::clamp(transpose->getChildIntValue(ElementType("octave-change"), 0), -10, 10);
  const int chromatic = std::clamp(transpose->getChildIntValue(ElementType("chromatic"), 0), -127, 127);
  const int semitones = std::clamp(chromatic + 12 * octaves, -127, 127);
  const bool diatonicGiven = transpose->find(ElementType("diatonic")) != transpose->end();
  const int steps = diatonicGiven ? std::clamp(transpose->getChildIntValue(ElementType("diatonic"), 0), -80, 80) + 7 * octaves
                                  : CKey::DiatonicSteps(semitones);
  if (semitones == transposeSemitones_ && steps == transposeSteps_) return;
  transposeSemitones_ = semitones;
  transposeSteps_ = steps;
  // Every voice of the part spells its notes by it.
  Svornelelement tag = vorneltag::create("transpose");
  tag->add(vornelparam::create(semitones, false));
  tag->add(vornelparam::create(steps, false));
  add(tag);
}

void xmlpart2vornel::visitEnd(Stime& elt) {
  std::string text;
  if (!senzaMisura) {
    // The symbol shows the time; the beats and beat types give it. A time of several pairs
    // lasts their sum.
    const std::vector<std::pair<std::string, std::string>> pairs = OwnTimePairs(elt);
    fraction sum(0, 1);
    for (size_t i = 0; i < pairs.size(); ++i) {
      if (i > 0) text += "+";
      text.append(pairs[i].first).append(1, '/').append(pairs[i].second);
      sum = MeterSum(sum, PairValue(pairs[i]));
    }
    text = FirstWord(text);
    if (symbol == "common" || symbol == "cut") {
      const fraction standard = symbol == "common" ? fraction(4, 4) : fraction(2, 2);
      if (sum.getNumerator() <= 0) sum = standard;
      text = sum == fraction(2, 2) ? "C/" : sum == fraction(4, 4) ? "C" : sum.toString();
    }
    currentTimeSign_ = sum;
  }
  if (notesOnly_) return;
  Svornelelement meter = vorneltag::create("meter");
  meter->add(vornelparam::create(text, true));
  meter->add(vornelparam::create(currentTimeSign_.getNumerator(), false));
  meter->add(vornelparam::create(currentTimeSign_.getDenominator(), false));
  add(meter);
}

void xmlpart2vornel::visitEnd(Sclef&) {
  // A clef without a number is every staff's.
  const int staff = clefvisitor::staffNumber < 0 ? targetStaff_ : clefvisitor::staffNumber;
  if (staff != targetStaff_ || notesOnly_) return;
  struct Sign {
    const char* sign;
    const char* text;
    int code;
  };
  static constexpr Sign kSigns[] = {{"G", "g", 0},     {"F", "f", 1},      {"C", "c", 2}, {"percussion", "perc", 3},
                                    {"TAB", "TAB", 4}, {"none", "none", 5}};
  const Sign* found = nullptr;
  for (const Sign& s : kSigns) {
    if (sign == s.sign) found = &s;
  }
  if (found == nullptr) {
    ImportWarning("warning: unknown clef sign \"" + sign + "\"");
    return;
  }
  std::string text = found->text;
  if (line != 0) text = FirstWord(text + std::to_string(line));
  if (octaveChange == 1) text += "+8";
  if (octaveChange == -1) text += "-8";
  Svornelelement clef = vorneltag::create("clef");
  jumpToStaff(staff);
  clef->add(vornelparam::create(found->code, false));
  clef->add(vornelparam::create(line, false));
  clef->add(vornelparam::create(octaveChange, false));
  clef->add(vornelparam::create(text, true));
  add(clef);
}

}  // namespace vornel
