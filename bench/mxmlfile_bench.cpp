// Whole MusicXML files imported end to end, and stage by stage: reading (parse and part list),
// converting (the converters and the flat list), walking and finishing the section. The files
// repeat the measures of a two-voice corpus score (with lyrics, articulations and a dynamic)
// up to 1 MB and 4 MB; a third kind holds one measure of many two-note chords.

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "document/CBriotabDoc.h"
#include "document/zip/ZipBundle.h"
#include "import/musicxml/ImportWarnings.h"
#include "import/ImportedSection.h"
#include "import/musicxml/MusicXMLImport.h"
#include "import/musicxml/MusicXMLImportDriver.h"
#include "import/musicxml/MusicXMLTagWalk.h"
#include "model/score/CSystemArray.h"

namespace {

using namespace vornel;

std::string ReadCorpusFile(const std::string& name) {
  std::ifstream in(std::string(VORNEL_CORPUS_DIR) + "/musicxml/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The corpus score with its measures after the first repeated until the file holds `bytes`;
// only the first measure has attributes, so the copies stay a valid continuation.
std::string RepeatedScore(size_t bytes) {
  const std::string score = ReadCorpusFile("42a-MultiVoice-TwoVoicesOnStaff-Lyrics.xml");
  const std::string close = "</measure>";
  const size_t firstEnd = score.find(close) + close.size();
  const size_t lastEnd = score.rfind(close) + close.size();
  const std::string head = score.substr(0, firstEnd);
  const std::string body = score.substr(firstEnd, lastEnd - firstEnd);
  const std::string tail = score.substr(lastEnd);
  std::string file = head;
  while (file.size() + tail.size() < bytes) file += body;
  return file + tail;
}

// One measure of `chords` two-note chords, quarters of one voice.
std::string OneLongMeasure(int chords) {
  std::string file =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 2.0 "
      "Partwise//EN\" \"http://www.musicxml.org/dtds/partwise.dtd\">\n<score-partwise version=\"2.0\"><part-list>"
      "<score-part id=\"P1\"><part-name>Lute</part-name></score-part></part-list><part id=\"P1\"><measure number=\"1\">";
  for (int i = 0; i < chords; ++i) {
    file += "<note><pitch><step>C</step><octave>4</octave></pitch><duration>1</duration><voice>1</voice>"
            "<type>quarter</type></note><note><chord/><pitch><step>E</step><octave>4</octave></pitch><duration>1"
            "</duration><voice>1</voice><type>quarter</type></note>\n";
  }
  return file + "</measure></part></score-partwise>\n";
}

// A score written to a temporary file for the benchmark's lifetime.
class ScoreFile {
 public:
  explicit ScoreFile(const std::string& text) {
    folder_.Create();
    path_ = folder_.Path() + "/score.xml";
    std::ofstream(path_, std::ios::binary) << text;
    bytes_ = text.size();
  }
  const std::string& path() const { return path_; }
  size_t bytes() const { return bytes_; }

 private:
  TemporaryFolder folder_;
  std::string path_;
  size_t bytes_ = 0;
};

const ScoreFile& RepeatedFile(int64_t megabytes) {
  static const ScoreFile one(RepeatedScore(size_t{1} << 20));
  static const ScoreFile four(RepeatedScore(size_t{4} << 20));
  return megabytes == 1 ? one : four;
}

struct QuietWarnings {
  std::ostream nowhere{nullptr};
  ScopedImportWarnings scope{nowhere};
};

void ImportWhole(benchmark::State& state, const ScoreFile& file) {
  QuietWarnings quiet;
  for (auto _ : state) {
    CBriotabDoc doc;
    MusicXMLImport import;
    import.target = &doc;
    if (!import.ImportFile(file.path())) state.SkipWithError("the file was not imported");
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.bytes()));
}

void WholeImport(benchmark::State& state) { ImportWhole(state, RepeatedFile(state.range(0))); }
BENCHMARK(WholeImport)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

// The stages, one by one, on the same files.
void Read(benchmark::State& state) {
  const ScoreFile& file = RepeatedFile(state.range(0));
  for (auto _ : state) {
    MusicXMLImportDriver driver;
    benchmark::DoNotOptimize(driver.read(file.path()));
  }
}
BENCHMARK(Read)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void Convert(benchmark::State& state) {
  QuietWarnings quiet;
  MusicXMLImportDriver driver;
  driver.read(RepeatedFile(state.range(0)).path());
  for (auto _ : state) benchmark::DoNotOptimize(driver.convert());
}
BENCHMARK(Convert)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void Walk(benchmark::State& state) {
  QuietWarnings quiet;
  MusicXMLImportDriver driver;
  driver.read(RepeatedFile(state.range(0)).path());
  const Svornelelement list = driver.convert();
  for (auto _ : state) {
    const std::unique_ptr<CSystemArray> section = MakeImportSection(driver.parts());
    MusicXMLTagWalk(*section).Walk(*list);
  }
}
BENCHMARK(Walk)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

void Finish(benchmark::State& state) {
  QuietWarnings quiet;
  MusicXMLImportDriver driver;
  driver.read(RepeatedFile(state.range(0)).path());
  const Svornelelement list = driver.convert();
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<CSystemArray> section = MakeImportSection(driver.parts());
    MusicXMLTagWalk(*section).Walk(*list);
    state.ResumeTiming();
    FinishImportedSection(*section, MusicXMLImport::kEventsPerSystem, ImportedVoices::kInDefinitions);
    state.PauseTiming();
    section.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(Finish)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

// One measure of 25,000 to 100,000 notes: the chord notes are found from each note's own
// place in the measure, so the time grows with the notes, not with their square.
void LongMeasure(benchmark::State& state) {
  const ScoreFile file(OneLongMeasure(static_cast<int>(state.range(0) / 2)));
  ImportWhole(state, file);
  state.counters["notes"] = static_cast<double>(state.range(0));
}
BENCHMARK(LongMeasure)->Arg(25000)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
