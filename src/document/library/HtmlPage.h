#pragma once
// The static HTML page of a document (from its index "vornel-document") or of a document
// group (from its tree "DocumentGroup"), styled for a web site's Bootstrap 3 and script, and
// readable on its own: a few rules of our own are written inline.

#include <tinyxml2.h>

#include <string>
#include <vector>

#include "platform/xml/XMLWriter.h"

namespace vornel {

// Prints the XML of an index or a group tree as HTML. Each known element opens its HTML
// elements; text nodes are printed as they are; an element of another name is left out with
// its descendants and the siblings after it.
class HTMLPrinter : public XmlTextPrinter {
 public:
  explicit HTMLPrinter(std::string& out);

  // The doctype, the head (title, meta, the site's links and scripts under `rootUrl`, our own
  // rules), then "body" with the facsimile frame and the open "content" container.
  void WritePageHead(const std::string& rootUrl);
  // Closes up to `count` open elements, each on a line of its own.
  void CloseOpenElements(int count);

  bool VisitEnter(const tinyxml2::XMLElement& element, const tinyxml2::XMLAttribute* attribute) override;
  bool VisitExit(const tinyxml2::XMLElement& element) override;
  bool Visit(const tinyxml2::XMLDeclaration&) override { return true; }
  // An empty element is closed by its end tag, as HTML wants, except the void elements
  // ("meta", "link", "img", "br"), which end in "/>".
  void CloseElement(bool compactMode = false) override;
  using XmlTextPrinter::Visit;
  using XmlTextPrinter::VisitEnter;
  using XmlTextPrinter::VisitExit;

 private:
  // Closes the innermost open element, if any.
  void CloseInnermost(bool compact);
  void OpenWithClass(const char* name, const std::string& cssClass);
  void TextElement(const char* name, const std::string& text);

  std::string fileName_;
  std::string rootPath_;
  std::string subdirectory_;
  bool singleDocument_ = false;
  int sectionCounter_ = 1;
};

// A JavaScript string literal of `text`: quotes, backslashes, line ends and the characters
// that could end the script element ('<', '>', '&') escaped.
std::string JavaScriptString(const std::string& text);

// Write the page of one document (from its index) or of a group (from its tree) to `path`;
// false when the file cannot be written. `rootUrl` is the site's document root.
bool SaveDocumentHtmlPage(const tinyxml2::XMLDocument& index, const std::string& path, const std::string& rootUrl);
bool SaveGroupHtmlPage(const tinyxml2::XMLDocument& group, const std::string& path, const std::string& rootUrl);

}  // namespace vornel
