#include "platform/xml/XmlSink.h"

#include <utility>

#include "platform/text/NumberText.h"

namespace vornel {

void XmlSink::Int(const char* name, int32_t value) {
  NumberBuffer buffer;
  Attribute(name, FormatInt(value, buffer));
}

void XmlSink::Unsigned(const char* name, uint32_t value) {
  NumberBuffer buffer;
  Attribute(name, FormatUnsigned(value, buffer));
}

void XmlSink::Real(const char* name, double value) {
  NumberBuffer buffer;
  Attribute(name, FormatReal(value, buffer));
}

// ---------------------------------------------------------------------------------------------

void XmlTreeSink::Open(const char* name) {
  tinyxml2::XMLElement* element = doc_.NewElement(name);
  if (open_.empty()) {
    if (root_ == nullptr) root_ = element;
  } else {
    open_.back()->InsertEndChild(element);
  }
  open_.push_back(element);
}

void XmlTreeSink::Attribute(const char* name, std::string_view value) {
  value_.assign(value);
  open_.back()->SetAttribute(name, value_.c_str());
}

void XmlTreeSink::Text(std::string_view text) {
  if (text.empty()) return;
  value_.assign(text);
  open_.back()->SetText(value_.c_str());
}

void XmlTreeSink::Close() { open_.pop_back(); }

void XmlTreeSink::Element(tinyxml2::XMLElement* element) {
  if (open_.empty()) {
    if (root_ == nullptr) root_ = element;
    return;
  }
  open_.back()->InsertEndChild(element);
}

// ---------------------------------------------------------------------------------------------

XmlPrintSink::XmlPrintSink(XmlTextPrinter& printer, std::string& text, std::function<void(std::string&)> flush,
                           size_t flushBytes)
    : printer_(printer), text_(text), flush_(std::move(flush)), flushBytes_(flushBytes) {}

void XmlPrintSink::Open(const char* name) { printer_.OpenElement(name); }

void XmlPrintSink::Attribute(const char* name, std::string_view value) {
  value_.assign(value);
  printer_.PushAttribute(name, value_.c_str());
}

void XmlPrintSink::Text(std::string_view text) {
  if (text.empty()) return;
  value_.assign(text);
  printer_.PrintText(value_.c_str());
}

void XmlPrintSink::Close() {
  printer_.CloseElement();
  if (flush_ && text_.size() >= flushBytes_) flush_(text_);
}

void XmlPrintSink::Element(tinyxml2::XMLElement* element) {
  element->Accept(&printer_);
  scratch_.DeleteNode(element);
  if (flush_ && text_.size() >= flushBytes_) flush_(text_);
}

}  // namespace vornel
