#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "model/text/CRTFPreface.h"
#include "model/text/CRTFTrackText.h"
#include "model/text/RichTextEditor.h"
#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"
#include "support/RichTextDump.h"
#include "model/text/RtfText.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/text/TextConversion.h"
#include "support/Bytes.h"
#include "support/MissingService.h"
#include "support/ScriptedPrompts.h"
#include "support/XmlText.h"

namespace vornel {
namespace {

using testing::HexBytes;
using testing::ToHex;

// A strict reader of the RTF this system writes: every byte 7-bit, groups balanced, every
// backslash starting a control word, a control symbol or a \'hh escape. Returns the visible
// text (\par as a line feed, \tab as a tab, \uN with its one fallback character skipped,
// destinations and font and colour tables left out); fails the test on anything malformed.
std::string ReadRtfText(std::string_view rtf) {
  std::string text;
  std::u16string pendingUnits;
  auto flushUnits = [&] {
    if (!pendingUnits.empty()) text += WideToUtf8(pendingUnits);
    pendingUnits.clear();
  };
  int depth = 0;
  int skipDepth = 0;  // depth of a destination being skipped, 0 when none
  int fallbackToSkip = 0;
  auto emit = [&](std::string_view visible) {
    if (fallbackToSkip > 0) {
      --fallbackToSkip;
      return;
    }
    flushUnits();
    if (skipDepth == 0) text += visible;
  };
  EXPECT_TRUE(rtf.starts_with("{\\rtf1")) << rtf;
  for (size_t i = 0; i < rtf.size();) {
    const unsigned char c = static_cast<unsigned char>(rtf[i]);
    EXPECT_LT(c, 0x80) << "8-bit byte at " << i;
    if (c == '{') {
      ++depth;
      ++i;
    } else if (c == '}') {
      if (skipDepth == depth) skipDepth = 0;
      --depth;
      EXPECT_GE(depth, 0) << "unbalanced '}' at " << i;
      if (depth == 0) {
        EXPECT_EQ(rtf.find_first_not_of(" \r\n", i + 1), std::string_view::npos) << "text after the end";
      }
      ++i;
    } else if (c == '\r' || c == '\n') {
      ++i;
    } else if (c != '\\') {
      emit(std::string(1, static_cast<char>(c)));
      ++i;
    } else {
      EXPECT_LT(i + 1, rtf.size()) << "backslash at the end";
      const char next = i + 1 < rtf.size() ? rtf[i + 1] : ' ';
      if (next == '\\' || next == '{' || next == '}') {
        emit(std::string(1, next));
        i += 2;
      } else if (next == '\'') {
        const std::string hex(rtf.substr(i + 2, 2));
        EXPECT_EQ(hex.find_first_not_of("0123456789abcdefABCDEF"), std::string::npos) << "bad \\' escape " << hex;
        emit(Cp1252ToUtf8(std::string(1, static_cast<char>(std::stoi(hex, nullptr, 16)))));
        i += 4;
      } else if (next == '*') {
        if (skipDepth == 0) skipDepth = depth;
        i += 2;
      } else {
        size_t j = i + 1;
        while (j < rtf.size() && std::isalpha(static_cast<unsigned char>(rtf[j]))) ++j;
        EXPECT_GT(j, i + 1) << "backslash before '" << next << "' at " << i;
        if (j == i + 1) return text;
        const std::string word(rtf.substr(i + 1, j - i - 1));
        size_t k = j;
        if (k < rtf.size() && rtf[k] == '-') ++k;
        while (k < rtf.size() && std::isdigit(static_cast<unsigned char>(rtf[k]))) ++k;
        const std::string number(rtf.substr(j, k - j));
        if (k < rtf.size() && rtf[k] == ' ') ++k;
        i = k;
        if (word == "fonttbl" || word == "colortbl") {
          if (skipDepth == 0) skipDepth = depth;
        } else if (word == "par") {
          emit("\n");
        } else if (word == "tab") {
          emit("\t");
        } else if (word == "u") {
          EXPECT_FALSE(number.empty() || number == "-");
          const int value = std::stoi(number);
          pendingUnits += static_cast<char16_t>(value < 0 ? value + 65536 : value);
          fallbackToSkip = 1;
        }
      }
    }
  }
  flushUnits();
  EXPECT_EQ(depth, 0) << "unclosed group";
  return text;
}

TEST(RtfText, EscapesBracesBackslashesControlsAndNonAscii) {
  struct Case {
    const char* text;
    const char* rtf;
  };
  for (const Case c : {Case{"plain text.", "plain text."}, Case{"a\\b{c}", "a\\\\b\\{c\\}"},
                       Case{"caf\xC3\xA9", "caf\\u233\\'e9"}, Case{"\xE2\x82\xAC", "\\u8364\\'80"},
                       Case{"\xE8\xAA\x9E", "\\u-30050?"}, Case{"\xF0\x9D\x84\x9E", "\\u-10188?\\u-8930?"},
                       Case{"a\tb", "a\\tab b"}, Case{"\x01", "\\'01"}, Case{"l1\nl2", "l1\nl2"}}) {
    EXPECT_EQ(EscapeRtfText(c.text), c.rtf) << c.text;
  }
}

TEST(RtfText, TextToRtfBuildsTheSmallDocument) {
  CRTFPreface block;
  block.TextToRtf("Preface", "one\ntwo");
  EXPECT_EQ(block.text,
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fprq2\\fcharset0 Tahoma;}"
            "{\\f1\\fnil\\fcharset0 MS Shell Dlg 2;}{\\f2\\fnil\\fprq2\\fcharset0 Arial;}}"
            "{\\colortbl ;\\red0\\green0\\blue0;\\red163\\green21\\blue21;}"
            "\\viewkind4\\uc1\\pard\\cf1\\b\\f0\\fs20\\qc\\pard Preface \\par \\par\\cf0\\b0\\f1\\fs17\\par\\f2"
            "\\pard\\cf1\\fs19 one\n\\par\ntwo\\pard\\cf0\\fs17\\par}");
  EXPECT_EQ(ReadRtfText(block.text), "Preface \n\n\none\ntwo\n");
}

TEST(RtfText, AnyTextGivesRtfThatReadsBackToIt) {
  CRTFPreface block;
  block.TextToRtf("{Title} \\ caf\xC3\xA9", "12 bars}\n{\\par}\n-3\t\xE2\x82\xAC");
  EXPECT_EQ(ReadRtfText(block.text),
            "{Title} \\ caf\xC3\xA9 \n\n\n12 bars}\n{\\par}\n-3\t\xE2\x82\xAC\n");
}

TEST(RtfText, BulletItemsTakeTheBodyAfterTheLastGroup) {
  CRTFPreface source;
  source.TextToRtf("Allemande", "a}b");
  EXPECT_EQ(RtfTrailingBody(source.text),
            "\\viewkind4\\uc1\\pard\\cf1\\b\\f0\\fs20\\qc\\pard Allemande \\par \\par\\cf0\\b0\\f1\\fs17\\par\\f2"
            "\\pard\\cf1\\fs19 a\\}b\\pard\\cf0\\fs17\\par");
  EXPECT_EQ(RtfTrailingBody("{\\rtf1 a}}}"), "{\\rtf1 a");
  EXPECT_EQ(RtfTrailingBody("no group"), "");
  EXPECT_EQ(RtfTrailingBody("{x\\\\}tail}"), "tail");  // an escaped backslash before a real brace

  CRTFPreface contents;
  contents.text = "{\\rtf1";
  EXPECT_EQ(contents.AppendRtfBulletItem(source.text, 3, "Gigue {2}"), 1);
  EXPECT_EQ(contents.text,
            "{\\rtf1{\\par\\b\\f0\\fs14 \\par \\pard{\\pntext\\f2\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf2\\pnindent0"
            "{\\pntxtb\\'B7}} Section 3: Gigue \\{2\\} \\b\\pard \\par}" +
                RtfTrailingBody(source.text));
  EXPECT_EQ(contents.AppendRtfBulletItem(source.text, 4, "Sarabande"), 2);
  contents.text += "}";
  EXPECT_EQ(ReadRtfText(contents.text),
            "\n\n\xC2\xB7\t Section 3: Gigue {2} \nAllemande \n\n\na}b\n"
            "\n\n\xC2\xB7\t Section 4: Sarabande \nAllemande \n\n\na}b\n");
}

TEST(RichTextBlock, StoresTheFontThenTheRtf) {
  CRTFPreface block;
  EXPECT_EQ(block.name, "RTF Text");
  block.text = "{\\rtf1 x}";
  ArchiveWriter w;
  block.Store(w);
  ArchiveWriter font;
  block.font.Store(font);
  EXPECT_EQ(ToHex(w.Bytes()),
            ToHex(font.Bytes()) + " FF FE FF 09 7B 00 5C 00 72 00 74 00 66 00 31 00 20 00 78 00 7D 00");
  ArchiveReader r(w.Bytes());
  CRTFPreface read;
  read.Load(r);
  EXPECT_TRUE(r.AtEnd());
  EXPECT_EQ(read.text, "{\\rtf1 x}");
}

TEST(RichTextBlock, XmlElementOfTheCallersName) {
  CRTFPreface block;
  block.text = "{\\rtf1 \\u233\\'e9}";
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* element = block.WriteXml(doc, "couplets");
  EXPECT_EQ(testing::PrintXml(element), "<couplets type=\"CRTFPreface\"><rtf-text>{\\rtf1 \\u233\\'e9}</rtf-text></couplets>");

  doc.Parse(
      "<couplets type=\"CRTFPreface\"><rtf-text>{\\rtf1 y}</rtf-text></couplets>"
      "<rtf-comments type=\"CRTFPreface\"/><end/>");
  CRTFPreface read;
  const tinyxml2::XMLElement* next = read.ReadXml(doc.FirstChildElement());
  EXPECT_EQ(read.text, "{\\rtf1 y}");
  EXPECT_STREQ(read.ReadXml(next)->Name(), "end");
  EXPECT_EQ(read.text, "");
  EXPECT_EQ(read.ReadXml(nullptr), nullptr);
}

// The preface a plain title and body make, and a contents block of two bullet items after
// the header of a document.
std::string PrefaceRtf() {
  CRTFPreface block;
  block.TextToRtf("Preface", "First line\nSecond \"line\" with caf\xC3\xA9");
  return block.text;
}

std::string ContentsRtf() {
  CRTFPreface contents;
  contents.text = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Tahoma;}{\\f2\\fnil Arial;}}";
  const std::string section = PrefaceRtf();
  contents.AppendRtfBulletItem(section, 1, "Allemande");
  contents.AppendRtfBulletItem(section, 2, "Courante");
  return contents.text + "}";
}

