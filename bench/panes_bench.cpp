// The panes' costs: one edit in the properties window on a section of 16 instrument
// definitions (the document command and the values the window then shows again), goal
// 5 ms; every palette's button bitmaps drawn, goal 100 ms from cold.

#include <benchmark/benchmark.h>

#include <memory>

#include "LargeDocument.h"
#include "shell/palettes/PaletteArt.h"
#include "shell/properties/PropertyModel.h"

namespace {

using namespace vornel;

std::unique_ptr<CVornelTabDoc> SixteenDefinitions() {
  auto doc = std::make_unique<CVornelTabDoc>();
  auto section = vornel::bench::Section(0);
  while (section->definitions.size() < 16) section->AddInstrument(std::make_unique<CInstrumentDlg>());
  section->RecalculateSection(false);
  doc->sections.push_back(std::move(section));
  doc->sections.activeSection = 0;
  doc->sections.Renumber();
  return doc;
}

void PropertyUpdateSixteenDefinitions(benchmark::State& state) {
  const auto doc = SixteenDefinitions();
  properties::PropertyModel model;
  model.Show(doc.get(), doc->GetActiveSection());
  int tempo = 60;
  for (auto _ : state) {
    tempo = tempo == 60 ? 61 : 60;
    model.Store(37, properties::PropertyValue::Number(tempo));
    for (const properties::PropertyRow& row : properties::PropertyTable()) {
      benchmark::DoNotOptimize(model.Value(row.number));
    }
    benchmark::DoNotOptimize(model.Instruments());
  }
}
BENCHMARK(PropertyUpdateSixteenDefinitions)->Unit(benchmark::kMillisecond);

void DrawAllPalettes() {
  for (const palettes::PaletteInfo& info : palettes::AllPalettes()) {
    const palettes::ToolsPalette palette(info);
    benchmark::DoNotOptimize(palettes::DrawPaletteAtlas(palette));
  }
}

// The first run in the process pays for the fonts as the editor's start-up does.
void PaletteBitmapsCold(benchmark::State& state) {
  for (auto _ : state) DrawAllPalettes();
}
BENCHMARK(PaletteBitmapsCold)->Iterations(1)->Unit(benchmark::kMillisecond);

void PaletteBitmapsWarm(benchmark::State& state) {
  for (auto _ : state) DrawAllPalettes();
}
BENCHMARK(PaletteBitmapsWarm)->Unit(benchmark::kMillisecond);

}  // namespace
