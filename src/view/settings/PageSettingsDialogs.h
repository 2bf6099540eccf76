#pragma once
// The "Page settings" and "Document fonts" dialogs as plain structs with their checks and
// their exchange with a document's page settings (CPageDlg). The page settings take the
// dialog's fields only when every field passes, the profile keys included; the document
// fonts are changed in place by their buttons and by a theme, as the user confirms them.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "document/CPageDlg.h"

namespace vornel {

class CBriotabDoc;

// The profile keys the page settings read and write (section "SessionProfile"); either
// function may be empty.
struct PageSettingsProfile {
  std::function<std::optional<std::string>(std::string_view key)> read;
  std::function<void(std::string_view key, std::string_view value)> write;
};

struct PageSettingsFields {
  // The colour buttons' "Basic" entry.
  static constexpr uint32_t kBasicColour = 0xFF00FF;  // RGB(255, 0, 255)
  static constexpr std::array<std::string_view, 8> kAlignments = {
      "Alternate top", "Alternate bottom", "Bottom center", "Top center",
      "Top left",      "Top right",        "Bottom left",   "Bottom right"};

  int systemsPerPage = 8;
  int blanksBetweenSections = 1;
  int cursorWidth = 100;
  int tablineThickness = 2;
  uint32_t stafflineColor = 0;
  uint32_t barlineColor = 0;
  int brailleColumns = 32;
  int brailleLines = 25;
  int brailleOrientation = 0;
  std::string pageText;
  int pageNumberAlignment = CPageDlg::kBottomCenter;
  bool noPageNumbers = false;
  int pageOffset = 0;
  bool skipFirstPageNumber = false;
  bool barNumberFlag = false;
  int barNumberHeight = 0;
  bool outlineBarNumbers = false;
  int topMargin = 250;
  int leftMargin = 150;
  int rightMargin = 100;
  int bottomMargin = 150;
  bool landscape = false;
  int paperFormat = 1;
  bool printAllSections = false;
  bool newPageOnSection = false;
  bool printFacsimiles = true;
  bool skipTitles = false;
  bool alternateMargins = false;
  bool proportionalSpacing = false;
  bool verticalJustification = true;
  bool closedSystems = true;
  bool centerLyrics = false;
  bool printComments = false;
  bool commentsAtEnd = false;

  // From the settings; the braille paper from the profile, whose keys are crossed as stored
  // profiles have them: columns under "BrailleLines", lines under "BrailleColumns".
  void Load(const CPageDlg& page, const PageSettingsProfile& profile = {});
  // Empty when every field is in range, else the message of the first that is not.
  std::string Validate() const;
  // OK: false, with nothing stored anywhere, unless every field passes; then the settings and
  // the profile take them and the page-number text takes the page numbers' font.
  bool Store(CPageDlg& page, const PageSettingsProfile& profile = {}) const;
  // "Set page sizes and orientation": the printer's paper (millimetres, either way round)
  // as a stored paper code; a paper of another size leaves the code as it was.
  void TakePaper(double widthMm, double heightMm, bool landscapeOrientation);
};

// The font dialog on document font `index` of the settings; on OK the font is taken, the small
// font's face goes to the profile ("SmallFont") and the page numbers' font to the page-number
// text. False on Cancel with nothing changed. std::invalid_argument for an index outside the
// sixteen fonts.
bool ChooseDocumentFont(CPageDlg& page, size_t index, const PageSettingsProfile& profile = {});

// "Font" of the page numbering: the text settings dialog on the page-number text, starting
// from `pageText`; on OK `pageText` takes the edited text.
bool EditPageNumberText(CPageDlg& page, std::string& pageText);

// "Font" of the instrument sheet's tablature page: the font dialog on the document's font of
// time signatures (entry 4 of its fonts), taken at once, so the sheet's Cancel keeps it; the
// document is marked changed and repainted. No document: a warning beep and false.
bool ChooseDocumentTabFont(CBriotabDoc* doc);

// "Document fonts": the sixteen descriptions and the two themes.
struct DocumentFontsFields {
  static constexpr std::array<std::string_view, 2> kThemes = {"Times New Roman", "Linux Libertine"};

  std::array<std::string, kDocumentFontCount> descriptions;
  int theme = -1;

  void Refresh(const CPageDlg& page);
  // A theme picked in the list: asks when its serif face is not installed, then asks for
  // confirmation; the fonts change only after both. True when the theme was applied.
  bool RunTheme(CPageDlg& page, int index);
};

// Resets eleven of the document fonts to one serif and one sans-serif family (flag 0: "Times
// New Roman" and "Arial", else "Linux Libertine" and "Linux Biolinum").
void ApplyFontTheme(CPageDlg& page, int flag);

}  // namespace vornel
