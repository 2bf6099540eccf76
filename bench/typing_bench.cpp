// Typing on a dense page (two instruments of staff notation in two voices, eight systems) as
// the window hands a key over: key down, the character, key up, then the paint of the strip
// the view invalidated, on a Cairo context of the window's size clipped to that strip. With the echo on, each note
// sounds through the output the MIDI settings name (the built-in synthesizer by default): run
// where there is no sound device to see what typing costs without one (the counter "sound" is
// 0 then). The echo's timer runs out before each key, as when notes are typed a second apart;
// the note is undone between keys, so every key types into the same page.
// Goals: a keystroke and its repaint under 4 ms, echo on or off; the strip's repaint alone
// ("StripRepaint") under 2 ms. A repaint keeps the measurements of the systems it did not
// change; "StripRepaintOfANewNote" is the repaint that measures the typed system anew.
// "TwentyNotes" is the processor time (every thread) of typing 20 notes that way.
// "KeystrokeInALongSection" types into the middle of one section of a TAB import of 1,000 and
// of 47,000 chords, one key after the other with the undo stack full: goal under 8 ms a key
// with its repaint, and the long section within 1.2 times the short one.

#include <benchmark/benchmark.h>
#include <cairo.h>

#include <memory>

#include "DensePage.h"
#include "../tests/view/LongTabSection.h"
#include "StripWindow.h"
#include "midi/play/EchoOutput.h"
#include "midi/play/MidiOut.h"
#include "model/instrument/CClef.h"
#include "model/score/StaveRenderer.h"
#include "platform/draw/CairoDevice.h"
#include "view/core/CBriotabView.h"
#include "view/core/ViewIds.h"
#include "view/entry/KeyInput.h"
#include "view/entry/NoteEntry.h"
#include "view/render/DrawingStaveRenderer.h"
#include "view/render/pages/SystemReachCache.h"

namespace {

using namespace vornel;

struct TypingRig {
  explicit TypingRig(bool echo, std::unique_ptr<CBriotabDoc> document = bench::DensePage())
      : doc(std::move(document)), view(*doc, window, Services(echo)) {
    view.OnInitialUpdate();
    view.OnSetFocus();
    view.State().echoOnUpdate = echo;
    Paint(nullptr);
  }
  static view::ViewServices Services(bool echo) {
    view::ViewServices services;
    if (echo) services.echo = std::make_shared<EchoOutput>([] { return CreateMidiOut(CurrentMidiOutputSettings()); });
    return services;
  }
  ~TypingRig() { cairo_surface_destroy(surface); }
  // As a window paints: its surface is there already, and the context handed over is clipped
  // to what was invalidated (nothing when the whole window is).
  void Paint(const Rect* clip) {
    cairo_t* cr = cairo_create(surface);
    if (clip != nullptr) {
      cairo_rectangle(cr, clip->left, clip->top, clip->Width(), clip->Height());
      cairo_clip(cr);
    }
    cairo_set_source_rgb(cr, 0.5, 0.5, 0.5);
    cairo_paint(cr);
    bench::PaintView(view, window, cr);
    cairo_destroy(cr);
  }
  bool Ready() {
    CClef* stave = view.ActiveStave();
    if (stave == nullptr) return false;
    stave->cursorColumn = 3;
    return true;
  }
  // One key as the window hands it over, and the paint of what it invalidated.
  void Type(char32_t letter) {
    Key(letter);
    Paint(&window.last);
  }
  void Key(char32_t letter) {
    const view::KeyEvent key = view::KeyTyping(letter);
    view.Entry().PressKey(key, letter);
    view.Entry().OnKeyUp(key);
  }
  // What happens between two keys a second apart: the echo's timer runs out; and the note
  // goes again, so that the next key types into the same page.
  void Between() {
    if (window.timers.count(view::kEchoTimer) != 0) view.OnTimer(view::kEchoTimer);
    doc->OnEditUndo();
    Ready();
  }

