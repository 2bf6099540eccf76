#include "platform/xml/XmlControls.h"

#include <vector>

namespace vornel {

namespace {

// U+2400 ... U+2421 in UTF-8: E2 90 80 ... E2 90 A1.
constexpr char kLead0 = '\xE2';
constexpr char kLead1 = '\x90';
constexpr unsigned char kFirstPicture = 0x80;  // U+2400
constexpr unsigned char kEscape = 0xA1;        // U+2421

bool IsWrittenControl(unsigned char c) { return c >= 0x01 && c < 0x20 && c != '\t' && c != '\n' && c != '\r'; }

// The third byte of a character of U+2400 ... U+2421 at `at`, or 0.
unsigned char PictureAt(std::string_view text, size_t at) {
  if (at + 2 >= text.size() || text[at] != kLead0 || text[at + 1] != kLead1) return 0;
  const auto third = static_cast<unsigned char>(text[at + 2]);
  return third >= kFirstPicture && third <= kEscape ? third : 0;
}

}  // namespace

bool NeedsXmlControlForms(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (IsWrittenControl(c) || (c == static_cast<unsigned char>(kLead0) && PictureAt(text, i) != 0)) return true;
  }
  return false;
}

std::string EncodeXmlControls(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (IsWrittenControl(c)) {
      out += kLead0;
      out += kLead1;
      out += static_cast<char>(kFirstPicture + c);
    } else if (PictureAt(text, i) != 0) {
      out += "\xE2\x90\xA1";
      out.append(text.substr(i, 3));
      i += 2;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

bool HoldsXmlControlForms(std::string_view text) {
  for (size_t at = text.find(kLead0); at != std::string_view::npos; at = text.find(kLead0, at + 1)) {
    if (PictureAt(text, at) != 0) return true;
  }
  return false;
}

std::string DecodeXmlControls(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char third = PictureAt(text, i);
    if (third == kEscape && PictureAt(text, i + 3) != 0) {
      out.append(text.substr(i + 3, 3));
      i += 5;
    } else if (third != 0 && IsWrittenControl(static_cast<unsigned char>(third - kFirstPicture))) {
      out += static_cast<char>(third - kFirstPicture);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

void DecodeXmlControls(tinyxml2::XMLNode& node) {
  std::vector<tinyxml2::XMLNode*> pending = {&node};
  while (!pending.empty()) {
    tinyxml2::XMLNode* current = pending.back();
    pending.pop_back();
    if (tinyxml2::XMLText* text = current->ToText()) {
      if (HoldsXmlControlForms(text->Value())) text->SetValue(DecodeXmlControls(text->Value()).c_str());
    } else if (tinyxml2::XMLElement* element = current->ToElement()) {
      for (const tinyxml2::XMLAttribute* a = element->FirstAttribute(); a != nullptr; a = a->Next()) {
        if (HoldsXmlControlForms(a->Value())) element->SetAttribute(a->Name(), DecodeXmlControls(a->Value()).c_str());
      }
    }
    for (tinyxml2::XMLNode* child = current->FirstChild(); child != nullptr; child = child->NextSibling()) {
      pending.push_back(child);
    }
  }
}

}  // namespace vornel
