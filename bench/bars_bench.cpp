// The ribbon, the tool bars and the keyboard console built from cold in a frame of their own:
// every page, panel and button of the ribbon, the six customisable bars and the bar above the
// ribbon, with every picture drawn anew (theme icons, music glyphs, badges). The goal is at
// most 250 ms, a quarter of the start-up budget. "first_ms" is the very first build of the
// run, when the theme's icons and the music font are not loaded yet. Needs a display: run it
// under xvfb-run.

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/aui/framemanager.h>
#include <wx/frame.h>
#include <wx/init.h>

#include <chrono>
#include <cstdlib>
#include <memory>

#include "platform/fonts/FontRegistration.h"
#include "shell/app/Profile.h"
#include "shell/bars/ToolbarTable.h"
#include "shell/ui/MenuCommandIds.h"
#include "shell/ui/bars/BarCommands.h"
#include "shell/ui/bars/CommandBitmaps.h"
#include "shell/ui/bars/FrameBars.h"
#include "shell/ui/bars/ToolBarEx.h"
#include "shell/ui/console/KeyboardConsole.h"

namespace {

using namespace vornel;

bool StartWindowSystem() {
  static const bool started = [] {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') return false;
    RegisterShippedFonts();
    wxApp::SetInstance(new wxApp);
    int argc = 1;
    char name[] = "bars_bench";
    char* argv[] = {name, nullptr};
    return wxEntryStart(argc, argv) && wxTheApp->CallOnInit();
  }();
  return started;
}

// Commands that nobody carries, with pictures drawn afresh for each build.
class ColdCommands : public BarCommands {
 public:
  bool Dispatch(const view::CommandEvent&) override { return false; }
  view::CommandState StateOf(int) const override { return {}; }
  int MenuId(int command) override { return ids_.ToWindowId(command); }
  std::vector<std::string> RecentFiles() const override { return {}; }
  wxBitmap Picture(int id, int size) override { return pictures_.Get(id, size, bars::ToolbarButtonLabel(id)); }
  std::vector<bars::SliderSetting> MidiSliders() const override { return {}; }
  std::vector<std::string> UndoNames(bool) const override { return {}; }

 private:
  MenuCommandIds ids_;
  CommandBitmaps pictures_;
};

// One frame with every bar, built and laid out.
struct BuiltBars {
  MemoryProfile profile;
  ColdCommands commands;
  wxFrame* frame = nullptr;
  std::unique_ptr<wxAuiManager> dock;
  std::unique_ptr<FrameBars> bars;

  BuiltBars() {
    frame = new wxFrame(nullptr, wxID_ANY, "bars", wxDefaultPosition, wxSize(1280, 900));
    dock = std::make_unique<wxAuiManager>(frame);
    bars = std::make_unique<FrameBars>(*frame, *dock, commands, profile);
    auto* console = new CMyKeyboardBar(frame, commands, {});
    bars->AdoptConsoleBar(
        console->EditingBar(), [console](bool show) { console->ShowEditingBar(show); },
        [console] { return console->EditingBarShown(); });
    dock->Update();
  }
  ~BuiltBars() {
    dock->UnInit();
    frame->Destroy();
    wxTheApp->ProcessIdle();
  }
};

void BarsFromCold(benchmark::State& state) {
  if (!StartWindowSystem()) {
    state.SkipWithError("needs a display: run under xvfb-run");
    return;
  }
  static double firstMs = -1;
  if (firstMs < 0) {
    const auto start = std::chrono::steady_clock::now();
    auto built = std::make_unique<BuiltBars>();
    firstMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  }
  for (auto _ : state) {
    auto built = std::make_unique<BuiltBars>();
    state.PauseTiming();
    built.reset();
    state.ResumeTiming();
  }
  state.counters["first_ms"] = firstMs;
}
BENCHMARK(BarsFromCold)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
