// The shipped instrument data: loading the default instrument base, and making a new document
// from each shipped template as File > New does (goal: under 50 ms each).

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "document/CVornelTabDoc.h"
#include "document/instruments/CInstrumentTemplates.h"
#include "document/instruments/ShippedInstrumentData.h"
#include "platform/io/DataPaths.h"

namespace {

std::string TemplatesFolder() { return (std::filesystem::path(vornel::ShippedDataDirectory()) / "Templates").string(); }

void LoadShippedBase(benchmark::State& state) {
  const std::string path = vornel::ShippedDefaultBasePath();
  for (auto _ : state) {
    vornel::CInstrumentTemplates base;
    if (!base.ReadBaseFile(path)) state.SkipWithError("the shipped base is missing");
    benchmark::DoNotOptimize(base.instruments.size());
  }
}
BENCHMARK(LoadShippedBase)->Unit(benchmark::kMillisecond);

void NewDocumentFromTemplate(benchmark::State& state) {
  const std::vector<std::string> names = vornel::ShippedTemplateNames();
  const std::string path = TemplatesFolder() + "/" + names.at(static_cast<size_t>(state.range(0)));
  state.SetLabel(names.at(static_cast<size_t>(state.range(0))));
  for (auto _ : state) {
    auto doc = vornel::OpenTemplateUntitled(path);
    if (doc == nullptr) state.SkipWithError("the template cannot be opened");
    benchmark::DoNotOptimize(doc.get());
  }
}
BENCHMARK(NewDocumentFromTemplate)->DenseRange(0, static_cast<int>(vornel::ShippedTemplateNames().size()) - 1)
    ->Unit(benchmark::kMillisecond);

}  // namespace
