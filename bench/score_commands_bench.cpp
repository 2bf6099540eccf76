// Score commands on a section of about 5,000 events (one instrument, a tablature line in two
// voices, ninety systems), each run through the view's command table with its undo snapshot
// and put back by an Undo outside the timing: reformatting, key analysis, staff notation
// from the tablature, voice split and merge, and a "Remove all". Goal: each under 100 ms.

#include <benchmark/benchmark.h>

#include <memory>

#include "../tests/view/PageFixtures.h"
#include "document/CBriotabDoc.h"
#include "model/score/SectionTools.h"
#include "model/score/StaveRenderer.h"
#include "platform/UserPrompts.h"
#include "view/core/CBriotabView.h"
#include "view/core/HeadlessViewWindow.h"
#include "view/render/DrawingStaveRenderer.h"

namespace {

using namespace vornel;

constexpr size_t kSystems = 93;  // 54 events a system: about 5,000

// Confirms every question: OK, and No to "all sections" (the key analysis of one section).
class ConfirmingPrompts : public UserPrompts {
 public:
  void ShowMessage(std::string_view, MessageKind, std::string_view) override {}
  Answer Ask(std::string_view, Buttons buttons, MessageKind, std::string_view) override {
    return buttons == Buttons::kYesNoCancel ? Answer::kNo : buttons == Buttons::kYesNo ? Answer::kYes : Answer::kOk;
  }
  void Beep(BeepKind) override {}
  std::optional<std::string> PromptOpenFile(std::string_view, std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> PromptSaveFile(std::string_view, std::string_view, std::string_view,
                                            std::string_view) override {
    return {};
  }
  std::optional<std::string> PromptFolder(std::string_view, std::string_view) override { return {}; }
  std::optional<std::string> PromptText(std::string_view, std::string_view, std::string_view) override { return {}; }
  std::optional<long> PromptNumber(std::string_view, std::string_view, long, long, long) override { return {}; }
};

std::unique_ptr<CBriotabDoc> LongTablature() {
  auto section = testing::NotatedSection("Long", kSystems);
  ToggleTablatureNotationMode(*section);
  for (const auto& system : section->systems.items()) {
    for (const auto& e : system->Line(0)->firstVoice) {
      if (e == nullptr || !e->IsChord() || e->notes.empty()) continue;
      auto bass = std::make_unique<nNotes>();
      bass->pitch = 45;
      bass->flags = nNotes::kLowerVoiceFlag;
      e->AddNote(std::move(bass));
    }
  }
  section->RecalculateFingerings();
  auto doc = std::make_unique<CBriotabDoc>();
  doc->AppendSection(std::move(section));
  doc->sections.DeleteSection(0);
  doc->sections.activeSection = 0;
  doc->settings.pageSettings.paperFormat = 9;
  doc->settings.pageSettings.newPageOnSection = 1;
  return doc;
}

struct Rig {
  ConfirmingPrompts prompts;
  ScopedPrompts scoped{prompts};
  std::unique_ptr<CBriotabDoc> doc = LongTablature();
  DrawingStaveRenderer renderer;
  ScopedStaveRenderer installed{renderer};
  view::HeadlessViewWindow window{{1200, 900}};
  view::CBriotabView view{*doc, window};
  Rig() { view.OnInitialUpdate(); }
};

void ScoreCommand(benchmark::State& state) {
  Rig rig;
  const int id = static_cast<int>(state.range(0));
  size_t events = 0;
  for (const auto& system : rig.doc->GetActiveSection()->systems.items()) {
    for (const nChordArray* voice : system->Line(0)->Voices()) events += voice->size();
  }
  state.counters["events"] = static_cast<double>(events);
  size_t steps = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(rig.view.Commands().Execute(view::CommandEvent{id, std::nullopt, {}}));
    state.PauseTiming();
    steps += rig.doc->undoStack.size();
    rig.doc->OnEditUndo();
    rig.doc->redoStack.clear();
    state.ResumeTiming();
  }
  // 1: every run took its undo step (it acted).
  state.counters["undo steps per run"] = static_cast<double>(steps) / static_cast<double>(state.iterations());
}
// Reformat section, key analysis, guitar notation, split voices, merge voices, remove all
// ornaments.
BENCHMARK(ScoreCommand)->Arg(33411)->Arg(33804)->Arg(33809)->Arg(34247)->Arg(34261)->Arg(33101)
    ->Unit(benchmark::kMillisecond);

}  // namespace
