#pragma once
// What the tests of the text importers share: a document to import into with scripted
// prompts, the instrument chooser and the wizard answered with a known lute, and the events
// of an imported section read back system after system.

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "document/InstrumentChooser.h"
#include "document/SectionWizard.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChordArray.h"
#include "import/text/TextImportSupport.h"
#include "support/ScriptedPrompts.h"

namespace vornel::testing {

// The section wizard answered with Cancel.
class CancelledSectionWizard : public SectionWizard {
 public:
  std::unique_ptr<CSystemArray> BuildSection(CBriotabDoc&) override { return nullptr; }
};

// A six-course lute in G (MIDI 67 62 57 53 48 43, course 1 first) answers the chooser and the
// wizard; the document starts with its one new section.
class TextImportTest {
 public:
  TextImportTest() : chooser_(Lute()), wizard_(Lute()), scopedChooser_(chooser_), scopedWizard_(wizard_) {
    doc.OnNewDocument();
  }

  static const CInstrumentDlg& Lute() {
    static const std::unique_ptr<CInstrumentDlg> lute = [] {
      auto definition = std::make_unique<CInstrumentDlg>();
      definition->EnsureStave();
      const int pitches[] = {43, 48, 53, 57, 62, 67};
      definition->tabInstrument.tuning.SetFromPitches(6, pitches);
      definition->tabInstrument.tuning.lines = 6;
      definition->nameText.text = "Lute in G";
      return definition;
    }();
    return *lute;
  }

  // An eleven-course instrument: the lute with five bourdons (MIDI 38 36 35 33 31).
  static const CInstrumentDlg& Theorbo() {
    static const std::unique_ptr<CInstrumentDlg> theorbo = [] {
      auto definition = Lute().Clone();
      const int pitches[] = {31, 33, 35, 36, 38, 43, 48, 53, 57, 62, 67};
      definition->tabInstrument.tuning.SetFromPitches(11, pitches);
      return definition;
    }();
    return *theorbo;
  }

  CSystemArray& Section(size_t index) const { return *doc.sections.at(index); }
  CSystemArray& Last() const { return *doc.sections.back(); }

  ScriptedPrompts prompts;
  CVornelTabDoc doc;

 private:
  FixedInstrumentChooser chooser_;
  FixedSectionWizard wizard_;
  ScopedInstrumentChooser scopedChooser_;
  ScopedSectionWizard scopedWizard_;
};

// Every event of one voice of one instrument line, system after system, without empty slots
// and system breaks.
inline std::vector<const nChord*> Events(const CSystemArray& section, size_t line = 0, size_t voice = 0) {
  std::vector<const nChord*> events;
  for (const auto& system : section.systems.items()) {
    for (const auto& e : system->Line(line)->Voice(voice)) {
      if (e != nullptr && !e->IsStaveBreak()) events.push_back(e.get());
    }
  }
  return events;
}

// The chords (and rests) only.
inline std::vector<const nChord*> Chords(const CSystemArray& section, size_t line = 0) {
  std::vector<const nChord*> chords;
  for (const nChord* e : Events(section, line)) {
    if (e->IsChord()) chords.push_back(e);
  }
  return chords;
}

// The status words of the bar lines and special events.
inline std::vector<uint16_t> BarStatuses(const CSystemArray& section, size_t line = 0) {
  std::vector<uint16_t> statuses;
  for (const nChord* e : Events(section, line)) {
    if (!e->IsChord()) statuses.push_back(e->status);
  }
  return statuses;
}

// The (course, MIDI pitch) of each note of a chord, in course order.
inline std::vector<std::pair<int, int>> CoursesAndPitches(const nChord& chord) {
  std::vector<std::pair<int, int>> notes;
  for (const auto& note : chord.notes) notes.emplace_back(note->string, note->pitch);
  std::sort(notes.begin(), notes.end());
  return notes;
}

// The rhythm word without the mark that bar cutting leaves on the chord that takes a beat
// group's rounding remainder.
inline uint16_t Rhythm(const nChord& chord) { return chord.rhythm & ~nChord::kTakesRemainder; }

// An importer that keeps a copy of each voice as it was read, before the finishing lays it out
// (and re-barring takes bar lines away or adds them).
template <class Reader>
class Unfinished : public Reader {
 public:
  using Reader::Reader;
  std::vector<nChordArray> voices;

 protected:
  void FinishSection() override {
    if (this->voice_ != nullptr) voices.push_back(*this->voice_);
    Reader::FinishSection();
  }
};

// A voice as short texts: "3:0@67,2@58" for a chord (its rhythm word, then course@pitch of each
// note), "bar 11" for a bar line (its status in hex), "3/4" for a time signature, "-" for an
// empty slot. A bar line the numbering skips adds " skip"; a fermata adds " F", any other chord
// mark " M" and the mark.
inline std::vector<std::string> Describe(const nChordArray& voice) {
  std::vector<std::string> out;
  for (const auto& e : voice) {
    if (e == nullptr) {
      out.push_back("-");
      continue;
    }
    if (e->IsBarLine()) {
      char hex[16];
      std::snprintf(hex, sizeof hex, "bar %X", e->status);
      out.push_back(std::string(hex) + (e->rhythm == nChord::kSkipNumber ? " skip" : ""));
      continue;
    }
    if (const CMetaEvent* meter = e->metaEvents.Find(CMetaEvent::kTimeSignature); meter != nullptr && !e->IsChord()) {
      out.push_back(std::to_string(meter->cx) + "/" + std::to_string(meter->cy));
      continue;
    }
    std::string text = std::to_string(Rhythm(*e)) + ":";
    bool first = true;
    for (const auto& [course, pitch] : CoursesAndPitches(*e)) {
      if (!first) text += ',';
      text += std::to_string(course);
      text += '@';
      text += std::to_string(pitch);
      first = false;
    }
    if (e->metaEvents.Find(CMetaEvent::kFermata) != nullptr) {
      text += " F";
    } else if (e->ChordMark() != 0) {
      text += " M" + std::to_string(e->ChordMark());
    }
    out.push_back(text);
  }
  return out;
}

// The corpus's files of one kind, in name order.
inline std::vector<std::string> CorpusFiles(std::string_view folder, std::string_view extension) {
  return ListFolderFiles(std::string(VORNEL_CORPUS_DIR) + "/" + std::string(folder), extension);
}

inline const CMetaEvent* MetaOfKind(const nChord& chord, uint8_t kind) { return chord.metaEvents.Find(kind); }

}  // namespace vornel::testing
