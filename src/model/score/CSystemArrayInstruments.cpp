// The instruments and staves of a section, kept in step between the definitions and the
// lines of every system, and the edits that reach an instrument's music in every system.

#include <algorithm>
#include <stdexcept>

#include "model/score/CSystemArray.h"
#include "model/score/GatheredWalk.h"
#include "model/Scaling.h"
#include "model/score/SectionEditor.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

constexpr uint32_t kSpaceBetweenInstruments = 3;
constexpr uint32_t kMaxSpaceBelow = 14;
constexpr size_t kReflowRun = 20;
constexpr std::string_view kRetuneQuestion =
    "You have modified the instrument tuning. This may cause \n some data to become unavailable. Do you want to \n "
    "tranpose all tab fingerings? \n Notes:  These changes may not be reversible. \n Answer No if you have only "
    "modified the bourdons";

// True when both tunings give every course in use the same pitch.
bool SamePitches(const nTuning& a, const nTuning& b) {
  if (a.stringCount != b.stringCount) return false;
  for (size_t i = 0; i < static_cast<size_t>(std::clamp<int32_t>(a.stringCount, 0, nTuning::kMaxCourses)); ++i) {
    if (a.courses[i].pitch != b.courses[i].pitch) return false;
  }
  return true;
}

void RemoveStave(CInstrument& line, size_t k) {
  const CClef* stave = line.staves.at(k);
  line.lineRect.bottom = ScaleTruncated(int64_t{line.lineRect.bottom} - stave->Height(), 1, 1);
  line.staves.erase(k);
}

void AddStaveCopy(CInstrument& line, const CClef& definitionStave) {
  CClef* stave = line.staves.push_back(std::make_unique<CClef>(definitionStave));
  line.lineRect.bottom = ScaleTruncated(int64_t{line.lineRect.bottom} + stave->Height(), 1, 1);
}

}  // namespace

CInstrumentDlg* CSystemArray::AddInstrument(std::unique_ptr<CInstrumentDlg> added) {
  CInstrumentDlg& definition = *added;
  definition.EnsureStave();
  for (const auto& stave : definition.staves.items()) stave->spaceBelow = kSpaceBetweenInstruments;
  definition.staves.back()->spaceBelow = 0;
  definition.spacingBelowPage = kSpaceBetweenInstruments;
  definition.LinkStaves();
  for (const auto& system : systems.items()) {
    system->lines.push_back(std::make_unique<CInstrument>(definition));
    if (system->lines.size() > 1) {
      CInstrument& previous = *system->lines.at(system->lines.size() - 2);
      if (!previous.staves.empty()) previous.staves.back()->spaceBelow = kSpaceBetweenInstruments;
    }
  }
  // The definition before the new one keeps the space its lines were just given; otherwise
  // its lines would lose that space when the section is next read from a file, which takes
  // the lines' staves from their definitions.
  if (!definitions.empty()) {
    CInstrumentDlg& last = *definitions.back();
    for (const auto& stave : last.staves.items()) stave->spaceBelow = kSpaceBetweenInstruments;
    last.spacingBelowPage = kSpaceBetweenInstruments;
  }
  CInstrumentDlg* result = definitions.push_back(std::move(added));
  // The only definition of the section: its lines take the spacing a reader of the file gives.
  if (ApplyLoneDefinitionSpacing()) {
    for (const auto& system : systems.items()) {
      for (const auto& stave : system->lines.back()->staves.items()) stave->spaceBelow = 1;
    }
  }
  return result;
}

int CSystemArray::AddInstrumentWithVoices(std::unique_ptr<CInstrumentDlg> added) {
  if (!systems.empty() && !definitions.empty()) {
    const size_t active = ActiveInstrumentIndex();
    const bool silent = std::all_of(systems.begin(), systems.end(),
                                    [active](const auto& system) { return system->Line(active)->IsEmpty(); });
    if (silent) RemoveInstrument(active, true);
  }
  CInstrumentDlg& definition = *AddInstrument(std::move(added));
  const size_t index = definitions.size() - 1;
  for (size_t v = 0; v < definition.gathered.size(); ++v) ScatterVoice(definition.gathered[v], index, v);
  definition.ReleaseGatheredVoices();
  RecalculateSection(true);
  ReflowSystems(true, kReflowRun);
  ReflowSystems(false, kReflowRun);
  return 1;
}

int CSystemArray::PasteInstrumentDataAtCursor(const CInstrumentDlg& copied) {
  CInstrument& line = *ActiveLine();
  const size_t cursor = static_cast<size_t>(std::max(line.GetCurrentStave()->cursorColumn, 0));
  for (size_t v = 0; v < copied.gathered.size(); ++v) {
    nChordArray& voice = line.Voice(v);
    const nChordArray copies(copied.gathered[v]);
    size_t at = std::min(cursor, voice.size());
    for (const auto& handle : copies) voice.insert(at++, handle);
  }
  ReflowSystems(true, kReflowRun);
  ReflowSystems(false, kReflowRun);
  return 1;
}

