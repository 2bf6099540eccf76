// The part converter's directions, texts, endings, harmonies and keys, with the voice-time
// check and the staff jumps the other handlers use.

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "import/musicxml/ImportWarnings.h"
#include "import/musicxml/WholeNoteTime.h"
#include "import/musicxml/vornelharmony.h"
#include "import/musicxml/xmlpart2vornel.h"
#include "musicxml/visitors/browser.h"

namespace vornel {

using namespace MusicXML2;

void xmlpart2vornel::checkVoiceTime(const fraction& measureTime, const fraction& voiceTime) {
  const fraction gap = TimeDifference(measureTime, voiceTime);
  if (gap.getNumerator() > 0) {
    addFiller(gap);
    voicePosition_ = TimeSum(voicePosition_, gap);
  } else if (gap.getNumerator() < 0) {
    ImportWarning("warning! checkVoiceTime: measure time behind voice time " + gap.toString());
  }
}

void xmlpart2vornel::jumpToStaff(int staff) {
  if (staff == currentStaff_) return;
  // Staff numbers come from the file: the index is held within the integers.
  const int64_t index = static_cast<int64_t>(staffIndex_) + staff - currentStaff_;
  staffIndex_ = static_cast<int>(std::clamp<int64_t>(index, INT32_MIN, INT32_MAX));
  currentStaff_ = staff;
  Svornelelement jump = vorneltag::create("staff-jump");
  jump->add(vornelparam::create(staffIndex_, false));
  add(jump);
}

void xmlpart2vornel::addDirectionElement(const Svornelelement& element) { add(element); }

void xmlpart2vornel::visitStart(Scoda&) {
  if (!skipDirection_) add(vorneltag::create("coda"));
}

void xmlpart2vornel::visitStart(Ssegno&) {
  if (!skipDirection_) add(vorneltag::create("segno"));
}

void xmlpart2vornel::visitStart(Sdirection& elt) {
  if (notesOnly_ || elt->getChildIntValue(ElementType("staff"), 0) != targetStaff_) {
    skipDirection_ = true;
    return;
  }
  directionOffset_ = elt->getChildIntValue(ElementType("offset"), 0);
  directionPlacement_ = elt->getAttributeValue("placement");
}

void xmlpart2vornel::visitEnd(Sdirection&) {
  skipDirection_ = false;
  directionOffset_ = 0;
  directionPlacement_.clear();
}

void xmlpart2vornel::addPlacement(const Svornelelement& tag) const {
  if (directionPlacement_ == "above" || directionPlacement_ == "below") {
    tag->add(vornelparam::create(directionPlacement_, false));
  }
}

void xmlpart2vornel::visitStart(Spedal& elt) {
  if (skipDirection_) return;
  // A pedal goes down at "start", up at "stop", and both at "change".
  const std::string type = elt->getAttributeValue("type");
  if (type != "start" && type != "stop" && type != "change") return;
  Svornelelement tag = vorneltag::create("pedal");
  tag->add(vornelparam::create(type, false));
  addPlacement(tag);
  addDirectionElement(tag);
}

void xmlpart2vornel::visitEnd(Sending& elt) {
  const std::string type = elt->getAttributeValue("type");
  if (type == "start") {
    // One volta at a time: a new one ends the one still open.
    closeContainer(voltaTag_);
    const std::string number = elt->getAttributeValue("number");
    Svornelelement volta = vorneltag::create("volta");
    volta->add(vornelparam::create(number, true));
    volta->add(vornelparam::create(number + ".", true));
    push(volta);
    voltaTag_ = volta;
    return;
  }
  // An end with no volta open in this converter ends nothing.
  if (!voltaTag_) return;
  if (type == "discontinue") voltaTag_->add(vornelparam::create("format=\"|-\"", false));
  closeContainer(voltaTag_);
}

void xmlpart2vornel::visitStart(Sharmony& elt) {
  vornelharmony harmony;
  typed_tree_browser(&harmony).browse(*elt);
  Svornelelement name = vorneltag::create("chord_name");
  name->add(vornelparam::create(harmony.getChordName(), false));
  add(name);
}

void xmlpart2vornel::visitEnd(Skey&) {
  if (notesOnly_) return;
  Svornelelement key = vorneltag::create("key");
  key->add(vornelparam::create(fifths, false));
  add(key);
}

void xmlpart2vornel::visitEnd(Ssound& elt) {
  if (notesOnly_) return;
  static constexpr struct {
    const char* attribute;
    const char* tag;
  } kJumps[] = {{"dacapo", "daCapo"}, {"dalsegno", "dalSegno"}, {"tocoda", "daCoda"}, {"fine", "fine"}};
  for (const auto& jump : kJumps) {
    if (elt->getAttribute(jump.attribute)) {
      add(vorneltag::create(jump.tag));
      return;
    }
  }
  if (const Sxmlattribute tempo = elt->getAttribute("tempo")) {
    Svornelelement tag = vorneltag::create("tempo");
    tag->add(vornelparam::create(tempo->getValue(), false));
    add(tag);
  }
}

void xmlpart2vornel::visitEnd(Stext& elt) {
  // A syllable belongs to its note: only the note's own voice takes it. A chord note's
  // syllables go with the chord, written by its first note (emitLyrics).
  const std::string syllabic = std::exchange(syllabic_, std::string());
  if (insideNote_ && (getVoice() != targetVoice_ || inChord())) return;
  add(lyricTag(elt->getValue(), syllabic));
}

void xmlpart2vornel::visitEnd(Ssyllabic& elt) { syllabic_ = elt->getValue(); }

Svornelelement xmlpart2vornel::lyricTag(const std::string& text, const std::string& syllabic) {
  Svornelelement lyric = vorneltag::create("lyric");
  const bool goesOn = (syllabic == "begin" || syllabic == "middle") && !text.empty() && text.back() != '-';
  lyric->add(vornelparam::create(goesOn ? text + "-" : text, true));
  return lyric;
}

void xmlpart2vornel::visitEnd(Swords& elt) {
  // The words of a direction belong to the staff it names, once: not to the other staves of
  // its part nor to a second voice of its own.
  if (skipDirection_) return;
  Svornelelement words = vorneltag::create("words");
  words->add(vornelparam::create(elt->getValue(), true));
  addPlacement(words);
  add(words);
}

}  // namespace vornel
