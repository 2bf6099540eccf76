// The score view's mouse without a window: placing the cursor, rubber bands snapped to chord
// columns, Shift + click, double clicks, the context menus, middle-button panning and the
// view's timers.

#include <gtest/gtest.h>

#include "ViewFixtures.h"
#include "layout/dialogs/MetaEventEditors.h"
#include "model/events/CMetaEvent.h"
#include "model/events/MetaEventEditor.h"
#include "view/core/MSJSuperView.h"

namespace vornel {
namespace {

using testing::ViewDocument;
using testing::ViewRig;
using view::MouseEvent;

MouseEvent Left(Point p, uint32_t modifiers = 0) { return {p, view::kLeftButton, modifiers}; }

// Where the drawing put a column of the active stave (the voices of a line share theirs, so
// columns are as wide as the music between them).
int32_t ColumnX(ViewRig& rig, size_t column) {
  return static_cast<int32_t>(rig.Stave().LastDrawn().chordPositions.at(column));
}

TEST(ScoreViewMouse, SelectionSnapsToChordColumns) {
  ViewRig rig(ViewDocument(1, 4, 4));
  const Rect line = rig.view.LineRect();
  const int32_t w = rig.Stave().columnWidth;
  const int32_t L = line.left;
  ASSERT_GT(w, 6);
  ASSERT_GT(line.Height(), 0);
  const auto X = [&rig](size_t column) { return ColumnX(rig, column); };
  const auto D = [&X](size_t column) { return X(column + 1) - X(column); };
  ASSERT_EQ(X(0), L);
  struct Case {
    const char* name;
    int32_t left;
    int32_t right;
    int32_t snappedLeft;  // 0 and 0: no selection
    int32_t snappedRight;
  };
  const Case cases[] = {
      {"narrower than half a column", L + 10, L + 10 + w / 2 - 1, 0, 0},
      {"left edge a quarter into a column", X(1) + D(1) / 4, X(3) + D(3) / 2, X(1) - w / 3, X(3) + w / 3},
      {"left edge three quarters in", X(1) + 3 * D(1) / 4, X(3) + D(3) / 2, X(2) - w / 3, X(3) + w / 3},
      {"left edge half way goes right", X(1) + (D(1) + 1) / 2, X(2) + D(2) / 2, X(2) - w / 3, X(2) + w / 3},
      {"the line's left edge keeps it", L, X(1), L, X(1) + w / 3},
  };
  for (const Case& c : cases) {
    rig.view.State().selection = {c.left, line.top, c.right, line.bottom};
    const Rect snapped = rig.view.GetSelectionRect();
    if (c.snappedLeft == 0 && c.snappedRight == 0) {
      EXPECT_TRUE(snapped.IsEmpty()) << c.name;
      EXPECT_TRUE(rig.view.State().selection.IsEmpty()) << c.name;
      continue;
    }
    // Whole columns give or take a third, and 12 pixels above and below the line.
    EXPECT_EQ(snapped, (Rect{c.snappedLeft, line.top - 12, c.snappedRight, line.bottom + 12})) << c.name;
  }
}

TEST(ScoreViewMouse, RubberBandBecomesTheSelection) {
  ViewRig rig(ViewDocument(1, 4, 4));
  const Rect line = rig.view.LineRect();
  const int32_t w = rig.Stave().columnWidth;
  const Point from{ColumnX(rig, 1) + 2, line.top - 5};
  const Point to{ColumnX(rig, 4) + 2, line.bottom + 5};
  rig.view.OnLButtonDown(Left(from));
  rig.view.OnMouseMove(Left(to));
  ASSERT_TRUE(rig.view.Band().has_value());
  EXPECT_NE(rig.Draw().find("Rectangle"), std::string::npos);
  rig.view.OnLButtonUp(Left(to));
  EXPECT_FALSE(rig.view.Band().has_value());
  EXPECT_EQ(rig.view.State().selection,
            (Rect{ColumnX(rig, 1) - w / 3, line.top - 12, ColumnX(rig, 4) + w / 3, line.bottom + 12}));

  // A band that misses the active line leaves the selection alone (here: none after the
  // click that started it).
  rig.view.OnLButtonDown(Left({5, 5}));
  rig.view.OnMouseMove(Left({40, 30}));
  rig.view.OnLButtonUp(Left({40, 30}));
  EXPECT_TRUE(rig.view.State().selection.IsEmpty());
}

// A selection made at one zoom covers the same chords at another, whichever way the zoom
// changed: the view's own (keys, wheel) or the document's zoom commands.
TEST(ScoreViewMouse, TheSelectionFollowsTheZoom) {
  struct Case {
    const char* name;
    int32_t zoom;
    bool throughTheDocument;
  };
  for (const Case c : {Case{"zoomed in by the view", 200, false}, Case{"zoomed out by the document", 60, true},
                       Case{"a small step", 110, false}}) {
    ViewRig rig(ViewDocument(1, 4, 4));
    rig.Draw();
    const auto columns = [&](int from, int to) {
      const Rect line = rig.view.LineRect();
      const int32_t w = rig.Stave().columnWidth;
      return Rect{ColumnX(rig, static_cast<size_t>(from)) - w / 3, line.top - 12,
                  ColumnX(rig, static_cast<size_t>(to)) + w / 3, line.bottom + 12};
    };
    const Rect before = columns(1, 4);
    rig.view.State().selection = {before.left + 4, before.top + 14, before.right - 4, before.bottom - 14};
    ASSERT_EQ(rig.view.GetSelectionRect(), before) << c.name;
    if (c.throughTheDocument) {
      rig.doc->settings.pageSettings.zoom = c.zoom;
      rig.doc->UpdateAllViews(kHintRepaintAll);
    } else {
      rig.view.SetZoomKeepingPosition(c.zoom);
    }
    const std::string drawn = rig.Draw();
    ASSERT_NE(rig.Stave().columnWidth, 0) << c.name;
    EXPECT_EQ(rig.view.State().selection, columns(1, 4)) << c.name;
    EXPECT_NE(rig.view.State().selection, before) << c.name;
    // The frame is drawn where it now stands.
    const Rect& s = rig.view.State().selection;
    EXPECT_NE(drawn.find("Rectangle " + std::to_string(s.left) + " " + std::to_string(s.top)), std::string::npos)
        << c.name;
  }
}

TEST(ScoreViewMouse, ClickPlacesTheCursorAndShiftClickExtends) {
  ViewRig rig(ViewDocument(1, 4, 4));
  const Rect line = rig.view.LineRect();
  const auto columnX = [&rig](size_t column) { return ColumnX(rig, column) + 2; };
  rig.view.OnLButtonDown(Left({columnX(2), line.top + 2}));
  rig.view.OnLButtonUp(Left({columnX(2), line.top + 2}));
  EXPECT_EQ(rig.Stave().cursorColumn, 2);
  EXPECT_TRUE(rig.view.State().selection.IsEmpty());
  const Point before = *rig.view.CursorPoint();

  const Point there{columnX(6), line.top + 2};
  rig.view.OnLButtonDown(Left(there, view::kShiftKey));
  rig.view.OnLButtonUp(Left(there, view::kShiftKey));
  EXPECT_EQ(rig.Stave().cursorColumn, 6);
  const Rect& s = rig.view.State().selection;
  ASSERT_FALSE(s.IsEmpty());
  // From the cursor before the click to the clicked column, whole columns.
  EXPECT_LE(s.left, before.x);
  EXPECT_GE(s.right, there.x);
  EXPECT_EQ(s.top, line.top - 12);
}

TEST(ScoreViewMouse, DoubleClickLeavesNoBand) {
  ViewRig rig(ViewDocument(1, 4, 4));
  const Rect line = rig.view.LineRect();
  const Point p{line.left + 30, line.top + 2};
  // As the window system sends it: press, release, press, double click, release.
  rig.view.OnLButtonDown(Left(p));
  rig.view.OnLButtonUp(Left(p));
  rig.view.OnLButtonDown(Left(p));
  rig.view.OnLButtonDblClk(Left(p));
  rig.view.OnMouseMove(Left({p.x + 200, p.y + 40}));
  rig.view.OnLButtonUp(Left({p.x + 200, p.y + 40}));
  EXPECT_FALSE(rig.view.Band().has_value());
  EXPECT_TRUE(rig.view.State().selection.IsEmpty());
  EXPECT_FALSE(rig.view.State().doubleClicked);

  // On nothing that can be edited: the point comes to the window's centre.
  rig.window.client = {600, 500};
  rig.view.UpdateScrollSizes();
  rig.window.Forget();
  rig.view.OnLButtonDblClk(Left({500, 450}));
  rig.view.OnLButtonUp(Left({500, 450}));
  EXPECT_EQ(rig.window.scrolledTo, (std::vector<Point>{{200, 200}}));
}

TEST(ScoreViewMouse, ContextMenus) {
  ViewRig rig(ViewDocument(1, 4, 4));
  const Rect system0 = rig.Section().System(0)->area;
  rig.view.State().selection = {system0.left + 10, system0.top + 2, system0.left + 100, system0.top + 30};
  // Inside the selection: the selection menu, even when the point lies outside the active
  // system.
  rig.Section().activeSystem = 1;
  rig.view.OnContextMenu({system0.left + 20, system0.top + 10});
  // Inside the active system: the score menu; elsewhere none.
  const Rect system1 = rig.Section().System(1)->area;
  rig.view.OnContextMenu({system1.left + 20, system1.top + 5});
  rig.view.OnContextMenu({2, 2});
  EXPECT_EQ(rig.window.log, (std::vector<std::string>{"menu 702", "menu 695"}));
  EXPECT_FALSE(view::CBriotabView::ContextMenu(view::kScoreMenu).empty());
}

TEST(ScoreViewMouse, PanDirections) {
  using view::MSJSuperView;
  using view::PointerShape;
  struct Case {
    Point offset;
    int direction;
    int amount;
    PointerShape shape;
  };
  const Case cases[] = {
      {{0, 0}, MSJSuperView::kUp, 0, PointerShape::kPanNeutral},
      {{4, 3}, MSJSuperView::kRight, 0, PointerShape::kPanNeutral},   // within 4 both ways
      {{7, 0}, MSJSuperView::kRight, 0, PointerShape::kPanRight},     // a direction, no step yet
      {{16, 3}, MSJSuperView::kRight, 2, PointerShape::kPanRight},
      {{-16, 3}, MSJSuperView::kLeft, 2, PointerShape::kPanLeft},
      {{3, -40}, MSJSuperView::kUp, 5, PointerShape::kPanUp},
      {{0, 9}, MSJSuperView::kDown, 1, PointerShape::kPanDown},
      {{10, 10}, MSJSuperView::kDown, 1, PointerShape::kPanDown},     // a tie goes up or down
  };
  for (const Case& c : cases) {
    const MSJSuperView::PanStep step = MSJSuperView::PanStepFor(c.offset);
    EXPECT_EQ(step.direction, c.direction) << c.offset.x << "," << c.offset.y;
    EXPECT_EQ(step.amount, c.amount) << c.offset.x << "," << c.offset.y;
    EXPECT_EQ(step.shape, c.shape) << c.offset.x << "," << c.offset.y;
  }
}

TEST(ScoreViewMouse, PanScrollsEveryTickAlongTheAxisThereIs) {
  ViewRig rig(ViewDocument(1, 4, 4));
  rig.window.client = {600, 500};
  rig.view.UpdateScrollSizes();
  rig.window.horizontalBar = false;
  // Middle with Ctrl, or with another button, starts nothing.
  EXPECT_FALSE(rig.view.OnMButtonDown({{100, 100}, view::kMiddleButton, view::kControlKey}));
  EXPECT_FALSE(rig.view.OnMButtonDown({{100, 100}, view::kMiddleButton | view::kLeftButton, 0}));

  ASSERT_TRUE(rig.view.OnMButtonDown({{100, 100}, view::kMiddleButton, 0}));
  EXPECT_EQ(rig.window.timers.at(view::kPanTimer), 10);
  EXPECT_TRUE(rig.view.PanMark().has_value());
  // Sideways: there is no horizontal bar, so nothing moves.
  rig.view.OnMouseMove({{180, 100}, view::kMiddleButton, 0});
  rig.view.OnTimer(view::kPanTimer);
  EXPECT_EQ(rig.window.scroll, (Point{0, 0}));
  // Down: 80 pixels from the mark scroll 10 a tick, tick after tick.
  rig.view.OnMouseMove({{100, 180}, view::kMiddleButton, 0});
  rig.view.OnTimer(view::kPanTimer);
  rig.view.OnTimer(view::kPanTimer);
  EXPECT_EQ(rig.window.scroll, (Point{0, 20}));
  EXPECT_EQ(rig.window.pointer, view::PointerShape::kPanDown);
  EXPECT_EQ(rig.window.timers.count(view::kPanTimer), 1u);
  rig.view.OnMButtonUp({{100, 180}, 0, 0});
  EXPECT_EQ(rig.window.timers.count(view::kPanTimer), 0u);
  EXPECT_FALSE(rig.view.PanMark().has_value());
  EXPECT_EQ(rig.window.pointer, view::PointerShape::kDefault);
}

TEST(ScoreViewMouse, OnlyTheTimerThatFiredStops) {
  ViewRig rig(ViewDocument(1, 4, 4));
  rig.window.StartTimer(view::kEchoTimer, 1000);
  rig.view.ShowTip("tip", {50, 50});
  rig.view.OnTimer(view::kTipTimer);
  EXPECT_EQ(rig.window.timers.count(view::kTipTimer), 0u);
  EXPECT_EQ(rig.window.timers.count(view::kEchoTimer), 1u);
}

// Records what the editors showed and cancels them.
class ShownEditors : public MetaEventDialogs {
 public:
  std::vector<uint8_t> shown;
  CTimeSignatureDlg timeSignature;
  LegatoDlg legato;
  bool EditTimeSignature(CTimeSignatureDlg& d) override {
    shown.push_back(CMetaEvent::kTimeSignature);
    timeSignature = d;
    return false;
  }
  bool EditLegato(LegatoDlg& d) override {
    shown.push_back(CMetaEvent::kLegato);
    legato = d;
    return false;
  }
  bool EditHyperlink(CMetaHyperlink&) override {
    shown.push_back(CMetaEvent::kHyperlink);
    return false;
  }
};

// A double click on a drawn time signature or legato of an open document opens its editor on
// the stored values; one on a hyperlink follows the link instead of editing it.
TEST(ScoreViewMouse, DoubleClickOnAnEventOpensItsEditorWithTheStoredValues) {
  ViewRig rig(ViewDocument(1, 1, 4));
  MetaEventEditorRegistry registry;
  ScopedMetaEventEditor editorScope(registry);
  ShownEditors dialogs;
  ScopedMetaEventDialogs dialogScope(dialogs);
  std::vector<const CMetaEvent*> followed;
  const HyperlinkFollower previous =
      SetHyperlinkFollower([&followed](const CMetaEvent& e) { followed.push_back(&e); });

  nChordArray& voice = rig.doc->GetActiveInstrument()->GetSelectedVoice();
  std::vector<nChord*> chords;
  for (size_t i = 0; i < voice.size() && chords.size() < 3; ++i) {
    if (voice[i] != nullptr && voice[i]->IsChord()) chords.push_back(voice[i]);
  }
  ASSERT_EQ(chords.size(), 3u);
  CMetaEvent* signature = chords[0]->metaEvents.push_back(
      std::make_unique<CMetaEvent>(CMetaEvent::kTimeSignature, "", 0x1 | (10u << 16), 3, 8));
  CMetaEvent* legato =
      chords[2]->metaEvents.push_back(std::make_unique<CMetaEvent>(CMetaEvent::kLegato, "lig.", 0x7B7B08u, 20, 20));
  // The link stands before the legato, whose line may reach over the following chords.
  CMetaEvent* link = chords[1]->metaEvents.push_back(
      std::make_unique<CMetaEvent>(CMetaEvent::kHyperlink, "https://example.org|Notes", 0, 0, 2));
  rig.Draw();
  const CClef* stave = rig.doc->GetActiveInstrument()->GetCurrentStave();
  const int view = stave != nullptr && stave->IsTablature() ? EventLocation::kTablature : EventLocation::kNotation;
  const auto doubleClick = [&](const CMetaEvent& e) {
    const Rect& r = e.location.Rect(view);
    ASSERT_FALSE(r.IsEmpty()) << CMetaEvent::KindName(e.kind);
    const Point p = rig.view.LogicalToClient(Point{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    rig.view.OnLButtonDblClk(Left(p));
    rig.view.OnLButtonUp(Left(p));
  };
  doubleClick(*signature);
  doubleClick(*legato);
  doubleClick(*link);
  SetHyperlinkFollower(previous);
  EXPECT_EQ(dialogs.shown, (std::vector<uint8_t>{CMetaEvent::kTimeSignature, CMetaEvent::kLegato}));
  EXPECT_EQ(dialogs.timeSignature.beats, 3);
  EXPECT_EQ(dialogs.timeSignature.beatValue, 8);
  EXPECT_EQ(dialogs.timeSignature.relativeSize, 60);
  EXPECT_EQ(dialogs.legato.text, "lig.");
  EXPECT_EQ(followed, (std::vector<const CMetaEvent*>{link}));
}

}  // namespace
}  // namespace vornel
