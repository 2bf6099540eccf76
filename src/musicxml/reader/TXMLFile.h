#pragma once
// A parsed MusicXML file: its XML declaration, its document type and its root element.

#include <memory>
#include <string>

#include "musicxml/tree/smartable.h"
#include "musicxml/tree/xmlelement.h"

namespace vornel::MusicXML2 {

class TXMLDecl {
 public:
  TXMLDecl(std::string version, std::string encoding, int standalone)
      : version(std::move(version)), encoding(std::move(encoding)), standalone(standalone) {}
  virtual ~TXMLDecl() = default;

  std::string version;
  std::string encoding;  // empty when the declaration has none
  int standalone;        // 1 "yes", 0 "no", -1 absent
};

class TDocType {
 public:
  TDocType(std::string start, bool isPublic, std::string publicLiteral, std::string systemLiteral)
      : start(std::move(start)),
        isPublic(isPublic),
        publicLiteral(std::move(publicLiteral)),
        systemLiteral(std::move(systemLiteral)) {}
  virtual ~TDocType() = default;

  std::string start;  // the root name that follows DOCTYPE
  bool isPublic;
  std::string publicLiteral;  // empty for a SYSTEM identifier
  std::string systemLiteral;
};

class TXMLFile;
using STXMLFile = SMARTP<TXMLFile>;

class TXMLFile : public smartable {
 public:
  static STXMLFile create() { return new TXMLFile; }

  Sxmlelement getRoot() const { return root_; }
  void setRoot(const Sxmlelement& root) { root_ = root; }
  TXMLDecl* getXMLDecl() const { return declaration_.get(); }
  void setXMLDecl(std::unique_ptr<TXMLDecl> declaration) { declaration_ = std::move(declaration); }
  TDocType* getDocType() const { return docType_.get(); }
  void setDocType(std::unique_ptr<TDocType> docType) { docType_ = std::move(docType); }

 protected:
  TXMLFile() = default;

 private:
  std::unique_ptr<TXMLDecl> declaration_;
  std::unique_ptr<TDocType> docType_;
  Sxmlelement root_;
};

}  // namespace vornel::MusicXML2