// An editor that answers as the user would: OK with a new text, OK after clearing, or Cancel.
class ScriptedTextEditor : public RichTextEditor {
 public:
  bool ok = true;
  std::string result = "{\\rtf1 edited}";
  int32_t length = 6;
  std::string seen;
  bool seenReadOnly = false;

  bool Edit(std::string& rtf, bool readOnly, int32_t& textLength) override {
    seen = rtf;
    seenReadOnly = readOnly;
    if (!ok) return false;
    rtf = result;
    textLength = length;
    return true;
  }
};

// The blocks the records build are rich texts of the reader: a preface and a contents block.
TEST(RichTextBlock, BuiltTextsReadIntoTheExpectedModel) {
  const struct {
    std::string rtf;
    std::string_view expected;
  } cases[] = {
      {PrefaceRtf(), R"(cpg1252 deff0 deflang1033
font 0 swiss cs0 "Tahoma"
font 1 nil cs0 "MS Shell Dlg 2"
font 2 nil cs0 "Arial"
colour auto
colour #000000
colour #a31515
para left | mark f0 fs20 b cf1
  run f0 fs20 b cf1 "Preface "
para left | mark f0 fs20 b cf1
para left | mark f1 fs17
para left | mark f2 fs19 cf1
  run f2 fs19 cf1 "First line"
para left | mark f2 fs17
  run f2 fs19 cf1 "Second "line" with café"
para left | mark f2 fs17
)"},
      // Each item's \pard before its \par takes the bullet off its own paragraph; the
      // section's body follows each item.
      {ContentsRtf(), R"(cpg1252 deff0 deflang0
font 0 swiss cs0 "Tahoma"
font 2 nil cs0 "Arial"
para left | mark f0 fs24
para left | mark f0 fs14 b
para left | mark f0 fs14 b
  run f0 fs14 b " Section 1: Allemande "
para left | mark f0 fs20 b cf1
  run f0 fs20 b cf1 "Preface "
para left | mark f0 fs20 b cf1
para left | mark f1 fs17
para left | mark f2 fs19 cf1
  run f2 fs19 cf1 "First line"
para left | mark f2 fs17
  run f2 fs19 cf1 "Second "line" with café"
para left | mark f2 fs17
para left | mark f0 fs14 b
para left | mark f0 fs14 b
  run f0 fs14 b " Section 2: Courante "
para left | mark f0 fs20 b cf1
  run f0 fs20 b cf1 "Preface "
para left | mark f0 fs20 b cf1
para left | mark f1 fs17
para left | mark f2 fs19 cf1
  run f2 fs19 cf1 "First line"
para left | mark f2 fs17
  run f2 fs19 cf1 "Second "line" with café"
para left | mark f2 fs17
)"},
  };
  for (const auto& c : cases) {
    const RtfReadResult read = ReadRtf(c.rtf);
    EXPECT_FALSE(read.stopped);
    EXPECT_EQ(testing::DescribeRichDocument(read.document), c.expected);
    const std::string written = WriteRtf(read.document);
    EXPECT_TRUE(ReadRtf(written).document == read.document) << written;
    EXPECT_EQ(WriteRtf(ReadRtf(written).document), written);
  }
}

