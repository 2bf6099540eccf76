// The score view's life, its page, its drawing and overlays, the caret, the zoom, the wheel,
// the tip and the document's hints.

#include "view/core/CBriotabView.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "document/CPageDlg.h"
#include "midi/play/MidiOutStream.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/DrawnColumns.h"
#include "model/Scaling.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/events/MetaEventEditor.h"
#include "model/voice/nChord.h"
#include "platform/UserPrompts.h"
#include "platform/draw/MulDiv.h"
#include "platform/draw/RecordingDevice.h"
#include "platform/draw/TextFaces.h"
#include "platform/text/FormatText.h"
#include "view/FramePanes.h"
#include "view/commands/ScoreCommandSupport.h"
#include "view/core/ViewIds.h"
#include "view/entry/NoteEntry.h"
#include "view/draw/FontDrawing.h"
#include "view/render/metaevents/MetaEventDrawing.h"
#include "view/render/pages/ClefRecords.h"
#include "view/render/pages/DocumentPages.h"
#include "view/render/pages/PageFitting.h"
#include "view/render/pages/TrackTextDrawing.h"

namespace vornel::view {

namespace {

// The message of a command that met an index outside its list.
constexpr const char* kImproperArgument = "Encountered an improper argument.";
// Room around the page for scrolling.
constexpr int32_t kScrollMargin = 100;
// How much a hint's area grows around its system: left, up, right, down.
constexpr int32_t kHintGrowLeft = 50;
constexpr int32_t kHintGrowUp = 170;
constexpr int32_t kHintGrowRight = 100;
constexpr int32_t kHintGrowDown = 150;
// The zoom steps of Ctrl + wheel.
constexpr int32_t kWheelZoomStep = 10;
constexpr int32_t kWheelZoomMin = 40;
constexpr int32_t kWheelZoomMax = 500;
constexpr int kWheelLines = 3;
// The document font of tips.
constexpr size_t kTipFont = 14;

int32_t SaneZoom(int32_t zoom) { return zoom > 0 ? std::min(zoom, 100000) : 100; }

Rect Intersection(const Rect& a, const Rect& b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.IsEmpty()) return {};
  return r;
}

dfLogFont TipFont(const CPageDlg& page) {
  // A font list too short for the tip's entry gives the default font.
  if (page.fonts.size() > kTipFont) return page.DocumentFont(kTipFont);
  return dfLogFont{};
}

}  // namespace

namespace {
// The view that follows the hyperlinks the model activates: the one activated last.
const CBriotabView* g_linkFollower = nullptr;
}  // namespace

CBriotabView::CBriotabView(CBriotabDoc& doc, ViewWindow& window, ViewServices services)
    : MSJSuperView(window), doc_(doc), services_(std::move(services)), entry_(std::make_unique<NoteEntry>(*this)) {
  AddCommands();
  entry_->AddCommands(commands_);
  // Whatever a command throws is reported by the table; the active section is put back as it
  // was before the command.
  commands_.SetGuard([this](const CommandEvent&, const std::function<void()>& run) {
    const int32_t section = doc_.sections.activeSection;
    try {
      run();
    } catch (...) {
      if (doc_.sections.activeSection != section) {
        doc_.sections.activeSection = section;
        Window().Invalidate();
      }
      try {
        throw;
      } catch (const std::out_of_range&) {
        throw std::runtime_error(kImproperArgument);
      } catch (const std::invalid_argument&) {
        throw std::runtime_error(kImproperArgument);
      }
    }
  });
}

CBriotabView::~CBriotabView() {
  // The links the model activates no longer come here.
  if (g_linkFollower == this) {
    SetHyperlinkFollower({});
    g_linkFollower = nullptr;
  }
  OnDestroy();
  if (observing_) doc_.RemoveObserver(this);
}

// ---------------------------------------------------------------------------------------------
// Life

void CBriotabView::OnInitialUpdate() {
  FollowLinks();
  if (player_ == nullptr) {
    player_ = std::make_unique<MidiOutStream>(services_.playerOwner, services_.playerOutput, services_.playerClock);
  }
  UpdateScrollSizes();
  if (!observing_) {
    doc_.AddObserver(this);
    observing_ = true;
  }
  state_.scrollToCursorPending = true;
  state_.caretStaveKind = 0;
}

void CBriotabView::OnActivateView() {
  FollowLinks();
  UpdatePageMetrics();
  ClearSelection();
  sectionsListed_ = false;
  if (!doc_.sections.empty()) doc_.UpdateSectionList();
}

