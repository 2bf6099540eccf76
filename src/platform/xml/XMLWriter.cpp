#include "platform/xml/XMLWriter.h"

#include <algorithm>
#include <cctype>

#include "platform/io/FileIO.h"

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

std::string XMLWriter::ToXmlText() const {
  tinyxml2::XMLPrinter printer;
  Print(&printer);
  return std::string(printer.CStr(), static_cast<size_t>(std::max(0, printer.CStrSize() - 1)));
}

bool XMLWriter::SaveToFile(bool pack) {
  if (!WriteFileAtomically(path_, ToXmlText())) return false;
  if (!pack) return true;
  if (!Packer()) return false;
  const std::string bundle = Packer()(path_);
  if (bundle.empty()) return false;
  path_ = bundle;
  packed_ = true;
  return true;
}

void XMLWriter::SetBundlePacker(BundlePacker packer) { Packer() = std::move(packer); }

std::string ReplaceFinalExtension(const std::string& path, const std::string& from, const std::string& to) {
  if (path.size() < from.size()) return path;
  const size_t start = path.size() - from.size();
  for (size_t i = 0; i < from.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(path[start + i])) != std::tolower(static_cast<unsigned char>(from[i]))) {
      return path;
    }
  }
  return path.substr(0, start) + to;
}

}  // namespace vornel