int CSystemArray::EditActiveInstrument() {
  const size_t i = ActiveInstrumentIndex();
  CInstrumentDlg& definition = *definitions.at(i);
  CInstrumentDlg edited(definition);
  if (!SectionEditors().EditInstrument(edited)) return 0;
  if (SamePitches(definition.tabInstrument.tuning, edited.tabInstrument.tuning)) {
    definition.CopyFrom(edited);
    ApplyInstrumentDefinition(definition, i);
    return 1;
  }
  GatherVoice(0, i, 0, 0);
  GatherVoice(0, i, 1, 0);
  definition.CopyFrom(edited);
  if (definition.tabInstrument.tuning.stringCount > 1 &&
      Prompts().Ask(kRetuneQuestion, Buttons::kYesNo, MessageKind::kQuestion, "Please confirm") == Answer::kYes) {
    definition.RespellAndRestringVoices(0);
  }
  definition.ReleaseGatheredVoices();
  ApplyInstrumentDefinition(definition, i);
  return 1;
}

int CSystemArray::RemoveInstrument(size_t instrument, bool deleteDefinition) {
  if (!deleteDefinition) {
    ClearInstrumentData(instrument, true);
    return 1;
  }
  const int count = static_cast<int>(definitions.at(instrument)->staves.size());
  for (const auto& system : systems.items()) {
    system->lines.erase(instrument);
    system->activeInstrument =
        std::clamp(system->activeInstrument, 0, std::max(static_cast<int32_t>(system->lines.size()) - 1, 0));
  }
  definitions.erase(instrument);
  return count;
}

int CSystemArray::ClearInstrumentData(size_t instrument, bool deleteChords) {
  for (const auto& system : systems.items()) {
    // Gathering passes hidden systems by; what it did not take stays where it is.
    if (!deleteChords && system->hidden != 0) continue;
    system->Line(instrument)->DeleteAllChords();
  }
  newSystemValues = {4, 4};
  return 4;
}

int CSystemArray::MoveActiveInstrumentDown() {
  const size_t i = ActiveInstrumentIndex();
  if (i + 1 >= definitions.size()) return 0;
  std::swap(definitions.items()[i], definitions.items()[i + 1]);
  for (const auto& system : systems.items()) std::swap(system->lines.items().at(i), system->lines.items().at(i + 1));
  if (!systems.empty()) {
    CInstrument& movedUp = *systems.front()->Line(i);
    if (!movedUp.staves.empty()) movedUp.staves.back()->spaceBelow = kSpaceBetweenInstruments;
  }
  CInstrumentDlg& definition = *definitions.at(i);
  for (const auto& stave : definition.staves.items()) stave->spaceBelow = kSpaceBetweenInstruments;
  definition.spacingBelowPage = kSpaceBetweenInstruments;
  if (!systems.empty()) CopyFirstSystemStaves();
  return 1;
}

void CSystemArray::ApplyInstrumentDefinition(CInstrumentDlg& definition, size_t instrument) {
  const size_t count = definition.staves.size();
  for (const auto& system : systems.items()) {
    CInstrument& line = *system->Line(instrument);
    while (line.staves.size() > count) RemoveStave(line, line.staves.size() - 1);
    for (size_t k = line.staves.size(); k < count; ++k) AddStaveCopy(line, *definition.staves.at(k));
  }
  definition.LinkStaves();
  for (size_t k = 0; k < count; ++k) ApplyStaveDefinition(*definition.staves.at(k), instrument, k);
  CopySectionKeyToDefinitions();
}

void CSystemArray::ApplyStaveDefinition(CClef& definitionStave, size_t instrument) {
  const int k = definitions.at(instrument)->staves.IndexOf(&definitionStave);
  if (k < 0) throw std::out_of_range("the stave is not one of the instrument's");
  ApplyStaveDefinition(definitionStave, instrument, static_cast<size_t>(k));
}

void CSystemArray::ApplyStaveDefinition(CClef& source, size_t instrument, size_t k) {
  const CClef* last = nullptr;
  for (const auto& system : systems.items()) {
    CClef* stave = system->Line(instrument)->staves.at(k);
    if (stave != &source) stave->CopySettingsFrom(source);
    last = stave;
  }
  if (last != nullptr) source.spaceBelow = last->spaceBelow;
}

size_t CSystemArray::CopyFirstSystemStaves() {
  const CStaveArray& first = *systems.at(0);
  for (size_t j = 0; j < first.lines.size(); ++j) {
    CInstrument& line = *first.Line(j);
    for (size_t k = 0; k < line.staves.size(); ++k) ApplyStaveDefinition(*line.staves.at(k), j, k);
  }
  return first.lines.size();
}

