#include "musicxml/reader/xmlreader.h"

#include <cstdio>
#include <memory>

#include "musicxml/factory/factory.h"
#include "musicxml/reader/Entities.h"

namespace vornel::MusicXML2 {

xmlreader::~xmlreader() {
  file_ = nullptr;
  while (!elements_.empty()) popElement();
}

void xmlreader::start() {
  file_ = TXMLFile::create();
  refusal_.clear();
  lastError_.clear();
  openComment_ = nullptr;
  // Elements left open by a failed read must not receive the next file's elements.
  while (!elements_.empty()) popElement();
}

STXMLFile xmlreader::readFile(const char* path) {
  start();
  return readfile(path, this) ? file_ : STXMLFile();
}

STXMLFile xmlreader::readStream(FILE* file) {
  start();
  return readstream(file, this) ? file_ : STXMLFile();
}

bool xmlreader::xmlDecl(const char* version, const char* encoding, int standalone) {
  openComment_ = nullptr;
  file_->setXMLDecl(std::make_unique<TXMLDecl>(version, encoding, standalone));
  return true;
}

bool xmlreader::docType(const char* start, bool isPublic, const char* publicLiteral, const char* systemLiteral) {
  openComment_ = nullptr;
  file_->setDocType(std::make_unique<TDocType>(start, isPublic, publicLiteral, systemLiteral));
  return true;
}

Sxmlelement xmlreader::addLeaf(const char* name, const char* text) {
  openComment_ = nullptr;
  if (elements_.empty()) return nullptr;
  Sxmlelement leaf = factory::instance().create(name);
  leaf->setValue(text);
  elements_.back()->push(leaf);
  return leaf;
}

void xmlreader::newComment(const char* text) {
  // A comment of a thousand dashes is one element, not a thousand.
  if (openComment_) {
    openComment_->appendValue(text);
    return;
  }
  openComment_ = addLeaf("comment", text);
}

void xmlreader::newProcessingInstruction(const char* text) { addLeaf("pi", text); }

bool xmlreader::newElement(const char* name) {
  openComment_ = nullptr;
  if (elements_.size() >= kMaxDepth) {
    refusal_ = "elements nested deeper than 256 levels";
    return false;
  }
  Sxmlelement element = factory::instance().create(name);
  if (!element) {
    // A name of a later MusicXML version: kept as a plain element, so its children are read.
    element = xmlelement::create();
    element->setName(name);
  }
  if (!file_->getRoot()) {
    file_->setRoot(element);
  } else {
    elements_.back()->push(element);
  }
  elements_.push_back(element);
  return true;
}

bool xmlreader::newAttribute(const char* name, const char* value) {
  openComment_ = nullptr;
  Sxmlattribute attribute = xmlattribute::create();
  attribute->setName(name);
  attribute->setValue(DecodeEntities(value));
  elements_.back()->add(attribute);
  return true;
}

void xmlreader::setValue(const char* value) {
  openComment_ = nullptr;
  elements_.back()->setValue(DecodeEntities(value));
}

bool xmlreader::endElement(const char* name) {
  openComment_ = nullptr;
  if (elements_.empty()) return false;
  const Sxmlelement closed = elements_.back();
  popElement();
  return closed->getName() == name;
}

void xmlreader::popElement() {
  if (!elements_.empty()) elements_.pop_back();
}

void xmlreader::error(const char* message, int line) {
  lastError_ = (refusal_.empty() ? std::string(message) : refusal_) + " on line " + std::to_string(line);
  std::fprintf(stderr, "%s\n", lastError_.c_str());
}

}  // namespace vornel::MusicXML2