void CBriotabView::FollowLinks() {
  SetHyperlinkFollower([this](const CMetaEvent& event) { RunGuarded([&] { FollowHyperlink(*this, event); }); });
  g_linkFollower = this;
}

void CBriotabView::OnSetFocus() {
  state_.caretShown = true;
  state_.caretStaveKind = 1;
  UpdateCaret();
}

void CBriotabView::OnKillFocus() {
  TakeDownTip();
  state_.caretShown = false;
  if (caret_ != CaretKind::kNone) {
    InvalidateLogical(caretRect_, 2);
    caret_ = CaretKind::kNone;
  }
}

void CBriotabView::OnDestroy() {
  if (player_ != nullptr) {
    player_->DetachOwner();
    if (player_->IsPlaying()) player_->Stop();
  }
  state_.playing = false;
  CloseEcho();
  Window().StopTimer(kEchoTimer);
  Window().StopTimer(kTipTimer);
  Window().StopTimer(kPanTimer);
}

// ---------------------------------------------------------------------------------------------
// The page

Size CBriotabView::UpdatePageMetrics() {
  CPageDlg& page = doc_.settings.pageSettings;
  const Size client = Window().ClientSize();
  const Size dpi = Window().Resolution();
  page.viewClientRect = {0, 0, client.cx, client.cy};
  const int32_t zoom = SaneZoom(page.zoom);
  const Size paper = page.PaperSizeTenths();
  int32_t width = MulDiv(MulDiv(paper.cx, zoom, 100), dpi.cx, 254);
  int32_t height = MulDiv(MulDiv(paper.cy, zoom, 100), dpi.cx, 254);
  if (doc_.settings.linearMode != 0 && !doc_.sections.empty()) {
    width = MulDiv(MulDiv(doc_.GetLinearPageWidth(), zoom, 100), dpi.cx, 254);
    height = client.cy;
  }
  RecordScreenDpi(page, dpi);
  FollowZoomWithSelection(zoom);
  state_.pageRect = {0, 0, width, height};
  page.pageRect = state_.pageRect;
  return {width, height};
}

// The selection is kept in pixels of the page as drawn: at another zoom it is taken as the
// columns of the active line it covers, and once the page is laid out at that zoom it is put
// on those columns again.
void CBriotabView::FollowZoomWithSelection(int32_t zoom) {
  if (selectionZoom_ != 0 && zoom != selectionZoom_ && !state_.selection.IsEmpty() && !selectionColumns_) {
    const CClef* stave = ActiveStave();
    if (stave != nullptr && stave->columnWidth > 0) {
      selectionColumns_ = {ColumnOfX(state_.selection.left), ColumnOfX(state_.selection.right)};
    } else {
      ClearSelection();
    }
  }
  selectionZoom_ = zoom;
}

void CBriotabView::RefitSelection() {
  if (!selectionColumns_) return;
  const auto [first, last] = *std::exchange(selectionColumns_, std::nullopt);
  const CClef* stave = ActiveStave();
  if (stave == nullptr || state_.selection.IsEmpty()) return;
  const Rect line = LineRect();
  state_.selection = {XOfColumn(first), line.top, XOfColumn(last), line.bottom};
  state_.selection = GetSelectionRect();
}

void CBriotabView::UpdateScrollSizes() {
  const Size page = UpdatePageMetrics();
  SetScrollSizes({page.cx + kScrollMargin, page.cy + kScrollMargin});
}

void CBriotabView::OnDraw(DeviceContext& dc) {
  if (doc_.sections.empty()) return;
  DrawPage(doc_, dc, state_.pageIndex);
  if (dc.IsPrinting()) return;
  // The page shows first; the pages after it are measured a part at a time, between the
  // user's own events.
  if (!PagesLaidOut(*ActiveSection())) Window().StartTimer(kLayoutTimer, kLayoutPeriodMs);
  RefitSelection();
  InvalidateIfSystemsMoved();
  SetPanes();
  if (state_.caretShown) UpdateCaret();
  if (state_.scrollToCursorPending) EnsureCursorVisible();
  if (!sectionsListed_) {
    sectionsListed_ = true;
    doc_.UpdateSectionList();
  }
}