int CSystemArray::AddStaveToActiveInstrument() {
  const size_t i = ActiveInstrumentIndex();
  CClef* stave = definitions.at(i)->AddStave();
  if (stave == nullptr) return 0;
  for (const auto& system : systems.items()) AddStaveCopy(*system->Line(i), *stave);
  return 1;
}

int CSystemArray::RemoveActiveStave() {
  const size_t i = ActiveInstrumentIndex();
  CInstrument& active = *ActiveLine();
  if (active.staves.size() < 2) return 0;
  const size_t k = static_cast<size_t>(active.activeStave);
  active.staves.at(k);  // checked
  for (const auto& system : systems.items()) {
    CInstrument& line = *system->Line(i);
    if (k < line.staves.size()) RemoveStave(line, k);
    line.activeStave = 0;
  }
  CInstrumentDlg& definition = *definitions.at(i);
  const int former = static_cast<int>(definition.staves.size());
  if (k < definition.staves.size()) definition.staves.erase(k);
  definition.currentStave = 0;
  return former;
}

int CSystemArray::ChangeActiveStaveSpaceBelow(bool increase) {
  const size_t i = ActiveInstrumentIndex();
  CInstrumentDlg& definition = *definitions.at(i);
  CClef& stave = *definition.staves.at(static_cast<size_t>(ActiveLine()->activeStave));
  // Space below is a 4-bit value; it stops at its ends rather than wrapping round.
  if (increase) {
    stave.spaceBelow = std::min(stave.spaceBelow + 1, kMaxSpaceBelow);
  } else if (stave.spaceBelow > 0) {
    --stave.spaceBelow;
  }
  definition.spacingBelowPage = static_cast<int32_t>(stave.spaceBelow);
  ApplyStaveDefinition(stave, i);
  return 1;
}

void CSystemArray::ResetTablatureFonts(const dfLogFont& defaultFont) {
  for (const auto& definition : definitions.items()) {
    definition->tabInstrument.tabFont = defaultFont;
    definition->tabInstrument.microTuning = defaultFont.microTuning;
  }
}

void CSystemArray::CopySectionKeyToDefinitions() {
  for (const auto& definition : definitions.items()) {
    CKey& k = definition->key;
    k.keyAlterations = key.keyAlterations;
    k.transposePitch = key.transposePitch;
    k.mode = key.mode & (0xF00 | CKey::kMinorBit);
    k.keyName = key.keyName;
    k.bemol = key.bemol;
    k.alterations = key.alterations;
    key.transpose = k.transpose;
  }
}

size_t CSystemArray::GetTotalStaveCount() const {
  size_t count = 0;
  for (const auto& definition : definitions.items()) count += definition->staves.size();
  return count;
}

std::string CSystemArray::GetActiveInstrumentNameText() const { return ActiveDefinition()->nameText.text; }

void CSystemArray::ApplyCommandToAllLines(ClearCommand command) {
  for (const auto& system : systems.items()) {
    if (system == nullptr) continue;
    for (const auto& line : system->lines.items()) {
      if (line != nullptr) line->Voices().ClearItems(command);
    }
  }
}

void CSystemArray::ApplyCommandToActiveInstrument(ClearCommand command) {
  const size_t instrument = ActiveInstrumentIndex();
  for (const auto& system : systems.items()) {
    CInstrument& line = *system->Line(instrument);
    if (command != ClearCommand::kClearForcedBarlines) {
      line.Voices().ClearItems(command);
      continue;
    }
    for (nChordArray* voice : line.Voices()) voice->RebarAndFreeFixedBars(numerator, denominator);
  }
}

void CSystemArray::RecalculateNotation() {
  for (size_t d = 0; d < definitions.size(); ++d) {
    // The chords are respelled where they stand, walked as gathering lists them (and with the
    // tick positions it sets); a line out of reach throws as gathering does.
    CInstrumentDlg& definition = *definitions.at(d);
    if (!CanGatherLines(*this, 0, d)) GatherVoice(0, d, 0, 0);
    for (size_t v = 0; v < definition.gathered.size(); ++v) UpdateGatheredTicks(*this, 0, d, v);
    for (size_t v = 0; v < definition.gathered.size(); ++v) {
      ForEachGatheredEvent(*this, 0, d, v, [&](nChord& e) {
        if (e.IsChord()) e.notes.Respell(definition.key);
      });
    }
    definition.ReleaseGatheredVoices();
  }
}

