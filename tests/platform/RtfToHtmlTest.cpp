// The RTF-to-HTML converter: its element map on small documents, the repaired handling of
// markup characters, code-page bytes, \u characters and escaped braces, and the fragment
// every fixture gives as an XML element.

#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <string>
#include <string_view>

#include "platform/rtf/RtfToHtml.h"
#include "support/Bytes.h"

namespace vornel {
namespace {

constexpr std::string_view kFont10 = "<font style = \"font-size: 10pt; font-family:Arial;\" color = \"#000000\">";

std::string Html(std::string_view rtf) {
  CRTF_HTMLConverter converter;
  return ConvertRtfToHtml(converter, rtf);
}

std::string Div(std::string_view inside) { return "    <div>" + std::string(inside) + "</div>\r\n"; }

TEST(RtfToHtml, ElementMap) {
  const struct {
    const char* name;
    std::string_view rtf;
    std::string html;
  } cases[] = {
      {"font and size, then a paragraph",
       "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs24 Hello\\par}",
       Div(std::string(kFont10) + "</font><font style = \"font-size: 12pt; font-family:Arial;\" color = \"#000000\">"
                                  "Hello<p></p></font>")},
      {"an empty paragraph gets a blank", "{\\rtf1 a\\par\r\n\\par}", Div("a<p>\r\n&nbsp;</p><p></p>")},
      {"an escape swallows one space", "{\\rtf1 caf\\'e9 au lait}", Div("caf&#xe9;au lait")},
      {"colours by number; one beyond the table keeps the colour",
       "{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;}\\cf1 red\\cf5 still}",
       Div("<font style = \"font-size: 10pt; font-family:Arial;\" color = \"#ff0000\">red</font>"
           "<font style = \"font-size: 10pt; font-family:Arial;\" color = \"#ff0000\">still</font>")},
      {"bold, italic and underline", "{\\rtf1 \\b b\\b0 \\i i\\i0 \\ul u\\ulnone .}", Div("<b>b</b><i>i</i><u>u</u>.")},
      {"alignment goes to the open paragraph", "{\\rtf1 \\par\\qc x}",
       Div("<p align = \"center\">" + std::string(kFont10) + "x</font></p>")},
      {"a nested group of the body is left out", "{\\rtf1 a{\\b bold}c}", Div("ac")},
      {"unknown words give nothing", "{\\rtf1\\ansi\\deff0 \\pard\\plain\\lang1033\\tab x}", Div("x")},
      // Repaired: markup characters, code-page bytes, \u and escaped braces.
      {"markup characters are escaped", "{\\rtf1 a<b>&c}", Div("a&lt;b&gt;&amp;c")},
      {"code-page bytes decode through the code page", "{\\rtf1 \\'80 \\'zz!}", Div("&#x20ac;!")},
      {"another code page", "{\\rtf1\\ansi\\ansicpg1251 \\'c0}", Div("&#x410;")},
      {"\\u gives its character, not its fallback", "{\\rtf1 \\u8364?x\\u-10179?\\u-8704?}",
       Div("&#x20ac;x&#x1f600;")},
      {"escaped braces and backslashes are text", "{\\rtf1 \\{a\\}\\\\}", Div("{a}\\")},
      // Not RTF: nothing.
      {"plain text", "hello", ""},
      {"too short", "{\\rtf1", ""},
      {"no closing brace", "{\\rtf1 x", ""},
      {"a line end is trimmed", "{\\rtf1 x}\r\n", Div("x")},
  };
  for (const auto& c : cases) EXPECT_EQ(Html(c.rtf), c.html) << c.name;
}

// Bold, italic and underline open once however often they are repeated (their nesting once
// made the HTML grow with the square of the text), sizes stop at what a page shows, face
// names at the length of a face name, and a text of nothing but format changes is cut where
// its HTML reaches four times its size and a megabyte, as a well-formed fragment.
TEST(RtfToHtml, TheHtmlGrowsAtMostByAFactorOfTheRtf) {
  const std::string nested = testing::ReadText(std::string(VORNEL_SOURCE_DIR) + "/fuzz/corpus/rtf_fuzz/nested_formats.rtf");
  EXPECT_EQ(Html(nested), Div("<b><i>x</i></b><i></i>"));
  EXPECT_EQ(Html("{\\rtf1 \\b a\\b b\\b0 c}"), Div("<b>ab</b>c"));
  EXPECT_EQ(Html("{\\rtf1\\fs32767 x}"),
            Div("<font style = \"font-size: 288pt; font-family:Arial;\" color = \"#000000\">x</font>"));
  EXPECT_EQ(Html("{\\rtf1{\\fonttbl{\\f0 " + std::string(100, 'F') + ";}}\\f0 x}"),
            Div("<font style = \"font-size: 10pt; font-family:" + std::string(64, 'F') +
                ";\" color = \"#000000\">x</font>"));

  std::string changes = "{\\rtf1{\\colortbl ;\\red1\\green2\\blue3;}\\par ";
  while (changes.size() < (size_t(1) << 19)) changes += "\\b\\cf1 x\\b0 ";
  changes += "}";
  const std::string html = Html(changes);
  EXPECT_LE(html.size(), CRTF_HTMLConverter::kMaxGrowth * changes.size() + CRTF_HTMLConverter::kMaxExtraBytes + 1024);
  EXPECT_GT(html.size(), CRTF_HTMLConverter::kMaxGrowth * changes.size());
  tinyxml2::XMLDocument doc;
  EXPECT_EQ(doc.Parse(html.data(), html.size()), tinyxml2::XML_SUCCESS);
}

TEST(RtfToHtml, EachConversionStartsAfresh) {
  CRTF_HTMLConverter converter;
  ConvertRtfToHtml(converter, "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 Times;}}{\\colortbl ;\\red1\\green2\\blue3;}x}");
  EXPECT_EQ(converter.codePage, "1251");
  EXPECT_EQ(converter.FontTable().at("f0"), "Times");
  ASSERT_EQ(converter.ColourTable().size(), 3u);
  EXPECT_EQ(converter.ColourTable()[1], 0x030201u);
  converter.title = "Kept";
  EXPECT_EQ(ConvertRtfToHtml(converter, "{\\rtf1 \\f0 y}"), Div(std::string(kFont10) + "y</font>"));
  EXPECT_EQ(converter.codePage, "1252");
  EXPECT_TRUE(converter.FontTable().empty());
  EXPECT_EQ(converter.title, "Kept");
}

TEST(RtfToHtml, FixturesGiveAnElementNeverText) {
  for (const char* name : {"styles.rtf", "bullets.rtf", "pictures.rtf"}) {
    const std::string rtf = testing::ReadText(std::string(VORNEL_SOURCE_DIR) + "/tests/platform/rtf/" + name);
    tinyxml2::XMLDocument doc;
    tinyxml2::XMLElement* element = RtfToHtmlElement(doc, rtf);
    ASSERT_NE(element, nullptr) << name;
    doc.InsertEndChild(element);
    EXPECT_STREQ(element->Name(), "rtf-text");
    ASSERT_NE(element->FirstChildElement("div"), nullptr) << name;
    EXPECT_EQ(element->GetText(), nullptr) << name;
  }
  tinyxml2::XMLDocument doc;
  EXPECT_EQ(RtfToHtmlElement(doc, ""), nullptr);
  // What does not parse is kept as the element's text.
  tinyxml2::XMLElement* text = RtfToHtmlElement(doc, "not rtf");
  ASSERT_NE(text, nullptr);
  doc.InsertEndChild(text);
  EXPECT_EQ(text->FirstChildElement(), nullptr);
}

}  // namespace
}  // namespace vornel
