// The music flow of a section: systems made and removed, gathering and scattering an
// instrument's voices, bar numbering and re-barring, reflowing the music over the systems.

#include <algorithm>
#include <array>
#include <deque>
#include <stdexcept>
#include <vector>

#include "model/score/CSystemArray.h"
#include "model/score/GatheredWalk.h"
#include "model/score/SharedStaveBreaks.h"
#include "model/score/StaveBreakPlaces.h"
#include "platform/UserPrompts.h"

namespace vornel {

namespace {

bool IsSystemBoundary(const nChord* e) { return e != nullptr && (e->status & 0xFFF3) == CSystemArray::kSystemBreakStatus; }

bool HasTexts(const CStaveArray& s) {
  const SystemCaption& c = s.Caption();
  return !c.captionString.empty() || !c.captionText.text.empty() || !c.rtfBox.text.empty() ||
         !c.captionPicture.path.empty();
}

// Index of the first chord starting at or after `tick`; the count when there is none.
size_t FirstChordAt(const nChordArray& list, uint32_t tick) {
  for (size_t i = 0; i < list.size(); ++i) {
    const nChord* e = list.at(i);
    if (e != nullptr && e->IsChord() && e->delta >= tick) return i;
  }
  return list.size();
}

// Takes an instrument's voice out of the shown systems into `taken` in the order gathering lists
// it: each system's entries followed by the section's system break, the breaks at the end left
// out. Each system's list is let go as soon as it is taken; the lines must be reachable.
void TakeVoice(CSystemArray& section, size_t instrument, size_t voice, std::deque<nChordArray::Handle>& taken) {
  const nChordArray::Handle& systemBreak = section.SystemBreak();
  size_t heldBreaks = 0;  // listed once an entry follows them
  for (size_t s = 0; s < section.systems.size(); ++s) {
    CStaveArray& system = *section.systems.at(s);
    if (system.hidden != 0) continue;
    nChordArray& list = system.Line(instrument)->Voice(voice);
    for (const nChordArray::Handle& entry : list) {
      if (entry == systemBreak) {
        ++heldBreaks;
        continue;
      }
      for (; heldBreaks > 0; --heldBreaks) taken.push_back(systemBreak);
      taken.push_back(entry);
    }
    ++heldBreaks;
    // Moved out, the list's storage goes at once; the voice keeps its other state, as clearing
    // it would.
    nChordArray emptied = std::move(list);
  }
}

// A voice list put on the systems from its start: a run of entries up to the next system
// boundary, the length of that run, the entries taken one by one, and the boundaries passed.
// The entries of a gathered list are copied (the list keeps them).
class ListRuns {
 public:
  explicit ListRuns(const nChordArray& list) : list_(list) {}
  bool Done() const { return i_ >= list_.size(); }
  bool AtBoundary() const { return IsSystemBoundary(list_[i_]); }
  void SkipBoundary() { ++i_; }
  size_t RunLength() const {
    size_t end = i_;
    while (end < list_.size() && !IsSystemBoundary(list_[end])) ++end;
    return end - i_;
  }
  nChordArray::Handle Take() { return list_.HandleAt(i_++); }

 private:
  const nChordArray& list_;
  size_t i_ = 0;
};

// The entries taken out of the systems for a reflow, with the places where breaking them into
// systems of about `run` entries puts a stave break, which stand in the list only as boundaries.
// The entries are moved out as they are put on the systems, and the list gives its storage back
// as it empties, so that each handle is held about once.
class TakenRuns {
 public:
  TakenRuns(std::deque<nChordArray::Handle>& taken, size_t run, bool breaks, BreakAtBar where) : taken_(taken) {
    if (breaks) PlaceStaveBreaks(run, where);
  }
  // The breaks placed for all the section's voices together.
  TakenRuns(std::deque<nChordArray::Handle>& taken, std::vector<size_t> places)
      : taken_(taken), places_(std::move(places)) {}
  bool Done() const { return taken_.empty(); }
  bool AtBoundary() const { return AtPlace() || IsSystemBoundary(taken_.front().get()); }
  void SkipBoundary() {
    if (AtPlace()) {
      ++place_;
    } else {
      taken_.pop_front();
      ++consumed_;
    }
  }
  size_t RunLength() const {
    const size_t limit = place_ < places_.size() ? places_[place_] - consumed_ : taken_.size();
    size_t end = 0;
    while (end < limit && !IsSystemBoundary(taken_[end].get())) ++end;
    return end;
  }
  nChordArray::Handle Take() {
    nChordArray::Handle entry = std::move(taken_.front());
    taken_.pop_front();
    ++consumed_;
    return entry;
  }

