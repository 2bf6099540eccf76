// The open and import paths on crafted worst cases, each run in a fresh child process: a
// document whose root carries tens of thousands of attributes, a bundle and a compressed
// MusicXML file packed as tightly as the readers accept, and a damaged binary document naming
// thousands of missing facsimiles in a folder of 1,300 files.
//
// The time of a case is the processor time of the step. Every reader is held to 64 MB plus 64
// bytes per input byte and 1 s plus 1 s per MB of input: "bound_MB" and "bound_s" give those
// bounds for the case's input ("input_MB"), "added_MB" what the step added to the resident
// size at its peak.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>

#include "ChildProcess.h"
#include "document/DocumentFiles.h"
#include "document/zip/ZipBundle.h"
#include "document/zip/ZipWriter.h"
#include "import/musicxml/MusicXMLImport.h"

namespace {

using namespace vornel;
using vornel::bench::InChild;
using vornel::bench::StepCost;
namespace fs = std::filesystem;

fs::path Folder() {
  static const fs::path folder = [] {
    std::string pattern = (fs::temp_directory_path() / "vornel-crafted-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    return fs::path(pattern);
  }();
  return folder;
}

void Write(const fs::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

double MB(uintmax_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

void Report(benchmark::State& state, const fs::path& input, const std::function<bool()>& step) {
  StepCost worst;
  for (auto _ : state) {
    const StepCost cost = InChild([&step] {
      // Messages and the scanner's echo go nowhere: the cases measure the readers.
      std::freopen("/dev/null", "w", stdout);
      std::freopen("/dev/null", "w", stderr);
      step();
      return true;
    });
    state.SetIterationTime(cost.cpuSeconds);
    worst.addedMB = std::max(worst.addedMB, cost.addedMB);
  }
  const double inputMB = MB(fs::file_size(input));
  state.counters["input_MB"] = inputMB;
  state.counters["added_MB"] = worst.addedMB;
  state.counters["bound_MB"] = 64 + 64 * inputMB;
  state.counters["bound_s"] = 1 + inputMB;
}

// The smallest document the reader takes, with `rootAttributes` on its root and `inside`
// within its settings.
std::string Document(const std::string& rootAttributes, const std::string& inside = {}) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<VornelTabXML version=\"1.0\"" + rootAttributes +
         "><document-settings><identity><track-texts/></identity><layout/><preliminaries/><associations/>"
         "<metadata-fonts/><section-fonts/>" + inside +
         "</document-settings><sections count=\"0\"></sections></VornelTabXML>\n";
}

void ManyAttributes(benchmark::State& state) {
  std::string attributes;
  for (int64_t i = 0; i < state.range(0); ++i) attributes += " a" + std::to_string(i) + "=\"\"";
  const fs::path path = Folder() / ("attributes-" + std::to_string(state.range(0)) + ".btxml");
  Write(path, Document(attributes));
  Report(state, path, [path] { return OpenDocumentFile(path.string()).document != nullptr; });
}
BENCHMARK(ManyAttributes)->Arg(10000)->Arg(20000)->Arg(40000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// Text that packs to about one part in `ratio` at deflate's level 8: random characters of
// `alphabet`, which pack to about three quarters, between runs of `filler`, which pack to
// almost nothing.
std::string PackableText(size_t size, double ratio, std::string_view alphabet = "abcdefghijklmnopqrstuvwxyz",
                         char filler = ' ') {
  std::mt19937 random(5);
  const size_t letters = std::max<size_t>(1, static_cast<size_t>(static_cast<double>(size) / (ratio * 0.8)));
  const size_t blocks = std::max<size_t>(1, letters / 64);
  std::string text;
  text.reserve(size);
  const size_t blanks = (size - std::min(size, letters)) / blocks;
  for (size_t b = 0; b < blocks && text.size() < size; ++b) {
    for (int i = 0; i < 64; ++i) text.push_back(alphabet[random() % alphabet.size()]);
    text.append(std::min(blanks, size - std::min(size, text.size())), filler);
  }
  return text;
}

// A bundle whose document (a comment of `unpacked` bytes inside its settings) packs just
// inside the ratio the bundle reader accepts.
fs::path TightBundle(size_t unpacked) {
  const fs::path folder = Folder() / ("bundle-" + std::to_string(unpacked));
  fs::create_directories(folder);
  const fs::path xml = folder / "Song.btxml";
  Write(xml, Document("", "<!--" + PackableText(unpacked, kMaxBundleRatio * 0.9) + "-->"));
  const fs::path bundle = folder / "Song.btz";
  const ZipHandlePtr zip = CreateZip(bundle.string());
  ZipAdd(zip.get(), "Song.btxml", xml.string());
  CloseZip(zip.get());
  fs::remove(xml);
  return bundle;
}

void BundleAtRatioLimit(benchmark::State& state) {
  const fs::path bundle = TightBundle(static_cast<size_t>(state.range(0)) << 20);
  Report(state, bundle, [bundle] { return OpenDocumentFile(bundle.string()).document != nullptr; });
  state.counters["ratio"] = static_cast<double>(state.range(0)) / MB(fs::file_size(bundle));
}
BENCHMARK(BundleAtRatioLimit)->Arg(128)->Arg(512)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// A compressed MusicXML file whose score is junk the scanner echoes (digits and dots, which
// no rule of the scanner takes), packed as tightly.
void MxlAtRatioLimit(benchmark::State& state) {
  const fs::path folder = Folder() / ("mxl-" + std::to_string(state.range(0)));
  fs::create_directories(folder / "META-INF");
  Write(folder / "META-INF" / "container.xml",
        "<container><rootfiles><rootfile full-path=\"score.xml\"/></rootfiles></container>");
  Write(folder / "score.xml", PackableText(static_cast<size_t>(state.range(0)) << 20, kMaxBundleRatio * 0.9, "0123456789", '.'));
  const fs::path mxl = folder / "score.mxl";
  const ZipHandlePtr zip = CreateZip(mxl.string());
  ZipAdd(zip.get(), "META-INF/container.xml", (folder / "META-INF" / "container.xml").string());
  ZipAdd(zip.get(), "score.xml", (folder / "score.xml").string());
  CloseZip(zip.get());
  fs::remove(folder / "score.xml");
  Report(state, mxl, [mxl] {
    CBriotabDoc doc;
    MusicXMLImport import;
    import.target = &doc;
    return import.ImportFile(mxl.string());
  });
}
BENCHMARK(MxlAtRatioLimit)->Arg(128)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

// A binary document naming `missing` facsimiles that no folder holds, opened beside 1,300
// other files.
void MissingFacsimiles(benchmark::State& state) {
  const fs::path folder = Folder() / ("facsimiles-" + std::to_string(state.range(0)));
  fs::create_directories(folder);
  for (int i = 0; i < 1300; ++i) Write(folder / ("page-" + std::to_string(i) + ".jpg"), "");
  const fs::path path = folder / "Damaged.btb";
  InChild([&] {
    CVornelTabDoc doc;
    doc.OnNewDocument();
    for (int64_t i = 0; i < state.range(0); ++i) {
      doc.GetActiveSection()->facsimiles.imagePaths.push_back("C:\\Scans\\missing-" + std::to_string(i) + ".jpg");
    }
    return SaveDocumentFile(doc, path.string()).has_value();
  });
  Report(state, path, [path] { return OpenDocumentFile(path.string()).document != nullptr; });
}
BENCHMARK(MissingFacsimiles)->Arg(9766)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(1);

}  // namespace