void CSystemArray::RecalculateStemDirections() {
  if (systems.empty()) return;
  const size_t instrument = ActiveInstrumentIndex();
  for (const auto& system : systems.items()) {
    CInstrument& line = *system->Line(instrument);
    if (line.staves.empty()) continue;
    const size_t active = std::min(static_cast<size_t>(std::max(line.activeStave, 0)), line.staves.size() - 1);
    const CClef& stave = *line.staves.at(active);
    line.GetSelectedVoice().SetStemDirections(stave.GetStemDividingPitch(), stave.stemDirection != 0);
  }
}

void CSystemArray::InsertInitialTimeSignature() {
  if (systems.empty()) return;
  for (const auto& line : System(0)->lines) {
    if (line != nullptr) line->InsertInitialTimeSignature(numerator, denominator);
  }
}

void CSystemArray::DistributeInstrumentVoices() {
  for (size_t d = 0; d < definitions.size(); ++d) {
    CInstrumentDlg& definition = *definitions.at(d);
    for (size_t v = 0; v < definition.gathered.size(); ++v) {
      if (v > 0 && definition.gathered[v].empty()) continue;
      ScatterVoice(definition.gathered[v], d, v);
      if (v < definition.staves.size()) ApplyStaveDefinition(*definition.staves.at(v), d, v);
    }
    definition.ReleaseGatheredVoices();
  }
}

void CSystemArray::CopySettingsFrom(const CSystemArray& other) {
  if (&other == this) return;
  for (const size_t t : {kTitle, kAuthor, kComments}) texts.at(t)->font = other.texts.at(t)->font;
  stavesPerPage = other.stavesPerPage;
  const size_t count = std::min(definitions.size(), other.definitions.size());
  for (size_t d = 0; d < count; ++d) {
    definitions.at(d)->CopyFrom(*other.definitions.at(d));
    // The lines keep their own copies of the staves: they follow the new definition.
    ApplyInstrumentDefinition(*definitions.at(d), d);
  }
}

int CSystemArray::TransposeActiveInstrument(int interval) {
  CInstrumentDlg& definition = *definitions.at(GatherActiveInstrumentVoices());
  for (const nChordArray& voice : definition.gathered) {
    for (const auto& e : voice) {
      if (e != nullptr && e->IsChord()) e->notes.Transpose(interval, definition.key, false);
    }
  }
  for (nChordArray& voice : definition.gathered) voice.AssignStrings(0, voice.size(), definition.tabInstrument);
  definition.ReleaseGatheredVoices();
  return 1;
}

size_t CSystemArray::TransposeNotesBeyondLimit(int limit, bool below) {
  CInstrumentDlg& definition = *definitions.at(GatherActiveInstrumentVoices());
  size_t moved = 0;
  for (nChordArray& voice : definition.gathered) moved += voice.OctaveFold(limit, below);
  definition.ReleaseGatheredVoices();
  return moved;
}

void CSystemArray::ShiftCoursePitch(uint8_t course, int shift) {
  CInstrumentDlg& definition = *definitions.at(GatherActiveInstrumentVoices());
  for (nChordArray& voice : definition.gathered) voice.RaiseOnCourse(course, shift);
  definition.ReleaseGatheredVoices();
}

void CSystemArray::RecalculateFingerings() {
  const size_t i = ActiveInstrumentIndex();
  const CTabInstrument& tab = definitions.at(i)->tabInstrument;
  for (const auto& system : systems.items()) {
    for (nChordArray* voice : system->Line(i)->Voices()) voice->AssignStrings(0, voice->size(), tab);
  }
}

void CSystemArray::ChangeAllFlagValues(bool halve) {
  const size_t i = ActiveInstrumentIndex();
  for (const auto& system : systems.items()) {
    for (nChordArray* voice : system->Line(i)->Voices()) voice->ScaleRhythm(0, voice->size(), halve);
  }
  RecalculateSection(true);
}

int CSystemArray::AnalyzeVoices() {
  CInstrument& line = *ActiveLine();
  const CClef& stave = *line.GetCurrentStave();
  int split = 60;
  switch (stave.clefId) {
    case CClef::kGClef: split = 70; break;
    case CClef::kFClef: split = 49; break;
    case CClef::kCClef: split = (2 * (30 - stave.clefRaise)) & 0xFF; break;
    default: break;
  }
  int highRange = 6;
  if (!SectionEditors().ParseVoices(split, highRange)) return 0;
  CInstrumentDlg& definition = *definitions.at(GatherActiveInstrumentVoices());
  definition.gathered[line.selectedVoice != 0 ? 1 : 0].SplitByPitch(denominator, split, highRange);
  definition.ReleaseGatheredVoices();
  return 1;
}

void CSystemArray::CenterRests() {
  const size_t i = ActiveInstrumentIndex();
  for (const auto& system : systems.items()) {
    for (nChordArray* voice : system->Line(i)->Voices()) {
      for (const auto& e : *voice) {
        if (e != nullptr && e->IsChord() && e->notes.empty()) e->dy = 0;
      }
    }
  }
}

}  // namespace vornel
