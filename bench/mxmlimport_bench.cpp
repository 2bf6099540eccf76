// The MusicXML import's walk of the flat tag list and the finishing of the section, on a score
// of four parts with 50,000 and 100,000 notes: three quarters and a two-note chord a bar in
// 3/4, a slur, a tie and a dynamic now and then.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "import/ImportedSection.h"
#include "import/musicxml/MusicXMLImport.h"
#include "import/musicxml/MusicXMLTagWalk.h"
#include "model/score/CSystemArray.h"

namespace {

using namespace vornel;

constexpr int kParts = 4;

Svornelelement Tag(const char* name, std::vector<std::string> params = {}) {
  Svornelelement e = vornelelement::create(name);
  for (const std::string& p : params) e->add(vornelparam::create(p, false));
  return e;
}

Svornelelement NoteTag(int pitch) {
  return Tag("note", {std::to_string(pitch), "c", "4", "", "260", "0", "1", "4", "0"});
}

// The flat list of `notes` notes spread over the parts.
Svornelelement FlatList(int notes) {
  Svornelelement list = vornelelement::create("Score");
  const int perPart = notes / kParts;
  for (int part = 0; part < kParts; ++part) {
    list->add(Tag("staff", {std::to_string(part + 1), "1", "1", "0", std::to_string(part)}));
    list->add(Tag("\\meter", {"3/4", "3", "4"}));
    for (int n = 0, bar = 0; n < perPart; ++bar) {
      if (bar % 8 == 0) list->add(Tag("\\intens", {"mf"}));
      if (bar % 4 == 0) list->add(Tag("\\slurBegin", {"1", "0"}));
      list->add(NoteTag(36 + (bar + part) % 12));
      list->add(NoteTag(38 + (bar + part) % 12));
      if (bar % 4 == 0) list->add(Tag("\\slurEnd", {"1"}));
      list->add(Tag("chord"));
      list->add(NoteTag(40 + bar % 7));
      list->add(NoteTag(47 + bar % 5));
      list->add(Tag("endchord", {"chord"}));
      n += 4;
      list->add(Tag("\\bar", {std::to_string(bar + 1)}));
    }
    list->add(Tag("endstaff", {"staff"}));
  }
  list->add(Tag("endgroup", {"Score"}));
  return list;
}

void WalkAndFinish(benchmark::State& state) {
  const Svornelelement list = FlatList(static_cast<int>(state.range(0)));
  size_t systems = 0;
  for (auto _ : state) {
    const std::unique_ptr<CSystemArray> section = MakeImportSection(std::vector<PartRecord>(kParts));
    MusicXMLTagWalk(*section).Walk(*list);
    FinishImportedSection(*section, MusicXMLImport::kEventsPerSystem, ImportedVoices::kInDefinitions);
    systems = section->systems.size();
  }
  state.counters["systems"] = static_cast<double>(systems);
}
BENCHMARK(WalkAndFinish)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

// The walk alone, into the definitions' gathered voices.
void Walk(benchmark::State& state) {
  const Svornelelement list = FlatList(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    const std::unique_ptr<CSystemArray> section = MakeImportSection(std::vector<PartRecord>(kParts));
    MusicXMLTagWalk(*section).Walk(*list);
  }
}
BENCHMARK(Walk)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
