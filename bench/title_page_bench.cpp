// The title-page view's repaint while a text is dragged, as the window paints it: the paper
// with a triple frame, a picture, the title-page and metadata texts and a formatted title,
// and the drag's tracker, drawn whole into a Cairo image of the window's size at 96 dpi, the
// pointer one step further at each paint. Goal: under 16 ms a paint.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "document/CDocumentSettings.h"
#include "document/CTitlePage.h"
#include "document/CVornelTabDoc.h"
#include "platform/draw/CairoDevice.h"
#include "view/core/HeadlessViewWindow.h"
#include "view/titlepage/CTitlePageView.h"

namespace {

using namespace vornel;

std::string Picture() {
  const std::string path = (std::filesystem::temp_directory_path() / "title_page_bench.png").string();
  ImageDevice image(600, 400, 96, 0x8899AA);
  image.FillSolidRect({100, 100, 500, 300}, 0x224466);
  image.WritePng(path);
  return path;
}

std::unique_ptr<CVornelTabDoc> TitlePage() {
  auto doc = std::make_unique<CVornelTabDoc>();
  doc->OnNewDocument();
  CDocumentSettings& settings = doc->settings;
  settings.pageSettings.paperFormat = 9;
  const struct {
    size_t index;
    const char* text;
    int32_t y;
  } metadata[] = {{CDocumentSettings::kAuthor, "John Dowland", 700},
                  {CDocumentSettings::kSource, "after the print of 1604", 740},
                  {CDocumentSettings::kCopyright, "Public domain", 1000}};
  for (const auto& m : metadata) {
    CTrackText& text = settings.Text(static_cast<CDocumentSettings::TextIndex>(m.index));
    text.text = m.text;
    text.x = 250;
    text.y = m.y;
  }
  CTitlePage& titlePage = settings.titlePage;
  titlePage.frameStyle = 3;
  titlePage.Text(CTitlePage::kTitle).text = "Lachrimae, or Seaven Teares";
  titlePage.Text(CTitlePage::kTitle).font.pointSize.cx = 280;
  titlePage.Text(CTitlePage::kTitle).x = 150;
  titlePage.Text(CTitlePage::kTitle).y = 120;
  titlePage.Text(CTitlePage::kPublisher).text = "London, 1604";
  titlePage.Text(CTitlePage::kPublisher).y = 900;
  titlePage.formattedTitle.text =
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}}\\pard\\qc\\i\\fs28 Seaven Teares figured in "
      "seaven passionate Pavans\\i0\\par\\fs20 set forth for the Lute, Viols, or Violons, in five parts\\par}";
  titlePage.formattedTitle.SetDefaultRect(150, 780, 500, 100);
  titlePage.picture.path = Picture();
  titlePage.picture.x = 100;
  titlePage.picture.y = 250;
  return doc;
}

void RepaintDuringADrag(benchmark::State& state) {
  auto doc = TitlePage();
  view::HeadlessViewWindow window({1000, 1200});
  view::CTitlePageView view(*doc, window);
  view.OnInitialUpdate();
  ImageDevice dc(1000, 1200, 96, 0x808080);
  const auto paint = [&] {
    dc.SaveDC();
    dc.FillSolidRect({0, 0, 1000, 1200}, 0x808080);
    view.OnPrepareDC(dc);
    view.OnDraw(dc);
    view.DrawOverlays(dc);
    dc.RestoreDC(-1);
  };
  paint();
  const std::optional<view::CTitlePageView::Element> title = [&]() -> std::optional<view::CTitlePageView::Element> {
    for (const auto& element : view.Elements()) {
      if (element.kind == view::CTitlePageView::Element::Kind::kTitlePageText) return element;
    }
    return std::nullopt;
  }();
  if (!title || !view.OnLButtonDown({title->rect.CenterPoint(), view::kLeftButton, 0})) {
    state.SkipWithError("the title was not drawn where a click finds it");
    return;
  }
  Point pointer = title->rect.CenterPoint();
  for (auto _ : state) {
    pointer.x = title->rect.CenterPoint().x + static_cast<int32_t>(state.iterations() % 200);
    view.OnMouseMove({pointer, view::kLeftButton, 0});
    paint();
  }
  benchmark::DoNotOptimize(dc.ToBitmap().GetPixel(10, 10));
  view.CancelDrag();
}
BENCHMARK(RepaintDuringADrag)->Unit(benchmark::kMillisecond);

}  // namespace
