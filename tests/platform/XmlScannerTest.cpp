#include <gtest/gtest.h>
#include <tinyxml2.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/xml/XmlScanner.h"

namespace vornel {
namespace {

using Node = XmlScanner::Node;

// The scanner takes and refuses what tinyxml2 takes and refuses, in tinyxml2's words, with the
// line of the fault.
struct AgreementCase {
  const char* name;
  std::string text;
};

class XmlScannerAgreement : public ::testing::TestWithParam<AgreementCase> {};

TEST_P(XmlScannerAgreement, TakesAndRefusesAsTinyxml2Does) {
  const std::string& text = GetParam().text;
  tinyxml2::XMLDocument doc(true, tinyxml2::PRESERVE_WHITESPACE);
  const bool parsed = doc.Parse(text.data(), text.size()) == tinyxml2::XML_SUCCESS;
  std::string error;
  EXPECT_EQ(XmlScanner::Check(text, &error), parsed) << error;
  if (!parsed) {
    EXPECT_EQ(error, doc.ErrorStr());
  }
}

std::string Nested(int depth) {
  std::string text;
  for (int i = 0; i < depth; ++i) text += "<a>";
  for (int i = 0; i < depth; ++i) text += "</a>";
  return text;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, XmlScannerAgreement,
    ::testing::Values(
        AgreementCase{"well_formed", "<?xml version=\"1.0\"?>\n<!-- c --><!DOCTYPE a><a x='1' y = \"2>\">t&amp;<b/>"
                                     "<![CDATA[<c>]]><c\n/></a>\n"},
        AgreementCase{"byte_order_mark", "\xEF\xBB\xBF<a/>"},
        AgreementCase{"ends_at_a_zero_byte", std::string("<a/>\0<", 6)},
        AgreementCase{"stray_end_tag_ends_the_document", "<a/></b><<<"},
        AgreementCase{"unclosed", "<VornelTabXML version=\"1\">\n<unclosed>"},
        AgreementCase{"mismatched_end", "<a>\n<b></c></a>"},
        AgreementCase{"text_to_the_end", "<a/>\ntext"},
        AgreementCase{"comment_unterminated", "<a><!-- no end</a>"},
        AgreementCase{"cdata_unterminated", "<a>\n<![CDATA[ no end</a>"},
        AgreementCase{"unknown_unterminated", "<!DOCTYPE a"},
        AgreementCase{"declaration_unterminated", "<?xml version"},
        AgreementCase{"declaration_after_element", "<a/><?xml version=\"1.0\"?>"},
        AgreementCase{"declaration_inside", "<a><?xml version=\"1.0\"?></a>"},
        AgreementCase{"no_name", "<a>\n< >"},
        AgreementCase{"attribute_without_value", "<a b></a>"},
        AgreementCase{"attribute_unquoted", "<a b=1></a>"},
        AgreementCase{"attribute_unterminated", "<a b=\"1></a>"},
        AgreementCase{"tag_unterminated", "<a b=\"1\""},
        AgreementCase{"duplicate_attribute", "<a><b c=\"1\" c=\"2\"/></a>"},
        AgreementCase{"nested_ninety_nine", Nested(99)},
        AgreementCase{"nested_a_hundred", Nested(100)},
        AgreementCase{"empty_inside_the_deepest", Nested(98).insert(98 * 3, "<b/>")}),
    [](const auto& info) { return std::string(info.param.name); });

std::string ElementWithAttributes(size_t count) {
  std::string text = "<root";
  for (size_t i = 0; i < count; ++i) text += " a" + std::to_string(i) + "=\"\"";
  return text + "/>";
}

// tinyxml2 checks each attribute against all before it: an element of a hundred thousand
// attributes would take minutes. The scanner refuses it at once, naming the element.
TEST(XmlScanner, RefusesAnElementWithMoreAttributesThanAnyOfOurs) {
  std::string error;
  EXPECT_TRUE(XmlScanner::Check(ElementWithAttributes(kMaxXmlAttributes), &error)) << error;
  EXPECT_FALSE(XmlScanner::Check(ElementWithAttributes(kMaxXmlAttributes + 1), &error));
  EXPECT_EQ(error, "Error=XML_ERROR_PARSING_ATTRIBUTE ErrorID=7 (0x7) Line number=1: XMLElement name=root carries "
                   "more than 256 attributes");

  const std::string huge = "<a>\n" + ElementWithAttributes(100000) + "</a>";
  const auto start = std::chrono::steady_clock::now();
  tinyxml2::XMLDocument doc;
  EXPECT_FALSE(ParseCheckedXml(doc, huge, &error));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_NE(error.find("Line number=2: XMLElement name=root carries more than 256"), std::string::npos) << error;
}

// A reader walks the levels it wants and takes the elements it reads whole; the rest is passed
// over, checked all the same.
TEST(XmlScanner, WalksLevelsAndHandsOutWholeElements) {
  const std::string text = "<?xml version=\"1.0\"?>\n<doc n=\"2\">\n  <!-- note -->\n  <head a=\"1\"/>\n"
                           "  <items><item>one</item>x<item>two</item></items>\n  <tail><deep/></tail>\n</doc>\n";
  XmlScanner scanner(text);
  ASSERT_EQ(scanner.Next(), Node::kOther);  // the declaration
  ASSERT_EQ(scanner.Next(), Node::kElement);
  EXPECT_EQ(scanner.CurrentTag().name, "doc");
  EXPECT_EQ(scanner.CurrentTag().text, "<doc n=\"2\">");
  scanner.Enter();
  ASSERT_EQ(scanner.Next(), Node::kOther);
  EXPECT_EQ(scanner.OtherText(), "<!-- note -->");
  ASSERT_EQ(scanner.Next(), Node::kElement);
  EXPECT_TRUE(scanner.CurrentTag().empty);
  scanner.Enter();
  EXPECT_EQ(scanner.Next(), Node::kEnd);  // an empty element ends at once
  ASSERT_EQ(scanner.Next(), Node::kElement);
  scanner.Enter();
  ASSERT_EQ(scanner.Next(), Node::kElement);
  EXPECT_EQ(scanner.TakeElement(), "<item>one</item>");
  ASSERT_EQ(scanner.Next(), Node::kOther);
  EXPECT_EQ(scanner.OtherText(), "x");
  ASSERT_EQ(scanner.Next(), Node::kElement);
  EXPECT_EQ(scanner.LineOf(scanner.CurrentTag().text), 5u);
  EXPECT_EQ(scanner.Next(), Node::kEnd);  // "two" passed over
  EXPECT_TRUE(scanner.SkipRest());        // "tail", then the end of "doc"
  EXPECT_EQ(scanner.Next(), Node::kEnd);  // the end of the text
  EXPECT_FALSE(scanner.Failed());

  // A part parsed on its own reports its faults at the lines of the whole text.
  const std::string broken = "<doc>\n<a/>\n<b>\n<c x=\"1\" x=\"2\"/></b></doc>";
  XmlScanner walk(broken);
  ASSERT_EQ(walk.Next(), Node::kElement);
  walk.Enter();
  walk.Next();
  ASSERT_EQ(walk.Next(), Node::kElement);
  XmlPartParser parser(walk);
  EXPECT_EQ(parser.Parse(walk.TakeElement()), nullptr);
  EXPECT_EQ(parser.Error(), "Error=XML_ERROR_PARSING_ATTRIBUTE ErrorID=7 (0x7) Line number=4: XMLElement name=c");

  // Comments never reach tinyxml2; what only looks like one (in CDATA or a value) stays, and
  // faults after a comment are still reported at their lines.
  const std::string commented = "<doc>\n<p a=\"<!--x-->\"><!-- one\ntwo --><![CDATA[<!--kept-->]]><q/></p>\n"
                                "<r><!--\n\n--><s x=\"1\" x=\"2\"/></r></doc>";
  XmlScanner notes(commented);
  ASSERT_EQ(notes.Next(), Node::kElement);
  notes.Enter();
  ASSERT_EQ(notes.Next(), Node::kElement);
  XmlPartParser commentParser(notes);
  const tinyxml2::XMLElement* p = commentParser.Parse(notes.TakeElement());
  ASSERT_NE(p, nullptr);
  EXPECT_STREQ(p->Attribute("a"), "<!--x-->");
  EXPECT_STREQ(p->GetText(), "<!--kept-->");
  ASSERT_NE(p->FirstChild(), nullptr);
  EXPECT_EQ(p->FirstChild()->ToComment(), nullptr);
  ASSERT_EQ(notes.Next(), Node::kElement);
  EXPECT_EQ(commentParser.Parse(notes.TakeElement()), nullptr);
  EXPECT_EQ(commentParser.Error(), "Error=XML_ERROR_PARSING_ATTRIBUTE ErrorID=7 (0x7) Line number=6: XMLElement name=s");
}

}  // namespace
}  // namespace vornel
