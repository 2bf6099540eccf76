#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "MxTestSupport.h"
#include "musicxml/reader/reader.h"
#include "support/Bytes.h"

namespace vornel::MusicXML2 {
namespace {

using testing::MemoryFile;

// Logs every callback; refuses the element start named `refuse`.
class Recorder : public reader {
 public:
  std::vector<std::string> calls;
  std::string refuse;

  bool xmlDecl(const char* version, const char* encoding, int standalone) override {
    return Log("xmlDecl", version, encoding, std::to_string(standalone));
  }
  bool docType(const char* start, bool isPublic, const char* pub, const char* sys) override {
    return Log("docType", start, isPublic ? "public" : "system", pub, sys);
  }
  void newComment(const char* text) override { Log("newComment", text); }
  void newProcessingInstruction(const char* text) override { Log("newProcessingInstruction", text); }
  bool newElement(const char* name) override { return Log("newElement", name) && refuse != name; }
  bool newAttribute(const char* name, const char* value) override { return Log("newAttribute", name, value); }
  void setValue(const char* value) override { Log("setValue", value); }
  bool endElement(const char* name) override { return Log("endElement", name); }
  void error(const char* message, int line) override { Log("error", message, std::to_string(line)); }

 private:
  template <typename... T>
  bool Log(const char* what, const T&... args) {
    std::string call = what;
    ((call += "|" + std::string(args)), ...);
    calls.push_back(call);
    return true;
  }
};

std::vector<std::string> Parse(std::string_view text, bool* accepted = nullptr, const char* refuse = "") {
  MemoryFile input(text);
  Recorder r;
  r.refuse = refuse;
  const bool ok = readstream(input.get(), &r);
  if (accepted) *accepted = ok;
  return r.calls;
}

using Calls = std::vector<std::string>;

TEST(Parser, ReportsEveryPartOfADocumentInOrder) {
  bool accepted = false;
  const Calls calls = Parse(
      "<?xml version='1.0' encoding='UTF-8' standalone='no'?>\n"
      "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 2.0 Partwise//EN\" "
      "\"http://www.musicxml.org/dtds/partwise.dtd\">\n"
      "<score-partwise version=\"2.0\">\n"
      "  <work><work-title>Title &amp; more</work-title></work>\n"
      "  <part-list/>\n"
      "  <!--note-->\n"
      "  <?app x?>\n"
      "</score-partwise>\n",
      &accepted);
  EXPECT_TRUE(accepted);
  EXPECT_EQ(calls, (Calls{"xmlDecl|1.0|UTF-8|0",
                          "docType|score-partwise|public|-//Recordare//DTD MusicXML 2.0 Partwise//EN|"
                          "http://www.musicxml.org/dtds/partwise.dtd",
                          "newElement|score-partwise", "newAttribute|version|2.0", "newElement|work",
                          "newElement|work-title", "setValue|Title &amp; more", "endElement|work-title",
                          "endElement|work", "newElement|part-list", "endElement|part-list", "newComment|note",
                          "newProcessingInstruction|app x?>", "endElement|score-partwise"}));
}

struct ParseCase {
  const char* name;
  std::string text;
  bool accepted;
  Calls calls;
  friend void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }
};

class Parsing : public ::testing::TestWithParam<ParseCase> {};

TEST_P(Parsing, GivesTheCallsAndMessages) {
  bool accepted = !GetParam().accepted;
  EXPECT_EQ(Parse(GetParam().text, &accepted), GetParam().calls);
  EXPECT_EQ(accepted, GetParam().accepted);
}

const std::string kSystem = "<!DOCTYPE a SYSTEM 'a.dtd'>";

INSTANTIATE_TEST_SUITE_P(
    Cases, Parsing,
    ::testing::Values(
        ParseCase{"EmptyFile", "", false, {"error|syntax error, unexpected $end, expecting DOCTYPE|1"}},
        ParseCase{"DeclarationWithoutDocumentType",
                  "<?xml version=\"1.0\"?>\n<a/>",
                  false,
                  {"xmlDecl|1.0||-1", "error|syntax error, unexpected LT, expecting DOCTYPE|2"}},
        ParseCase{"StandaloneYesAndSystemIdentifier",
                  "<?xml version=\"1.0\" standalone='yes'?>" + kSystem + "<a/>",
                  true,
                  {"xmlDecl|1.0||1", "docType|a|system||a.dtd", "newElement|a", "endElement|a"}},
        ParseCase{"AttributesWithEitherQuoteAndSpaceAroundEquals",
                  kSystem + "<a x = \"1\"\ty\t=\t'2'\n/>",
                  true,
                  {"docType|a|system||a.dtd", "newElement|a", "newAttribute|x|1", "newAttribute|y|2", "endElement|a"}},
        ParseCase{"TextThenChildElement",
                  kSystem + "<a>text<b/></a>",
                  false,
                  {"docType|a|system||a.dtd", "newElement|a", "setValue|text",
                   "error|syntax error, unexpected LT, expecting ENDXMLS|1"}},
        ParseCase{"CommentsAndInstructionsAroundTheRoot",
                  kSystem + "\n<!--before--><?pi?>\n<a/>\n<!--after-->\n<?end?>\n",
                  true,
                  {"docType|a|system||a.dtd", "newComment|before", "newProcessingInstruction|pi?>", "newElement|a",
                   "endElement|a", "newComment|after", "newProcessingInstruction|end?>"}},
        ParseCase{"StyleSheetAndCommentBeforeTheDocumentType",
                  "<?xml version='1.0'?>\n<?xml-stylesheet href='s.xsl'?><!--c-->\n" + kSystem + "<a/>",
                  true,
                  {"xmlDecl|1.0||-1", "docType|a|system||a.dtd", "newElement|a", "endElement|a"}},
        ParseCase{"CommentWithoutDocumentType",
                  "<?xml version='1.0'?><!--c-->\n<a/>",
                  false,
                  {"xmlDecl|1.0||-1", "error|syntax error, unexpected LT, expecting DOCTYPE|2"}},
        ParseCase{"OnlyACommentAfterTheDocumentType",
                  kSystem + "<!--a-b-->",
                  true,
                  {"docType|a|system||a.dtd", "newComment|a", "newComment|-", "newComment|b"}},
        ParseCase{"TextAfterTheRoot",
                  kSystem + "<a/> b",
                  false,
                  {"docType|a|system||a.dtd", "newElement|a", "endElement|a",
                   "error|syntax error, unexpected NAME, expecting $end|1"}},
        ParseCase{"AmpersandInAnAttribute",
                  kSystem + "<a t='R&amp;B'/>",
                  true,
                  {"docType|a|system||a.dtd", "newElement|a", "newAttribute|t|R&amp;B", "endElement|a"}},
        ParseCase{"EndTagOfTheOuterElement",
                  kSystem + "<r><a></r>",
                  false,
                  {"docType|a|system||a.dtd", "newElement|r", "newElement|a", "endElement|r",
                   "error|syntax error, unexpected $end, expecting ENDXMLS|1"}},
        ParseCase{"LineBreakBeforeTheEndOfAnEmptyTag",
                  kSystem + "<a x='1'\n/>",
                  true,
                  {"docType|a|system||a.dtd", "newElement|a", "newAttribute|x|1", "endElement|a"}},
        ParseCase{"DocumentTypeWithoutIdentifier",
                  "<!DOCTYPE a>",
                  false,
                  {"error|syntax error, unexpected GT, expecting SPACE|1"}},
        ParseCase{"AttributeWithoutValue",
                  kSystem + "\n<a x>",
                  false,
                  {"docType|a|system||a.dtd", "newElement|a", "error|syntax error, unexpected GT, expecting EQ|2"}}));

TEST(Parser, ARefusedElementStopsTheParse) {
  bool accepted = true;
  EXPECT_EQ(Parse(kSystem + "<a><b/></a>", &accepted, "a"),
            (Calls{"docType|a|system||a.dtd", "newElement|a", "error|element error|1"}));
  EXPECT_FALSE(accepted);
}

// One entry per level of nesting: 12,000 levels overflow the limit of 10,000.
TEST(Parser, TheStackStopsAtTenThousandEntries) {
  std::string deep = kSystem;
  for (int i = 0; i < 12000; ++i) deep += "<a>";
  bool accepted = true;
  const Calls calls = Parse(deep, &accepted);
  EXPECT_FALSE(accepted);
  EXPECT_EQ(calls.back(), "error|memory exhausted|1");
  EXPECT_LT(calls.size(), 12000u);
}

TEST(Parser, AMissingFileIsReportedWithoutReaderCalls) {
  Recorder r;
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(readfile("/nonexistent/score.xml", &r));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "can't open file /nonexistent/score.xml\n");
  EXPECT_TRUE(r.calls.empty());
}

