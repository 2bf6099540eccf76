#include "view/settings/PageSettingsDialogs.h"

#include <cmath>
#include <stdexcept>

#include "document/CBriotabDoc.h"
#include "model/score/SectionEditor.h"
#include "platform/UserPrompts.h"
#include "platform/text/FieldRanges.h"
#include "platform/text/NumberText.h"
#include "view/draw/FontChooser.h"
#include "view/draw/FontDrawing.h"

namespace vornel {

namespace {

constexpr std::string_view kBrailleColumnsKey = "BrailleLines";  // crossed, as stored profiles have it
constexpr std::string_view kBrailleLinesKey = "BrailleColumns";
constexpr std::string_view kSmallFontKey = "SmallFont";

std::optional<int32_t> ReadInt(const PageSettingsProfile& profile, std::string_view key) {
  if (!profile.read) return std::nullopt;
  const std::optional<std::string> text = profile.read(key);
  uint32_t value = 0;
  if (!text || !ScanInt(*text, value)) return std::nullopt;
  return static_cast<int32_t>(value);
}

void Write(const PageSettingsProfile& profile, std::string_view key, std::string_view value) {
  if (profile.write) profile.write(key, value);
}

}  // namespace

void PageSettingsFields::Load(const CPageDlg& page, const PageSettingsProfile& profile) {
  systemsPerPage = static_cast<int>(page.systemsPerPage);
  blanksBetweenSections = page.blanksBetweenSections;
  cursorWidth = static_cast<int>(page.cursorWidth);
  tablineThickness = page.tablineThickness;
  stafflineColor = page.stafflineColor;
  barlineColor = page.barlineColor;
  brailleColumns = ReadInt(profile, kBrailleColumnsKey).value_or(page.brailleColumns);
  brailleLines = ReadInt(profile, kBrailleLinesKey).value_or(page.brailleLines);
  brailleOrientation = page.brailleOrientation;
  pageText = page.pageText;
  pageNumberAlignment = page.pageNumberAlignment;
  noPageNumbers = page.noPageNumbers != 0;
  pageOffset = page.pageOffset;
  skipFirstPageNumber = page.skipFirstPageNumber != 0;
  barNumberFlag = page.barNumberFlag != 0;
  barNumberHeight = page.barNumberHeight;
  outlineBarNumbers = page.outlineBarNumbers != 0;
  topMargin = static_cast<int>(page.topMargin);
  leftMargin = static_cast<int>(page.leftMargin);
  rightMargin = static_cast<int>(page.rightMargin);
  bottomMargin = static_cast<int>(page.bottomMargin);
  landscape = page.landscape != 0;
  paperFormat = page.paperFormat;
  printAllSections = page.printAllSections != 0;
  newPageOnSection = page.newPageOnSection != 0;
  printFacsimiles = page.printFacsimiles != 0;
  skipTitles = page.skipTitles != 0;
  alternateMargins = page.alternateMargins != 0;
  proportionalSpacing = page.proportionalSpacing != 0;
  verticalJustification = page.verticalJustification != 0;
  closedSystems = page.closedSystems != 0;
  centerLyrics = page.centerLyrics != 0;
  printComments = page.printComments != 0;
  commentsAtEnd = page.commentsAtEnd != 0;
}

std::string PageSettingsFields::Validate() const {
  return CheckFieldRanges({{"Horizontal cursor", cursorWidth, 15, 300},
                           {"Top", topMargin, 0, 750},
                           {"Left", leftMargin, 0, 500},
                           {"Right", rightMargin, 0, 500},
                           {"Systems per page:", systemsPerPage, 1, 15},
                           {"Columns", brailleColumns, 20, 120},
                           {"Lines", brailleLines, 12, 50},
                           {"Blanks between sections", blanksBetweenSections, 0, 4},
                           {"Tab lines thickness:", tablineThickness, 1, 5},
                           {"Alignment:", pageNumberAlignment, 0, 7},
                           {"Bottom", bottomMargin, 0, 500},
                           {"Bar number height: ", barNumberHeight, 0, 7}});
}

bool PageSettingsFields::Store(CPageDlg& page, const PageSettingsProfile& profile) const {
  const std::string message = Validate();
  if (!message.empty()) {
    Prompts().ShowMessage(message, MessageKind::kWarning);
    return false;
  }
  page.cursorWidth = static_cast<uint32_t>(cursorWidth);
  page.topMargin = static_cast<uint32_t>(topMargin);
  page.leftMargin = static_cast<uint32_t>(leftMargin);
  page.rightMargin = static_cast<uint32_t>(rightMargin);
  page.systemsPerPage = static_cast<uint32_t>(systemsPerPage);
  page.verticalJustification = verticalJustification;
  page.brailleColumns = brailleColumns;
  page.brailleLines = brailleLines;
  page.brailleOrientation = brailleOrientation;
  page.printAllSections = printAllSections;
  page.alternateMargins = alternateMargins;
  page.newPageOnSection = newPageOnSection;
  page.blanksBetweenSections = blanksBetweenSections;
  page.tablineThickness = tablineThickness;
  page.closedSystems = closedSystems;
  page.skipTitles = skipTitles;
  page.pageText = pageText;
  page.pageNumberAlignment = pageNumberAlignment;
  page.pageOffset = pageOffset;
  page.noPageNumbers = noPageNumbers;
  page.barNumberFlag = barNumberFlag;
  page.outlineBarNumbers = outlineBarNumbers;
  page.bottomMargin = static_cast<uint32_t>(bottomMargin);
  page.printFacsimiles = printFacsimiles;
  page.skipFirstPageNumber = skipFirstPageNumber;
  page.printComments = printComments;
  page.barNumberHeight = barNumberHeight;
  page.commentsAtEnd = commentsAtEnd;
  page.centerLyrics = centerLyrics;
  page.stafflineColor = stafflineColor;
  page.barlineColor = barlineColor;
  page.landscape = landscape;
  page.paperFormat = paperFormat;
  page.proportionalSpacing = proportionalSpacing;
  page.proportionalSpacingDialog = 0;
  page.pageNumberText.font = page.DocumentFont(kFontPageNumbers);
  Write(profile, kBrailleColumnsKey, FormatInt(brailleColumns));
  Write(profile, kBrailleLinesKey, FormatInt(brailleLines));
  return true;
}

void PageSettingsFields::TakePaper(double widthMm, double heightMm, bool landscapeOrientation) {
  landscape = landscapeOrientation;
  const auto near = [](double mm, int32_t tenths) { return std::fabs(mm * 10.0 - tenths) <= 20.0; };
  for (const CPageDlg::PaperSize& paper : CPageDlg::kPapers) {
    if ((near(widthMm, paper.width) && near(heightMm, paper.height)) ||
        (near(widthMm, paper.height) && near(heightMm, paper.width))) {
      paperFormat = paper.code;
      return;
    }
  }
}

bool ChooseDocumentFont(CPageDlg& page, size_t index, const PageSettingsProfile& profile) {
  if (index >= kDocumentFontCount) throw std::invalid_argument("no such document font");
  dfLogFont chosen = page.DocumentFont(index);
  if (!ChooseFont(chosen)) return false;
  page.DocumentFont(index) = chosen;
  if (index == kFontSmall) Write(profile, kSmallFontKey, chosen.logFont.lfFaceName);
  if (index == kFontPageNumbers) page.pageNumberText.font = chosen;
  return true;
}

bool EditPageNumberText(CPageDlg& page, std::string& pageText) {
  page.pageNumberText.text = pageText;
  if (!SectionEditors().EditTrackText(page.pageNumberText)) return false;
  pageText = page.pageNumberText.text;
  return true;
}

bool ChooseDocumentTabFont(CBriotabDoc* doc) {
  if (doc == nullptr) {
    Prompts().Beep(BeepKind::kExclamation);
    return false;
  }
  if (!ChooseDocumentFont(doc->settings.pageSettings, kFontSignatures)) return false;
  doc->NotifyChanged(kHintRepaintAll);
  return true;
}

void DocumentFontsFields::Refresh(const CPageDlg& page) {
  for (size_t i = 0; i < kDocumentFontCount; ++i) descriptions[i] = page.DocumentFont(i).GetDescription();
}

bool DocumentFontsFields::RunTheme(CPageDlg& page, int index) {
  if (index < 0 || index >= static_cast<int>(kThemes.size())) return false;
  theme = index;
  const std::string serif = index != 0 ? "Linux Libertine" : "Times New Roman";
  const std::string sans = index != 0 ? "Linux Biolinum" : "Arial";
  dfLogFont probe;
  probe.InitFont(serif, 120, 0);
  if (!CheckInstalled(probe) &&
      Prompts().Ask("This font is not installed on your system. Do you still want to continue?", Buttons::kOkCancel,
                    MessageKind::kQuestion) != Answer::kOk) {
    return false;
  }
  if (Prompts().Ask("This will replace the current fonts with the " + serif + " serif font and " + sans +
                        " sans serif font.\nYou will not be able to Cancel after this operation. Do you want to "
                        "continue?",
                    Buttons::kOkCancel, MessageKind::kQuestion) != Answer::kOk) {
    return false;
  }
  ApplyFontTheme(page, index);
  Refresh(page);
  return true;
}

void ApplyFontTheme(CPageDlg& page, int flag) {
  const std::string serif = flag != 0 ? "Linux Libertine" : "Times New Roman";
  const std::string sans = flag != 0 ? "Linux Biolinum" : "Arial";
  struct Entry {
    size_t index;
    bool serif;
    int32_t size;
    int32_t weight;
  };
  static constexpr Entry kEntries[] = {{kFontTitles, true, 180, 400},     {kFontAuthor, true, 100, 400},
                                       {kFontComments, false, 80, 400},   {kFontLyrics, true, 90, 400},
                                       {kFontCaptions, false, 100, 600},  {kFontBarNumbers, false, 80, 700},
                                       {kFontFootnotes, true, 90, 400},   {kFontPageNumbers, false, 90, 400},
                                       {kFontMidiEvents, false, 80, 300}, {kFontEndText, false, 100, 400},
                                       {kFontChordNames, false, 120, 700}};
  for (const Entry& e : kEntries) {
    dfLogFont& font = page.DocumentFont(e.index);
    font.InitFont(e.serif ? serif : sans, e.size, 0);
    font.logFont.lfWeight = e.weight;
    font.logFont.lfItalic = 0;
  }
}

}  // namespace vornel
