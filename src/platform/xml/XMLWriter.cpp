#include "platform/xml/XMLWriter.h"

#include <algorithm>
#include <cstdarg>

#include "platform/io/FileIO.h"
#include "platform/text/AsciiCase.h"
#include "platform/text/FormatText.h"

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

void XmlTextPrinter::Write(const char* data, size_t size) { out_.append(data, size); }

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
