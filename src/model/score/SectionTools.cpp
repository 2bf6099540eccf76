#include "model/score/SectionTools.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <vector>

#include "model/instrument/CInstrument.h"
#include "model/score/CSectionArray.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/voice/nChordArray.h"
#include "model/voice/nNotes.h"
#include "model/instrument/nTuning.h"

namespace vornel {

namespace {

constexpr uint32_t kWholeNoteUnit = 3072;  // a rhythm code's duration is this shifted right by the code
constexpr int kDotDecoration = 8;

// Every line of the active instrument's index, one per system.
template <typename Fn>
void ForEachActiveLine(CSystemArray& section, Fn&& fn) {
  const size_t i = section.ActiveInstrumentIndex();
  for (const auto& system : section.systems.items()) fn(*system->Line(i));
}

// Moves definition and lines `from` to index `to` (to <= from), one neighbour at a time.
void MoveInstrumentUp(CSystemArray& section, size_t from, size_t to) {
  for (size_t k = from; k > to; --k) {
    std::swap(section.definitions.items().at(k), section.definitions.items().at(k - 1));
    for (const auto& system : section.systems.items()) std::swap(system->lines.items().at(k), system->lines.items().at(k - 1));
  }
}

// A definition like `source` whose only stave is a staff of notation showing one voice.
std::unique_ptr<CInstrumentDlg> SingleStaffCopy(const CInstrumentDlg& source, const CClef* settings) {
  auto copy = source.Clone();
  copy->ReleaseGatheredVoices();
  copy->DeleteStaves();
  CClef* stave = copy->AddStave();
  if (settings != nullptr) stave->CopySettingsFrom(*settings);
  stave->type = CClef::kStaff;
  stave->enabledVoices = CClef::kUpperVoice;
  copy->currentStave = 0;
  copy->LinkStaves();
  return copy;
}

bool VoiceEmptyEverywhere(CSystemArray& section, size_t voice) {
  const size_t i = section.ActiveInstrumentIndex();
  return std::all_of(section.systems.begin(), section.systems.end(),
                     [&](const auto& system) { return system->Line(i)->Voice(voice).empty(); });
}

// Line `i` of every shown system without its music (the gathered lists still hold it).
void EmptyShownLines(CSystemArray& section, size_t i) {
  for (const auto& system : section.systems.items()) {
    if (system->hidden != 0) continue;
    system->Line(i)->firstVoice = nChordArray();
    system->Line(i)->secondVoice = nChordArray();
  }
}

}  // namespace

int32_t TogglePageBreak(int32_t flags) { return flags ^ CSystemArray::kPageBreakAfter; }

void TogglePageBreaks(CSectionArray& sections) {
  for (const auto& section : sections.items()) section->flags = TogglePageBreak(section->flags);
}

uint32_t GetBeatTicks(int code) {
  switch (code) {
    case 1: return 384;
    case 2: return 96;
    case 3: return 768;
    case 4: return 288;
    case 5: return 576;
    case 6: return 144;
    case 7: return 1152;
    default: return 192;
  }
}

std::pair<int, bool> AnalyzeKeyCounts(const int (&c)[12]) {
  enum { C = 0, Db = 1, D = 2, Eb = 3, E = 4, F = 5, Gb = 6, G = 7, Ab = 8, A = 9, Bb = 10, B = 11 };
  bool flats = c[B] < c[Bb] || (c[B] == c[Bb] && c[Eb] > 0);
  if (c[Bb] > 0 && c[Eb] > 0 && c[E] == 0) flats = true;
  static constexpr int kSharpOrder[] = {Gb, Db, Ab, Eb, Bb, F, C};
  static constexpr int kFlatOrder[] = {Bb, Eb, Ab, Db, Gb, B, E};
  int count = 0;
  for (int pc : flats ? kFlatOrder : kSharpOrder) {
    if (c[pc] == 0) break;
    ++count;
  }
  if (!flats && count == 0 && c[C] < c[F]) {
    flats = true;
    count = 1;
  }
  const int fifths = flats ? -count : count;
  const int tonic = ((fifths * 7) % 12 + 12) % 12;
  const int relativeMinor = (tonic + 9) % 12;
  const int dominant = (tonic + 7) % 12;
  const bool minor = c[relativeMinor] >= c[tonic] || 2 * c[dominant] < c[tonic];
  return {fifths, minor};
}

void AnalyzeKey(CSystemArray& section) {
  int counts[12] = {};
  bool found = false;
  for (size_t d = 0; d < section.definitions.size() && !found; ++d) {
    for (size_t v = 0; v < 2 && !found; ++v) {
      for (const auto& system : section.systems.items()) {
        if (system->hidden != 0) continue;
        for (const auto& e : system->Line(d)->Voice(v)) {
          if (e == nullptr || !e->IsChord()) continue;
          for (const auto& note : e->notes) {
            if (note == nullptr) continue;
            ++counts[note->pitch % 12];
            found = true;
          }
        }
      }
    }
  }
  const auto [fifths, minor] = AnalyzeKeyCounts(counts);
  section.key.SetSignature(fifths, minor);
  section.CopySectionKeyToDefinitions();
  section.RecalculateNotation();
}

int FillEmptyVoice(nChordArray& voice, int count, int code, int32_t denominator) {
  if (!voice.empty()) return 0;
  const bool pairs = denominator > 3 && code % 3 == 0 && code != 3;
  if (pairs) code /= 3;
  const auto append = [&voice](int c) {
    auto chord = std::make_unique<nChord>();
    chord->rhythm = static_cast<uint16_t>(std::clamp(c, 0, 7));
    voice.push_back(std::move(chord));
  };
  for (int k = 0; k < count; ++k) {
    if (pairs) append(code - 1);
    append(code);
  }
  return 1;
}

size_t AutoDotRange(nChordArray& voice, size_t start, size_t end) {
  end = std::min(end, voice.size());
  size_t i = start;
  while (i < end && (voice[i] == nullptr || !voice[i]->IsChord())) ++i;
  if (i < end && voice[i]->notes.empty()) ++i;
  for (; i < end; ++i) {
    nChord* chord = voice[i];
    if (chord == nullptr || !chord->IsChord() || chord->notes.size() != 1) continue;
    const uint32_t duration = kWholeNoteUnit >> (chord->rhythm & 7);
    if (duration == 0 || chord->delta % duration == 0) continue;
    if (nNotes* note = chord->notes.at(0)) note->ToggleDecoration(kDotDecoration);
  }
  return i;
}

void AutoDotActiveVoice(CSystemArray& section) {
  const size_t i = section.GatherActiveInstrumentVoices();
  CInstrumentDlg& definition = *section.Definition(i);
  AutoDotRange(definition.gathered[0], 0, definition.gathered[0].size());
  definition.ReleaseGatheredVoices();
}

int SplitInstrumentVoices(CSystemArray& section) {
  if (section.systems.empty() || VoiceEmptyEverywhere(section, 1)) return 0;
  const size_t i = section.ActiveInstrumentIndex();
  CInstrumentDlg& source = *section.Definition(i);
  const CClef* settings = source.staves.size() > 1 ? source.staves.at(1) : source.staves.empty() ? nullptr : source.staves.at(0);
  section.AddInstrument(SingleStaffCopy(source, settings));
  const size_t added = section.definitions.size() - 1;
  for (const auto& system : section.systems.items()) {
    nChordArray& from = system->Line(i)->secondVoice;
    nChordArray& to = system->Line(added)->firstVoice;
    for (const auto& handle : from) to.push_back(handle);
    from = nChordArray();
  }
  MoveInstrumentUp(section, added, i + 1);
  section.RecalculateSection(true);
  return 1;
}

int MergeInstrumentVoices(CSystemArray& section) {
  if (section.systems.empty() || VoiceEmptyEverywhere(section, 1)) return 0;
  const size_t i = section.GatherActiveInstrumentVoices();
  CInstrumentDlg& definition = *section.Definition(i);
  nChordArray first = definition.gathered[0];
  nChordArray second = definition.gathered[1];
  first.MergeVoice(second, section.numerator, section.denominator);
  EmptyShownLines(section, i);
  definition.ReleaseGatheredVoices();
  section.ScatterVoice(first, i, 0);
  section.RecalculateSection(true);
  return 1;
}

namespace {

constexpr uint16_t kStemBit = 0x80;
constexpr int kGrandStaffPreset = 5;
constexpr int kGuitarStaffPreset = 1;

bool HoldsNotes(const nChordArray& voice) {
  return std::any_of(voice.begin(), voice.end(),
                     [](const auto& e) { return e != nullptr && e->IsChord() && !e->notes.empty(); });
}

// Ticks of a notation voice worked out again; chords with the stem bit lose status bits 4-7
// and have their notes respelled in `key`; with `restShift` set, rests take that shift.
void FinishNotationVoice(nChordArray& voice, const CSystemArray& section, const CKey& key,
                         std::optional<uint16_t> restShift) {
  voice.UpdateTickPositions(section.numerator, section.denominator);
  for (const auto& e : voice) {
    if (e == nullptr || !e->IsChord() || e->IsShared()) continue;
    if ((e->status & kStemBit) != 0) {
      e->status &= static_cast<uint16_t>(~0xF0);
      e->notes.RespellKeepingMarks(key);
    }
    if (restShift && e->notes.empty()) e->dy = *restShift;
  }
}

}  // namespace

CKey TransposedKey(const CKey& key, int semitones) {
  CKey moved(key);
  if (semitones % 12 == 0) return moved;
  const bool minor = (key.mode & CKey::kMinorBit) != 0;
  // The major key of the signature moved, by sharps, or by flats when the key was written
  // with flats or the sharps would pass seven; a minor key stays the relative minor.
  const int major = ((key.TonicPitchClass() + semitones) % 12 + 12) % 12;
  const int sharps = (major * 7) % 12;
  const bool flats = key.bemol != 0 && key.alterations != 0;
  const int fifths = sharps == 0 ? 0 : (flats && sharps - 12 >= -7) || sharps > 7 ? sharps - 12 : sharps;
  moved.SetSignature(fifths, minor);
  return moved;
}

int FormatAlterations(CSystemArray& section) {
  if (section.systems.empty()) return 0;
  const size_t i = section.GatherActiveInstrumentVoices();
  CInstrumentDlg& definition = *section.Definition(i);
  definition.gatheredList.RespellVoices(TransposedKey(definition.key, definition.key.transpose));
  definition.ReleaseGatheredVoices();
  return 0;
}

int CreateNotationFromTablature(CSystemArray& section, bool grandStaff) {
  if (section.systems.empty()) return 0;
  const size_t i = section.GatherActiveInstrumentVoices();
  CInstrumentDlg& active = *section.Definition(i);
  if (!HoldsNotes(active.gathered[0])) {
    active.ReleaseGatheredVoices();
    return 0;
  }
  active.EnsureStave();
  active.staves.at(0)->spaceBelow = 3;
  CTabInstrument& tab = active.tabInstrument;
  tab.tabFont.staveAdjust.cy = 21;
  tab.tabFont.pointSize.cx = 100;
  tab.flagsHeight = 0x5600;

  auto added = active.Clone();
  added->ApplyNotationPreset(grandStaff ? kGrandStaffPreset : kGuitarStaffPreset);
  active.gathered[0].SplitIntoNotationVoices(added->gatheredList, section.numerator, section.denominator);
  const uint16_t shifts[2] = {grandStaff ? uint16_t{0} : uint16_t{4}, grandStaff ? uint16_t{0} : static_cast<uint16_t>(-4)};
  for (size_t v = 0; v < 2; ++v) FinishNotationVoice(added->gathered[v], section, added->key, shifts[v]);
  for (size_t v = 0; v < 2; ++v) FinishNotationVoice(active.gathered[v], section, active.key, std::nullopt);
  for (const auto& e : added->gathered[1]) {
    if (e != nullptr && e->IsChord() && !e->IsShared()) e->metaEvents.clear();
  }
  if (grandStaff) added->SetVoiceStemDirections();

  section.AddInstrumentWithVoices(std::move(added));
  active.ReleaseGatheredVoices();
  // The active instrument's lines take its first stave, with the space below set above.
  section.ApplyStaveDefinition(*active.staves.at(0), i, 0);
  return 1;
}

int ChangeCourseTuning(CSystemArray& section, size_t instrument, int course, int midiPitch) {
  CTabInstrument& tab = section.Definition(instrument)->tabInstrument;
  if (course < 0 || course >= tab.CoursesInUse()) throw std::out_of_range("the instrument has no such course");
  if (midiPitch < kCoursePitchOffset || midiPitch > 127) throw std::out_of_range("the pitch is out of range");
  const int shift = midiPitch - (tab.OpenPitch(course) + kCoursePitchOffset);
  tab.tuning.SetCoursePitch(course, midiPitch);
  tab.tuningText = tab.tuning.GetTuningText();
  if (shift == 0) return 0;
  // Every system, hidden ones too: the tuning is the line's everywhere.
  for (const auto& system : section.systems.items()) {
    for (nChordArray* voice : system->Line(instrument)->Voices()) voice->RaiseOnCourse(static_cast<uint8_t>(course), shift);
  }
  return shift;
}

namespace {

// The chords of the bars of a voice, in order; system breaks and bar lines end a bar, the
// system breaks themselves belong to no bar.
std::vector<std::vector<size_t>> BarsOf(const nChordArray& voice) {
  std::vector<std::vector<size_t>> bars(1);
  for (size_t k = 0; k < voice.size(); ++k) {
    const nChord* e = voice[k];
    if (e == nullptr) continue;
    if (e->IsStaveBreak()) {
      if (!bars.back().empty()) bars.emplace_back();
      continue;
    }
    bars.back().push_back(k);
    if (e->IsBarLine()) bars.emplace_back();
  }
  if (bars.back().empty()) bars.pop_back();
  return bars;
}

const nChordArray& BarRangeVoice(const CInstrumentDlg& definition) {
  return definition.gathered[0].empty() ? definition.gathered[1] : definition.gathered[0];
}

}  // namespace

int CountActiveInstrumentBars(CSystemArray& section) {
  if (section.systems.empty()) return 0;
  CInstrumentDlg& definition = *section.Definition(section.GatherActiveInstrumentVoices());
  const int count = static_cast<int>(BarsOf(BarRangeVoice(definition)).size());
  definition.ReleaseGatheredVoices();
  return count;
}

size_t CopyBarRange(CSystemArray& section, nChordArray& destination, int firstBar, int lastBar) {
  if (section.systems.empty()) return 0;
  CInstrumentDlg& definition = *section.Definition(section.GatherActiveInstrumentVoices());
  const nChordArray& voice = BarRangeVoice(definition);
  const auto bars = BarsOf(voice);
  const int first = std::max(firstBar, 1);
  const int last = std::min(lastBar, static_cast<int>(bars.size()));
  nChordArray copies;
  for (int b = first; b <= last; ++b) {
    for (const size_t k : bars[static_cast<size_t>(b - 1)]) copies.push_back(nChordArray::CopyEntry(voice.HandleAt(k)));
  }
  definition.ReleaseGatheredVoices();
  if (copies.empty()) return 0;
  destination = std::move(copies);
  return destination.size();
}

void DeleteActiveVoice(CSystemArray& section) {
  section.RemoveActiveStave();
  ForEachActiveLine(section, [](CInstrument& line) { line.GetSelectedVoice() = nChordArray(); });
}

int TransferVoiceToNewInstrument(CSystemArray& section) {
  const size_t i = section.ActiveInstrumentIndex();
  CInstrument& active = *section.ActiveLine();
  const CClef settings(*active.GetCurrentStave());
  section.RemoveActiveStave();
  section.AddInstrument(SingleStaffCopy(*section.Definition(i), &settings));
  const size_t added = section.definitions.size() - 1;
  for (const auto& system : section.systems.items()) {
    CInstrument& old = *system->Line(i);
    system->Line(added)->firstVoice = nChordArray(old.secondVoice);
    old.GetSelectedVoice() = nChordArray();
  }
  return 1;
}

void ClearVoice(CSystemArray& section) {
  ForEachActiveLine(section, [](CInstrument& line) { line.GetSelectedVoice() = nChordArray(); });
}

void ClearAllNotes(CSystemArray& section) {
  ForEachActiveLine(section, [](CInstrument& line) {
    for (size_t v = 0; v < 2; ++v) {
      for (const auto& e : line.Voice(v)) {
        if (e != nullptr && e->IsChord() && e->ChordMark() == 0) e->notes.clear();
      }
    }
  });
}

std::pair<int32_t, int32_t> UpdateMarkedArea(CSystemArray& section) {
  const size_t i = section.ActiveInstrumentIndex();
  CInstrumentDlg& definition = section.GatherVoice(0, i, 0, 0);
  const nChordArray& voice = definition.gathered[0];
  int32_t begin = -1;
  int32_t end = -1;
  for (size_t k = 0; k < voice.size(); ++k) {
    const nChord* e = voice[k];
    if (e == nullptr) continue;
    const CMetaEvent* marker = e->metaEvents.Find(CMetaEvent::kMarker);
    if (marker == nullptr) continue;
    if (marker->cx == 0 && begin < 0) begin = static_cast<int32_t>(k);
    if (marker->cx != 0 && begin >= 0 && end < 0) end = static_cast<int32_t>(k);
  }
  if (begin >= 0 && end < 0) end = voice.empty() ? 0 : static_cast<int32_t>(voice.size() - 1);
  if (begin < 0) end = 0;
  definition.markers = {begin, end};
  definition.ReleaseGatheredVoices();
  return {begin, end};
}

int DeleteMarkedArea(CSystemArray& section) {
  const size_t i = section.ActiveInstrumentIndex();
  UpdateMarkedArea(section);
  CInstrumentDlg& definition = *section.Definition(i);
  if (definition.markers[0] < 0) return 0;
  const auto kept = definition.markers;
  section.GatherActiveInstrumentVoices();
  definition.markers = kept;
  definition.DeleteMarkedArea();
  definition.markers = {-1, 0};
  const nChordArray first = definition.gathered[0];
  const nChordArray second = definition.gathered[1];
  EmptyShownLines(section, i);
  definition.ReleaseGatheredVoices();
  section.ScatterVoice(first, i, 0);
  section.ScatterVoice(second, i, 1);
  section.RecalculateSection(true);
  section.ApplyCommandToActiveInstrument(ClearCommand::kMarkers);
  return 1;
}

namespace {

// The active line's current stave in the definition; the index is checked.
CClef& ActiveDefinitionStave(CSystemArray& section) {
  CInstrument& line = *section.ActiveLine();
  return *section.ActiveDefinition()->staves.at(static_cast<size_t>(line.activeStave));
}

}  // namespace

void ToggleTablatureNotationMode(CSystemArray& section) {
  CClef& stave = ActiveDefinitionStave(section);
  stave.type = stave.IsTablature() ? CClef::kStaff : CClef::kTablature;
  section.ApplyStaveDefinition(stave, section.ActiveInstrumentIndex());
}

void SetActiveStaveClef(CSystemArray& section, int32_t clef) {
  CClef& stave = ActiveDefinitionStave(section);
  stave.clefId = clef;
  section.ApplyStaveDefinition(stave, section.ActiveInstrumentIndex());
}

void SetActiveStaveEnabledVoices(CSystemArray& section, int32_t value) {
  CClef& stave = ActiveDefinitionStave(section);
  stave.enabledVoices = value;
  section.ApplyStaveDefinition(stave, section.ActiveInstrumentIndex());
}

void SetShortSignatures(CSystemArray& section, bool shortForm) {
  CInstrumentDlg& definition = *section.ActiveDefinition();
  definition.shortSignatures = shortForm ? 1 : 0;
  ForEachActiveLine(section, [shortForm](CInstrument& line) {
    line.firstVoice.SetTimeSignatureShort(shortForm);
    line.secondVoice.SetTimeSignatureShort(shortForm);
  });
}

void SetActiveNotationType(CSystemArray& section, int preset) {
  const size_t i = section.ActiveInstrumentIndex();
  CInstrumentDlg& definition = *section.Definition(i);
  definition.ApplyNotationPreset(preset);
  section.ApplyInstrumentDefinition(definition, i);
  for (const auto& system : section.systems.items()) system->Line(i)->activeStave = 0;
}

}  // namespace vornel