  std::unique_ptr<CBriotabDoc> doc;
  bench::StripWindow window;
  cairo_surface_t* surface =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, window.ClientSize().cx, window.ClientSize().cy);
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed{renderer};
  view::CBriotabView view;
};

constexpr char32_t kLetters[] = {U'a', U'c', U'd', U'b'};

void KeystrokeAndRepaint(benchmark::State& state) {
  TypingRig rig(state.range(0) != 0);
  if (!rig.Ready()) {
    state.SkipWithError("no stave to type into");
    return;
  }
  size_t typed = 0;
  for (auto _ : state) {
    rig.Type(kLetters[typed++ % 4]);
    state.PauseTiming();
    rig.Between();
    state.ResumeTiming();
  }
}
BENCHMARK(KeystrokeAndRepaint)->ArgName("echo")->Arg(0)->Arg(1)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The repaint alone of the strip a typed note invalidated.
void StripRepaint(benchmark::State& state) {
  TypingRig rig(false);
  if (!rig.Ready()) {
    state.SkipWithError("no stave to type into");
    return;
  }
  size_t typed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    rig.Key(kLetters[typed++ % 4]);
    state.ResumeTiming();
    rig.Paint(&rig.window.last);
    state.PauseTiming();
    rig.Between();
    state.ResumeTiming();
  }
}
BENCHMARK(StripRepaint)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The strip's repaint as in typing without the undo between keys: the page was drawn whole
// before the key with nothing measured yet (so its systems are laid out and their
// measurements kept, and no refit is due), and the paint after the key measures the typed
// system again.
void StripRepaintOfANewNote(benchmark::State& state) {
  TypingRig rig(false);
  if (!rig.Ready()) {
    state.SkipWithError("no stave to type into");
    return;
  }
  size_t typed = 0;
  for (auto _ : state) {
    state.PauseTiming();
    ForgetMeasuredReaches();
    rig.Paint(nullptr);
    rig.Key(kLetters[typed++ % 4]);
    state.ResumeTiming();
    rig.Paint(&rig.window.last);
    state.PauseTiming();
    rig.Between();
    state.ResumeTiming();
  }
}
BENCHMARK(StripRepaintOfANewNote)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

void TwentyNotes(benchmark::State& state) {
  TypingRig rig(state.range(0) != 0);
  if (!rig.Ready()) {
    state.SkipWithError("no stave to type into");
    return;
  }
  for (auto _ : state) {
    for (int i = 0; i < 20; ++i) {
      rig.Type(kLetters[i % 4]);
      rig.Between();
    }
  }
}
BENCHMARK(TwentyNotes)->ArgName("echo")->Arg(0)->Arg(1)->Iterations(3)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// Typing one key after the other into the middle system of a long section: each key changes
// the fret of the cursor's chord, the cursor stays, and the undo stack is full (its oldest
// entry goes with every key).
void KeystrokeInALongSection(benchmark::State& state) {
  std::unique_ptr<CVornelTabDoc> doc = testing::LongSectionDocument(static_cast<size_t>(state.range(0)));
  if (doc == nullptr) {
    state.SkipWithError("the import gave no section");
    return;
  }
  const int middle = static_cast<int>(doc->sections.at(0)->systems.size() / 2);
  TypingRig rig(false, std::move(doc));
  rig.view.GoToSystem(middle);
  rig.Paint(nullptr);
  if (!rig.Ready()) {
    state.SkipWithError("no stave to type into");
    return;
  }
  rig.view.State().autoAdvance = false;
  size_t typed = 0;
  const auto key = [&] {
    rig.Type(kLetters[typed++ % 4]);
    rig.Ready();
  };
  for (int32_t i = 0; i <= rig.doc->undoStack.limit; ++i) key();
  for (auto _ : state) key();
  state.counters["systems"] = static_cast<double>(rig.doc->sections.at(0)->systems.size());
}
BENCHMARK(KeystrokeInALongSection)->ArgName("chords")->Arg(1000)->Arg(47000)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

}  // namespace
