#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MxTestSupport.h"
#include "musicxml/reader/Scanner.h"
#include "musicxml/reader/ScannerInput.h"

namespace vornel::MusicXML2 {
namespace {

using testing::MemoryFile;

// "NAME(text) ..." for the tokens of `bytes`; `lines` gets the line counter at the end.
std::string Tokens(std::string_view bytes, int* lines = nullptr, std::string* echoed = nullptr) {
  MemoryFile input(bytes);
  ::testing::internal::CaptureStdout();
  const std::vector<libmxml::Token> tokens = libmxml::ScanAll(input.get());
  const std::string out = ::testing::internal::GetCapturedStdout();
  if (echoed) *echoed = out;
  std::string names;
  for (const auto& t : tokens) {
    if (!names.empty()) names += ' ';
    names += libmxml::TokenName(t.kind);
    names += '(' + t.text + ')';
  }
  if (lines) *lines = tokens.empty() ? 1 : tokens.back().line;
  return names;
}

// The same text as UTF-16 with a byte-order mark, in either order (code units below U+D800).
std::string Utf16(std::u16string_view text, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (const char16_t unit : text) {
    const char hi = static_cast<char>(unit >> 8), lo = static_cast<char>(unit & 0xFF);
    out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
  }
  return out;
}

struct ScanCase {
  const char* name;
  const char* input;
  const char* tokens;
  friend void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }
};

class Scanning : public ::testing::TestWithParam<ScanCase> {};

TEST_P(Scanning, GivesTheTokens) { EXPECT_EQ(Tokens(GetParam().input), GetParam().tokens); }

INSTANTIATE_TEST_SUITE_P(
    Cases, Scanning,
    ::testing::Values(
        ScanCase{"Declaration", "<?xml version=\"1.0\" encoding='UTF-8' standalone=\"no\"?>",
                 "XMLDECL(<?xml) SPACE( ) VERSION(version) EQ(=) QUOTEDSTR(\"1.0\") SPACE( ) ENCODING(encoding) EQ(=) "
                 "QUOTEDSTR('UTF-8') SPACE( ) STANDALONE(standalone) EQ(=) NO(\"no\") ENDXMLDECL(?>)"},
        ScanCase{"NotAKeyword", "<?xml versions='1.0' standalone='yes' ?>",
                 "XMLDECL(<?xml) SPACE( ) NAME(versions) EQ(=) QUOTEDSTR('1.0') SPACE( ) STANDALONE(standalone) "
                 "EQ(=) YES('yes') ENDXMLDECL( ?>)"},
        ScanCase{"DocumentType", "<!DOCTYPE score-partwise PUBLIC \"-//R//EN\"\n \"p.dtd\">",
                 "DOCTYPE(<!DOCTYPE) SPACE( ) NAME(score-partwise) SPACE( ) PUBLIC(PUBLIC) SPACE( ) "
                 "QUOTEDSTR(\"-//R//EN\") SPACE(\n ) QUOTEDSTR(\"p.dtd\") GT(>)"},
        ScanCase{"IndentationIsNoToken", "<part>\n  <note/>\n</part>",
                 "LT(<) NAME(part) GT(>) LT(\n  <) NAME(note) ENDXMLE(/>) ENDXMLS(\n</) NAME(part) GT(>)"},
        ScanCase{"TextKeepsReferences", "<w>Tom &amp; Jerry</w>", "LT(<) NAME(w) GT(>) DATA(Tom &amp; Jerry) ENDXMLS(</) NAME(w) GT(>)"},
        ScanCase{"TextMayHoldGreaterThan", "<w>a -> b</w>", "LT(<) NAME(w) GT(>) DATA(a -> b) ENDXMLS(</) NAME(w) GT(>)"},
        ScanCase{"QuotedStringsMayHoldReferencesAndTheOtherQuote", "<a t=\"Tom's &amp; >\" u='\"'/>",
                 "LT(<) NAME(a) SPACE( ) NAME(t) EQ(=) QUOTEDSTR(\"Tom's &amp; >\") SPACE( ) NAME(u) EQ(=) "
                 "QUOTEDSTR('\"') ENDXMLE(/>)"},
        ScanCase{"LessThanEndsNoQuotedString", "<a t=\"x<y\">",
                 "LT(<) NAME(a) SPACE( ) NAME(t) EQ(=) NAME(x) LT(<) NAME(y) GT(>)"},
        ScanCase{"LineBreaksBeforeTheEndOfATagAndAroundEquals", "<a\n x\n=\n'1'\n/><b\r\n>",
                 "LT(<) NAME(a) SPACE(\n ) NAME(x) EQ(\n=\n) QUOTEDSTR('1') ENDXMLE(\n/>) LT(<) NAME(b) GT(\r\n>)"},
        ScanCase{"CommentPieces", "<!-- a-b -->", "COMMENT( a) COMMENT(-) COMMENT(b )"},
        ScanCase{"CommentEndingAfterAHyphen", "<!-- x-y--><a/>", "COMMENT( x) COMMENT(-) COMMENT(y) LT(<) NAME(a) ENDXMLE(/>)"},
        ScanCase{"CommentHoldsMarkupAndQuotes", "<!-- <b> \"q\" --><a/>",
                 "COMMENT( <b> \"q\" ) LT(<) NAME(a) ENDXMLE(/>)"},
        ScanCase{"ProcessingInstruction", "<?pi data?>", "PI(pi data?>)"},
        ScanCase{"TwoProcessingInstructionsOnALine", "<?a x?><?b y?>", "PI(a x?>) PI(b y?>)"},
        ScanCase{"ProcessingInstructionOverLines", "<?pi a?b\nc?\?>\n<a/>", "PI(pi a?b\nc?\?>) LT(\n<) NAME(a) ENDXMLE(/>)"},
        ScanCase{"StyleSheetIsAProcessingInstruction", "<?xml-stylesheet href=\"s.css\"?>",
                 "PI(xml-stylesheet href=\"s.css\"?>)"},
        ScanCase{"CDataIsNotScanned", "<![CDATA[x]]>", "LT(<) NAME(CDATA) NAME(x) GT(>)"},
        ScanCase{"UnfinishedCommentEndsWithTheInput", "<!-- open", "COMMENT( open)"},
        ScanCase{"UnclosedQuote", "<a t=\"1>", "LT(<) NAME(a) SPACE( ) NAME(t) EQ(=) GT(>)"},
        ScanCase{"WhiteSpaceAfterTheRoot", "<a/>\n \r\n", "LT(<) NAME(a) ENDXMLE(/>) SPACE(\n \r\n)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Scanner, CountsLinesAndEchoesWhatNoRuleTakes) {
  int lines = 0;
  std::string echoed;
  EXPECT_EQ(Tokens("<part>\n  <note/>\n</part>", &lines), "LT(<) NAME(part) GT(>) LT(\n  <) NAME(note) ENDXMLE(/>) ENDXMLS(\n</) NAME(part) GT(>)");
  EXPECT_EQ(lines, 3);
  EXPECT_EQ(Tokens("<a 1b & />", &lines, &echoed), "LT(<) NAME(a) SPACE( ) NAME(b) SPACE( ) ENDXMLE( />)");
  EXPECT_EQ(echoed, "1&");
  EXPECT_EQ(Tokens("<![CDATA[", &lines, &echoed), "LT(<) NAME(CDATA)");
  EXPECT_EQ(echoed, "![[");
  // A file of junk echoes a short start of it and the count of the rest, never all of it.
  EXPECT_EQ(Tokens(std::string(5000, '1') + "<a/>", &lines, &echoed), "LT(<) NAME(a) ENDXMLE(/>)");
  EXPECT_EQ(echoed, std::string(1024, '1') + "\n[3976 more unmatched characters not shown]\n");
  EXPECT_EQ(Tokens("&&", &lines, &echoed), "");
  EXPECT_EQ(echoed, "&&");  // the count starts again with each file
}

TEST(Scanner, ReadsUtf16InEitherOrderAsUtf8) {
  const std::u16string document = u"<?xml version=\"1.0\"?>\n<w a='\u00e9'>caf\u00e9 \u266A</w>";
  const std::string expected =
      "XMLDECL(<?xml) SPACE( ) VERSION(version) EQ(=) QUOTEDSTR(\"1.0\") ENDXMLDECL(?>) LT(\n<) NAME(w) SPACE( ) NAME(a) "
      "EQ(=) QUOTEDSTR('\xC3\xA9') GT(>) DATA(caf\xC3\xA9 \xE2\x99\xAA) ENDXMLS(</) NAME(w) GT(>)";
  const std::string utf8 =
      "<?xml version=\"1.0\"?>\n<w a='\xC3\xA9'>caf\xC3\xA9 \xE2\x99\xAA</w>";
  EXPECT_EQ(Tokens(Utf16(document, false)), expected);
  EXPECT_EQ(Tokens(Utf16(document, true)), expected);
  EXPECT_EQ(Tokens(utf8), expected);  // an 8-bit file after UTF-16 ones
  std::string echoed;
  EXPECT_EQ(Tokens("\xEF\xBB\xBF" + utf8, nullptr, &echoed), expected);  // a UTF-8 byte-order mark is
  EXPECT_EQ(echoed, "\xEF\xBB\xBF");                                     // three echoed characters

  // A surrogate pair is one character; unpaired halves and an odd last byte are not.
  EXPECT_EQ(Tokens(std::string("\xFF\xFE<\0a\0>\0", 8) + "\x34\xD8\x1E\xDD" + std::string("\x34\xD8x\0\x1E\xDD!", 7)),
            "LT(<) NAME(a) GT(>) DATA(\xF0\x9D\x84\x9E\xEF\xBF\xBDx\xEF\xBF\xBD)");
}

TEST(Scanner, AReadErrorEndsTheScanWithAMessage) {
  FILE* folder = std::fopen(::testing::TempDir().c_str(), "rb");
  ASSERT_NE(folder, nullptr);
  try {
    libmxml::ScanAll(folder);
    ADD_FAILURE() << "no failure";
  } catch (const libmxml::ScannerFailure& e) {
    EXPECT_STREQ(e.what(), "input in flex scanner failed");
  }
  std::fclose(folder);
  EXPECT_EQ(Tokens("<a/>"), "LT(<) NAME(a) ENDXMLE(/>)");  // the next scan starts afresh
}

}  // namespace
}  // namespace vornel::MusicXML2