// Every drawing lays the whole page out, but a repaint after a typed note shows only a strip
// of it: when the edit moved systems (a taller system pushes the ones after it down, or the
// page takes one system fewer), the rest of the window still shows them where they were.
void CBriotabView::InvalidateIfSystemsMoved() {
  std::vector<Rect> placed;
  placed.reserve(drawnSystems_.size());
  for (const auto& section : doc_.sections.items()) {
    if (section == nullptr) continue;
    for (const auto& system : section->systems) placed.push_back(system != nullptr ? system->area : Rect{});
  }
  if (placed == drawnSystems_) return;
  const bool known = !drawnSystems_.empty();
  drawnSystems_ = std::move(placed);
  if (known) Window().Invalidate();
}

void CBriotabView::SetPanes() {
  const CSystemArray* section = ActiveSection();
  if (section == nullptr) return;
  FramePanes& panes = Panes();
  try {
    panes.SetStatusText(kInstrumentSlot, section->GetActiveInstrumentNameText());
  } catch (const std::out_of_range&) {
    // No active instrument to name.
  }
  panes.SetStatusText(kKeySlot, section->key.GetKeyLabel());
  panes.SetStatusText(kSectionSlot, FormatText("%d [p. %d]", section->index + 1, state_.pageIndex + 1));
  panes.SetStatusText(kTempoSlot, FormatText("%d", section->tempo & 0xFFF));
  panes.SetStatusText(kZoomSlot, FormatText("%d%c", SaneZoom(doc_.settings.pageSettings.zoom), '%'));
  panes.SetStatusText(kAutoForwardSlot, FormatText("%s ", state_.autoAdvance ? "ON" : "OFF"));
  shownNoteValue_ = -1;
  ShowNoteValue();
}

void CBriotabView::ShowNoteValue() {
  static constexpr std::array<const char*, 8> kNames = {"Breve",  "Semibreve",  "Minim",          "Crotchet",
                                                        "Quaver", "Semiquaver", "Demisemiquaver", "Hemidemisemiquaver"};
  const int value = state_.noteValue & 7;
  if (value == shownNoteValue_) return;
  shownNoteValue_ = value;
  Panes().SetStatusText(kNoteValueSlot, kNames[static_cast<size_t>(value)]);
}

void CBriotabView::DrawOverlays(DeviceContext& dc) {
  if (dc.IsPrinting()) return;
  // The selection: a solid frame with its handles inside.
  if (!state_.selection.IsEmpty() && !state_.playing) {
    const Rect& s = state_.selection;
    const Pen oldPen = dc.SelectPen(Pen::Create(PS_SOLID, 1, RGB(0, 0, 0)));
    const Brush oldBrush = dc.SelectBrush(Brush::Null());
    dc.Rectangle(s);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
    const int32_t h = 5;
    const int32_t midX = (s.left + s.right) / 2 - h / 2;
    const int32_t midY = (s.top + s.bottom) / 2 - h / 2;
    for (const Point p : {Point{s.left, s.top}, Point{midX, s.top}, Point{s.right - h, s.top}, Point{s.left, midY},
                          Point{s.right - h, midY}, Point{s.left, s.bottom - h}, Point{midX, s.bottom - h},
                          Point{s.right - h, s.bottom - h}}) {
      dc.FillSolidRect({p.x, p.y, p.x + h, p.y + h}, RGB(0, 0, 0));
    }
  }
  // The rubber band being dragged, or the outline of the meta-event being moved.
  for (const std::optional<Rect>& outline : {Band(), DraggedMetaEvent()}) {
    if (!outline) continue;
    const Pen oldPen = dc.SelectPen(Pen::Create(PS_DOT, 1, RGB(0, 0, 0)));
    const Brush oldBrush = dc.SelectBrush(Brush::Null());
    dc.Rectangle(*outline);
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
  }
  // The meta-event under the pointer.
  if (hovered_ && !state_.playing) {
    if (CInstrument* line = ActiveLine()) {
      HighlightMetaEventAt(dc, line->GetSelectedVoice(), hovered_->view != EventLocation::kNotation, hoverPoint_);
    }
  }
  DrawPanMark(dc);
  if (state_.tipShown) {
    dfLogFont font = TipFont(doc_.settings.pageSettings);
    DrawLabelBox(font, state_.tipText, tipPoint_.x, tipPoint_.y, dc);
  }
  // The caret.
  if (caret_ != CaretKind::kNone && state_.caretShown) {
    const Rect& r = caretRect_;
    COLORREF colour = RGB(0, 0, 200);
    switch (caret_) {
      case CaretKind::kStaff:
      case CaretKind::kStaffAdvancing: colour = RGB(0, 130, 0); break;
      case CaretKind::kProportionalSpacing: colour = RGB(220, 120, 0); break;
      case CaretKind::kPlayback: colour = RGB(210, 0, 0); break;
      default: break;
    }
    const Pen oldPen = dc.SelectPen(Pen::Create(PS_SOLID, 2, colour));
    const Brush oldBrush = dc.SelectBrush(Brush::Null());
    if (caret_ == CaretKind::kPlayback) {
      dc.FillSolidRect({r.left, r.top, r.left + 3, r.bottom}, colour);
    } else if (caret_ == CaretKind::kStaff || caret_ == CaretKind::kStaffAdvancing) {
      dc.Ellipse(r);
    } else {
      dc.Rectangle(r);
    }
    if (caret_ == CaretKind::kProportionalSpacing) {
      dc.MoveTo(r.left, r.bottom);
      dc.LineTo(r.right, r.top);
    }
    if (caret_ == CaretKind::kTablatureAdvancing || caret_ == CaretKind::kStaffAdvancing) {
      // An arrow on the right: the cursor moves on after a note.
      const int32_t mid = (r.top + r.bottom) / 2;
      const int32_t a = std::max(3, r.Height() / 4);
      dc.SelectBrush(Brush::Solid(colour));
      const Point arrow[] = {{r.right + 1, mid - a}, {r.right + 1 + a, mid}, {r.right + 1, mid + a}};
      dc.Polygon(arrow);
    }
    dc.SelectBrush(oldBrush);
    dc.SelectPen(oldPen);
  }
}

