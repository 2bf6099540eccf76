#pragma once
// Builds the element tree of a MusicXML file from the parser's callbacks, creating every
// element through the element factory.

#include <cstdio>
#include <deque>
#include <string>

#include "musicxml/reader/TXMLFile.h"
#include "musicxml/reader/reader.h"

namespace vornel::MusicXML2 {

class xmlreader : public reader {
 public:
  // Deeper nesting is refused: the tree stays shallow enough for any walk.
  static constexpr size_t kMaxDepth = 256;

  xmlreader() = default;
  ~xmlreader() override;

  // The parsed file, or a null handle after the first error, whose message line went to the
  // standard error stream.
  STXMLFile readFile(const char* path);
  STXMLFile readStream(FILE* file);

  bool xmlDecl(const char* version, const char* encoding, int standalone) override;
  bool docType(const char* start, bool isPublic, const char* publicLiteral, const char* systemLiteral) override;
  void newComment(const char* text) override;
  void newProcessingInstruction(const char* text) override;
  bool newElement(const char* name) override;
  bool newAttribute(const char* name, const char* value) override;
  void setValue(const char* value) override;
  bool endElement(const char* name) override;
  void error(const char* message, int line) override;
  // The message of the last error ("... on line N"), as it went to the standard error stream.
  const std::string& lastError() const { return lastError_; }

  void popElement();

 private:
  void start();
  // Appends a comment or processing instruction to the innermost open element; one that stands
  // outside the root element has no place in the tree and is dropped.
  Sxmlelement addLeaf(const char* name, const char* text);

  std::deque<Sxmlelement> elements_;
  // The comment element the last callback made: the scanner hands a comment over in pieces
  // (one per dash), which all go into that one element.
  Sxmlelement openComment_;
  STXMLFile file_;
  std::string refusal_;  // replaces the parser's message for a refusal of our own
  std::string lastError_;
};

}  // namespace vornel::MusicXML2