// A pipe without a writer is refused at once, the way a missing file is.
TEST(Parser, APipeIsRefusedWithoutWaiting) {
  const std::string pipe = ::testing::TempDir() + "/score-pipe.xml";
  ::unlink(pipe.c_str());
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  Recorder r;
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(readfile(pipe.c_str(), &r));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "can't open file " + pipe + "\n");
  EXPECT_TRUE(r.calls.empty());
  ::unlink(pipe.c_str());
}

TEST(Parser, AReadErrorIsReportedAndTheNextParseWorks) {
  Recorder r;
  EXPECT_FALSE(readfile(::testing::TempDir().c_str(), &r));
  EXPECT_EQ(r.calls, (Calls{"error|input in flex scanner failed|1"}));
  bool accepted = false;
  Parse(kSystem + "<a/>", &accepted);
  EXPECT_TRUE(accepted);
}

TEST(Parser, AParseFromACallbackIsRefused) {
  class Nested : public Recorder {
   public:
    bool nestedResult = true;
    bool newElement(const char* name) override {
      MemoryFile inner("<!DOCTYPE b SYSTEM 'b'><b/>");
      Recorder other;
      ::testing::internal::CaptureStderr();
      nestedResult = readstream(inner.get(), &other);
      ::testing::internal::GetCapturedStderr();
      return Recorder::newElement(name);
    }
  } r;
  MemoryFile outer(kSystem + "<a/>");
  EXPECT_TRUE(readstream(outer.get(), &r));
  EXPECT_FALSE(r.nestedResult);
}

}  // namespace
}  // namespace vornel::MusicXML2