void CBriotabView::RecreateCaret() {
  CaretKind kind = CaretKind::kNone;
  if (state_.playing) {
    kind = CaretKind::kPlayback;
  } else if (doc_.settings.pageSettings.proportionalSpacing != 0) {
    kind = CaretKind::kProportionalSpacing;
  } else if (state_.caretStaveKind == 1) {
    kind = state_.autoAdvance ? CaretKind::kTablatureAdvancing : CaretKind::kTablature;
  } else {
    kind = state_.autoAdvance ? CaretKind::kStaffAdvancing : CaretKind::kStaff;
  }
  if (kind != caret_) {
    caret_ = kind;
    InvalidateLogical(caretRect_, 8);
  }
}

namespace {

// The caret stands at its column as drawn, which need not be on the grid of column widths.
Point CaretPoint(const CInstrument& line, const CClef& stave) {
  Point p = stave.GetCursorPoint();
  const int32_t index = line.selectedVoice != 0 ? 1 : 0;
  const nChordArray& voice = index != 0 ? line.secondVoice : line.firstVoice;
  p.x = ScaleTruncated(int64_t{p.x} + DrawnColumnShift(stave, index, voice, stave.cursorColumn), 1, 1);
  return p;
}

}  // namespace

void CBriotabView::UpdateCaret() {
  CInstrument* line = ActiveLine();
  CClef* stave = ActiveStave();
  if (line == nullptr || stave == nullptr) return;
  // The line's selected voice follows the stave: its own choice when both voices are shown.
  if (stave->enabledVoices == CClef::kUpperVoice || stave->enabledVoices == CClef::kLowerVoice) {
    line->selectedVoice = stave->enabledVoices & 1;
  }
  const Point p = CaretPoint(*line, *stave);
  const int32_t width = std::max(6, stave->columnWidth * 3 / 5);
  const int32_t height = std::max(6, stave->lineSpacing);
  const Rect rect{p.x, p.y - height / 2, p.x + width, p.y + height / 2};

  if (!state_.playing) {
    const nChordArray& voice = line->GetSelectedVoice();
    const nChord* chord = nullptr;
    if (stave->cursorColumn >= 0 && static_cast<size_t>(stave->cursorColumn) < voice.size()) {
      chord = voice.at(static_cast<size_t>(stave->cursorColumn));
    }
    if (chord != nullptr && chord->IsChord() && (chord->status & 0x3) == 0 && chord->rhythm != 0) {
      state_.noteValue = static_cast<uint8_t>(chord->rhythm & 7);
      state_.flagKind = static_cast<uint8_t>((chord->rhythm >> 4) & 15);
    }
    Panes().SetStatusText(kCaretSlot, FormatText("%u-%u [%ld]", chord != nullptr ? chord->number : 0u,
                                                 chord != nullptr ? chord->position : 0u,
                                                 static_cast<long>(stave->cursorColumn)));
    Panes().SetStatusText(kAutoForwardSlot, FormatText("%s ", state_.autoAdvance ? "ON" : "OFF"));
    ShowNoteValue();
  }
  state_.caretStaveKind = stave->IsTablature() ? 1 : 0;
  const CaretKind before = caret_;
  RecreateCaret();
  if (rect != caretRect_ || before != caret_) {
    InvalidateLogical(caretRect_, 8);
    caretRect_ = rect;
    InvalidateLogical(caretRect_, 8);
  }
}

