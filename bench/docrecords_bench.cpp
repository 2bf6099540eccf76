// The document records as a document load and save meet them: the page settings and the
// title page through the archive and through XML, and plain text turned into RTF.

#include <benchmark/benchmark.h>

#include <string>

#include "document/CPageDlg.h"
#include "document/CTitlePage.h"
#include "model/text/RtfText.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"

namespace {

vornel::CTitlePage SampleTitlePage() {
  vornel::CTitlePage page;
  page.Text(vornel::CTitlePage::kTitle).text = "Pièces de luth";
  page.preface.TextToRtf("Preface", std::string(2000, 'x'));
  for (int i = 0; i < 50; ++i) page.imageList.AddImage("C:\\Scans\\folio" + std::to_string(i) + ".jpg");
  return page;
}

void PageSettingsArchive(benchmark::State& state) {
  const vornel::CPageDlg page;
  for (auto _ : state) {
    vornel::ArchiveWriter writer;
    page.Store(writer);
    vornel::ArchiveReader reader(writer.Bytes());
    vornel::CPageDlg read;
    read.Load(reader);
    benchmark::DoNotOptimize(read.systemsPerPage);
  }
}
BENCHMARK(PageSettingsArchive);

void PageSettingsXml(benchmark::State& state) {
  vornel::CPageDlg page;
  for (auto _ : state) {
    tinyxml2::XMLDocument doc;
    doc.InsertEndChild(page.WriteXml(doc));
    vornel::CPageDlg read;
    read.ReadXml(doc.FirstChildElement());
    benchmark::DoNotOptimize(read.systemsPerPage);
  }
}
BENCHMARK(PageSettingsXml);

void TitlePageArchive(benchmark::State& state) {
  const vornel::CTitlePage page = SampleTitlePage();
  for (auto _ : state) {
    vornel::ArchiveWriter writer;
    page.Store(writer);
    vornel::ArchiveReader reader(writer.Bytes());
    vornel::CTitlePage read;
    read.Load(reader);
    benchmark::DoNotOptimize(read.imageList.size());
  }
}
BENCHMARK(TitlePageArchive);

void TitlePageXml(benchmark::State& state) {
  const vornel::CTitlePage page = SampleTitlePage();
  for (auto _ : state) {
    tinyxml2::XMLDocument doc;
    doc.InsertEndChild(page.WriteXml(doc));
    vornel::CTitlePage read;
    read.ReadXml(doc.FirstChildElement());
    benchmark::DoNotOptimize(read.imageList.size());
  }
}
BENCHMARK(TitlePageXml);

void EscapeRtf(benchmark::State& state) {
  std::string text;
  while (text.size() < 64 * 1024) text += "Pièce {n°1} \\ für Laute – 𝄞\n";
  for (auto _ : state) benchmark::DoNotOptimize(vornel::EscapeRtfText(text));
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}
BENCHMARK(EscapeRtf);

}  // namespace
