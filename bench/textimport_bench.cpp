// ABC and TAB text of about 1 MB and 4 MB (the corpus files repeated) imported into a
// document, from the bytes in memory to the finished sections (the document's destruction is
// not timed).

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "document/CVornelTabDoc.h"
#include "import/tab/TabImport.h"
#include "import/text/CAbcImport.h"
#include "import/text/TextImportSupport.h"
#include "model/instrument/CInstrumentDlg.h"
#include "platform/UserPrompts.h"

namespace {

using namespace vornel;

// The corpus files of one kind, concatenated until the text holds `bytes` bytes.
std::string Repeated(const std::string& folder, std::string_view extension, size_t bytes) {
  std::string once;
  for (const std::string& path : ListFolderFiles(std::string(VORNEL_CORPUS_DIR) + "/" + folder, extension)) {
    if (const std::optional<std::string> text = ReadImportFile(path)) once += *text + "\n";
  }
  std::string text;
  while (!once.empty() && text.size() < bytes) text += once;
  return text;
}

class QuietPrompts : public ConsolePrompts {
 public:
  void ShowMessage(std::string_view, MessageKind, std::string_view) override {}
};

void ImportAbc(benchmark::State& state) {
  QuietPrompts prompts;
  ScopedPrompts scoped(prompts);
  const std::string text = Repeated("abc", ".abc", static_cast<size_t>(state.range(0)) << 20);
  CInstrumentDlg lute;
  lute.EnsureStave();
  for (auto _ : state) {
    auto doc = std::make_unique<CVornelTabDoc>();
    doc->OnNewDocument();
    CAbcImport abc(*doc);
    benchmark::DoNotOptimize(abc.ReadAbcText(text, lute));
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ImportAbc)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void ImportTab(benchmark::State& state) {
  QuietPrompts prompts;
  ScopedPrompts scoped(prompts);
  const std::string text = Repeated("tab", ".tab", static_cast<size_t>(state.range(0)) << 20);
  for (auto _ : state) {
    auto doc = std::make_unique<CVornelTabDoc>();
    doc->OnNewDocument();
    TabImport tab(*doc);
    benchmark::DoNotOptimize(tab.ReadText(text, "bench.tab"));
    state.PauseTiming();
    doc.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(ImportTab)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace
