#pragma once
// A small RTF-to-HTML converter for the metadata files: a rich text (a formatted title, a
// preface) becomes one "div" of paragraphs, bold, italic and underlined runs and "font"
// elements carrying the colour, size and face in force. The RTF is cut into groups, control
// words and text by the same tokenizer the rich-text reader uses; the document group's font
// and colour tables fill the lookups, and the document group's own text (nested groups of
// the body are left out) becomes a list of element records written out as HTML. Control
// words it does not know are dropped.

#include <tinyxml2.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/rtf/RtfTokenizer.h"

namespace vornel {

// One element record: an open tag, a close tag or text already in HTML form.
struct CHTMLElement {
  enum Kind : int32_t { kOpen = 0, kClose = 1, kText = 2, kUndetermined = 3 };

  Kind kind = kUndetermined;
  std::string text;  // the tag name, or the HTML text
  // Attribute name and value in writing order; the value carries its double quotes.
  std::vector<std::pair<std::string, std::string>> attributes;
};

// One brace group of the RTF: its first control word as its name, the tokens of its own
// (nested groups left out) and its nested groups in order.
struct RtfGroupNode {
  std::string name;
  std::vector<RtfToken> own;
  std::vector<std::unique_ptr<RtfGroupNode>> children;
};

class CRTF_HTMLConverter {
 public:
  static constexpr std::string_view kDefaultTitle = "RTF2HTML Generated Document";

  std::string input;   // the RTF; Convert trims its trailing line ends
  std::string output;  // the HTML
  std::string title{kDefaultTitle};  // kept for the caller, never written
  std::string codePage = "1252";     // the digits after "ansicpg"

  CRTF_HTMLConverter();

  // Code page, colour, face and size back to their defaults; tables and elements emptied.
  void Reset();
  // Converts `input` into `output`; an input that is not RTF leaves the output empty.
  void Convert();

  const std::vector<CHTMLElement>& Elements() const { return elements_; }
  const std::unordered_map<std::string, std::string>& FontTable() const { return fonts_; }
  const std::vector<uint32_t>& ColourTable() const { return colours_; }

 private:
  void BuildGroupTree(std::string_view rtf);
  void ParseHeader(const RtfGroupNode& document);
  void TokenizeBody(const RtfGroupNode& document);
  void ProcessControlWord(const std::string& word);
  void AddText(std::string text);
  std::string RenderHtml() const;

  std::unique_ptr<RtfGroupNode> root_;
  std::string currentSize_;
  std::string currentFace_;
  std::string currentColour_;
  std::unordered_map<std::string, std::string> fonts_;
  std::vector<uint32_t> colours_;  // 0x00BBGGRR
  std::vector<CHTMLElement> elements_;
};

// Converts `rtf` with `converter` and returns the HTML.
std::string ConvertRtfToHtml(CRTF_HTMLConverter& converter, std::string_view rtf);

// An element "rtf-text" of `doc` (not yet linked) holding the converted fragment; when the
// fragment does not parse as XML, its text. Nothing for an empty RTF.
tinyxml2::XMLElement* RtfToHtmlElement(tinyxml2::XMLDocument& doc, std::string_view rtf);

}  // namespace vornel