TEST(RichTextBlock, EditKeepsTheResultUnlessReadOnly) {
  ScriptedTextEditor editor;
  ScopedRichTextEditor scope(editor);
  CRTFPreface block;
  block.text = "{\\rtf1 old}";
  EXPECT_EQ(block.Edit(), 1);
  EXPECT_EQ(editor.seen, "{\\rtf1 old}");
  EXPECT_FALSE(editor.seenReadOnly);
  EXPECT_EQ(block.text, "{\\rtf1 edited}");

  // Read-only: OK, but the text stays.
  block.readOnly = 1;
  block.text = "{\\rtf1 old}";
  EXPECT_EQ(block.Edit(), 1);
  EXPECT_TRUE(editor.seenReadOnly);
  EXPECT_EQ(block.text, "{\\rtf1 old}");

  // Clearing all text stores an empty text.
  block.readOnly = 0;
  editor.result = "{\\rtf1\\ansi }";
  editor.length = 0;
  EXPECT_EQ(block.Edit(), 1);
  EXPECT_EQ(block.text, "");

  editor.ok = false;
  block.text = "{\\rtf1 old}";
  EXPECT_EQ(block.Edit(), 0);
  EXPECT_EQ(block.text, "{\\rtf1 old}");

  CRTFTrackText title;
  title.text = "{\\rtf1 t}";
  EXPECT_FALSE(title.EditRtf());
  editor.ok = true;
  editor.length = 0;
  EXPECT_TRUE(title.EditRtf());
  EXPECT_EQ(title.text, "");
  editor.length = 3;
  editor.result = "{\\rtf1 new}";
  EXPECT_TRUE(title.EditRtf());
  EXPECT_EQ(title.text, "{\\rtf1 new}");
}

TEST(RichTextBlock, WithoutAnEditorNothingChangesAndTheDefaultSaysSo) {
  testing::ScriptedPrompts prompts;
  CRTFPreface block;
  block.text = "x";
  EXPECT_MISSING_SERVICE(prompts, EXPECT_EQ(block.Edit(), 0), "rich-text editor");
  EXPECT_EQ(block.text, "x");
}

TEST(RichTextBlock, HtmlElementHoldsTheConvertedText) {
  tinyxml2::XMLDocument doc;
  CRTFPreface block;
  EXPECT_EQ(testing::PrintXml(block.WriteHtml(doc, "preface")), "<preface/>");
  block.text = "{\\rtf1 \\b Hi\\b0  &}";
  EXPECT_EQ(testing::PrintXml(block.WriteHtml(doc, "preface")),
            "<preface><rtf-text><div><b>Hi</b> &amp;</div></rtf-text></preface>");
}

}  // namespace
}  // namespace vornel
