#pragma once
// Walking XML text once without building a tree, so that a large file can be read a part at a
// time: a reader steps through the nodes of the levels it cares about and has the elements it
// wants handed out as text, each parsed by tinyxml2 on its own (XmlPartParser) and freed before
// the next. Every XML file the system reads goes through the scanner before tinyxml2 sees any
// of it.
//
// The scanner takes the text as tinyxml2 does (a byte-order mark is passed over, the text ends
// at its first zero byte, blank text between tags is no node, a stray end tag at the top level
// ends the document) and refuses what tinyxml2 refuses where it walks: unterminated comments,
// declarations, CDATA sections and tags, malformed names and attributes, end tags that do not
// match, declarations after other nodes, and nesting beyond tinyxml2's depth. It also refuses
// an element with more than kMaxXmlAttributes attributes, which tinyxml2 would check for
// duplicates in time that grows with the square of their number. Its refusals are worded as
// tinyxml2 words its own, with the line in the whole text.

#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vornel {

// No element of the files the system reads carries more than a few dozen attributes.
inline constexpr size_t kMaxXmlAttributes = 256;
// The most elements with content that may stand one inside the other (an empty element may
// stand inside the innermost): tinyxml2's own limit.
inline constexpr size_t kMaxXmlDepth = 98;

// An error in tinyxml2's words: "Error=NAME ErrorID=N (0xN) Line number=L", then ": " and
// `detail` when there is one.
std::string XmlErrorText(tinyxml2::XMLError error, size_t line, std::string_view detail = {});

class XmlScanner {
 public:
  enum class Node {
    kElement,  // a start tag: Tag() describes it; Enter, TakeElement or SkipElement go on
    kOther,    // text, a comment, a declaration, a CDATA section or a document type
    kEnd,      // the end of the element entered last, or of the text at the top level
    kFailed,   // Error() says why; every later step fails too
  };

  struct Tag {
    std::string_view name;
    std::string_view text;  // from "<" to ">"
    bool empty = false;     // written "<name .../>"
  };

  explicit XmlScanner(std::string_view text);

  // The next node among the children of the element entered last (at first, the top level).
  // An element whose start tag was given last and not entered or taken is skipped first.
  Node Next();
  const Tag& CurrentTag() const { return tag_; }
  // The text of the node Next() gave last as kOther.
  std::string_view OtherText() const { return other_; }

  // Goes into the element whose start tag Next() gave last: the next steps walk its children.
  void Enter();
  // The whole text of the element whose start tag Next() gave last, end tag included; empty
  // when the scanner failed within it.
  std::string_view TakeElement();
  // Passes over that element; false when the scanner failed within it.
  bool SkipElement();
  // Passes over the remaining nodes of the current level, up to its end (at the top level, the
  // end of the text); false when the scanner failed.
  bool SkipRest();

  bool Failed() const { return !error_.empty(); }
  const std::string& Error() const { return error_; }
  // The line (from 1) of the position of `part`, a view into the text.
  size_t LineOf(std::string_view part) const;
  std::string_view Text() const { return text_; }

  // Walks the whole text; true when the scanner takes all of it, else `error` says why.
  static bool Check(std::string_view text, std::string* error = nullptr);

 private:
  struct Open {
    std::string_view name;
    size_t start;
  };

  Node NextNode();
  Node Fail(tinyxml2::XMLError error, size_t at, std::string_view detail = {});
  // Reads the tag at `at` into tag_; the position after it, or 0 after a failure.
  size_t ReadTag(size_t at, bool& closing);
  void EnterPending();
  // Passes over the element whose start tag was given last.
  bool SkipPending(bool checkDuplicates);

  std::string_view text_;
  size_t pos_ = 0;
  std::vector<Open> open_;
  Tag tag_;
  size_t tagStart_ = 0;
  bool pending_ = false;      // a start tag given and not yet entered, taken or skipped
  bool enteredEmpty_ = false; // an empty element was entered: its end comes next
  bool finished_ = false;     // a stray end tag ended the document
  bool otherAtTop_ = false;   // a node other than a declaration stood at the top level
  bool skipping_ = false;     // the attributes of passed-over elements are checked for duplicates
  std::string_view other_;
  std::string error_;
};

// Parses parts of one scanned text, one after the other, into one tinyxml2 document that keeps
// its node memory between them (entities processed, white space preserved, as the system's
// XML documents are read). Each part's tree lives until the next part is parsed. Errors are
// tinyxml2's, with the line counted in the whole text.
class XmlPartParser {
 public:
  explicit XmlPartParser(const XmlScanner& scanner) : scanner_(scanner) {}
  ~XmlPartParser();
  XmlPartParser(const XmlPartParser&) = delete;
  XmlPartParser& operator=(const XmlPartParser&) = delete;

  // `part` is a view into the scanner's text, or a text built from such a view and starting
  // with it (`origin`), whose lines then count from there. The part's first element (its
  // texts with their controls back: XmlControls.h), or null with Error() saying why.
  const tinyxml2::XMLElement* Parse(std::string_view part, std::string_view origin = {});
  // A start tag alone, as an element without children.
  const tinyxml2::XMLElement* ParseStartTag(const XmlScanner::Tag& tag);
  const std::string& Error() const { return error_; }

 private:
  // `part` parsed, its lines counted from `origin`, a view into the scanner's text.
  const tinyxml2::XMLElement* ParseKept(std::string_view part, std::string_view origin);

  const XmlScanner& scanner_;
  tinyxml2::XMLDocument doc_{true, tinyxml2::PRESERVE_WHITESPACE};
  std::string built_;
  std::string error_;
  uint64_t charged_ = 0;  // what the tree of the last part was charged (BuildBudget)
};

// Parses a whole XML file's text into `doc` after the scanner took it: an element beyond the
// limits never reaches tinyxml2; the texts get their controls back (XmlControls.h). False,
// with `error` saying why in tinyxml2's words, when either refused it.
bool ParseCheckedXml(tinyxml2::XMLDocument& doc, std::string_view text, std::string* error = nullptr);

}  // namespace vornel
