#include <gtest/gtest.h>

#include <string>

#include "MxTestSupport.h"
#include "musicxml/factory/ElementTypes.h"
#include "support/Bytes.h"

namespace vornel::MusicXML2 {
namespace {

using testing::Document;
using testing::Read;

TEST(Reader, BuildsTheParsedFile) {
  const auto result = Read(
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n" + std::string(testing::kDocType) +
      "<score-partwise version=\"2.0\">\n"
      "  <part-list><score-part id=\"P1\" id=\"P2\" print-object='no'/><part-group/></part-list>\n"
      "  <part id=\"P1\"><measure number=\"1\"><note><!-- a-b --><step>C</step></note></measure></part>\n"
      "</score-partwise>\n");
  ASSERT_TRUE(result.file);
  EXPECT_EQ(result.errors, "");
  const TXMLDecl* decl = result.file->getXMLDecl();
  ASSERT_NE(decl, nullptr);
  EXPECT_EQ(decl->version, "1.0");
  EXPECT_EQ(decl->encoding, "UTF-8");
  EXPECT_EQ(decl->standalone, 0);
  const TDocType* docType = result.file->getDocType();
  ASSERT_NE(docType, nullptr);
  EXPECT_EQ(docType->start, "score-partwise");
  EXPECT_TRUE(docType->isPublic);
  EXPECT_EQ(docType->publicLiteral, "-//Recordare//DTD MusicXML 2.0 Partwise//EN");
  EXPECT_EQ(docType->systemLiteral, "http://www.musicxml.org/dtds/partwise.dtd");

  const Sxmlelement root = result.root();
  EXPECT_EQ(root->getType(), 289);
  EXPECT_EQ(root->getName(), "score-partwise");
  EXPECT_EQ(root->getAttributeValue("version"), "2.0");
  ASSERT_EQ(root->size(), 2);

  // An empty element has no children and no value; its sibling goes to the same parent.
  const Sxmlelement partList = root->elements()[0];
  ASSERT_EQ(partList->size(), 2);
  const Sxmlelement scorePart = partList->elements()[0];
  EXPECT_TRUE(scorePart->empty());
  ASSERT_EQ(scorePart->attributes().size(), 3u);  // in document order, the repeated name twice
  EXPECT_EQ(scorePart->attributes()[1]->getValue(), "P2");
  EXPECT_EQ(scorePart->getAttributeValue("id"), "P1");
  EXPECT_EQ(partList->elements()[1]->getName(), "part-group");

  // A comment with a hyphen arrives in pieces, which make one element at its place: a
  // comment of a million dashes must not make a million elements.
  const Sxmlelement note = root->elements()[1]->elements()[0]->elements()[0];
  ASSERT_EQ(note->size(), 2);
  EXPECT_EQ(note->elements()[0]->getType(), 1);
  EXPECT_EQ(note->elements()[0]->getName(), "comment");
  EXPECT_EQ(note->elements()[0]->getValue(), " a-b ");
  EXPECT_EQ(note->elements()[1]->getValue(), "C");
}

TEST(Reader, DeclarationAndDocumentTypeForms) {
  auto result = Read("<!DOCTYPE score-partwise SYSTEM \"partwise.dtd\"><score-partwise/>");
  ASSERT_TRUE(result.file);
  EXPECT_EQ(result.file->getXMLDecl(), nullptr);
  EXPECT_FALSE(result.file->getDocType()->isPublic);
  EXPECT_EQ(result.file->getDocType()->publicLiteral, "");

  result = Read("<?xml version=\"1.0\"?>" + std::string(testing::kDocType) + "<score-partwise/>");
  ASSERT_TRUE(result.file);
  EXPECT_EQ(result.file->getXMLDecl()->standalone, -1);
  EXPECT_EQ(result.file->getXMLDecl()->encoding, "");
}

TEST(Reader, DecodesReferencesInTextAndAttributes) {
  const auto result = Read(Document(
      "<work work-number='R&amp;B &#8470; &lt;1&gt;'><work-title>Tom &amp; Jerry &#233;t&#xE9; &#x1D11E; &quot;&apos;"
      " &nbsp; &#0; &#xD800; &#99999999; &amp</work-title></work>"));
  ASSERT_TRUE(result.file);
  const Sxmlelement work = result.root();
  EXPECT_EQ(work->getAttributeValue("work-number"), "R&B \xE2\x84\x96 <1>");
  EXPECT_EQ(work->elements()[0]->getValue(),
            "Tom & Jerry \xC3\xA9t\xC3\xA9 \xF0\x9D\x84\x9E \"' &nbsp; &#0; &#xD800; &#99999999; &amp");
}

// A comment of dashes arrives one dash a piece; it is still one element, built in time linear
// in its length.
TEST(Reader, ACommentOfDashesIsOneElement) {
  const auto result = Read(Document("<score-partwise><!--" + std::string(200000, '-') + " --><part-list/></score-partwise>"));
  ASSERT_TRUE(result.file);
  ASSERT_EQ(result.root()->size(), 2);
  EXPECT_EQ(result.root()->elements()[0]->getName(), "comment");
  EXPECT_EQ(result.root()->elements()[0]->getValue().size(), 200001u);
  EXPECT_EQ(result.root()->elements()[1]->getName(), "part-list");
}

TEST(Reader, TextReplacesTheValue) {
  const auto result = Read(Document("<words>  two words\n</words>"));
  ASSERT_TRUE(result.file);
  EXPECT_EQ(result.root()->getValue(), "  two words\n");
}

TEST(Reader, KeepsElementsTheFactoryDoesNotKnowAsPlainElements) {
  const auto result = Read(Document("<score-partwise><glyph type='x'><note/></glyph><staff-divide/></score-partwise>"));
  ASSERT_TRUE(result.file);
  EXPECT_EQ(result.errors,
            "Sxmlelement factory::create called with unknown element \"glyph\"\n"
            "Sxmlelement factory::create called with unknown element \"staff-divide\"\n");
  const Sxmlelement glyph = result.root()->elements()[0];
  EXPECT_EQ(glyph->getType(), 0);
  EXPECT_EQ(glyph->getName(), "glyph");
  EXPECT_EQ(glyph->getAttributeValue("type"), "x");
  EXPECT_EQ(glyph->elements()[0]->getType(), ElementType("note"));
}

struct RefusalCase {
  const char* name;
  std::string text;
  std::string errors;
  friend void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }
};

class Refusal : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, GivesANullFileAndOneLine) {
  const auto result = Read(GetParam().text);
  EXPECT_FALSE(result.file);
  EXPECT_EQ(result.errors, GetParam().errors);
}

