// Reading a 10 MB MusicXML file (the measures of a corpus score repeated) with our reader,
// beside tinyxml2 parsing the same file.

#include <benchmark/benchmark.h>
#include <tinyxml2.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "musicxml/reader/xmlreader.h"

namespace {

constexpr size_t kTargetBytes = size_t(10) << 20;

// Writes the score once per run: its first part's measures repeated up to the target size.
const std::string& BigScore() {
  static const std::string path = [] {
    std::ifstream in(std::string(VORNEL_CORPUS_DIR) + "/musicxml/01a-Pitches-Pitches.xml", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const std::string score = text.str();
    const size_t first = score.find("<measure");
    const size_t endOfPart = score.find("</part>", first);
    const size_t last = score.rfind("</measure>", endOfPart);
    if (first == std::string::npos || last == std::string::npos) throw std::runtime_error("no measures in the score");
    const std::string measures = score.substr(first, last + 10 - first);
    std::string big = score.substr(0, first);
    while (big.size() < kTargetBytes) big += measures + "\n    ";
    big += score.substr(last + 10);
    const std::string target = (std::filesystem::temp_directory_path() / "vornel-bench-10mb.xml").string();
    std::ofstream(target, std::ios::binary) << big;
    return target;
  }();
  return path;
}

void BM_ReadMusicXml(benchmark::State& state) {
  const std::string& path = BigScore();
  for (auto _ : state) {
    vornel::MusicXML2::xmlreader reader;
    const auto file = reader.readFile(path.c_str());
    if (!file) state.SkipWithError("the reader refused the file");
    benchmark::DoNotOptimize(file.get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_ReadMusicXml)->Unit(benchmark::kMillisecond);

void BM_Tinyxml2SameFile(benchmark::State& state) {
  const std::string& path = BigScore();
  for (auto _ : state) {
    tinyxml2::XMLDocument doc;
    if (doc.LoadFile(path.c_str()) != tinyxml2::XML_SUCCESS) state.SkipWithError("tinyxml2 refused the file");
    benchmark::DoNotOptimize(doc.RootElement());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_Tinyxml2SameFile)->Unit(benchmark::kMillisecond);

}  // namespace