bool CBriotabView::ContinueLayout(size_t budget) {
  RecordingDevice like(Window().Resolution().cy, false, PangoTextEngine::Shared());
  like.SetRecording(false);
  const size_t lastPage = static_cast<size_t>(std::max(LastPageIndex(), 0));
  const bool done = ContinuePageLayout(doc_, like, budget);
  // The last page may be another now: the page count the window shows follows.
  if (static_cast<size_t>(std::max(LastPageIndex(), 0)) != lastPage) SetPanes();
  return done;
}

void CBriotabView::ForgetChangedClefRecords(int hint) {
  // An edit at the cursor changed the active system alone; anything else may have changed
  // any system.
  if (hint == kHintRepaintSystem || hint == kHintRepaintLine || hint == kHintRepaintStrip) {
    if (CSystemArray* section = ActiveSection(); section != nullptr && section->activeSystem >= 0) {
      ForgetClefRecordsAfter(*section, static_cast<size_t>(section->activeSystem));
      return;
    }
  }
  for (const auto& section : doc_.sections.items()) {
    if (section != nullptr) ForgetClefRecords(*section);
  }
}

// ---------------------------------------------------------------------------------------------
// Zoom, wheel and tip

void CBriotabView::SetZoomKeepingPosition(int32_t zoom) {
  CPageDlg& page = doc_.settings.pageSettings;
  const int32_t old = SaneZoom(page.zoom);
  zoom = SaneZoom(zoom);
  const Point scroll = Window().ScrollPosition();
  // The page's top left is the origin: the position keeps its place on the page.
  const Point position{MulDiv(scroll.x, zoom, old), MulDiv(scroll.y, zoom, old)};
  page.zoom = zoom;
  UpdateScrollSizes();
  Window().Invalidate();
  UpdateCaret();
  SetPanes();
  ScrollTo(position);
}

void CBriotabView::OnMouseWheel(const MouseEvent& event, int delta) {
  const uint32_t modifiers = event.modifiers & (kShiftKey | kControlKey | kAltKey);
  if (modifiers == kControlKey) {
    const int32_t zoom = SaneZoom(doc_.settings.pageSettings.zoom);
    const int32_t next = std::clamp(zoom + (delta > 0 ? kWheelZoomStep : -kWheelZoomStep), kWheelZoomMin, kWheelZoomMax);
    if (next != zoom) SetZoomKeepingPosition(next);
    return;
  }
  if (modifiers == kShiftKey || delta == 0) return;
  const int direction = delta < 0 ? kDown : kUp;
  ScrollBy(direction, PageStep().cy);
  ScrollBy(direction, kWheelLines * LineStep().cy);
}

void CBriotabView::ShowTip(const std::string& text, Point client, bool longForm) {
  if (text.empty()) return;
  TakeDownTip();
  Point p = ClientToLogical(client);
  p.x += longForm ? -10 : -5;
  p.y += longForm ? 5 : 2;
  dfLogFont font = TipFont(doc_.settings.pageSettings);
  RecordingDevice measuring(Window().Resolution().cy, false, PangoTextEngine::Shared());
  measuring.SetRecording(false);
  const Rect box = DrawLabelBox(font, text, p.x, p.y, measuring);
  state_.tipText = text;
  state_.tipRect = box;
  tipPoint_ = p;
  state_.tipShown = true;
  InvalidateLogical(state_.tipRect, 2);
  Window().StartTimer(kTipTimer, longForm ? 800 : 500);
}

void CBriotabView::TakeDownTip() {
  if (!state_.tipShown) return;
  Window().StopTimer(kTipTimer);
  InvalidateLogical(state_.tipRect, 2);
  state_.tipRect = {};
  state_.tipShown = false;
}

// ---------------------------------------------------------------------------------------------
// The document's hints

