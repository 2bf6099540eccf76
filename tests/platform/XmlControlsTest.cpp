// Texts with the control characters XML 1.0 cannot hold are written as well-formed XML and
// read back as they were, the pictures of the controls among them.

#include <gtest/gtest.h>

#include <string>

#include "platform/xml/XMLWriter.h"
#include "platform/xml/XmlControls.h"
#include "platform/xml/XmlScanner.h"

namespace vornel {
namespace {

// No byte XML 1.0 refuses: C0 controls other than tab, line feed and carriage return.
bool WellFormedCharacters(std::string_view text) {
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 && u != '\t' && u != '\n' && u != '\r') return false;
  }
  return text.find("&#x1") == std::string_view::npos && text.find("&#1") == std::string_view::npos;
}

TEST(XmlControls, WrittenFormsAndBack) {
  struct Case {
    std::string text;
    std::string written;
  };
  const Case cases[] = {
      {"plain", "plain"},
      {"tab\tline\nreturn\r", "tab\tline\nreturn\r"},
      {"T\x01", "T\xE2\x90\x81"},
      {"\x1B[1m\x1F", "\xE2\x90\x9B[1m\xE2\x90\x9F"},
      {"\x08\x0B\x0C\x0E", "\xE2\x90\x88\xE2\x90\x8B\xE2\x90\x8C\xE2\x90\x8E"},
      // Pictures of that range and the escape sign stand for themselves after the escape sign.
      {"\xE2\x90\x81", "\xE2\x90\xA1\xE2\x90\x81"},
      {"\xE2\x90\xA1", "\xE2\x90\xA1\xE2\x90\xA1"},
      {"\xE2\x90\x80\xE2\x90\x89", "\xE2\x90\xA1\xE2\x90\x80\xE2\x90\xA1\xE2\x90\x89"},
      // Other characters of the block, and pictures cut off at the end, are left as they are.
      {"\xE2\x90\xA2\xE2\x90", "\xE2\x90\xA2\xE2\x90"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(NeedsXmlControlForms(c.text), c.text != c.written);
    EXPECT_EQ(EncodeXmlControls(c.text), c.written);
    EXPECT_EQ(DecodeXmlControls(c.written), c.text);
  }
  // Every control from another program's lone picture; a lone picture of a control that
  // needs none (tab, line feed, carriage return, NUL) stays a picture.
  for (int c = 1; c < 0x20; ++c) {
    const std::string picture = {'\xE2', '\x90', static_cast<char>(0x80 + c)};
    const bool kept = c == '\t' || c == '\n' || c == '\r';
    EXPECT_EQ(DecodeXmlControls(picture), kept ? picture : std::string(1, static_cast<char>(c))) << c;
    EXPECT_EQ(DecodeXmlControls(EncodeXmlControls(std::string(1, static_cast<char>(c)))), std::string(1, static_cast<char>(c)));
  }
  EXPECT_EQ(DecodeXmlControls("\xE2\x90\x80"), "\xE2\x90\x80");
}

// Through the printer every file is written with and the parsers every file is read with:
// element texts and attribute values alike.
TEST(XmlControls, PrintedTextsAreWellFormedAndReadBack) {
  const std::string text = "T:\x01 tune\x1F \xE2\x90\x81 & <x>";
  tinyxml2::XMLDocument doc;
  tinyxml2::XMLElement* root = doc.NewElement("a");
  doc.InsertEndChild(root);
  root->SetAttribute("t", text.c_str());
  root->InsertNewChildElement("b")->SetText(text.c_str());
  std::string printed;
  XmlTextPrinter printer(printed);
  doc.Print(&printer);
  EXPECT_TRUE(WellFormedCharacters(printed)) << printed;

  tinyxml2::XMLDocument whole;
  ASSERT_TRUE(ParseCheckedXml(whole, printed));
  EXPECT_EQ(std::string(whole.RootElement()->Attribute("t")), text);
  EXPECT_EQ(std::string(whole.RootElement()->FirstChildElement("b")->GetText()), text);

  XmlScanner scanner(printed);
  XmlPartParser parser(scanner);
  const tinyxml2::XMLElement* part = parser.Parse(printed);
  ASSERT_NE(part, nullptr) << parser.Error();
  EXPECT_EQ(std::string(part->Attribute("t")), text);
  EXPECT_EQ(std::string(part->FirstChildElement("b")->GetText()), text);
}

}  // namespace
}  // namespace vornel
