#pragma once
// The page settings of a document: margins, paper, pagination, section and format options,
// the braille paper, the sixteen document fonts and two positioned texts (the page number
// and the system name). Written inside the XML document as "layout" and inside the binary
// document as a record whose fields depend on the file's version. Lengths on paper are in
// tenths of a millimetre, font sizes in tenths of a point.

#include <tinyxml2.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "document/PageSequencing.h"
#include "model/text/CRTFPreface.h"
#include "model/text/CTrackText.h"
#include "model/text/FontStack.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

class ArchiveReader;
class ArchiveWriter;

// The document fonts, addressed by index everywhere.
enum DocumentFontIndex : size_t {
  kFontCaptions = 0,
  kFontLyrics = 1,
  kFontComments = 2,
  kFontTitles = 3,
  kFontSignatures = 4,
  kFontContinuo = 5,
  kFontAuthor = 6,
  kFontEndText = 7,
  kFontChordNames = 8,
  kFontMidiEvents = 9,
  kFontBarNumbers = 10,
  kFontFootnotes = 11,
  kFontPageNumbers = 12,
  kFontEndings = 13,
  kFontSmall = 14,
  kFontFingerings = 15,
};
inline constexpr size_t kDocumentFontCount = 16;

// The role of each document font, as its button in the fonts dialog names it.
inline constexpr std::array<std::string_view, kDocumentFontCount> kDocumentFontRoles = {
    "Captions",    "Lyrics",      "Comments",     "Titles",       "Signatures", "Continuo",
    "Author",      "End Text",    "Chord Names",  "MIDI Events",  "Bar numbers", "Footnotes",
    "Page numbers", "Endings",    "Small font",   "Fingerings"};

class CPageDlg {
 public:
  // Page-number placements (the alignment member).
  enum PageNumberAlignment : int32_t {
    kAlternateTop = 0,
    kAlternateBottom = 1,
    kBottomCenter = 2,
    kTopCenter = 3,
    kTopLeft = 4,
    kTopRight = 5,
    kBottomLeft = 6,
    kBottomRight = 7,
  };

  // Members in the order of the record's description.
  int32_t coloredSyntax = 1;         // colour mode: coloured notes and flags
  int32_t showMarginFrame = 1;       // screen only
  Rect pageFrameRect;          // computed by the page drawing
  CRTFPreface preface;               // the comments block printed with the preliminaries; not stored
  PageSequencing pageSequence;       // the printed document's pages; not stored
  int32_t zoom = 100;                // set by the view
  CTrackText systemNameText{"system-name"};
  Point screenOffset;          // where the page sits on screen
  Rect viewClientRect;         // set by the view
  Size screenDpi{96, 96};      // the screen the view last drew on; printing scales offsets from it; not stored
  FontStack fonts;                   // the sixteen document fonts
  Rect pageRect;               // the paper; written, never read
  uint32_t cursorWidth = 100;        // the chord column width at 100 %
  uint32_t topMargin = 250;
  uint32_t leftMargin = 150;
  uint32_t rightMargin = 100;
  uint32_t systemsPerPage = 8;
  int32_t verticalJustification = 1; // spread systems over the page height
  uint32_t extraSpacing = 0;
  int32_t brailleColumns = 32;
  int32_t brailleLines = 25;
  int32_t brailleOrientation = 0;    // 0 portrait, 1 landscape
  int32_t printAllSections = 0;
  int32_t alternateMargins = 0;
  int32_t newPageOnSection = 0;
  int32_t blanksBetweenSections = 1;
  int32_t tablineThickness = 2;      // twentieths of a millimetre: the staff-line thickness factor
  int32_t proportionalSpacingDialog = 0;  // the dialog's working copy
  int32_t closedSystems = 1;         // bracket the systems
  int32_t skipTitles = 0;
  std::string pageText;
  int32_t pageNumberAlignment = kBottomCenter;
  int32_t landscape = 0;
  int32_t pageOffset = 0;            // added to every printed page number
  int32_t noPageNumbers = 0;
  int32_t barNumberFlag = 0;         // "Print every 5th bar number"
  uint32_t bottomMargin = 150;
  int32_t printFacsimiles = 1;
  int32_t skipFirstPageNumber = 0;
  int32_t centerLyrics = 0;
  uint32_t stafflineColor = 0;       // 0x00BBGGRR
  uint32_t barlineColor = 0;
  CTrackText pageNumberText{"page-numbering"};  // holds the last page number drawn
  int32_t proportionalSpacing = 0;   // time-proportional layout; 0 = off
  int32_t keptProportionalSpacing = 1;  // what switching it on again restores; not stored
  Rect printableRect;          // computed by the page drawing
  int32_t paperFormat = 1;           // the printer's paper size code
  uint8_t coloredVoices = 0;
  int32_t printComments = 0;
  uint8_t placeHolder = 0;
  int32_t barNumberHeight = 0;       // 0 to 7
  int32_t commentsAtEnd = 0;
  int32_t outlineBarNumbers = 0;