void CBriotabView::OnUpdate(const CBriotabDoc&, int hint, const CStaveArray* system) {
  ForgetChangedClefRecords(hint);
  if (hint == kHintSectionChanged && system == nullptr) {
    StopPlaying();
    state_.pageIndex = 0;
    ClearSelection();
    ScrollTo({0, 0});
    Window().Invalidate();
  }
  if (hint == kHintNothing) return;
  // The room systems take may have changed: the next drawing works out again how many fit.
  if (hint <= kHintRepaintAll || hint == kHintSectionChanged) {
    for (const auto& section : doc_.sections.items()) {
      if (section != nullptr) section->pageStarts.clear();
    }
  }
  UpdateScrollSizes();
  if (hint <= kHintRepaintAll) {
    Window().Invalidate();
    Window().TakeFocus();
    OnSetFocus();
    return;
  }
  if (system == nullptr) return;
  const CPageDlg& page = doc_.settings.pageSettings;
  const int32_t dpi = std::max(Window().Resolution().cx, 1);
  const int32_t spacing = static_cast<int32_t>(std::min<uint32_t>(page.cursorWidth, 100000));
  const int32_t pad = MulDiv(7 * MulDiv(spacing / 7, 254, dpi), SaneZoom(page.zoom), 100);
  Rect area = system->area;
  if (hint == kHintRepaintLine || hint == kHintRepaintStrip) {
    const Rect line = LineRect();
    const std::optional<Point> cursor = CursorPoint();
    const int32_t x = cursor ? cursor->x : line.left;
    area = {x - pad, line.top, x + pad, line.bottom};
  }
  area = LogicalToClient(area);
  area.left -= kHintGrowLeft;
  area.top -= kHintGrowUp;
  area.right += kHintGrowRight;
  area.bottom += kHintGrowDown;
  const Size client = Window().ClientSize();
  area = Intersection(area, {0, 0, client.cx, client.cy});
  if (area.IsEmpty()) return;
  area.left -= pad / 2;
  area.right += pad / 2;
  Window().InvalidateRect(area);
}

void CBriotabView::OnSectionListChanged(const std::vector<std::string>&, int32_t) { sectionsListed_ = true; }

// ---------------------------------------------------------------------------------------------
// The active path

CSystemArray* CBriotabView::ActiveSection() const {
  const int32_t active = doc_.sections.activeSection;
  if (active < 0 || static_cast<size_t>(active) >= doc_.sections.size()) return nullptr;
  return doc_.sections.at(static_cast<size_t>(active));
}

CInstrument* CBriotabView::ActiveLine() const {
  CSystemArray* section = ActiveSection();
  if (section == nullptr || section->activeSystem < 0 ||
      static_cast<size_t>(section->activeSystem) >= section->systems.size()) {
    return nullptr;
  }
  const CStaveArray* system = section->systems.at(static_cast<size_t>(section->activeSystem));
  if (system == nullptr || system->activeInstrument < 0 ||
      static_cast<size_t>(system->activeInstrument) >= system->lines.size()) {
    return nullptr;
  }
  return system->lines.at(static_cast<size_t>(system->activeInstrument));
}

CClef* CBriotabView::ActiveStave() const {
  CInstrument* line = ActiveLine();
  if (line == nullptr || line->activeStave < 0 || static_cast<size_t>(line->activeStave) >= line->staves.size()) {
    return nullptr;
  }
  return line->GetCurrentStave();
}

Rect CBriotabView::LineRect() const {
  const CClef* stave = ActiveStave();
  if (stave == nullptr) return {};
  const int32_t lines = std::max(stave->DrawnLineCount(), 1);
  return {stave->area.left, stave->area.top, stave->area.right, stave->area.top + (lines - 1) * stave->lineSpacing};
}

std::optional<Point> CBriotabView::CursorPoint() const {
  const CInstrument* line = ActiveLine();
  const CClef* stave = ActiveStave();
  if (line == nullptr || stave == nullptr) return std::nullopt;
  return CaretPoint(*line, *stave);
}

void CBriotabView::InvalidateLogical(const Rect& logical, int grow) {
  if (logical.IsEmpty()) return;
  Rect r = LogicalToClient(logical);
  r.Inflate(grow, grow);
  Window().InvalidateRect(r);
}

bool CBriotabView::IsPlaying() const { return state_.playing || (player_ != nullptr && player_->IsPlaying()); }

}  // namespace vornel::view
