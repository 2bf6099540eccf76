// The document's operations on the systems and pages of the active section: the active
// system, a new page of systems, the linear display mode and a fixed number of bars to a
// system.

#include <algorithm>

#include "document/CBriotabDoc.h"
#include "model/instrument/CInstrument.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"

namespace vornel {

namespace {

// The run of events per system when a section is laid out into the linear mode's one system.
constexpr size_t kLinearRun = 20;
// The fewest columns of the linear page.
constexpr int64_t kLinearColumns = 50;
// The cursor row a newly active system starts on (a staff's middle; a tablature's last
// course when it has fewer rows).
constexpr int32_t kStartRow = 6;

int32_t SystemsPerPage(const CSystemArray& section) { return section.SystemsOnAPage(); }

}  // namespace

int CBriotabDoc::SetActiveSystem(int index) {
  if (index < 0) return 0;
  CSystemArray& section = *GetActiveSection();
  if (section.systems.empty()) return 0;
  const size_t last = section.systems.size() - 1;
  size_t target = std::min(static_cast<size_t>(index), last);
  while (target < last && (section.systems.at(target) == nullptr || section.systems.at(target)->hidden != 0)) {
    ++target;
  }

  // The line and stave being edited carry over to the new system.
  int32_t line = 0;
  int32_t stave = 0;
  if (section.activeSystem >= 0 && static_cast<size_t>(section.activeSystem) < section.systems.size()) {
    const CStaveArray* previous = section.systems.at(static_cast<size_t>(section.activeSystem));
    if (previous != nullptr) {
      line = previous->activeInstrument;
      if (line >= 0 && static_cast<size_t>(line) < previous->lines.size() && previous->lines.at(static_cast<size_t>(line))) {
        stave = previous->lines.at(static_cast<size_t>(line))->activeStave;
      }
    }
  }
  section.activeSystem = static_cast<int32_t>(target);
  if (CStaveArray* system = section.systems.at(target); system != nullptr && !system->lines.empty()) {
    system->activeInstrument = std::clamp(line, 0, static_cast<int32_t>(system->lines.size()) - 1);
    CInstrument* active = system->lines.at(static_cast<size_t>(system->activeInstrument));
    if (active != nullptr && !active->staves.empty()) {
      active->activeStave = std::clamp(stave, 0, static_cast<int32_t>(active->staves.size()) - 1);
      CClef* clef = active->GetCurrentStave();
      if (clef != nullptr) {
        clef->cursorColumn = 0;
        clef->cursorRow = std::min(kStartRow, std::max(clef->CursorLineCount() - 1, 0));
      }
    }
  }
  return static_cast<int>(section.PageOfSystem(target));
}

int CBriotabDoc::AddNewPage() {
  CSystemArray& section = *GetActiveSection();
  if (section.systems.empty()) return 1;
  SaveSnapshot();
  for (int32_t i = 0; i < SystemsPerPage(section); ++i) section.NewSystem(CSystemArray::kAppend);
  SetModifiedFlag(true);
  UpdateAllViews(kHintRepaintAll);
  return 1;
}

void CBriotabDoc::ToggleLinearMode() {
  settings.linearMode = settings.linearMode != 0 ? 0 : 1;
  CSystemArray& section = *GetActiveSection();
  if (settings.linearMode != 0) {
    section.ReflowSystems(true, kLinearRun);
    return;
  }
  section.ReflowSystems(false, static_cast<size_t>(settings.GetCursorStepsPerPage()));
}

int32_t CBriotabDoc::GetLinearPageWidth() const {
  const CStaveArray* system = GetActiveSystem();
  const int64_t columns = std::max<int64_t>(kLinearColumns, system != nullptr ? static_cast<int64_t>(system->GetMaxChordCount()) : 0);
  const int64_t width = columns * std::max<uint32_t>(settings.pageSettings.cursorWidth, 1);
  return static_cast<int32_t>(std::min<int64_t>(width, 10'000'000));
}

int CBriotabDoc::ResetBarsPerStave(int bars) {
  if (bars < 1) return 0;
  CSystemArray& section = *GetActiveSection();
  if (section.systems.empty()) return 0;
  SaveSnapshot();
  section.GatherAllVoices(0);
  for (size_t d = 0; d < section.definitions.size(); ++d) section.ClearInstrumentData(d, false);
  section.DeleteBlankSystems();
  for (size_t d = 0; d < section.definitions.size(); ++d) {
    CInstrumentDlg& definition = *section.Definition(d);
    for (size_t v = 0; v < definition.gathered.size(); ++v) {
      nChordArray& list = definition.gathered[v];
      list.RebarVoice(section.numerator, section.denominator);
      // The old system breaks go; a new one stands after every `bars` bar lines that music
      // follows.
      nChordArray spaced;
      int seen = 0;
      bool breakDue = false;
      for (const nChordArray::Handle& handle : list) {
        const nChord* e = handle.get();
        if (e != nullptr && e->IsStaveBreak()) continue;
        if (breakDue) {
          spaced.push_back(section.SystemBreak());
          breakDue = false;
        }
        spaced.push_back(handle);
        if (e != nullptr && e->IsBarLine() && ++seen % bars == 0) breakDue = true;
      }
      section.ScatterVoice(spaced, d, v);
    }
  }
  section.ClearGatheredVoices();
  section.RecalculateSection(false);
  NotifyChanged(kHintRepaintAll);
  return 1;
}

}  // namespace vornel
