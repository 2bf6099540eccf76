// Moving between systems, pages and sections, keeping the cursor in sight, finding a bar and
// the linear mode.

#include <algorithm>

#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "platform/UserPrompts.h"
#include "view/core/CBriotabView.h"
#include "view/core/ViewIds.h"
#include "view/render/pages/PageFitting.h"

namespace vornel::view {

namespace {

constexpr const char* kFindBarTitle = "Find bar number:";
// A stave brought into sight stands this far below the window's top.
constexpr int32_t kStaveMargin = 100;

// The system that holds bar `bar`: the systems' bar counts are added up until they pass it;
// a bar beyond the last system goes to the last system.
size_t SystemOfBar(CSystemArray& section, int32_t bar) {
  std::vector<int32_t> starts;
  section.GetSystemStartBars(starts);
  size_t target = 0;
  int64_t sum = 0;
  for (size_t k = 0; k < starts.size(); ++k) {
    sum += starts[k];
    if (sum > bar) break;
    target = k + 1;
  }
  return std::min(target, section.systems.empty() ? size_t{0} : section.systems.size() - 1);
}

// Puts the active stave's cursor on the bar line that opens bar `bar` of the active system.
void CursorToBar(CSystemArray& section, CInstrument& line, int32_t bar) {
  CClef* stave = line.GetCurrentStave();
  if (stave == nullptr) return;
  const CStaveArray* system = section.ActiveSystem();
  const int64_t inSystem = std::max<int64_t>(0, int64_t{bar} - static_cast<int64_t>(system != nullptr ? system->firstBar : 0));
  stave->cursorColumn = static_cast<int32_t>(line.GetSelectedVoice().GetBarLineIndex(static_cast<size_t>(inSystem)));
}

}  // namespace

int CBriotabView::GoToSystem(int index) {
  CSystemArray* section = ActiveSection();
  if (section == nullptr || index == section->activeSystem) return state_.pageIndex;
  // A system past the pages measured so far: those up to it are measured first, so that it
  // shows on its own page.
  while (!PagesLaidOut(*section) && index >= 0 &&
         static_cast<size_t>(index) >= section->FirstSystemOfPage(section->firstEstimatedPage)) {
    const size_t measured = section->firstEstimatedPage;
    if (ContinueLayout(kLayoutSystemsPerTick) || section->firstEstimatedPage <= measured) break;
  }
  const int page = doc_.SetActiveSystem(index);
  if (page != state_.pageIndex) {
    state_.pageIndex = page;
    state_.scrollToCursorPending = true;
    ScrollTo({0, 0});
    // A stave never laid out has no place yet: the page is drawn now to give it one.
    if (const CClef* stave = ActiveStave(); stave != nullptr && stave->area.bottom == stave->area.top) {
      Window().Invalidate();
      Window().UpdateNow();
    }
  }
  Window().Invalidate();
  EnsureCursorVisible();
  if (state_.scrollToCursorPending) ScrollCursorIntoView();
  ComputePlaybackRect();
  return state_.pageIndex;
}

void CBriotabView::EnsureCursorVisible() {
  CSystemArray* section = ActiveSection();
  const CClef* stave = ActiveStave();
  if (section == nullptr || stave == nullptr) {
    state_.scrollToCursorPending = false;
    return;
  }
  if (const CStaveArray* system = section->ActiveSystem(); system != nullptr && system->hidden != 0) return;
  const Rect client = LogicalClientRect();
  if (!client.Contains({0, stave->area.top}) || !client.Contains({0, stave->area.bottom})) {
    ScrollTo({0, stave->area.top - kStaveMargin});
  }
  state_.scrollToCursorPending = false;
  UpdateCaret();
}

void CBriotabView::ScrollCursorIntoView() {
  const std::optional<Point> cursor = CursorPoint();
  if (!cursor) return;
  const Rect client = LogicalClientRect();
  if (!client.Contains(*cursor)) ScrollTo({cursor->x, client.top});
}

void CBriotabView::ResetCursor() {
  Window().TakeFocus();
  GoToSystem(0);
  state_.pageIndex = 0;
  CClef* stave = ActiveStave();
  if (stave == nullptr) {
    Prompts().Beep(BeepKind::kExclamation);
  } else if (stave->MoveCursor(4, stave->IsTablature() ? 0 : -12) != 0) {
    UpdateCaret();
    ScrollCursorIntoView();
  }
  ScrollTo({0, 0});
  Window().Invalidate();
}

int CBriotabView::LastPageIndex() const {
  const CSystemArray* section = ActiveSection();
  if (section == nullptr || section->systems.empty()) return 0;
  return static_cast<int>(section->PageOfSystem(section->systems.size() - 1));
}

bool CBriotabView::CanPageUp() const { return state_.pageIndex >= 1 && !IsPlaying(); }

bool CBriotabView::CanPageDown() const { return state_.pageIndex < LastPageIndex() && !IsPlaying(); }

void CBriotabView::PageUp() {
  const CSystemArray* section = ActiveSection();
  if (section == nullptr || state_.pageIndex <= 0) return;
  const int target = state_.pageIndex - 1;
  state_.pageIndex = GoToSystem(static_cast<int>(section->FirstSystemOfPage(static_cast<size_t>(target))));
  // The system was active already (the page was turned another way): the page still turns.
  if (state_.pageIndex != target) state_.pageIndex = target;
  ScrollTo({0, 0});
  Window().Invalidate();
}

void CBriotabView::PageDown() {
  const CSystemArray* section = ActiveSection();
  if (section == nullptr || state_.pageIndex >= LastPageIndex()) return;
  const int target = state_.pageIndex + 1;
  state_.pageIndex = GoToSystem(static_cast<int>(section->FirstSystemOfPage(static_cast<size_t>(target))));
  if (state_.pageIndex < target) state_.pageIndex = target;
  ScrollTo({0, 0});
  Window().Invalidate();
}

void CBriotabView::SwitchSection(int index) {
  StopPlaying();
  if (index >= 0) doc_.SetActiveSection(index);
  ClearSelection();
  doc_.UpdateSectionList();
  state_.pageIndex = 0;
  Window().Invalidate();
}

void CBriotabView::PreviousSection() {
  if (doc_.sections.activeSection <= 0) {
    StopPlaying();
    ClearSelection();
    state_.pageIndex = 0;
    return;
  }
  SwitchSection(doc_.sections.activeSection - 1);
}

void CBriotabView::NextSection() { SwitchSection(doc_.sections.activeSection + 1); }

void CBriotabView::OnSectionListDoubleClick(int index) { SwitchSection(index); }

int CBriotabView::FindBar() {
  CSystemArray* section = ActiveSection();
  if (section == nullptr || section->systems.empty()) return state_.pageIndex;
  std::vector<int32_t> starts;
  const int32_t last = std::max(section->GetSystemStartBars(starts), 1);
  const std::optional<long> bar = Prompts().PromptNumber(kFindBarTitle, kFindBarTitle, 1, last, 1);
  if (!bar) return state_.pageIndex;
  GoToSystem(static_cast<int>(SystemOfBar(*section, static_cast<int32_t>(*bar))));
  if (CInstrument* line = ActiveLine()) CursorToBar(*section, *line, static_cast<int32_t>(*bar));
  UpdateCaret();
  ScrollCursorIntoView();
  return state_.pageIndex;
}

int CBriotabView::GoToBar(int bar, int sectionNumber) {
  SwitchSection(sectionNumber - 1);
  CSystemArray* section = ActiveSection();
  if (section == nullptr || section->systems.empty()) return state_.pageIndex;
  const size_t system = SystemOfBar(*section, bar);
  GoToSystem(static_cast<int>(system));
  section->activeSystem = static_cast<int32_t>(system);
  if (CInstrument* line = ActiveLine()) {
    CursorToBar(*section, *line, bar);
    if (!state_.following && line->MoveCursorToNextNote()) UpdateCaret();
  }
  state_.following = false;
  ScrollCursorIntoView();
  return state_.pageIndex;
}

void CBriotabView::ToggleLinearMode() {
  if (ActiveSection() == nullptr) return;
  state_.pageIndex = 0;
  doc_.ToggleLinearMode();
  UpdateScrollSizes();
  Window().Invalidate();
}

}  // namespace vornel::view
