// The score view's mouse: a click places the cursor (and makes the system under it active),
// a drag draws a rubber band that becomes the selection, or moves the meta-event it starts on
// (one undo step), Shift + click extends the selection from the cursor, a double click edits
// what lies under it, the right button opens the selection menu or the score menu, and the
// meta-event under the pointer is framed.

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "document/CPageDlg.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/DrawnColumns.h"
#include "model/events/CMetaEvent.h"
#include "model/voice/nChord.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "view/FramePanes.h"
#include "view/core/CBriotabView.h"
#include "view/entry/NoteEntry.h"
#include "view/core/PageEditing.h"
#include "view/core/ViewIds.h"
#include "view/render/pages/SectionPages.h"

namespace vornel::view {

namespace {

// The selection reaches this far above and below the active line.
constexpr int32_t kSelectionMargin = 12;

bool Intersects(const Rect& a, const Rect& b) {
  return std::max(a.left, b.left) < std::min(a.right, b.right) && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

Rect Normalized(Point a, Point b) {
  Rect r{a.x, a.y, b.x, b.y};
  r.Normalize();
  return r;
}

}  // namespace

void CBriotabView::OnLButtonDown(const MouseEvent& event) {
  if ((event.modifiers & kShiftKey) != 0) entry_->ShiftUsed();
  CPageDlg& page = doc_.settings.pageSettings;
  if (page.proportionalSpacing != 0) {
    page.proportionalSpacing = 0;
    Window().Invalidate();
  }
  CSystemArray* section = ActiveSection();
  if (section == nullptr) return;
  const Point point = ClientToLogical(event.point);
  try {
    Panes().SetStatusText(kInstrumentSlot, section->GetActiveInstrumentNameText());
  } catch (const std::out_of_range&) {
    // No active instrument to name.
  }
  const std::optional<Point> cursorBefore = CursorPoint();

  if (!IsPlaying()) {
    const size_t page = static_cast<size_t>(std::max(state_.pageIndex, 0));
    HitTestSystem(*section, section->FirstSystemOfPage(page), section->SystemsOnPage(page), point);
    UpdateCaret();
  }
  if (!state_.selection.IsEmpty()) {
    InvalidateLogical(state_.selection, 4);
    state_.selection = {};
  }
  if (PlaceCursorAtPoint(*section, state_.pageIndex, point)) Window().Invalidate();

  state_.shiftOnButtonDown = (event.modifiers & kShiftKey) != 0;
  if (state_.shiftOnButtonDown && cursorBefore) {
    state_.selection = Normalized(*cursorBefore, point);
    DrawSelection(true);
  }
  if (state_.doubleClicked) {
    DrawSelection(false);
    state_.doubleClicked = false;
    return;
  }
  // On a meta-event of the line the press drags the event instead of a band.
  if (!state_.shiftOnButtonDown && !IsPlaying()) {
    if (const std::optional<MetaEventSpot> spot = MetaEventAt(point)) {
      dragged_ = spot;
      dragStart_ = point;
      dragEnd_ = point;
      Window().CaptureMouse();
      return;
    }
  }
  StartBandAt(point);
}

std::optional<CBriotabView::MetaEventSpot> CBriotabView::MetaEventAt(Point logical) const {
  CInstrument* line = ActiveLine();
  const CClef* stave = ActiveStave();
  if (line == nullptr) return std::nullopt;
  const int view = stave == nullptr || stave->IsTablature() ? EventLocation::kTablature : EventLocation::kNotation;
  const nChordArray& voice = line->GetSelectedVoice();
  for (size_t c = 0; c < voice.size(); ++c) {
    const nChord* chord = voice.at(c);
    if (chord == nullptr) continue;
    for (size_t m = 0; m < chord->metaEvents.size(); ++m) {
      const CMetaEvent* event = chord->metaEvents[m];
      if (event == nullptr) continue;
      Rect rect = event->location.Rect(view);
      rect.Normalize();
      if (!rect.IsEmpty() && rect.Contains(logical)) return MetaEventSpot{c, m, view, rect};
    }
  }
  return std::nullopt;
}

std::optional<Rect> CBriotabView::HoveredMetaEvent() const {
  if (!hovered_) return std::nullopt;
  return hovered_->rect;
}

std::optional<Rect> CBriotabView::DraggedMetaEvent() const {
  if (!dragged_) return std::nullopt;
  Rect moved = dragged_->rect;
  moved.Offset(dragEnd_.x - dragStart_.x, dragEnd_.y - dragStart_.y);
  return moved;
}

void CBriotabView::HoverAt(Point logical) {
  std::optional<MetaEventSpot> spot = banding_ || dragged_ || IsPlaying() ? std::nullopt : MetaEventAt(logical);
  hoverPoint_ = logical;
  if (spot == hovered_) return;
  if (hovered_) InvalidateLogical(hovered_->rect, 3);
  hovered_ = spot;
  if (hovered_) InvalidateLogical(hovered_->rect, 3);
}

void CBriotabView::FinishEventDrag(Point logical) {
  const MetaEventSpot spot = *dragged_;
  if (const std::optional<Rect> outline = DraggedMetaEvent()) InvalidateLogical(*outline, 2);
  dragged_.reset();
  const Point drop{spot.rect.left + logical.x - dragStart_.x, spot.rect.top + logical.y - dragStart_.y};
  if (logical == dragStart_) return;
  CInstrument* line = ActiveLine();
  if (line == nullptr) return;
  nChordArray& voice = line->GetSelectedVoice();
  if (spot.chord >= voice.size() || voice.at(spot.chord) == nullptr) return;
  nChord& chord = *voice.at(spot.chord);
  if (spot.event >= chord.metaEvents.size() || chord.metaEvents[spot.event] == nullptr) return;
  CMetaEvent& event = *chord.metaEvents[spot.event];
  // The offset grows by the distance moved at the page's zoom; one undo step puts it back.
  const Size dpi = Window().Resolution();
  doc_.SaveSnapshot();
  if (!event.location.Move(spot.view, drop, dpi.cx, dpi.cy, doc_.settings.pageSettings.zoom)) {
    doc_.undoStack.PopFront();
    return;
  }
  hovered_.reset();
  doc_.NotifyChanged(kHintRepaintAll);
}

void CBriotabView::StartBandAt(Point logical) {
  banding_ = true;
  bandStart_ = logical;
  bandEnd_ = logical;
  Window().CaptureMouse();
}

void CBriotabView::OnMouseMove(const MouseEvent& event) {
  OnPointerMoved(event.point);
  if (dragged_) {
    if (const std::optional<Rect> before = DraggedMetaEvent()) InvalidateLogical(*before, 2);
    dragEnd_ = ClientToLogical(event.point);
    if (const std::optional<Rect> after = DraggedMetaEvent()) InvalidateLogical(*after, 2);
    return;
  }
  HoverAt(ClientToLogical(event.point));
  if (!banding_) return;
  const std::optional<Rect> before = Band();
  bandEnd_ = ClientToLogical(event.point);
  if (before) InvalidateLogical(*before, 2);
  if (const std::optional<Rect> after = Band()) InvalidateLogical(*after, 2);
}

void CBriotabView::OnLButtonUp(const MouseEvent& event) {
  Window().ReleaseMouse();
  if (dragged_) FinishEventDrag(ClientToLogical(event.point));
  if (banding_) {
    bandEnd_ = ClientToLogical(event.point);
    FinishBand(!state_.doubleClicked && !(bandEnd_ == bandStart_));
  }
  // The release that ends a double click: the next press starts a band again.
  state_.doubleClicked = false;
}

void CBriotabView::FinishBand(bool drawn) {
  if (const std::optional<Rect> band = Band()) InvalidateLogical(*band, 2);
  banding_ = false;
  if (drawn) {
    const Rect band = Normalized(bandStart_, bandEnd_);
    if (Intersects(band, LineRect())) {
      InvalidateLogical(state_.selection, 4);
      state_.selection = band;
      DrawSelection(true);
    }
    return;
  }
  DrawSelection(false);
  state_.doubleClicked = false;
}

std::optional<Rect> CBriotabView::Band() const {
  if (!banding_) return std::nullopt;
  return Normalized(bandStart_, bandEnd_);
}

void CBriotabView::OnLButtonDblClk(const MouseEvent& event) {
  state_.doubleClicked = true;
  // The press before the double click started a band or took a meta-event: it goes.
  if (banding_) {
    if (const std::optional<Rect> band = Band()) InvalidateLogical(*band, 2);
    banding_ = false;
  }
  if (dragged_) {
    if (const std::optional<Rect> outline = DraggedMetaEvent()) InvalidateLogical(*outline, 2);
    dragged_.reset();
  }
  if (ActiveSection() == nullptr) return;
  const Point point = ClientToLogical(event.point);
  if (!EditObjectAt(doc_, state_.pageIndex, point) && !EditTrackTextAt(doc_, point)) {
    const Size client = Window().ClientSize();
    ScrollTo({point.x - client.cx / 2, point.y - client.cy / 2});
  }
  Window().Invalidate();
}

void CBriotabView::OnContextMenu(Point client) {
  const Point point = ClientToLogical(client);
  int menu = 0;
  if (!state_.selection.IsEmpty() && state_.selection.Contains(point)) {
    menu = kSelectionMenu;
  } else if (CSystemArray* section = ActiveSection(); section != nullptr && section->activeSystem >= 0 &&
                                                      static_cast<size_t>(section->activeSystem) < section->systems.size()) {
    const CStaveArray* system = section->systems.at(static_cast<size_t>(section->activeSystem));
    if (system != nullptr && system->area.Contains(point)) menu = kScoreMenu;
  }
  if (menu != 0) Window().ShowContextMenu(menu, ContextMenu(menu), client);
}

Rect CBriotabView::GetSelectionRect() {
  const Rect line = LineRect();
  const CClef* stave = ActiveStave();
  const int64_t w = stave != nullptr ? stave->columnWidth : 0;
  const Rect& selection = state_.selection;
  if (w <= 0 || selection.Width() < w / 2) {
    state_.selection = {};
    return {};
  }
  // The column boundary nearest the left edge (halves going right) less a third of a
  // column; the start of the column holding the right edge plus a third. Columns stand where
  // the drawing put them (the even grid for a line never drawn).
  CInstrument* active = ActiveLine();
  const int32_t voiceIndex = active->selectedVoice != 0 ? 1 : 0;
  const nChordArray& voice = active->GetSelectedVoice();
  const auto columnX = [&](int64_t column) { return DrawnColumnX(*stave, voiceIndex, voice, column); };
  const auto columnAt = [&](int64_t x) {
    const int64_t drawn = DrawnColumnAt(*stave, voiceIndex, voice, x);
    return drawn >= 0 || voice.empty() ? std::max<int64_t>(drawn, 0) : (x - stave->area.left) / w;
  };
  int64_t first = columnAt(selection.left);
  if (2 * (selection.left - columnX(first)) >= columnX(first + 1) - columnX(first)) ++first;
  const int64_t left = columnX(first) - w / 3;
  const int64_t right = columnX(columnAt(selection.right)) + w / 3;
  const int32_t l = static_cast<int32_t>(std::clamp<int64_t>(std::max<int64_t>(left, line.left), INT32_MIN, INT32_MAX));
  const int32_t r = static_cast<int32_t>(std::clamp<int64_t>(std::min<int64_t>(right, line.right), INT32_MIN, INT32_MAX));
  if (r <= l || !Intersects({l, selection.top, r, selection.bottom}, line)) return {};
  return {l, line.top - kSelectionMargin, r, line.bottom + kSelectionMargin};
}

double CBriotabView::ColumnOfX(int32_t x) const {
  const CClef* stave = ActiveStave();
  CInstrument* active = ActiveLine();
  if (stave == nullptr || active == nullptr || stave->columnWidth <= 0) return 0;
  const int32_t voiceIndex = active->selectedVoice != 0 ? 1 : 0;
  const nChordArray& voice = active->GetSelectedVoice();
  const int64_t drawn = DrawnColumnAt(*stave, voiceIndex, voice, x);
  const int64_t column = drawn >= 0 || voice.empty() ? std::max<int64_t>(drawn, 0) : (x - stave->area.left) / stave->columnWidth;
  const int64_t from = DrawnColumnX(*stave, voiceIndex, voice, column);
  const int64_t width = DrawnColumnX(*stave, voiceIndex, voice, column + 1) - from;
  return static_cast<double>(column) + (width > 0 ? static_cast<double>(x - from) / static_cast<double>(width) : 0.0);
}

int32_t CBriotabView::XOfColumn(double column) const {
  const CClef* stave = ActiveStave();
  CInstrument* active = ActiveLine();
  if (stave == nullptr || active == nullptr || !std::isfinite(column)) return LineRect().left;
  const int32_t voiceIndex = active->selectedVoice != 0 ? 1 : 0;
  const nChordArray& voice = active->GetSelectedVoice();
  const double whole = std::clamp(std::floor(column), 0.0, double{INT32_MAX});
  const auto c = static_cast<int64_t>(whole);
  const int64_t from = DrawnColumnX(*stave, voiceIndex, voice, c);
  const int64_t to = DrawnColumnX(*stave, voiceIndex, voice, c + 1);
  const double x = static_cast<double>(from) + (column - whole) * static_cast<double>(to - from);
  return static_cast<int32_t>(std::clamp<double>(std::round(x), INT32_MIN, INT32_MAX));
}

void CBriotabView::DrawSelection(bool recompute) {
  if (state_.playing || printing_) return;
  InvalidateLogical(state_.selection, 4);
  if (recompute) {
    state_.selection = GetSelectionRect();
    InvalidateLogical(state_.selection, 4);
  }
}

void CBriotabView::ClearSelection() {
  InvalidateLogical(state_.selection, 4);
  state_.selection = {};
}

}  // namespace vornel::view