 private:
  bool AtPlace() const { return place_ < places_.size() && places_[place_] == consumed_; }
  void PlaceStaveBreaks(size_t run, BreakAtBar where) {
    places_ = StaveBreakPlaces(taken_.size(), run, [this](size_t i) { return taken_[i].get(); }, where);
  }

  std::deque<nChordArray::Handle>& taken_;
  std::vector<size_t> places_;  // entry indices a break goes before, ascending
  size_t place_ = 0;
  size_t consumed_ = 0;
};

// Puts the runs of a voice list on the shown systems from the first on, one run to a system;
// `append` adds a system at the end when they run out. Each system makes room for its run at
// once (a section holds many short voices: growing each by doubling would waste much of them).
template <typename Runs, typename Append>
void ScatterRuns(Runs& runs, OwnedArray<CStaveArray>& systems, size_t instrument, size_t voice, Append&& append) {
  const auto shownFrom = [&systems](size_t s) {
    while (s < systems.size() && systems.at(s)->hidden != 0) ++s;
    return s;
  };
  size_t s = shownFrom(0);
  while (!runs.Done()) {
    if (runs.AtBoundary()) {
      runs.SkipBoundary();
      s = shownFrom(s + 1);
      continue;
    }
    const size_t run = runs.RunLength();
    if (s >= systems.size()) {
      append();
      s = systems.size() - 1;
    }
    nChordArray& target = systems.at(s)->Line(instrument)->Voice(voice);
    target.reserve(target.size() + run);
    for (size_t k = 0; k < run; ++k) target.push_back(runs.Take());
  }
}

// Where the voices taken out of a section for a reflow break when they break together: empty
// when fewer than two of them hold music, which break as a voice alone does.
std::vector<std::array<std::vector<size_t>, 2>> SharedBreaks(
    const CSystemArray& section, const std::vector<std::array<std::deque<nChordArray::Handle>, 2>>& taken,
    size_t runLength, BreakAtBar where) {
  const CInstrumentArray& definitions = section.definitions;
  std::vector<SlotVoice> voices;
  std::vector<std::pair<size_t, size_t>> owners;
  bool engraved = false;
  for (size_t d = 0; d < taken.size() && d < definitions.size(); ++d) {
    const CInstrumentDlg& definition = *definitions.at(d);
    for (const auto& stave : definition.staves.items()) {
      engraved = engraved || (stave != nullptr && SpacedAsEngraved(*stave, &definition.tabInstrument));
    }
    for (size_t v = 0; v < 2; ++v) {
      SlotVoice voice;
      voice.halfColumnBars = definition.showBarlines != 0;
      voice.events.reserve(taken[d][v].size());
      bool music = false;
      for (const nChordArray::Handle& e : taken[d][v]) {
        voice.events.push_back(e.get());
        music = music || (e != nullptr && !IsSystemBoundary(e.get()));
      }
      if (!music) continue;
      voices.push_back(std::move(voice));
      owners.emplace_back(d, v);
    }
  }
  if (voices.size() < 2) return {};
  std::vector<std::vector<size_t>> places =
      SharedStaveBreakPlaces(voices, runLength, engraved ? SlotSpacing::kEngraved : SlotSpacing::kTablature, where);
  std::vector<std::array<std::vector<size_t>, 2>> shared(taken.size());
  for (size_t k = 0; k < owners.size(); ++k) shared[owners[k].first][owners[k].second] = std::move(places[k]);
  return shared;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Systems

std::unique_ptr<CStaveArray> CSystemArray::MakeSystem() const {
  auto system = std::make_unique<CStaveArray>();
  std::vector<CInstrumentDlg*> list;
  for (const auto& definition : definitions.items()) list.push_back(definition.get());
  system->RebuildLines(list);
  system->layoutWords = {static_cast<uint32_t>(newSystemValues[0]), static_cast<uint32_t>(newSystemValues[1])};
  return system;
}

CStaveArray* CSystemArray::NewSystem(int mode) {
  std::unique_ptr<CStaveArray> system = MakeSystem();
  const size_t active = std::min(static_cast<size_t>(std::max(activeSystem, 0)), systems.size());
  switch (mode) {
    case kAppend: return systems.push_back(std::move(system));
    case kInsertAtActive: return systems.insert(active, std::move(system));
    case kInsertAfterActive: return systems.insert(std::min(active + 1, systems.size()), std::move(system));
    default: return nullptr;
  }
}

size_t CSystemArray::FirstShownSystem() {
  for (size_t s = 0; s < systems.size(); ++s) {
    if (systems.at(s)->hidden == 0) return s;
  }
  NewSystem(kAppend);
  return systems.size() - 1;
}

int CSystemArray::DeleteActiveSystem() {
  const size_t active = static_cast<size_t>(activeSystem);
  if (systems.size() >= 2) {
    systems.at(active);  // checked
    systems.erase(active);
  } else if (systems.size() == 1) {
    for (const auto& line : systems.at(0)->lines.items()) line->DeleteAllChords();
  }
  if (activeSystem > 0) --activeSystem;
  return 1;
}

void CSystemArray::DeleteAllSystems() { systems.clear(); }

void CSystemArray::DeleteBlankSystems() {
  for (size_t s = systems.size(); s-- > 1;) {
    const CStaveArray& system = *systems.at(s);
    if (system.hidden == 0 && !HasTexts(system) && system.HasNoMusic()) systems.erase(s);
  }
  activeSystem = std::clamp(activeSystem, 0, std::max(static_cast<int32_t>(systems.size()) - 1, 0));
}

void CSystemArray::MergeSystemIntoPrevious(size_t s) {
  if (s == 0 || s >= systems.size()) return;
  CStaveArray& source = *systems.at(s);
  CStaveArray& target = *systems.at(s - 1);
  // Both voices go along: the system and whatever stays in it are deleted.
  for (size_t j = 0; j < source.lines.size() && j < target.lines.size(); ++j) {
    for (size_t v = 0; v < 2; ++v) {
      nChordArray& from = source.Line(j)->Voice(v);
      nChordArray& to = target.Line(j)->Voice(v);
      for (const auto& handle : from) to.push_back(handle);
      from.DeleteChords();
    }
  }
  systems.erase(s);
  if (activeSystem > 0) --activeSystem;
  RebarSystem(s - 1, false);
}

void CSystemArray::MoveRun(nChordArray& from, nChordArray& to, bool up) {
  if (from.empty()) return;
  size_t begin = 0;
  size_t end = from.size();
  if (up) {
    for (size_t i = 0; i < from.size(); ++i) {
      const nChord* e = from.at(i);
      if (e != nullptr && e->IsBarLine()) {
        end = i + 1;
        break;
      }
    }
  } else {
    for (size_t i = from.size() - 1; i-- > 0;) {
      const nChord* e = from.at(i);
      if (e != nullptr && e->IsBarLine()) {
        begin = e->status == 1 ? i : i + 1;
        break;
      }
    }
  }
  std::vector<nChordArray::Handle> run;
  for (size_t i = begin; i < end; ++i) run.push_back(from.HandleAt(i));
  for (size_t i = end; i-- > begin;) from.release(i);
  if (up) {
    for (auto& handle : run) to.push_back(std::move(handle));
  } else {
    for (size_t i = 0; i < run.size(); ++i) to.insert(i, std::move(run[i]));
  }
}

int CSystemArray::MoveLineBarAcrossSystems(size_t s, size_t instrument, int direction, bool selectedVoiceOnly) {
  const bool up = direction == 0;
  CInstrument& source = *systems.at(s)->Line(instrument);
  if (up && s == 0) return 1;
  // The last system's bar goes to a new system after it.
  if (!up && s + 1 == systems.size()) systems.push_back(MakeSystem());
  CInstrument& target = *systems.at(up ? s - 1 : s + 1)->Line(instrument);
  if (selectedVoiceOnly) {
    MoveRun(source.activeStave == 0 ? source.firstVoice : source.secondVoice, target.GetSelectedVoice(), up);
  } else {
    MoveRun(source.firstVoice, target.firstVoice, up);
    MoveRun(source.secondVoice, target.secondVoice, up);
  }
  return 1;
}

int CSystemArray::ShiftSystemBars(int direction) {
  const size_t s = static_cast<size_t>(activeSystem);
  const size_t count = systems.at(s)->lines.size();
  for (size_t j = 0; j < count; ++j) MoveLineBarAcrossSystems(s, j, direction, false);
  return 1;
}

int CSystemArray::InsertSpecialEventColumn(size_t s, size_t position, bool rightSpace) {
  static constexpr uint16_t kSpace = (nChord::kStaticSpace << 4) | nChord::kSpecialEvent;
  static constexpr uint16_t kRightSpace = (nChord::kSectionOwned << 4) | nChord::kSpecialEvent;
  int inserted = 0;
  for (const auto& line : systems.at(s)->lines.items()) {
    for (nChordArray* voice : line->Voices()) {
      if (voice->size() <= position) continue;
      if (rightSpace) {
        voice->insert(position + 1, std::make_unique<nChord>(kRightSpace));
      } else {
        voice->insert(position, std::make_unique<nChord>(kSpace));
      }
      inserted = 1;
    }
  }
  return inserted;
}

int CSystemArray::InsertSpecialEventColumnAtCursor(bool rightSpace) {
  const int32_t column = ActiveLine()->GetCurrentStave()->cursorColumn;
  if (column < 0) return 0;
  return InsertSpecialEventColumn(static_cast<size_t>(activeSystem), static_cast<size_t>(column), rightSpace);
}

// ---------------------------------------------------------------------------------------------
// Gathering and scattering

CInstrumentDlg& CSystemArray::GatherVoice(size_t first, size_t instrument, size_t voice, uint32_t tick) {
  CInstrumentDlg& definition = *definitions.at(instrument);
  if (voice >= definition.gathered.size()) throw std::out_of_range("an instrument has two voices");
  nChordArray& list = definition.gathered[voice];
  list = nChordArray();
  size_t count = 0;
  for (size_t s = first; s < systems.size(); ++s) {
    const CStaveArray& system = *systems.at(s);
    if (system.hidden == 0 && instrument < system.lines.size()) count += system.Line(instrument)->Voice(voice).size() + 1;
  }
  list.reserve(count);
  for (size_t s = first; s < systems.size(); ++s) {
    const CStaveArray& system = *systems.at(s);
    if (system.hidden != 0) continue;
    for (const auto& handle : system.Line(instrument)->Voice(voice)) list.push_back(handle);
    list.push_back(systemBreak_);
  }
  while (!list.empty() && list.back() == systemBreak_.get()) list.release(list.size() - 1);
  list.UpdateTickPositions(numerator, denominator);
  for (size_t v = 0; v < definition.gathered.size(); ++v) definition.startIndexes[v] = FirstChordAt(definition.gathered[v], tick);
  definition.staveBreakCounts[voice] = static_cast<size_t>(
      std::count_if(list.begin(), list.end(), [](const nChordArray::Handle& e) { return IsSystemBoundary(e.get()); }));
  return definition;
}

size_t CSystemArray::GatherActiveInstrumentVoices() {
  const size_t instrument = ActiveInstrumentIndex();
  GatherVoice(0, instrument, 0, 0);
  GatherVoice(0, instrument, 1, 0);
  return instrument;
}

void CSystemArray::GatherAllVoices(size_t first) {
  for (size_t d = 0; d < definitions.size(); ++d) {
    GatherVoice(first, d, 0, 0);
    GatherVoice(first, d, 1, 0);
  }
}

void CSystemArray::ClearGatheredVoices() {
  for (const auto& definition : definitions.items()) definition->ReleaseGatheredVoices();
}

void CSystemArray::ScatterVoice(const nChordArray& list, size_t instrument, size_t voice) {
  ListRuns runs(list);
  ScatterRuns(runs, systems, instrument, voice, [this] { systems.push_back(MakeSystem()); });
}

// ---------------------------------------------------------------------------------------------
// Bars

void CSystemArray::CarryTimeSignatures(size_t s) {
  // A voice starts in the meter its line's voice ended in on the system before (the section's
  // meter on the first system), never in what an earlier cutting of the same voice left behind.
  CStaveArray& system = *systems.at(s);
  const CStaveArray* previous = s > 0 ? systems.at(s - 1) : nullptr;
  for (size_t j = 0; j < system.lines.size(); ++j) {
    for (size_t v = 0; v < 2; ++v) {
      const CMetaEvent* carried = nullptr;
      if (previous != nullptr && j < previous->lines.size()) {
        carried = previous->Line(j)->Voice(v).CurrentTimeSignature();
      }
      system.Line(j)->Voice(v).SetCurrentTimeSignature(carried);
    }
  }
}

void CSystemArray::RebarSystem(size_t s, bool align) {
  CStaveArray& system = *systems.at(s);
  uint32_t start = 0;
  if (s > 0) {
    const CStaveArray& previous = *systems.at(s - 1);
    if (!previous.lines.empty()) start = previous.Line(0)->barPosition;
  }
  for (const auto& line : system.lines.items()) line->barPosition = start;
  CarryTimeSignatures(s);

  if (!align) {
    for (const auto& line : system.lines.items()) {
      for (nChordArray* voice : line->Voices()) voice->RebarVoice(numerator, denominator, start);
      line->barPosition = line->firstVoice.BarPosition();
    }
    return;
  }
  CVoicesArray together;
  for (const auto& line : system.lines.items()) {
    for (nChordArray* voice : line->Voices()) {
      if (!voice->empty()) together.push_back(voice);
    }
  }
  if (together.size() == 0) {
    Prompts().Beep(BeepKind::kExclamation);
    return;
  }
  uint32_t barLength = 0;
  for (nChordArray* voice : together) barLength = voice->RebarVoice(numerator, denominator, start);
  together.AlignVoices(barLength);
  for (const auto& line : system.lines.items()) {
    if (!line->firstVoice.empty()) line->barPosition = line->firstVoice.BarPosition();
  }
}

void CSystemArray::NumberBars(int keepBars) {
  uint32_t running = static_cast<uint32_t>(barOffset);
  const uint32_t last = systems.empty() ? 0 : static_cast<uint32_t>(systems.size() - 1);
  for (size_t s = 0; s < systems.size(); ++s) {
    CStaveArray& system = *systems.at(s);
    system.positionWord = (last << 16) | (static_cast<uint32_t>(s) & 0xFFFF);
    if (keepBars == 0) system.bars.DeleteAll();
    if (system.hidden != 0) continue;
    const uint32_t first = system.barSequenceRestart != 0 ? 1 : running;
    system.firstBar = first;
    system.nextBar = system.lines.empty() ? first : system.Line(0)->GetSelectedVoice().NumberBars(first, system.bars);
    running = system.nextBar;
    // The other voices' bar lines take their numbers too, so that what a file holds does not
    // depend on which line was aligned or which voice was selected when it was written.
    // Their bar records are not kept: one scratch list serves them all.
    CBarArray scratch;
    for (size_t j = 0; j < system.lines.size(); ++j) {
      CInstrument& line = *system.Line(j);
      for (size_t v = 0; v < 2; ++v) {
        nChordArray& voice = line.Voice(v);
        if (j == 0 && &voice == &line.GetSelectedVoice()) continue;
        voice.NumberBars(first, scratch);
      }
    }
  }
}

int32_t CSystemArray::GetSystemStartBars(std::vector<int32_t>& starts) {
  NumberBars(0);
  if (systems.size() < 2) return 0;
  for (size_t s = 1; s < systems.size(); ++s) {
    const uint32_t before = s == 1 ? 0 : systems.at(s - 1)->firstBar;
    starts.push_back(static_cast<int32_t>(systems.at(s)->firstBar - before));
  }
  return static_cast<int32_t>(systems.back()->nextBar) - 1;
}

void CSystemArray::RecalculateSection(bool align) {
  if (systems.empty()) return;
  // The voices are walked where they stand rather than gathered into lists that are let go at
  // once: the walks set the tick positions gathering sets. Where a line cannot be reached,
  // gathering is called to throw as it does.
  if (!definitions.empty()) {
    const size_t active = ActiveInstrumentIndex();
    if (!CanGatherLines(*this, 0, active)) GatherActiveInstrumentVoices();
    UpdateGatheredTicks(*this, 0, active, 0);
    UpdateGatheredTicks(*this, 0, active, 1);
  }
  for (size_t s = 0; s < systems.size(); ++s) RebarSystem(s, align);
  // One numbering pass: a second one over the records the first made changes nothing.
  NumberBars(0);
  for (size_t d = 0; d < definitions.size(); ++d) {
    if (!CanGatherLines(*this, 0, d)) GatherVoice(0, d, 0, 0);
    UpdateGatheredTicks(*this, 0, d, 0);
    UpdateGatheredTicks(*this, 0, d, 1);
    definitions.at(d)->ReleaseGatheredVoices();
  }
  // The section key into every system, and the notes of every line's first voice spelled in it.
  for (const auto& system : systems.items()) {
    system->key = key;
    for (const auto& line : system->lines.items()) line->firstVoice.RespellInKey(key);
  }
}

// ---------------------------------------------------------------------------------------------
// Reflow

int CSystemArray::ReflowSystems(bool join, size_t runLength, BreakAtBar where) {
  if (!join) RecalculateSection(false);
  // Where a line cannot be reached, gathering throws as it does, before anything is taken.
  for (size_t d = 0; d < definitions.size(); ++d) {
    if (!CanGatherLines(*this, 0, d)) GatherVoice(0, d, 0, 0);
  }
  // Each instrument's voices are taken out of the systems as gathering lists them (with the
  // tick positions gathering gives), each system's list let go once it is taken, rather than
  // gathered beside them: the handles are held once throughout.
  std::vector<std::array<std::deque<nChordArray::Handle>, 2>> taken(definitions.size());
  for (size_t d = 0; d < definitions.size(); ++d) {
    for (size_t v = 0; v < 2; ++v) {
      UpdateGatheredTicks(*this, 0, d, v);
      TakeVoice(*this, d, v, taken[d][v]);
    }
    ClearInstrumentData(d, false);
  }
  DeleteBlankSystems();
  // Several voices break together, where the columns they share fill a system.
  std::vector<std::array<std::vector<size_t>, 2>> shared;
  if (!join && systemBreak_ != nullptr) shared = SharedBreaks(*this, taken, runLength, where);
  const size_t first = FirstShownSystem();
  for (size_t d = 0; d < definitions.size(); ++d) {
    CInstrument& line = *systems.at(first)->Line(d);
    for (size_t v = 0; v < 2; ++v) {
      std::deque<nChordArray::Handle>& list = taken[d][v];
      nChordArray& voice = line.Voice(v);
      voice.DeleteChords();
      if (join) {
        // Joined, the music goes without its stave breaks.
        voice.reserve(static_cast<size_t>(
            std::count_if(list.begin(), list.end(), [](const nChordArray::Handle& e) { return !IsSystemBoundary(e.get()); })));
        for (; !list.empty(); list.pop_front()) {
          if (!IsSystemBoundary(list.front().get())) voice.push_back(std::move(list.front()));
        }
      } else {
        TakenRuns runs = shared.empty() ? TakenRuns(list, runLength, systemBreak_ != nullptr, where)
                                        : TakenRuns(list, std::move(shared[d][v]));
        ScatterRuns(runs, systems, d, v, [this] { systems.push_back(MakeSystem()); });
      }
    }
  }
  ClearGatheredVoices();
  RecalculateSection(true);
  return 1;
}

int CSystemArray::ReflowAllInstruments() {
  GatherAllVoices(0);
  for (size_t d = 0; d < definitions.size(); ++d) ClearInstrumentData(d, false);
  for (size_t d = 0; d < definitions.size(); ++d) ReflowInstrument(d);
  ClearGatheredVoices();
  RecalculateSection(false);
  return 1;
}

void CSystemArray::ReflowInstrument(size_t instrument) {
  CInstrumentDlg& definition = *definitions.at(instrument);
  for (size_t v = 0; v < definition.gathered.size(); ++v) {
    definition.gathered[v].RebarVoice(numerator, denominator);
    ScatterVoice(definition.gathered[v], instrument, v);
  }
}

// ---------------------------------------------------------------------------------------------
// The cursor

int64_t CSystemArray::GetPlaybackStartTick() {
  CInstrument& line = *ActiveLine();
  CClef& stave = *line.GetCurrentStave();
  int index = std::max(stave.cursorColumn, 0);
  const nChord* chord = line.GetSelectedVoice().SeekChord(index);
  if (chord == nullptr) return -1;
  stave.cursorColumn = index;
  GatherVoice(static_cast<size_t>(activeSystem), ActiveInstrumentIndex(), line.selectedVoice != 0 ? 1 : 0, 0);
  return chord->delta;
}

nChord* CSystemArray::GetCursorChord() const {
  CInstrument& line = *ActiveLine();
  const int32_t column = line.GetCurrentStave()->cursorColumn;
  nChordArray& voice = line.GetSelectedVoice();
  return column >= 0 && static_cast<size_t>(column) < voice.size() ? voice.at(static_cast<size_t>(column)) : nullptr;
}

}  // namespace vornel
