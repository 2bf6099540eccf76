// The score view's repaint, as the window paints it: a dense page (two instruments of staff
// notation in two voices, eight systems) drawn whole into a Cairo image of the window's size
// at zoom 100 and 200, and the strip the view invalidates after a note was typed (hint 2),
// drawn with the window's clip. Goals: a whole page under 16 ms, the strip under 4 ms.

#include <benchmark/benchmark.h>

#include <memory>

#include "document/CBriotabDoc.h"
#include "document/CPageDlg.h"
#include "model/score/StaveRenderer.h"
#include "platform/draw/CairoDevice.h"
#include "view/core/CBriotabView.h"
#include "DensePage.h"
#include "StripWindow.h"
#include "view/core/HeadlessViewWindow.h"
#include "view/render/DrawingStaveRenderer.h"

namespace {

using namespace vornel;

using bench::DensePage;
using bench::StripWindow;

struct Rig {
  std::unique_ptr<CBriotabDoc> doc = DensePage();
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed{renderer};
  StripWindow window;
  view::CBriotabView view{*doc, window};
  Rig() { view.OnInitialUpdate(); }
  // One paint of the window, clipped to `clip` when given.
  void Paint(const Rect* clip) {
    ImageDevice dc(window.ClientSize().cx, window.ClientSize().cy, 96, 0x808080);
    if (clip != nullptr) dc.IntersectClipRect(*clip);
    view.OnPrepareDC(dc);
    view.OnDraw(dc);
    view.DrawOverlays(dc);
  }
};

void WholePage(benchmark::State& state) {
  Rig rig;
  rig.view.SetZoomKeepingPosition(static_cast<int32_t>(state.range(0)));
  rig.Paint(nullptr);
  for (auto _ : state) rig.Paint(nullptr);
}
BENCHMARK(WholePage)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

void StripAfterATypedNote(benchmark::State& state) {
  Rig rig;
  rig.Paint(nullptr);
  CSystemArray& section = *rig.doc->GetActiveSection();
  CClef* stave = rig.view.ActiveStave();
  if (stave == nullptr || section.systems.empty()) {
    state.SkipWithError("no stave to type into");
    return;
  }
  stave->cursorColumn = 3;
  for (auto _ : state) {
    // A note typed at the cursor: the line's strip round the cursor is invalidated, and the
    // window paints that much.
    state.PauseTiming();
    rig.doc->NotifyChanged(kHintRepaintLine);
    state.ResumeTiming();
    rig.Paint(&rig.window.last);
  }
}
BENCHMARK(StripAfterATypedNote)->Unit(benchmark::kMillisecond);

}  // namespace
