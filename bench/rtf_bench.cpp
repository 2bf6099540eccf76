// Rich text: reading a megabyte of RTF with pictures (goal: 20 MB/s or faster), reading and
// laying it out on A4, and redrawing one page from the cache (goal: at most a tenth of reading
// plus layout).

#include <benchmark/benchmark.h>

#include <string>

#include "layout/richtext/RtfPages.h"
#include "platform/draw/CairoDevice.h"
#include "platform/rtf/RtfEscape.h"
#include "platform/rtf/RtfReader.h"

namespace {

using namespace vornel;

constexpr size_t kTargetSize = size_t(1) << 20;

std::string PictureRtf() {
  // A 48 x 48 colour image as PNG, in hex as the control writes it.
  DeviceBitmap pixels(48, 48);
  for (int32_t y = 0; y < 48; ++y) {
    for (int32_t x = 0; x < 48; ++x) {
      pixels.SetPixel(x, y, RGB(static_cast<uint8_t>(x * 5), static_cast<uint8_t>(y * 5), static_cast<uint8_t>((x ^ y) * 3)));
    }
  }
  std::string png;
  EncodePng(pixels, png);
  static const char kHex[] = "0123456789abcdef";
  std::string rtf = "{\\pict\\pngblip\\picw48\\pich48\\picwgoal720\\pichgoal720\r\n";
  for (size_t i = 0; i < png.size(); ++i) {
    const auto b = static_cast<unsigned char>(png[i]);
    rtf += kHex[b >> 4];
    rtf += kHex[b & 0xF];
    if (i % 64 == 63) rtf += "\r\n";
  }
  return rtf + "}";
}

// About a megabyte in the style of the rich-edit control: formatted paragraphs with escapes,
// bullets, and a picture every twenty paragraphs.
const std::string& MegabyteOfRtf() {
  static const std::string rtf = [] {
    std::string s =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
        "{\\f1\\fswiss\\fcharset0 Arial;}{\\f2\\fnil\\fcharset2 Symbol;}}\r\n"
        "{\\colortbl ;\\red128\\green0\\blue0;\\red0\\green0\\blue128;}\r\n\\viewkind4\\uc1\\pard\\f0\\fs24 ";
    const std::string picture = PictureRtf();
    const std::string body = EscapeRtfText(
        "The pieces are ordered as the manuscript orders them; titles keep the spelling of the source "
        "(caf\xC3\xA9, \xE2\x82\xAC 12) and a modern title follows in brackets where the source has none. ");
    for (int i = 0; s.size() < kTargetSize; ++i) {
      if (i % 20 == 19) {
        s += "\\pard\\qc " + picture + "\\par\r\n";
      } else if (i % 7 == 3) {
        s += "\\pard{\\pntext\\f2\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0{\\pntxtb\\'B7}}\\fi-360\\li720 Item \\b " +
             std::to_string(i) + "\\b0  of the list\\par\r\n";
      } else {
        s += "\\pard\\qj\\sa120 \\cf1\\b Paragraph " + std::to_string(i) + ".\\cf0\\b0  " + body + "\\i " + body +
             "\\i0\\par\r\n";
      }
    }
    return s + "}";
  }();
  return rtf;
}

void BM_ReadRtf(benchmark::State& state) {
  const std::string& rtf = MegabyteOfRtf();
  for (auto _ : state) {
    RtfReadResult read = ReadRtf(rtf);
    benchmark::DoNotOptimize(read.document.paragraphs.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadRtf)->Unit(benchmark::kMillisecond);

void BM_ReadAndLayOutOnA4(benchmark::State& state) {
  const std::string& rtf = MegabyteOfRtf();
  int32_t pages = 0;
  for (auto _ : state) {
    RichTextCache cache;
    pages = RtfPages(rtf, RtfPage::A4(), PangoTextEngine::Shared(), cache).Count();
  }
  state.counters["pages"] = pages;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadAndLayOutOnA4)->Unit(benchmark::kMillisecond);

void BM_RedrawPageFromCache(benchmark::State& state) {
  const std::string& rtf = MegabyteOfRtf();
  RichTextCache cache;
  const RtfPage a4 = RtfPage::A4();
  ImageDevice page(TwipsToDevice(a4.widthTwips, 96), TwipsToDevice(a4.heightTwips, 96), 96);
  int32_t pageNumber = 0;
  {
    const RtfPages pages(rtf, a4, page.GetTextEngine(), cache);
    pageNumber = pages.Count() / 2;
  }
  for (auto _ : state) {
    // Each drawing builds its host again from the text: the cache makes that a look-up.
    const RtfPages pages(rtf, a4, page.GetTextEngine(), cache);
    pages.DrawPage(page, pageNumber);
  }
  state.counters["reads"] = static_cast<double>(cache.ReadCount());
  state.counters["layouts"] = static_cast<double>(cache.LayoutCount());
}
BENCHMARK(BM_RedrawPageFromCache)->Unit(benchmark::kMillisecond);

}  // namespace
