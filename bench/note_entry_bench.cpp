// Typing into a long section through the score view, as the window hands keys over: each
// keystroke takes the section's undo snapshot, enters the note at the cursor, re-bars the
// line and repaints the strip the view invalidates (on the recording device). The section
// holds 5,000 events of French lute tablature in 200 systems; 1,000 keystrokes are typed in
// its middle. Goal: under 16 ms a keystroke.

#include <benchmark/benchmark.h>

#include <memory>

#include "document/CBriotabDoc.h"
#include "document/CPageDlg.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/score/StaveRenderer.h"
#include "model/voice/nNotes.h"
#include "platform/draw/RecordingDevice.h"
#include "view/core/CBriotabView.h"
#include "StripWindow.h"
#include "view/core/HeadlessViewWindow.h"
#include "view/entry/NoteEntry.h"
#include "view/render/DrawingStaveRenderer.h"

namespace {

using namespace vornel;

constexpr size_t kSystems = 200;
constexpr size_t kEventsPerSystem = 25;

using bench::StripWindow;

std::unique_ptr<CBriotabDoc> LongSection() {
  auto section = std::make_unique<CSystemArray>();
  while (section->systems.size() < kSystems) section->NewSystem(CSystemArray::kAppend);
  for (size_t s = 0; s < kSystems; ++s) {
    nChordArray& voice = section->System(s)->Line(0)->firstVoice;
    for (size_t i = 0; i < kEventsPerSystem; ++i) {
      auto chord = std::make_unique<nChord>(nChord::kChord, uint16_t{3});
      auto note = std::make_unique<nNotes>();
      note->pitch = static_cast<uint8_t>(67 + i % 5);
      note->string = 0;
      chord->notes.push_back(std::move(note));
      voice.push_back(std::move(chord));
    }
  }
  section->RecalculateSection(false);
  auto doc = std::make_unique<CBriotabDoc>();
  doc->AppendSection(std::move(section));
  doc->settings.pageSettings.paperFormat = 9;
  return doc;
}

void TypingIntoALongSection(benchmark::State& state) {
  std::unique_ptr<CBriotabDoc> doc = LongSection();
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed(renderer);
  StripWindow window;
  view::CBriotabView view(*doc, window);
  view.OnInitialUpdate();
  view.OnSetFocus();
  CSystemArray& section = *doc->GetActiveSection();
  section.activeSystem = static_cast<int32_t>(kSystems / 2);
  RecordingDevice dc;
  view.OnPrepareDC(dc);
  view.OnDraw(dc);
  CClef* stave = view.ActiveStave();
  if (stave == nullptr) {
    state.SkipWithError("no stave to type into");
    return;
  }
  stave->cursorColumn = 5;
  stave->cursorRow = 1;
  const char32_t letters[] = {U'a', U'c', U'd', U'b'};
  size_t typed = 0;
  for (auto _ : state) {
    const char32_t letter = letters[typed++ % 4];
    view.Entry().PressKey(view::KeyTyping(letter), letter);
    RecordingDevice strip;
    strip.IntersectClipRect(window.last);
    view.OnPrepareDC(strip);
    view.OnDraw(strip);
  }
  size_t events = 0;
  for (size_t s = 0; s < section.systems.size(); ++s) events += section.System(s)->Line(0)->firstVoice.size();
  state.counters["events"] = static_cast<double>(events);
  state.counters["undo"] = static_cast<double>(doc->undoStack.size());
}
BENCHMARK(TypingIntoALongSection)->Iterations(1000)->Unit(benchmark::kMillisecond);

}  // namespace
