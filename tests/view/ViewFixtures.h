#pragma once
// The score view without a window, for tests: a recording window (client size, scroll
// position and range, the areas invalidated, the timers, the capture, the pointer, the menus
// and print runs asked for) and documents of staff notation laid out by drawing their pages
// once on a recording device, so that staves, columns and cursors have their places.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "PageFixtures.h"
#include "document/CBriotabDoc.h"
#include "document/CPageDlg.h"
#include "document/DocumentDump.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/score/StaveRenderer.h"
#include "platform/draw/RecordingDevice.h"
#include "support/RecordingFramePanes.h"
#include "support/ScriptedPrompts.h"
#include "view/core/CBriotabView.h"
#include "view/core/ViewIds.h"
#include "view/render/DrawingStaveRenderer.h"

namespace vornel::testing {

class TestWindow : public view::ViewWindow {
 public:
  Size client{1000, 1300};
  Size dpi{96, 96};
  bool horizontalBar = true;
  bool verticalBar = true;
  Point scroll;
  Size total;
  std::vector<Rect> invalidated;  // client rectangles; a whole-window invalidation is {0,0,-1,-1}
  std::vector<Point> scrolledTo;  // every ScrollTo
  std::map<int, int> timers;      // running timers and their periods
  std::vector<std::string> log;   // timers, capture, pointer, focus, menus, print runs
  std::function<void()> paint;    // what UpdateNow does

  Size ClientSize() const override { return client; }
  Size Resolution() const override { return dpi; }
  Point ScrollPosition() const override { return scroll; }
  void SetScrollSizes(Size t, Size, Size) override { total = t; }
  void ScrollTo(Point p) override {
    scroll = {std::clamp(p.x, 0, std::max(total.cx - client.cx, 0)), std::clamp(p.y, 0, std::max(total.cy - client.cy, 0))};
    scrolledTo.push_back(p);
  }
  bool HasScrollBar(bool vertical) const override { return vertical ? verticalBar : horizontalBar; }
  void Invalidate() override { invalidated.push_back({0, 0, -1, -1}); }
  void InvalidateRect(const Rect& r) override { invalidated.push_back(r); }
  void UpdateNow() override {
    if (paint) paint();
  }
  void TakeFocus() override { log.push_back("focus"); }
  void StartTimer(int id, int ms) override {
    timers[id] = ms;
    log.push_back("timer " + std::to_string(id) + " " + std::to_string(ms));
  }
  void StopTimer(int id) override {
    if (timers.erase(id) != 0) log.push_back("stop " + std::to_string(id));
  }
  void CaptureMouse() override { log.push_back("capture"); }
  void ReleaseMouse() override { log.push_back("release"); }
  void SetPointer(view::PointerShape shape) override { pointer = shape; }
  void ShowContextMenu(int id, const std::vector<view::MenuItem>&, Point) override {
    log.push_back("menu " + std::to_string(id));
  }
  void RunPrint(bool preview, bool dialog) override {
    log.push_back(std::string(preview ? "preview" : "print") + (dialog ? " with dialog" : ""));
  }
  // The printer setup: nothing chosen unless a test scripts it.
  std::function<bool(CPageDlg&)> printSetup;
  bool RunPrintSetup(CPageDlg& page) override { return printSetup && printSetup(page); }
  view::PointerShape pointer = view::PointerShape::kDefault;

  void Forget() {
    invalidated.clear();
    scrolledTo.clear();
    log.clear();
  }
  bool WholeInvalidated() const {
    return std::find(invalidated.begin(), invalidated.end(), Rect{0, 0, -1, -1}) != invalidated.end();
  }
};

// A document of `sections` sections of staff notation, `systems` systems each, `perPage` to a
// page, on A4.
inline std::unique_ptr<CBriotabDoc> ViewDocument(int sections, size_t systems, int32_t perPage) {
  auto doc = std::make_unique<CBriotabDoc>();
  for (int k = 0; k < sections; ++k) {
    auto section = NotatedSection("Section " + std::to_string(k + 1), systems);
    section->stavesPerPage = perPage;
    doc->AppendSection(std::move(section));
  }
  doc->settings.pageSettings.paperFormat = 9;
  doc->settings.pageSettings.systemsPerPage = static_cast<uint32_t>(perPage);
  doc->sections.activeSection = 0;
  for (size_t i = 0; i < doc->sections.size(); ++i) doc->sections.at(i)->activeSystem = 0;
  return doc;
}

// A view of a document, its page drawn once (the layout gives the staves their places).
struct ViewRig {
  explicit ViewRig(std::unique_ptr<CBriotabDoc> document, view::ViewServices services = {})
      : doc(std::move(document)), installed(renderer), view(*doc, window, std::move(services)) {
    window.paint = [this] { Draw(); };
    view.OnInitialUpdate();
    Draw();
    window.Forget();
    panes.log.clear();
  }
  // Paints the view as the canvas does: prepared device, page, overlays.
  std::string Draw() {
    RecordingDevice dc(96, false);
    dc.SetExtent(window.client);
    view.OnPrepareDC(dc);
    view.OnDraw(dc);
    view.DrawOverlays(dc);
    return dc.Log();
  }
  CSystemArray& Section() { return *doc->GetActiveSection(); }
  CClef& Stave() { return *view.ActiveStave(); }

  ScriptedPrompts prompts;
  RecordingFramePanes panes;
  std::unique_ptr<CBriotabDoc> doc;
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed;
  TestWindow window;
  view::CBriotabView view;
};

// A document as a snapshot stores it: fields that the stored form rebuilds (a definition's
// name from its tuning ...) take their stored values first, so that comparisons after an
// undo see only what the command changed.
inline void SettleAsStored(ViewRig& rig) {
  // Working out the systems per page asks for a new page per section, once and for good.
  rig.doc->settings.pageSettings.newPageOnSection = 1;
  // Reading a document recalculates its sections (notes built in memory get their spelling
  // and steps); an undo snapshot is an exact copy and leaves that to the reader.
  for (size_t i = 0; i < rig.doc->sections.size(); ++i) rig.doc->sections.at(i)->RecalculateSection(false);
  rig.doc->SaveSnapshot();
  rig.doc->OnEditUndo();
  rig.doc->undoStack.clear();
  rig.doc->redoStack.clear();
}

inline void NoFailures(const testing::ScriptedPrompts& prompts, int id) {
  for (const std::string& m : prompts.messages) {
    EXPECT_EQ(m.find("improper argument"), std::string::npos) << id;
    EXPECT_EQ(m.find("unexpected error"), std::string::npos) << id;
  }
}

// Runs command `id` through the view's table: it changes the document, marks it modified,
// takes one undo step, and one Undo gives back the document's dump exactly.
inline void ExpectOneUndoStep(ViewRig& rig, int id) {
  const std::string before = DumpDocument(*rig.doc);
  rig.doc->SetModifiedFlag(false);
  ASSERT_TRUE(rig.view.Commands().Execute(view::CommandEvent{id, std::nullopt, {}})) << id;
  NoFailures(rig.prompts, id);
  EXPECT_TRUE(DumpDocument(*rig.doc) != before) << "unchanged " << id;
  EXPECT_TRUE(rig.doc->IsModified()) << id;
  EXPECT_EQ(rig.doc->undoStack.size(), 1u) << id;
  rig.doc->OnEditUndo();
  EXPECT_TRUE(DumpDocument(*rig.doc) == before) << "not undone " << id;
}

}  // namespace vornel::testing
