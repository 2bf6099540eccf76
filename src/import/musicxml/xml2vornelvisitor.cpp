#include "import/musicxml/xml2vornelvisitor.h"

#include "import/musicxml/ImportWarnings.h"
#include "import/musicxml/staffdetails.h"
#include "import/musicxml/xmlpart2vornel.h"
#include "musicxml/visitors/browser.h"
#include "musicxml/visitors/partsummary.h"

namespace vornel {

using namespace MusicXML2;

xml2vornelvisitor::xml2vornelvisitor(bool generateComments, bool generateStems, bool generateBars)
    : generateComments_(generateComments), generateStems_(generateStems), generateBars_(generateBars) {}

Svornelelement xml2vornelvisitor::convert(const Sxmlelement& root) {
  if (!root || root->getType() != ElementType("score-partwise")) return nullptr;
  // The score's own element and its direct children are all the converter acts on, so the
  // parts it converts are the ones the part list counts.
  root->acceptIn(*this);
  for (const Sxmlelement& child : root->elements()) {
    if (!child) continue;
    if (child->getType() == ElementType("part-list")) {
      for (auto it = child->begin(); it != child->end(); ++it) {
        if (it->getType() == ElementType("score-part")) it->acceptIn(*this);
      }
    } else if (child->getType() == ElementType("part")) {
      child->acceptIn(*this);
    }
  }
  return stack_.empty() ? nullptr : stack_.front();
}

void xml2vornelvisitor::add(const Svornelelement& element) {
  if (!stack_.empty()) stack_.back()->add(element);
}

void xml2vornelvisitor::visitStart(Sscore_partwise&) {
  Svornelelement score = vornelchord::create();
  score->setName("Score");
  stack_.push_back(score);
}

void xml2vornelvisitor::visitStart(Sscore_part& elt) { currentPartId_ = elt->getAttributeValue("id"); }

void xml2vornelvisitor::visitStart(Spart& elt) {
  if (partIndex_ >= kMaxParts) {
    if (partIndex_ == kMaxParts) ImportWarning("warning: only the first 128 parts are converted");
    ++partIndex_;
    return;
  }
  partsummary summary;
  typed_tree_browser(&summary).browse(*elt);
  staffdetails details;
  typed_tree_browser(&details).browse(*elt);

  if (!details.tuning().empty()) {
    Svornelelement tuning = vorneltag::create("tuning");
    tuning->add(vornelparam::create(partIndex_, false));
    Svornelelement lines = vorneltag::create("staff_lines");
    // Without "staff-lines", every tuned line counts.
    const long lineCount = details.staffLines() >= 0 ? details.staffLines() : static_cast<long>(details.tuning().size());
    lines->add(vornelparam::create(lineCount, true));
    Svornelelement capo = vornelelement::create("capo");
    capo->add(vornelparam::create(details.capo(), true));
    Svornelelement pitches = vornelelement::create("strings_tuning");
    for (const auto& [line, pitch] : details.tuning()) pitches->add(vornelparam::create(pitch, false));
    tuning->add(lines);
    tuning->add(capo);
    tuning->add(pitches);
    add(tuning);
  }

  const SMARTP<smartlist<int>> voices = summary.getVoices();
  if (voices->size() > kMaxVoices) {
    ImportWarning("warning: part " + std::to_string(partIndex_ + 1) + " has " + std::to_string(voices->size()) +
                  " voices; only the first 32 are converted");
  }
  int targetStaff = 0xFFFF;
  for (size_t i = 0; i < voices->size() && i < kMaxVoices; ++i) {
    const int voice = (*voices)[i];
    const int mainStaff = summary.getMainStaff(voice);
    bool notesOnly = true;
    if (mainStaff != targetStaff) {
      notesOnly = false;
      targetStaff = mainStaff;
      ++staffIndex_;
    }
    Svornelelement sequence = vornelseq::create(staffIndex_);
    add(sequence);
    stack_.push_back(sequence);
    sequence->add(vornelparam::create(summary.countStaves(), false));
    sequence->add(vornelparam::create(summary.countVoices(), false));
    sequence->add(vornelparam::create(static_cast<long>(i), false));
    sequence->add(vornelparam::create(partIndex_, false));

    xmlpart2vornel converter(generateComments_, generateStems_, generateBars_);
    converter.initialize(sequence, targetStaff, staffIndex_, voice, notesOnly, timeSignature_);
    typed_tree_browser(&converter).browse(*elt);
    stack_.pop_back();
    timeSignature_ = converter.currentTimeSignature();
  }
  ++partIndex_;
}

}  // namespace vornel
