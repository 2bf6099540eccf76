#pragma once
// The preliminary pages printed before the music: the title page (title, author, publisher
// and contents-header texts, a formatted RTF title, a picture and a frame), the preface, the
// table of contents and the facsimile pages. Written inside the XML document as
// "preliminaries" and inside the binary document as a record whose fields depend on the
// file's version.

#include <tinyxml2.h>

#include <cstdint>
#include <string_view>

#include "model/text/CFacsimileListDlg.h"
#include "model/text/CRTFPreface.h"
#include "model/text/CRTFTrackText.h"
#include "model/text/CTextStack.h"
#include "model/text/DIBornament.h"
#include "platform/draw/DrawTypes.h"
#include "model/text/dfLogFont.h"

namespace vornel {

class ArchiveReader;
class ArchiveWriter;

class CTitlePage {
 public:
  // The texts of the stack, in their fixed order.
  enum TextIndex : size_t { kTitle = 0, kAuthor = 1, kPublisher = 2, kContentsHeader = 3 };
  static constexpr std::string_view kContentsHeaderText = "Table of Contents";
  // Bit 4 of the print-contents word carries useRTF in the binary form; bit 4 of the
  // print-titlepage word leaves the document metadata off the title page.
  static constexpr int32_t kUseRtfBit = 16;
  static constexpr int32_t kExcludeMetadataBit = 16;

  int32_t pageNumbers = 0;       // the table of contents shows page numbers
  Point origin;            // of the last title-page drawing, device units
  Rect frameRect;          // not stored
  CFacsimileListDlg imageList;   // printed as facsimile pages after the preliminaries
  int32_t columns = 0;           // 1: the table of contents in two columns
  int32_t maxLines = 100;        // contents entries per page
  int32_t frameStyle = 0;        // 0 none, 1 rectangle, 2 double, 3 triple
  CTextStack texts;              // title, author, publisher, contents header
  dfLogFont titleFont;           // stored in the binary form only
  dfLogFont secondFont;          // not stored
  DIBornament picture;
  CRTFTrackText formattedTitle;
  CRTFPreface preface;
  CRTFPreface contentsRtf;       // generated; never stored
  int32_t dateStamp = 0;
  int32_t alternateMargins = 0;
  int32_t printContents = 0;     // bit 0: print the table of contents
  int32_t printTitlepage = 0;    // bit 0: print the title page
  int32_t sectionPosition = 0;
  int32_t useRtf = 0;            // the table of contents is built as RTF
  int32_t printPreface = 0;

  CTitlePage();
  CTitlePage(const CTitlePage&) = default;
  CTitlePage& operator=(const CTitlePage&) = default;
  CTitlePage(CTitlePage&&) = default;
  CTitlePage& operator=(CTitlePage&&) = default;

  CTrackText& Text(TextIndex index) { return *texts.at(index); }
  const CTrackText& Text(TextIndex index) const { return *texts.at(index); }

  // The "preliminaries" element.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // The short "preliminaries" of the per-document index: "title-elements" with the formatted
  // title as HTML (when it has text) and the picture, then "preface" (as HTML when it has
  // text) and the image list.
  tinyxml2::XMLElement* WriteMetadataXml(tinyxml2::XMLDocument& doc) const;
  // Reads a "preliminaries" element by position and returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

  // The binary record in its current form (useRTF travels in bit 4 of print-contents).
  void Store(ArchiveWriter& ar) const;
  void Load(ArchiveReader& ar);
};

}  // namespace vornel
