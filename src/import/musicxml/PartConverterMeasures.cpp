// The part converter's measure flow and attributes: parts, measures with their owed bar,
// divisions, backup and forward, barlines and repeats, time signatures and clefs.

#include <sstream>
#include <string>

#include "import/musicxml/ImportWarnings.h"
#include "import/musicxml/WholeNoteTime.h"
#include "import/musicxml/xmlpart2vornel.h"
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

}  // namespace

void xmlpart2vornel::visitStart(Spart&) {
  VoiceNoteStatus().reset();
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
}

void xmlpart2vornel::visitStart(Smeasure& elt) {
  if (elt->getAttributeValue("implicit") == "yes") pendingBar_ = false;
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
  if (elt->getAttributeValue("location") == "middle") add(vorneltag::create("bar"));
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

void xmlpart2vornel::visitEnd(Stime&) {
  std::string text;
  if (!senzaMisura) {
    if (symbol == "common") {
      const fraction t = getTimeSign(0);
      text = t == fraction(2, 2) ? "C/" : t == fraction(4, 4) ? "C" : t.toString();
      currentTimeSign_ = t;
    } else if (symbol == "cut") {
      text.assign("C/");
      currentTimeSign_ = fraction(2, 2);
    } else {
      currentTimeSign_ = fraction(0, 1);
      for (size_t i = 0; i < timeSigns.size(); ++i) {
        if (i > 0) text += "+";
        text.append(timeSigns[i].first).append(1, '/').append(timeSigns[i].second);
        currentTimeSign_ = MeterSum(currentTimeSign_, getTimeSign(static_cast<uint32_t>(i)));
      }
      text = FirstWord(text);
    }
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
