#pragma once
// Everything about a document that is not score: the metadata texts (title, author, source,
// transcriber, copyright, comments and the system titles), the associations of the document
// with other files (an image, its PDF and HTML renditions, a zip package), the page settings,
// the MIDI export settings and the title page. Stored inside the binary document as one
// record and inside the XML document as "document-settings". The dialog that edits it
// belongs to the window layer.

#include <tinyxml2.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "document/CMIDIExportDlg.h"
#include "document/CPageDlg.h"
#include "document/CTitlePage.h"
#include "model/text/CTextStack.h"

namespace vornel {

class ArchiveReader;
class ArchiveWriter;

class CDocumentSettings {
 public:
  // The metadata texts, in the order of the text stack.
  enum TextIndex : size_t {
    kTitle = 0,
    kAuthor = 1,
    kSource = 2,
    kTranscriber = 3,
    kCopyright = 4,
    kComments = 5,
    kSystemTitles = 6,
    kTextCount = 7,
  };
  // The binary record holds every text but the system titles.
  static constexpr size_t kStoredTextCount = 6;
  static constexpr std::array<std::string_view, kTextCount> kTextDescriptors = {
      "document-title",     "document-author",    "document-source", "document-transcriber",
      "document-copyright", "document-comments", "system-titles"};
  // Association types.
  static constexpr std::string_view kImagesPath = "images-path";
  static constexpr std::string_view kPdfRendition = "pdf-rendition";
  static constexpr std::string_view kHtmlTable = "html-table";
  static constexpr std::string_view kZipBundle = "zip-bundle";
  // Bits of `bundleOptions`.
  static constexpr int32_t kBundleFacsimiles = 0x1;
  static constexpr int32_t kBundleMidiFiles = 0x2;
  static constexpr int32_t kBundleGenerateMidi = 0x4;

  // The edit values of the "Document information" dialog, in this order: author, title,
  // source, transcriber, copyright, comments and the one shown in a static field.
  enum EditIndex : size_t { kEditAuthor, kEditTitle, kEditSource, kEditTranscriber, kEditCopyright, kEditComments,
                            kEditStatic, kEditCount };

  // Type -> full file path. Kept sorted, so the XML form lists them in a stable order.
  std::map<std::string, std::string> associations;
  CTitlePage titlePage;
  CMIDIExportDlg midiExport;
  std::array<std::string, kEditCount> editTexts;
  CTextStack texts;  // the seven metadata texts
  int32_t bundleOptions = 0;
  CPageDlg pageSettings;
  // The paper's width in tenths of a millimetre divided by the column width: the chord
  // columns that fit across a page (at least 1).
  int32_t GetCursorStepsPerPage() const;
  int32_t linearMode = 0;  // the linear display mode; cleared when the active section changes

  CDocumentSettings();

  CTrackText& Text(TextIndex index) const { return *texts.at(index); }
  // The association's path; empty when there is none.
  std::string Association(std::string_view type) const;

  // The binary record: six metadata texts, page settings, MIDI export settings, title page
  // and the paths of "images-path", "pdf-rendition" and "html-table".
  void Store(ArchiveWriter& ar) const;
  // The association texts only as far as the reading version holds them: "images-path"
  // above "6.57", the other two from "9.27".
  void Load(ArchiveReader& ar);
  // What the binary record has no place for and this object holds, in plain words ("the
  // system titles", "the \"zip-bundle\" association", "the \"Small font\" font"): a binary
  // document of it comes back without them.
  std::vector<std::string> BinaryRecordLosses() const;

  // "document-settings" with "identity", "layout", "preliminaries", "associations" and
  // "metadata-fonts"; the document appends the active section's fonts.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc);
  // The short "document-settings" of the per-document index: "identity" with the metadata
  // texts, the title page's short "preliminaries", then "associations".
  tinyxml2::XMLElement* WriteMetadataXml(tinyxml2::XMLDocument& doc) const;
  // Reads "document-settings" and returns the element after it. A misplaced "identity" or
  // "associations" raises the tag mismatch after its message.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

  // "associations" with "count" and one "association" per entry: the file name as text,
  // the type and the folder ("root-path") as attributes.
  tinyxml2::XMLElement* WriteAssociationsXml(tinyxml2::XMLDocument& doc) const;
  // Sets the entries of an "associations" element (a missing or zero count reads three);
  // returns the element after it.
  const tinyxml2::XMLElement* ReadAssociationsXml(const tinyxml2::XMLElement* element);

  // Empties the edit texts, the metadata texts and the title-page texts, and leaves linear
  // mode.
  void ClearTexts();
  // Takes the fonts of the metadata and title-page texts, the title page's layout options and
  // the page settings from `other` (applying a template).
  void CopyFormatFrom(const CDocumentSettings& other);

 private:
  // "identity" with the metadata texts ("track-texts" targeted at "meta-data").
  tinyxml2::XMLElement* WriteIdentityXml(tinyxml2::XMLDocument& doc) const;
};

}  // namespace vornel
