#include "platform/xml/XMLWriter.h"

#include <algorithm>
#include <cstdarg>
#include <string>

#include "platform/io/FileIO.h"
#include "platform/text/AsciiCase.h"
#include "platform/text/FormatText.h"
#include "platform/xml/XmlControls.h"

namespace vornel {

namespace {

XMLWriter::BundlePacker& Packer() {
  static XMLWriter::BundlePacker packer;
  return packer;
}

}  // namespace

XMLWriter::XMLWriter() : tinyxml2::XMLDocument(true, tinyxml2::PRESERVE_WHITESPACE) {}

void XMLWriter::SetFileName(const std::string& path, bool addDeclaration) {
  path_ = path;
  declaration_ = addDeclaration;
  if (addDeclaration) InsertEndChild(NewDeclaration("xml version=\"1.0\" encoding=\"UTF-8\""));
}

std::string XMLWriter::GetXmlPathName() const { return ReplaceFinalExtension(path_, ".btb", ".btxml"); }

XmlTextPrinter::XmlTextPrinter(std::string& out, int depth, bool compact)
    : tinyxml2::XMLPrinter(nullptr, compact, depth), out_(out) {}

void XmlTextPrinter::PrintText(const char* text) {
  const std::string_view value(text);
  const bool blank = !value.empty() && value.find_first_not_of(" \t\n\r") == std::string_view::npos;
  if (!blank) {
    PushText(text);
    return;
  }
  PushText("");  // places the text after its element's start
  out_.append("&#" + std::to_string(static_cast<int>(value.front())) + ";");
  Write(value.data() + 1, value.size() - 1);
}

bool XmlTextPrinter::Visit(const tinyxml2::XMLText& text) {
  if (text.CData()) return tinyxml2::XMLPrinter::Visit(text);
  PrintText(text.Value());
  return true;
}

void XmlTextPrinter::Write(const char* data, size_t size) {
  // Texts and attribute values reach here between their escaped entities. A carriage return
  // written as it is would come back from any XML reader as a line feed: it is written as a
  // character reference instead. The controls XML cannot hold take their written forms.
  // Names and markup never hold either.
  std::string encoded;
  std::string_view text(data, size);
  if (NeedsXmlControlForms(text)) {
    encoded = EncodeXmlControls(text);
    text = encoded;
  }
  size_t start = 0;
  for (size_t cr = text.find('\r'); cr != std::string_view::npos; cr = text.find('\r', start)) {
    out_.append(text.substr(start, cr - start));
    out_.append("&#13;");
    start = cr + 1;
  }
  out_.append(text.substr(start));
}

void XmlTextPrinter::Putc(char ch) { out_.push_back(ch); }

void XmlTextPrinter::Print(const char* format, ...) {
  va_list args;
  va_start(args, format);
  AppendFormatV(out_, format, args);
  va_end(args);
}

std::string XMLWriter::ToXmlText() const {
  std::string text;
  XmlTextPrinter printer(text);
  Print(&printer);
  return text;
}

bool XMLWriter::SaveToFile(bool pack) {
  if (!pack) return WriteFileAtomically(path_, ToXmlText());
  if (!Packer()) return false;
  const std::string bundle = Packer()(path_, ToXmlText());
  if (bundle.empty()) return false;
  path_ = bundle;
  packed_ = true;
  return true;
}

void XMLWriter::SetBundlePacker(BundlePacker packer) { Packer() = std::move(packer); }

std::string ReplaceFinalExtension(const std::string& path, const std::string& from, const std::string& to) {
  if (!EndsWithNoCase(path, from)) return path;
  return path.substr(0, path.size() - from.size()) + to;
}

}  // namespace vornel