  // Settings the score drawing reads that no file stores.
  int32_t namesIndent = 0;           // millimetres before the instrument names
  int32_t barWidth = 400;            // bar width of the time-proportional layout
  SizePair textScale{100, 100};      // percentages handed to texts and instruments
  int32_t screenMarkers = 1;         // show the screen markers
  int32_t greyInactiveVoices = 0;
  int32_t showMetaEventFrames = 0;
  int32_t footnoteCounter = 1;       // of the page being drawn
  std::string footnoteText;
  int32_t printEndTextPages = 0;     // each section's end text on a page of its own

  // Paper codes of the printer settings and their sizes in tenths of a millimetre (portrait).
  struct PaperSize {
    int32_t code;
    int32_t width;
    int32_t height;
  };
  static constexpr PaperSize kPapers[] = {
      {1, 2159, 2794},  // letter
      {5, 2159, 3556},  // legal
      {8, 2970, 4200},  // A3
      {9, 2100, 2970},  // A4
      {11, 1480, 2100}, // A5
  };
  static constexpr Size kA4{2100, 2970};

  CPageDlg();
  CPageDlg(const CPageDlg&) = default;
  CPageDlg& operator=(const CPageDlg&) = default;
  CPageDlg(CPageDlg&&) = default;
  CPageDlg& operator=(CPageDlg&&) = default;

  // The face of the small font of new page settings (the profile's choice).
  static void SetSmallFontFace(std::string_view face);
  static const std::string& SmallFontFace();

  // The names under which the drawing code reads some of the members.
  uint32_t ColumnWidth() const { return cursorWidth; }
  bool BracketSystems() const { return closedSystems != 0; }
  bool SpreadSystems() const { return verticalJustification != 0; }
  int32_t StaffLineThicknessFactor() const { return tablineThickness; }
  bool ColorMode() const { return coloredSyntax != 0; }
  bool TimeProportional() const { return proportionalSpacing != 0; }
  int32_t PrintableTop() const { return printableRect.top; }
  int32_t PrintableBottom() const { return printableRect.bottom; }
  // The paper in tenths of a millimetre: the size of the paper code (A4 for a code the
  // table lacks), turned in landscape.
  Size PaperSizeTenths() const;

  // A document font; an index outside the stack raises std::out_of_range.
  dfLogFont& DocumentFont(size_t index);
  const dfLogFont& DocumentFont(size_t index) const;

  // Copies the fonts and the stored options of `source`; center lyrics, outline bar numbers
  // and the two texts stay.
  void CopySettings(const CPageDlg& source);
  // Off stores 0 and keeps the value it had; on restores the kept value.
  void SetProportionalSpacing(bool on);

  // The "layout" element. The page-number text's font becomes document font 12 first.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc);
  // Reads a "layout" element (its children checked by position) and returns the element
  // after it. Missing attributes read 0, except that divisors stay at least 1.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

  // The binary record: every field in the current form, the page-number font in the
  // page-number text's record. The small and fingering fonts have no place in it.
  void Store(ArchiveWriter& ar) const;
  // Reads the fields the reading version holds; the others keep their values.
  void Load(ArchiveReader& ar);

 private:
  void KeepDivisorsPositive();
};

}  // namespace vornel
