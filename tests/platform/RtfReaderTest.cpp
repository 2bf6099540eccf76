// The RTF reader on fixtures written in the style of a rich-edit control, and on the edge
// cases of hostile or unusual input; the writer on the round trip back to the same model.

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"
#include "support/Bytes.h"
#include "support/RichTextDump.h"

namespace vornel {
namespace {

using testing::DescribeRichDocument;

std::string Fixture(std::string_view name) {
  return testing::ReadText(std::string(VORNEL_SOURCE_DIR) + "/tests/platform/rtf/" + std::string(name));
}

TEST(RtfReader, FixturesReadIntoTheExpectedModel) {
  const struct {
    std::string rtf;
    std::string_view expected;
  } cases[] = {
      {Fixture("styles.rtf"), R"(cpg1252 deff0 deflang1033
font 0 swiss cs0 "Arial"
font 1 roman cs0 "Times New Roman"
font 2 modern cs0 "Courier New"
colour auto
colour #ff0000
colour #008000
para left | mark f0 fs20
  run f0 fs20 "Plain "
  run f0 fs20 b "bold"
  run f0 fs20 " "
  run f0 fs20 i "italic"
  run f0 fs20 " "
  run f0 fs20 ul "underlined"
  run f0 fs20 " "
  run f0 fs20 cf1 "red"
  run f0 fs20 " "
  run f0 fs28 cf2 "big green"
  run f0 fs20 "."
para center | mark f1 fs24
  run f1 fs24 "Centred café € € 😀"
para right | mark f0 fs20
  run f0 fs20 "Right"
para justify li720 ri360 fi-360 | mark f0 fs20
  run f0 fs20 "Justified with indents: the quick brown fox jumps over the lazy dog again and again until the line wraps."
para left tx1440 tx2880 | mark f0 fs20
  run f0 fs20 "Tab\tone\ttwo\nsecond line"
para left sb120 sa240 | mark f0 fs20
  run f0 fs20 "Spaced {braces} and \backslash"
para left sb120 sa240 | mark f0 fs20
)"},
      {Fixture("bullets.rtf"), R"(cpg1252 deff0 deflang1033
font 0 swiss cs0 "Arial"
font 1 nil cs2 "Symbol"
para left | mark f0 fs20
  run f0 fs20 "Shopping list:"
para left li720 fi-360 bullet"·" pnf1 pnindent0 | mark f0 fs20
  run f0 fs20 "Bread"
para left li720 fi-360 bullet"·" pnf1 pnindent0 | mark f0 fs20
  run f0 fs20 "Milk and "
  run f0 fs20 b "butter"
para left li720 fi-360 bullet"·" pnf1 pnindent0 | mark f0 fs20
  run f0 fs20 "Cheese"
para left | mark f0 fs20
  run f0 fs20 "After the list."
para left | mark f0 fs20
)"},
      {Fixture("pictures.rtf"), R"(cpg1252 deff0 deflang1033
font 0 swiss cs0 "Arial"
colour auto
colour #0000ff
para left | mark f0 fs20
  run f0 fs20 "PNG "
  pict f0 fs20 png 4x4 goal 600x600 bytes 79
para left | mark f0 fs20
  run f0 fs20 "JPEG "
  pict f0 fs20 jpeg 8x8 goal 720x720 bytes 286
para left | mark f0 fs20
  run f0 fs20 "DIB "
  pict f0 fs20 dib 2x2 goal 300x300 bytes 56
para left | mark f0 fs20
  run f0 fs20 "WMF "
  pict f0 fs20 wmf 5292x2646 goal 3000x1500 bytes 80
para left | mark f0 fs20
  run f0 fs20 "EMF "
  pict f0 fs20 emf 2646x1852 goal 1500x1050 bytes 132
para left | mark f0 fs20
  run f0 fs20 "Object "
  pict f0 fs20 png 4x4 goal 600x600 bytes 79
para left | mark f0 fs20
  run f0 fs20 "Binary "
  pict f0 fs20 png 4x4 goal 300x300 bytes 79
para left | mark f0 fs20
  run f0 fs20 "Broken "
  pict f0 fs20 png 4x4 goal 300x300 bytes 9
para left | mark f0 fs20
)"},
  };
  for (const auto& c : cases) {
    const RtfReadResult read = ReadRtf(c.rtf);
    EXPECT_FALSE(read.stopped);
    EXPECT_EQ(DescribeRichDocument(read.document), c.expected) << c.rtf.substr(0, 80);
  }
}

TEST(RtfReader, FixturesWriteBackToTheSameModel) {
  for (const std::string& rtf : {Fixture("styles.rtf"), Fixture("bullets.rtf"), Fixture("pictures.rtf")}) {
    const RichDocument model = ReadRtf(rtf).document;
    const std::string written = WriteRtf(model);
    const RtfReadResult again = ReadRtf(written);
    EXPECT_FALSE(again.stopped);
    EXPECT_EQ(DescribeRichDocument(again.document), DescribeRichDocument(model)) << written;
    EXPECT_TRUE(again.document == model) << written;
    EXPECT_EQ(WriteRtf(again.document), written);
  }
}

// Hostile and unusual input: what is read before a fault is kept and nothing crashes.
TEST(RtfReader, EdgeCases) {
  std::string deep = "{\\rtf1 ";
  deep.append(300, '{');
  deep += "\\b deep";
  deep.append(301, '}');
  const struct {
    const char* name;
    std::string rtf;
    std::string_view text;  // the plain text read
    bool stopped;
  } cases[] = {
      {"empty", "", "", false},
      {"empty document", "{\\rtf1}", "", false},
      {"euro as \\u and as a code-page byte", "{\\rtf1\\ansi\\uc1 \\u8364?=\\'80}", "\xE2\x82\xAC=\xE2\x82\xAC", false},
      {"a surrogate pair is one character", "{\\rtf1 \\u-10179?\\u-8704?!}", "\xF0\x9F\x98\x80!", false},
      {"a lone surrogate", "{\\rtf1 \\u-10179?x}", "\xEF\xBF\xBDx", false},
      {"\\uc2 skips two fallback characters", "{\\rtf1\\uc2 \\u233\\'e9xy}", "\xC3\xA9y", false},
      {"\\uc0 skips none", "{\\rtf1\\uc0 \\u233 e}", "\xC3\xA9" "e", false},
      {"another code page", "{\\rtf1\\ansi\\ansicpg1251 \\'c0\\'e1}", "\xD0\x90\xD0\xB1", false},
      {"a control character under a page that waits for combining marks", "{\\rtf\\ansicpg1258 A\x7F" "B}",
       "A\x7F" "B", false},
      {"the last character of such a page", "{\\rtf1\\ansicpg1258 \\'e0}", "\xC3\xA0", false},
      {"an EBCDIC page reads as Windows-1252", "{\\rtf1\\ansicpg500 \\'07\\'e9}", "\x07\xC3\xA9", false},
      {"a font's character set", "{\\rtf1\\ansi{\\fonttbl{\\f1\\fcharset161 Greek;}}\\f1 \\'e1}", "\xCE\xB1", false},
      {"characters above 255 as they are", "{\\rtf1 caf\xC3\xA9 \xE2\x82\xAC}", "caf\xC3\xA9 \xE2\x82\xAC", false},
      {"a stray 8-bit byte is a code-page byte", "{\\rtf1 \x80}", "\xE2\x82\xAC", false},
      {"non-hex escape gives nothing", "{\\rtf1 a\\'zzb\\'4}", "ab", false},
      {"control symbols", "{\\rtf1 \\{\\}\\\\\\~x\\-y\\_z}", "{}\\\xC2\xA0xy\xE2\x80\x91z", false},
      {"unknown starred destination", "{\\rtf1 a{\\*\\unknown b}c{\\*\\generator d;}e}", "ace", false},
      {"unknown word without a star", "{\\rtf1 a\\frobnicate42 b}", "ab", false},
      {"field result shown, instruction not", "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt link}}}", "link",
       false},
      {"unbalanced groups", "{\\rtf1 a{\\b b{\\i c", "abc", false},
      {"a stray brace ends the document", "{\\rtf1 a}b}", "a", false},
      {"\\bin past the end", "{\\rtf1 a{\\pict\\pngblip\\bin99 xyz}}", "a", true},
      {"300 levels of nesting", deep, "deep", false},
      {"a 20-digit parameter", "{\\rtf1\\fs123456789012345678901 big\\li-99999999999999999999 x}", "bigx", false},
      {"a backslash at the very end", "{\\rtf1 a\\", "a", false},
      {"negative numbers where none belong",
       "{\\rtf1{\\fonttbl{\\f0\\fprq-2 A;}}\\pard{\\*\\pn\\pnlvlblt\\pnf-3{\\pntxtb x}}a{\\pict\\wmetafile-5 00}}", "a",
       false},
      {"plain text", "line one\r\nline two\rthree\n", "line one\nline two\nthree\n", false},
      {"plain Windows-1252 text", "caf\xE9", "caf\xC3\xA9", false},
      {"line and paragraph breaks", "{\\rtf1 a\\line b\\par c\\\r\nd}", "a\nb\nc\nd", false},
      {"table rows are paragraphs of cells",
       "{\\rtf1\\trowd\\cellx2000\\cellx3000\\pard\\intbl a\\cell\\pard\\intbl b\\cell\\row c}", "a\tb\t\nc", false},
  };
  for (const auto& c : cases) {
    const RtfReadResult read = ReadRtf(c.rtf);
    EXPECT_EQ(read.document.PlainText(), c.text) << c.name;
    EXPECT_EQ(read.stopped, c.stopped) << c.name;
    EXPECT_FALSE(read.document.paragraphs.empty()) << c.name;
    // Whatever was read writes and reads back the same.
    const std::string written = WriteRtf(read.document);
    EXPECT_TRUE(ReadRtf(written).document == read.document) << c.name << ": " << written;
  }
}

// Every byte of every code page, escaped and as it stands: each gives a character (a
// carriage return aside, which is no text), and what is read writes and reads back the same.
TEST(RtfReader, EveryCodePageKeepsEveryByteThroughARoundTrip) {
  for (const int page : {437, 500, 850, 852, 866, 874, 932, 936, 949, 950, 1250, 1251, 1252, 1253, 1254, 1255, 1256,
                         1257, 1258, 10000, 20866, 28591, 65001}) {
    const std::string header = "{\\rtf1\\ansi\\ansicpg" + std::to_string(page) + " ";
    std::string escaped = header;
    std::string raw = header;
    for (int b = 1; b < 256; ++b) {
      if (b == '\\' || b == '{' || b == '}') continue;
      static constexpr char kHex[] = "0123456789abcdef";
      const std::string hex = std::string("\\'") + kHex[b >> 4] + kHex[b & 15];
      escaped += "{" + hex + "}|";
      raw += static_cast<char>(b);
      const RichDocument single = ReadRtf(header + hex + "|}").document;
      if (b != '\r') {
        EXPECT_GT(single.PlainText().size(), 1u) << "code page " << page << " byte " << b;
      }
    }
    for (const std::string& rtf : {escaped + "}", raw + "}"}) {
      const RtfReadResult read = ReadRtf(rtf);
      const std::string written = WriteRtf(read.document);
      const RtfReadResult again = ReadRtf(written);
      EXPECT_FALSE(again.stopped);
      EXPECT_TRUE(again.document == read.document) << "code page " << page << ": " << written;
      EXPECT_EQ(WriteRtf(again.document), written) << "code page " << page;
    }
  }
}

TEST(RtfReader, TableCellsStartAtTheirEdges) {
  const RtfReadResult read = ReadRtf(
      "{\\rtf1\\trowd\\cellx2000\\cellx3000\\cellx4500\\pard\\intbl a\\cell\\pard\\intbl b\\cell\\pard\\intbl c\\cell\\row}");
  ASSERT_FALSE(read.document.paragraphs.empty());
  EXPECT_EQ(read.document.paragraphs[0].format.tabs, (std::vector<int32_t>{2000, 3000}));
}

TEST(RtfReader, LimitsStopTheReadKeepingWhatCameBefore) {
  RtfReadLimits limits;
  limits.maxCharacters = 5;
  RtfReadResult read = ReadRtf("{\\rtf1 abc\\par defgh}", limits);
  EXPECT_TRUE(read.stopped);
  EXPECT_EQ(read.document.PlainText(), "abc\nd");

  limits = RtfReadLimits{};
  limits.maxGroupDepth = 10;
  std::string deep = "{\\rtf1 a";
  deep.append(20, '{');
  deep += 'b';
  deep.append(21, '}');
  read = ReadRtf(deep, limits);
  EXPECT_TRUE(read.stopped);
  EXPECT_EQ(read.document.PlainText(), "a");

  limits = RtfReadLimits{};
  limits.maxCharacters = 3;
  read = ReadRtf("plain text", limits);
  EXPECT_TRUE(read.stopped);
  EXPECT_EQ(read.document.PlainText(), "pla");
}

TEST(RtfReader, PicturesKeepTheirDataAndSizes) {
  const RichDocument doc = ReadRtf(Fixture("pictures.rtf")).document;
  const RichPicture& png = *doc.paragraphs[0].runs[1].picture;
  ASSERT_GE(png.data.size(), 8u);
  EXPECT_EQ(testing::ToHex(std::vector<uint8_t>(png.data.begin(), png.data.begin() + 8)), "89 50 4E 47 0D 0A 1A 0A");
  // The size drawn: the goal size in twips, else the stored size (pixels at 96 per inch,
  // hundredths of a millimetre for metafiles), scaled.
  EXPECT_EQ(png.DisplayWidth(), 600);
  RichPicture p;
  p.width = 32;
  p.height = 16;
  p.scaleX = 50;
  EXPECT_EQ(p.DisplayWidth(), 240);
  EXPECT_EQ(p.DisplayHeight(), 240);
  p.format = RichPicture::Format::kWmf;
  p.width = 2540;
  EXPECT_EQ(p.DisplayWidth(), 720);
  // The binary picture holds exactly the PNG the hex one does.
  EXPECT_EQ(doc.paragraphs[6].runs[1].picture->data, png.data);
}

TEST(RtfWriter, WritesTheControlsStyle) {
  RichDocument doc;
  doc.defaultLanguage = 1033;
  doc.fonts.push_back(RichFont{0, "Arial", RichFont::kSwiss, 0, -1});
  doc.colours = {RichColour{}, RichColour{false, RGB(255, 0, 0)}};
  RichParagraph first;
  first.format.alignment = ParaFormat::kCenter;
  first.runs.push_back(RichRun{CharFormat{0, 20, false, false, false, 0}, "Hello ", std::nullopt});
  first.runs.push_back(RichRun{CharFormat{0, 20, true, false, false, 1}, "red {world}\tend\nnext", std::nullopt});
  first.markFormat = first.runs.back().format;
  RichParagraph second;
  second.markFormat = first.markFormat;
  doc.paragraphs = {first, second};
  EXPECT_EQ(WriteRtf(doc),
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
            "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
            "\\viewkind4\\uc1\\pard\\qc\\fs20 Hello \\cf1\\b red \\{world\\}\\tab end\\line next\\par\r\n"
            "\\pard}\r\n");
}

}  // namespace
}  // namespace vornel