std::string Nested(int depth) {
  std::string body;
  for (int i = 0; i < depth; ++i) body += "<note>\n";
  return body;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refusal,
    ::testing::Values(
        RefusalCase{"MismatchedEndTag", Document("<part>\n<note>\n</part>"), "end element error on line 5\n"},
        RefusalCase{"SyntaxError", Document("<part>\n<note>\n<"), "syntax error, unexpected SPACE, expecting NAME on line 6\n"},
        RefusalCase{"EmptyFile", "", "syntax error, unexpected $end, expecting DOCTYPE on line 1\n"},
        RefusalCase{"NestingDeeperThan256Levels", Document(Nested(257)),
                    "elements nested deeper than 256 levels on line 259\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Reader, NestingOf256LevelsIsRead) {
  std::string text = Nested(256);
  for (int i = 0; i < 256; ++i) text += "</note>";
  const auto result = Read(Document(text));
  ASSERT_TRUE(result.file);
  EXPECT_EQ(result.errors, "");
}

TEST(Reader, AFolderIsRefusedWithTheScannersMessage) {
  xmlreader reader;
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(reader.readFile(::testing::TempDir().c_str()));
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "input in flex scanner failed on line 1\n");
}

TEST(Reader, AnEndlessTokenIsRefusedInLinearTime) {
  // Flex rescans the token in progress at every refill; refills of a fixed size made this take
  // minutes. The buffer stops growing at 32 MB.
  std::string text = Document("<words>");
  text.resize(text.size() - 1);  // no line break: the text is one token to the end
  text.append(size_t(40) << 20, 'x');
  const auto result = Read(text);
  EXPECT_FALSE(result.file);
  EXPECT_EQ(result.errors, "fatal error - scanner input buffer overflow on line 3\n");
}

TEST(Reader, AReaderCanReadAgainAfterAFailure) {
  // The elements left open by the failure do not count towards the next file's depth.
  xmlreader reader;
  testing::MemoryFile broken(Document(Nested(250)));
  std::string text = Nested(10);
  for (int i = 0; i < 10; ++i) text += "</note>";
  testing::MemoryFile good(Document(text));
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(reader.readStream(broken.get()));
  const STXMLFile file = reader.readStream(good.get());
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "syntax error, unexpected SPACE, expecting ENDXMLS on line 254\n");
  ASSERT_TRUE(file);
  EXPECT_EQ(file->getRoot()->size(), 1);
}

TEST(Reader, ReadsAFileByPath) {
  vornel::testing::TempDir dir;
  const std::string path = dir.File("a.xml");
  vornel::testing::WriteText(path, Document("<score-partwise/>"));
  xmlreader reader;
  const STXMLFile file = reader.readFile(path.c_str());
  ASSERT_TRUE(file);
  EXPECT_EQ(file->getRoot()->getName(), "score-partwise");
  EXPECT_EQ(file->refs(), 2u);  // the reader keeps its own reference
}

}  // namespace
}  // namespace vornel::MusicXML2
