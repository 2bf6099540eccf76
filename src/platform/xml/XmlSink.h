#pragma once
// Where an XML writer puts what it writes. The writers of the large parts of a document (the
// systems, their voices and events) write through a sink, one element at a time: into a tree
// of tinyxml2 elements for callers that want the element (XmlTreeSink), or straight into text
// as the files hold it (XmlPrintSink), so that a document is saved without ever building its
// tree. Both give the same XML.

#include <tinyxml2.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/xml/XMLWriter.h"

namespace vornel {

class XmlSink {
 public:
  virtual ~XmlSink() = default;

  // Starts an element inside the one open (or at the top). `name` must outlive the element.
  virtual void Open(const char* name) = 0;
  // An attribute of the element just opened, before its first child or text. Each name once.
  virtual void Attribute(const char* name, std::string_view value) = 0;
  // The open element's text (nothing for an empty text).
  virtual void Text(std::string_view text) = 0;
  // Ends the element opened last.
  virtual void Close() = 0;
  // A whole element built in Document(), as a child of the open element; the sink takes it.
  virtual void Element(tinyxml2::XMLElement* element) = 0;
  // The document in which parts handed to Element are built.
  virtual tinyxml2::XMLDocument& Document() = 0;

  // Attributes in the files' number forms ("%d", "%u", "%.17g").
  void Int(const char* name, int32_t value);
  void Unsigned(const char* name, uint32_t value);
  void Real(const char* name, double value);
};

// Builds the elements in a tinyxml2 document. The first element opened at the top is the
// root the caller takes; it is left unattached.
class XmlTreeSink : public XmlSink {
 public:
  explicit XmlTreeSink(tinyxml2::XMLDocument& doc) : doc_(doc) {}

  void Open(const char* name) override;
  void Attribute(const char* name, std::string_view value) override;
  void Text(std::string_view text) override;
  void Close() override;
  void Element(tinyxml2::XMLElement* element) override;
  tinyxml2::XMLDocument& Document() override { return doc_; }

  tinyxml2::XMLElement* Root() const { return root_; }

 private:
  tinyxml2::XMLDocument& doc_;
  tinyxml2::XMLElement* root_ = nullptr;
  std::vector<tinyxml2::XMLElement*> open_;
  std::string value_;  // a value with its terminator
};

// The element that `write` (a function of an XmlSink&) makes, built unattached in `doc`.
template <typename Write>
tinyxml2::XMLElement* BuildXmlElement(tinyxml2::XMLDocument& doc, Write&& write) {
  XmlTreeSink out(doc);
  write(out);
  return out.Root();
}

// Prints the elements through a printer as they come. Parts handed to Element are printed and
// freed at once. `flush` (when given) receives the text printed so far whenever an element
// closes with at least `flushBytes` of it, and may empty it.
class XmlPrintSink : public XmlSink {
 public:
  XmlPrintSink(XmlTextPrinter& printer, std::string& text, std::function<void(std::string&)> flush = {},
               size_t flushBytes = size_t(1) << 20);

  void Open(const char* name) override;
  void Attribute(const char* name, std::string_view value) override;
  void Text(std::string_view text) override;
  void Close() override;
  void Element(tinyxml2::XMLElement* element) override;
  tinyxml2::XMLDocument& Document() override { return scratch_; }

 private:
  XmlTextPrinter& printer_;
  std::string& text_;
  std::function<void(std::string&)> flush_;
  size_t flushBytes_;
  tinyxml2::XMLDocument scratch_{true, tinyxml2::PRESERVE_WHITESPACE};
  std::string value_;
};

}  // namespace vornel
