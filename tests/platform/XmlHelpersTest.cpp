#include <gtest/gtest.h>

#include "platform/xml/XMLWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlSink.h"
#include "support/Bytes.h"
#include "support/ScriptedPrompts.h"

namespace vornel {
namespace {

TEST(ExpectChildElement, ExactNameOrMismatch) {
  testing::ScriptedPrompts prompts;
  tinyxml2::XMLDocument doc;
  doc.Parse("<root><Event/><!-- c --></root>");
  const tinyxml2::XMLNode* child = doc.FirstChildElement()->FirstChild();

  EXPECT_EQ(ExpectChildElement(child, "Event"), child);
  try {
    ExpectChildElement(child, "event");  // differs only in case
    FAIL();
  } catch (const XmlTagMismatch& e) {
    EXPECT_EQ(e.Code(), -5);
  }
  ASSERT_EQ(prompts.messages.size(), 1u);
  EXPECT_EQ(prompts.messages[0], "Mismatch error on tag: <Event> should be <event>");

  // Absent nodes and non-elements fail without a message.
  EXPECT_THROW(ExpectChildElement(static_cast<const tinyxml2::XMLNode*>(nullptr), "x"), XmlTagMismatch);
  EXPECT_THROW(ExpectChildElement(child->NextSibling(), "x"), XmlTagMismatch);
  EXPECT_EQ(prompts.messages.size(), 1u);
}

TEST(AddTextElement, TextOrNone) {
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* empty = AddTextElement(doc, "meta-event", "");
  EXPECT_EQ(empty->FirstChild(), nullptr);
  EXPECT_EQ(empty->Parent(), nullptr);  // unattached
  tinyxml2::XMLElement* text = AddTextElement(doc, "text", "Tom & Jérôme");
  doc.InsertEndChild(text);
  tinyxml2::XMLPrinter printer(nullptr, true);
  doc.Print(&printer);
  EXPECT_STREQ(printer.CStr(), "<text>Tom &amp; Jérôme</text>");
}

TEST(DeepCopyXmlNode, CopiesTheWholeSubtreeIntoAnotherDocument) {
  tinyxml2::XMLDocument source;
  source.Parse("<a x=\"1\"><b>t<c/></b><!--n--><d/></a>");
  tinyxml2::XMLDocument target;
  target.InsertEndChild(DeepCopyXmlNode(source.FirstChild(), target));
  tinyxml2::XMLPrinter printer(nullptr, true);
  target.Print(&printer);
  EXPECT_STREQ(printer.CStr(), "<a x=\"1\"><b>t<c/></b><!--n--><d/></a>");
}

TEST(ElementNameList, LookupIsExact) {
  std::vector<std::string> names;
  EXPECT_EQ(FindElementName(names, "b"), -1);
  LoadElementNameList(names);
  ASSERT_EQ(names.size(), 50u);
  EXPECT_EQ(names.front(), "DocumentGroup");
  EXPECT_EQ(names.back(), "metadata-fonts");
  EXPECT_EQ(FindElementName(names, "b"), 34);
  EXPECT_EQ(FindElementName(names, "metadata"), 6);
  EXPECT_EQ(FindElementName(names, "Metadata"), -1);
}

TEST(XmlAttributes, NumberFormsAndMissingValues) {
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* e = doc.NewElement("e");
  SetIntAttribute(e, "i", static_cast<int32_t>(0xFFFFFFFFu));
  SetUnsignedAttribute(e, "u", 0xFFFFFFFFu);
  SetRealAttribute(e, "r", 1536.0);
  SetTextAttribute(e, "t", "C6#");
  EXPECT_STREQ(e->Attribute("i"), "-1");
  EXPECT_STREQ(e->Attribute("u"), "4294967295");
  EXPECT_STREQ(e->Attribute("r"), "1536");
  EXPECT_EQ(ReadUnsignedAttribute(e, "i"), 0xFFFFFFFFu);
  EXPECT_EQ(ReadIntAttribute(e, "u"), -1);
  EXPECT_EQ(ReadRealAttribute(e, "r"), 1536.0);
  EXPECT_EQ(ReadTextAttribute(e, "t"), "C6#");
  EXPECT_EQ(ReadIntAttribute(e, "missing"), 0);
  EXPECT_EQ(ReadRealAttribute(e, "missing"), 0.0);
  e->SetAttribute("f", "3.9");
  EXPECT_EQ(ReadIntAttribute(e, "f"), 3);
  e->SetAttribute("junk", "abc");
  EXPECT_EQ(ReadIntAttribute(e, "junk"), 0);
}

TEST(XMLWriter, DeclarationPathAndAtomicSave) {
  testing::TempDir dir;
  XMLWriter writer;
  writer.SetFileName(dir.File("a.btxml"), true);
  writer.InsertEndChild(writer.NewElement("VornelTabXML"));
  ASSERT_TRUE(writer.SaveToFile(false));
  EXPECT_EQ(testing::ReadText(dir.File("a.btxml")),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<VornelTabXML/>\n");

  XMLWriter plain;
  plain.SetFileName(dir.File("b.xml"), false);
  EXPECT_EQ(plain.FirstChild(), nullptr);

  // Bundles need the packer of the document library; without it the save reports failure.
  XMLWriter::SetBundlePacker(nullptr);
  EXPECT_FALSE(writer.SaveToFile(true));

  // A save into a folder that does not exist fails and writes nothing.
  XMLWriter lost;
  lost.SetFileName(dir.File("missing/c.btxml"), true);
  EXPECT_FALSE(lost.SaveToFile(false));
}

TEST(XMLWriter, XmlPathNameReplacesOnlyTheFinalExtension) {
  XMLWriter writer;
  writer.SetPath("/music/old.btb/piece.btb");
  EXPECT_EQ(writer.GetXmlPathName(), "/music/old.btb/piece.btxml");
  writer.SetPath("/music/piece.BTB");
  EXPECT_EQ(writer.GetXmlPathName(), "/music/piece.btxml");
  writer.SetPath("/music/piece.btxml");
  EXPECT_EQ(writer.GetXmlPathName(), "/music/piece.btxml");
}

}  // namespace
}  // namespace vornel

namespace vornel {
namespace {

void WriteSample(XmlSink& out) {
  out.Open("a");
  out.Int("n", -3);
  out.Attribute("t", "x\ry<&>\"");
  out.Open("b");
  out.Text(" \t ");  // blanks alone
  out.Close();
  out.Open("c");
  out.Text("line\r\nnext");
  out.Close();
  tinyxml2::XMLElement* built = out.Document().NewElement("d");
  built->SetAttribute("u", "1");
  out.Element(built);
  out.Open("e");
  out.Close();
  out.Close();
}

// The same writer gives the same text through a tree and printed straight, and a reader gets
// back every character: carriage returns and texts of blanks alone included.
TEST(XmlSink, TreeAndPrintGiveTheSameTextThatReadsBack) {
  XMLWriter doc;
  XmlTreeSink tree(doc);
  WriteSample(tree);
  doc.InsertEndChild(tree.Root());
  const std::string fromTree = doc.ToXmlText();

  std::string printed;
  std::string flushed;
  XmlTextPrinter printer(printed);
  XmlPrintSink sink(printer, printed, [&](std::string& text) {
    flushed += text;
    text.clear();
  }, 1);
  WriteSample(sink);
  flushed += printed;
  EXPECT_EQ(flushed, fromTree);
  EXPECT_NE(fromTree.find("&#13;"), std::string::npos);

  tinyxml2::XMLDocument read(true, tinyxml2::PRESERVE_WHITESPACE);
  ASSERT_EQ(read.Parse(fromTree.c_str()), tinyxml2::XML_SUCCESS);
  const tinyxml2::XMLElement* a = read.FirstChildElement("a");
  EXPECT_STREQ(a->Attribute("t"), "x\ry<&>\"");
  EXPECT_STREQ(a->FirstChildElement("b")->GetText(), " \t ");
  EXPECT_STREQ(a->FirstChildElement("c")->GetText(), "line\r\nnext");

  AttributeReader attributes(a);
  EXPECT_EQ(attributes.Text("t"), "x\ry<&>\"");  // out of order: found all the same
  EXPECT_EQ(attributes.Int("n"), -3);
  EXPECT_EQ(attributes.Find("missing"), nullptr);
}

}  // namespace
}  // namespace vornel
