#pragma once
// The XML document every XML file of the system is written through: a tinyxml2 document that
// knows its file, whether it carries the XML declaration, and the XML version numbers.

#include <tinyxml2.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace vornel {

class XMLWriter : public tinyxml2::XMLDocument {
 public:
  XMLWriter();

  // Stores the path and, when `addDeclaration` is set, appends the declaration
  // xml version="1.0" encoding="UTF-8" to the tree.
  void SetFileName(const std::string& path, bool addDeclaration);
  const std::string& GetFileName() const { return path_; }
  void SetPath(const std::string& path) { path_ = path; }
  bool HasDeclarationFlag() const { return declaration_; }
  void ClearFlags() { declaration_ = false; packed_ = false; }

  // The path under which a binary document is saved as XML: a final ".btb" becomes ".btxml".
  std::string GetXmlPathName() const;

  uint16_t versionMajor = 0;
  uint16_t versionMinor = 0;

  // The tree as text, as it is saved.
  std::string ToXmlText() const;

  // Saves the tree to the path through a temporary file. With `pack`, the tree goes instead
  // into a bundle of the same folder and name with the extension ".btz", and the path becomes
  // the bundle's; no XML file is written beside the bundle. False when anything fails; the old
  // files stay.
  bool SaveToFile(bool pack);

  // Writes XML text into the bundle that belongs beside `xmlPath`, under the XML file's name;
  // installed by the document library, which owns the zip writer. Returns the bundle's path,
  // or empty on failure.
  using BundlePacker = std::function<std::string(const std::string& xmlPath, std::string_view text)>;
  static void SetBundlePacker(BundlePacker packer);

 private:
  std::string path_;
  bool declaration_ = false;
  bool packed_ = false;
};

// Prints XML straight into a string, as the files are written (indented, entities escaped,
// the controls XML cannot hold in their written forms: XmlControls.h).
// A document can be printed a part at a time, each part built and freed in turn: the printer
// keeps the nesting between the calls of VisitEnter and VisitExit.
class XmlTextPrinter : public tinyxml2::XMLPrinter {
 public:
  // `depth` is the nesting level the first element is indented to; `compact` is the base
  // printer's compact mode.
  explicit XmlTextPrinter(std::string& out, int depth = 0, bool compact = false);

  // A text node. One made only of blanks starts with a character reference, since a reader
  // drops blank text between tags; a carriage return anywhere is written as a reference.
  void PrintText(const char* text);
  bool Visit(const tinyxml2::XMLText& text) override;
  using tinyxml2::XMLPrinter::Visit;

 protected:
  void Write(const char* data, size_t size) override;
  void Putc(char ch) override;
  void Print(const char* format, ...) override;

 private:
  std::string& out_;
};

// Replaces a final `from` extension (compared without regard to case) by `to`; other paths
// are returned unchanged. Folder names that contain the extension are never touched.
std::string ReplaceFinalExtension(const std::string& path, const std::string& from, const std::string& to);

}  // namespace vornel
