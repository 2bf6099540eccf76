#pragma once
// Walks the document's XML tree and writes the MusicXML file around the parts: the
// declaration and document type, the header (titles, identification, defaults, credits) from
// "document-settings", and, for the "section" whose "index" is the one asked for, the credits,
// the part list and one part per staff of every instrument, which the staff printer writes.
// Every staff of an instrument walks its first voice, except where its staves are all of
// notation and as many as its voices with notes (a keyboard part): then staff j walks the
// j-th of those voices.
// The tree walked need not hold the section's systems: each voice a part walks is built from
// the section itself when the part comes to it, one system at a time, and freed after.

#include <tinyxml2.h>

#include <string>

#include "layout/export/CMusicXMLChordPrinter.h"
#include "layout/export/MusicXmlExport.h"
#include "layout/export/MusicXmlPrinterBase.h"

namespace vornel {
class CSystemArray;
}

namespace vornel::musicxml_export {

class CMusicXMLPrinter : public MusicXmlPrinterBase {
 public:
  static constexpr const char* kSoftware = "Kelpo Version 1.0.0";
  static constexpr const char* kDocumentType =
      "DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 2.0 Partwise//EN\" "
      "\"http://www.musicxml.org/dtds/partwise.dtd\"";

  // `sectionModel` is the section whose "index" is `section`: the source of its voices.
  CMusicXMLPrinter(std::string& out, int section, const CSystemArray& sectionModel, const ExportDate& date);

  // True once the requested section was written (and "score-partwise" closed).
  bool SectionWritten() const { return sectionWritten_; }

  bool VisitEnter(const tinyxml2::XMLElement& element, const tinyxml2::XMLAttribute* attribute) override;
  bool VisitExit(const tinyxml2::XMLElement& element) override;
  bool Visit(const tinyxml2::XMLDeclaration& declaration) override;
  // Texts, comments and unknown nodes between the elements walked are not copied.
  bool Visit(const tinyxml2::XMLText&) override { return true; }
  bool Visit(const tinyxml2::XMLComment&) override { return true; }
  bool Visit(const tinyxml2::XMLUnknown&) override { return true; }

 private:
  bool WriteHeader(const tinyxml2::XMLElement& settings);
  void WriteSection(const tinyxml2::XMLElement& section);
  const tinyxml2::XMLElement* WriteScorePart(const tinyxml2::XMLElement& definition, int instrument);
  void WriteCredits(const tinyxml2::XMLElement* firstText);
  // The part of one staff, walking voice `voice` (by its place in the instrument's line).
  void WritePart(const tinyxml2::XMLElement* sectionSettings, const tinyxml2::XMLElement* definition, int instrument,
                 int staff, int voice);
  // One "credit" of "credit-words"; nothing when every text is empty.
  struct CreditWords {
    std::string text;
    const char* x;
    const char* y;
    const char* size;
    const char* halign;
    const char* justify;
  };
  void WriteCredit(const CreditWords* words, size_t count);

  int section_;
  const CSystemArray& sectionModel_;
  ExportDate date_;
  std::string& out_;
  bool sectionWritten_ = false;
};

}  // namespace vornel::musicxml_export
