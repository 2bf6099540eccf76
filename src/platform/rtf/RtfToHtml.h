#pragma once
// A small RTF-to-HTML converter for the metadata files: a rich text (a formatted title, a
// preface) becomes one "div" of paragraphs, bold, italic and underlined runs and "font"
// elements carrying the colour, size and face in force. The RTF is cut into groups, control
// words and text by the same tokenizer the rich-text reader uses; the document group's font
// and colour tables fill the lookups, and the document group's own text (nested groups of
// the body are left out) becomes element records written out as HTML. Control words it does
// not know are dropped.
//
// The conversion streams: the text is walked twice (the tables, then the body) and nothing is
// kept per token; the records of the paragraph being read wait for its end (its alignment may
// come late), every earlier one is already written. Bold, italic and underline do not open
// again while open, so no more than five elements are ever open, and face names are cut to a
// length a face name has. The HTML is at most four times the RTF and a megabyte: a text made
// of nothing but format changes is cut there, keeping what came before.

#include <tinyxml2.h>

#include <cstdint>
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

class CRTF_HTMLConverter {
 public:
  static constexpr std::string_view kDefaultTitle = "RTF2HTML Generated Document";
  // Face names longer than this (in bytes) are cut.
  static constexpr size_t kMaxFaceBytes = 64;
  // The HTML stops growing past this many times the RTF's bytes and a megabyte.
  static constexpr size_t kMaxGrowth = 4;
  static constexpr size_t kMaxExtraBytes = size_t(1) << 20;

  std::string input;   // the RTF; Convert trims its trailing line ends
  std::string output;  // the HTML
  std::string title{kDefaultTitle};  // kept for the caller, never written
  std::string codePage = "1252";     // the digits after "ansicpg"

  CRTF_HTMLConverter();

  // Code page, colour, face and size back to their defaults; tables and records emptied.
  void Reset();
  // Converts `input` into `output`; an input that is not RTF leaves the output empty.
  void Convert();

  const std::unordered_map<std::string, std::string>& FontTable() const { return fonts_; }
  const std::vector<uint32_t>& ColourTable() const { return colours_; }

 private:
  void ReadTables(std::string_view body);
  void ConvertBody(std::string_view body);
  void ProcessControlWord(const std::string& word);
  void AddText(std::string text);
  void Add(CHTMLElement record);
  // Writes one record: an open tag, a close (which closes what was opened after its element
  // and opens that again), or text.
  void Render(const CHTMLElement& record);
  void Write(std::string_view html);
  void WriteOpen(const CHTMLElement& element);
  // Writes out the paragraph waiting for its end, with its final attributes.
  void FlushParagraph();

  std::string currentSize_;
  std::string currentFace_;
  std::string currentColour_;
  std::unordered_map<std::string, std::string> fonts_;
  std::vector<uint32_t> colours_;  // 0x00BBGGRR

  // What the records so far have left for the next ones to look at.
  bool paragraphOpen_ = false;      // a "p" was opened by \par
  bool paragraphHasText_ = false;   // ... and text other than line ends came after it
  bool fontOpen_ = false;           // the last "font" record opened one
  CHTMLElement paragraph_;          // the open "p", whose alignment may still change
  // The writing: the elements open in the HTML, and the paragraph waiting for its end as the
  // pieces between the places where its "p" opens.
  std::vector<CHTMLElement> open_;
  std::vector<std::string> pieces_;
  size_t written_ = 0;
  size_t maxWritten_ = 0;
};

// Converts `rtf` with `converter` and returns the HTML.
std::string ConvertRtfToHtml(CRTF_HTMLConverter& converter, std::string_view rtf);

// An element "rtf-text" of `doc` (not yet linked) holding the converted fragment; when the
// fragment does not parse as XML, its text. Nothing for an empty RTF.
tinyxml2::XMLElement* RtfToHtmlElement(tinyxml2::XMLDocument& doc, std::string_view rtf);

}  // namespace vornel
