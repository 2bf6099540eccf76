#include "document/CPageDlg.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/draw/MulDiv.h"
#include "platform/xml/XmlHelpers.h"

namespace vornel {

namespace {

constexpr std::string_view kFaceArial = "Arial";
constexpr std::string_view kFaceVornelfg = "Vornelfg";
constexpr std::string_view kFaceTabDefault = "TabDefault";

std::string& SmallFontFaceSetting() {
  static std::string face = "Calibri";
  return face;
}

// The packed words of the binary record.
uint32_t PackBarNumberWord(int32_t flag, int32_t height, int32_t outline) {
  return (static_cast<uint32_t>(flag) & 0xF) | ((static_cast<uint32_t>(height) & 0xF) << 4) |
         (outline != 0 ? 0x100u : 0u);
}
uint32_t PackPrintCommentsWord(int32_t printComments, int32_t commentsAtEnd) {
  return (static_cast<uint32_t>(printComments) & 0xF) | (static_cast<uint32_t>(commentsAtEnd) << 4);
}
uint32_t PackClosedSystemsWord(int32_t closedSystems, int32_t centerLyrics) {
  return (static_cast<uint32_t>(closedSystems) & ~0x10u) | (centerLyrics != 0 ? 0x10u : 0u);
}

}  // namespace

CPageDlg::CPageDlg() {
  for (size_t i = 0; i < kDocumentFontCount; ++i) fonts.push_back(std::make_unique<dfLogFont>());
  dfLogFont& continuo = DocumentFont(kFontContinuo);
  continuo.InitFont(kFaceVornelfg, 140, 1);
  continuo.logFont.lfQuality = 1;
  continuo.logFont.lfPitchAndFamily = 1;
  dfLogFont& signatures = DocumentFont(kFontSignatures);
  signatures = continuo;
  signatures.logFont.lfWeight = 300;
  signatures.pointSize.cx = 160;
  DocumentFont(kFontBarNumbers).InitFont(kFaceArial, 90, 0);
  DocumentFont(kFontFootnotes).InitFont(kFaceArial, 80, 0);
  DocumentFont(kFontEndings).InitFont(kFaceArial, 80, 0);
  DocumentFont(kFontSmall).InitFont(SmallFontFace(), 80, 0);
  DocumentFont(kFontFingerings).InitFont(kFaceVornelfg, 80, 0);
  // The page-number text draws with document font 12 after every read and write; a new
  // document holds it so from the start, as the same document read back does.
  pageNumberText.font.InitFont(kFaceArial, 80, 0);
  pageNumberText.font = DocumentFont(kFontPageNumbers);
}

Size CPageDlg::PaperSizeTenths() const {
  Size size = kA4;
  for (const PaperSize& paper : kPapers) {
    if (paper.code == paperFormat) size = {paper.width, paper.height};
  }
  if (landscape != 0) std::swap(size.cx, size.cy);
  return size;
}

void CPageDlg::SetSmallFontFace(std::string_view face) { SmallFontFaceSetting() = std::string(face); }

const std::string& CPageDlg::SmallFontFace() { return SmallFontFaceSetting(); }

dfLogFont& CPageDlg::DocumentFont(size_t index) {
  dfLogFont* font = fonts.at(index);
  if (font == nullptr) throw std::out_of_range("document font missing");
  return *font;
}

const dfLogFont& CPageDlg::DocumentFont(size_t index) const { return const_cast<CPageDlg*>(this)->DocumentFont(index); }

void CPageDlg::CopySettings(const CPageDlg& source) {
  fonts.CopyFrom(source.fonts);
  cursorWidth = source.cursorWidth;
  topMargin = source.topMargin;
  leftMargin = source.leftMargin;
  rightMargin = source.rightMargin;
  systemsPerPage = source.systemsPerPage;
  verticalJustification = source.verticalJustification;
  extraSpacing = source.extraSpacing;
  brailleColumns = source.brailleColumns;
  brailleLines = source.brailleLines;
  brailleOrientation = source.brailleOrientation;
  printAllSections = source.printAllSections;
  alternateMargins = source.alternateMargins;
  newPageOnSection = source.newPageOnSection;
  blanksBetweenSections = source.blanksBetweenSections;
  tablineThickness = source.tablineThickness;
  proportionalSpacingDialog = source.proportionalSpacingDialog;
  closedSystems = source.closedSystems;
  skipTitles = source.skipTitles;
  pageText = source.pageText;
  pageNumberAlignment = source.pageNumberAlignment;
  landscape = source.landscape;
  pageOffset = source.pageOffset;
  noPageNumbers = source.noPageNumbers;
  barNumberFlag = source.barNumberFlag;
  bottomMargin = source.bottomMargin;
  printFacsimiles = source.printFacsimiles;
  skipFirstPageNumber = source.skipFirstPageNumber;
  coloredSyntax = source.coloredSyntax;
  showMarginFrame = source.showMarginFrame;
  proportionalSpacing = source.proportionalSpacing;
  paperFormat = source.paperFormat;
  coloredVoices = source.coloredVoices;
  printComments = source.printComments;
  placeHolder = source.placeHolder;
  barNumberHeight = source.barNumberHeight;
  commentsAtEnd = source.commentsAtEnd;
  stafflineColor = source.stafflineColor;
  barlineColor = source.barlineColor;
}

tinyxml2::XMLElement* CPageDlg::WriteXml(tinyxml2::XMLDocument& doc) {
  tinyxml2::XMLElement* layout = doc.NewElement("layout");

  tinyxml2::XMLElement* margins = doc.NewElement("margins");
  SetUnsignedAttribute(margins, "top", topMargin);
  SetUnsignedAttribute(margins, "left", leftMargin);
  SetUnsignedAttribute(margins, "bottom", bottomMargin);
  SetUnsignedAttribute(margins, "right", rightMargin);
  SetIntAttribute(margins, "alternate-margins", alternateMargins);
  SetIntAttribute(margins, "vertical-justification", verticalJustification);
  layout->InsertEndChild(margins);

  tinyxml2::XMLElement* printSetup = doc.NewElement("print-setup");
  SetIntAttribute(printSetup, "landscape", landscape);
  SetIntAttribute(printSetup, "paper-format", paperFormat);
  tinyxml2::XMLElement* printingArea = doc.NewElement("printing-area");
  SetIntAttribute(printingArea, "top", pageRect.top);
  SetIntAttribute(printingArea, "left", pageRect.left);
  SetIntAttribute(printingArea, "bottom", pageRect.bottom);
  SetIntAttribute(printingArea, "right", pageRect.right);
  printSetup->InsertEndChild(printingArea);
  layout->InsertEndChild(printSetup);

  tinyxml2::XMLElement* pagination = doc.NewElement("pagination");
  SetIntAttribute(pagination, "print-all-bar-numbers", barNumberFlag);
  SetIntAttribute(pagination, "alignment", pageNumberAlignment);
  SetTextAttribute(pagination, "page-text", pageText);
  SetIntAttribute(pagination, "number-height", barNumberHeight);
  SetIntAttribute(pagination, "skip-first-page", skipFirstPageNumber);
  SetUnsignedAttribute(pagination, "page-offset", static_cast<uint32_t>(pageOffset));
  SetIntAttribute(pagination, "no-page-numbers", noPageNumbers);
  layout->InsertEndChild(pagination);

  tinyxml2::XMLElement* sectionOptions = doc.NewElement("section-options");
  SetIntAttribute(sectionOptions, "print-all-sections", printAllSections);
  SetIntAttribute(sectionOptions, "new-page", newPageOnSection);
  SetIntAttribute(sectionOptions, "print-comments", printComments);
  SetIntAttribute(sectionOptions, "comments-at-end", commentsAtEnd);
  SetIntAttribute(sectionOptions, "print-facsimiles", printFacsimiles);
  SetIntAttribute(sectionOptions, "blanks-between-sections", blanksBetweenSections);
  SetIntAttribute(sectionOptions, "skip-titles", skipTitles);
  layout->InsertEndChild(sectionOptions);

  tinyxml2::XMLElement* format = doc.NewElement("format");
  SetUnsignedAttribute(format, "cursor-width", cursorWidth);
  SetIntAttribute(format, "proportional-spacing", proportionalSpacing);
  SetUnsignedAttribute(format, "manual-stave", systemsPerPage);
  SetUnsignedAttribute(format, "extra-spacing", extraSpacing);
  SetIntAttribute(format, "place-holder", placeHolder);
  SetIntAttribute(format, "colored-voices", coloredVoices);
  SetIntAttribute(format, "tabline-thickness", tablineThickness);
  SetIntAttribute(format, "closed-systems", closedSystems);
  SetIntAttribute(format, "center-lyrics", centerLyrics);
  SetIntAttribute(format, "colored-syntax", coloredSyntax);
  SetUnsignedAttribute(format, "staffline-color", stafflineColor);
  SetUnsignedAttribute(format, "barline-color", barlineColor);
  layout->InsertEndChild(format);

  pageNumberText.font = DocumentFont(kFontPageNumbers);
  layout->InsertEndChild(fonts.WriteXml(doc, "document-fonts"));

  tinyxml2::XMLElement* braille = doc.NewElement("braille-settings");
  SetIntAttribute(braille, "columns", brailleColumns);
  SetIntAttribute(braille, "lines", brailleLines);
  SetIntAttribute(braille, "orientation", brailleOrientation);
  layout->InsertEndChild(braille);

  layout->InsertEndChild(pageNumberText.WriteXml(doc));
  layout->InsertEndChild(systemNameText.WriteXml(doc));
  return layout;
}

const tinyxml2::XMLElement* CPageDlg::ReadXml(const tinyxml2::XMLElement* element) {
  const tinyxml2::XMLElement* layout = ExpectChildElement(element, "layout");
  const tinyxml2::XMLElement* margins = ExpectChildElement(layout->FirstChildElement(), "margins");
  const tinyxml2::XMLElement* printSetup = margins->NextSiblingElement();
  const tinyxml2::XMLElement* pagination = printSetup != nullptr ? printSetup->NextSiblingElement() : nullptr;
  const tinyxml2::XMLElement* sectionOptions =
      ExpectChildElement(pagination != nullptr ? pagination->NextSiblingElement() : nullptr, "section-options");
  const tinyxml2::XMLElement* format = ExpectChildElement(sectionOptions->NextSiblingElement(), "format");

  topMargin = ReadUnsignedAttribute(margins, "top");
  leftMargin = ReadUnsignedAttribute(margins, "left");
  bottomMargin = ReadUnsignedAttribute(margins, "bottom");
  rightMargin = ReadUnsignedAttribute(margins, "right");
  alternateMargins = ReadIntAttribute(margins, "alternate-margins");
  verticalJustification = ReadIntAttribute(margins, "vertical-justification");

  // The printing area is the paper of the last printer; it is not read back.
  landscape = ReadIntAttribute(printSetup, "landscape");
  paperFormat = ReadIntAttribute(printSetup, "paper-format");

  barNumberFlag = ReadIntAttribute(pagination, "print-all-bar-numbers");
  pageNumberAlignment = ReadIntAttribute(pagination, "alignment");
  pageText = ReadTextAttribute(pagination, "page-text");
  barNumberHeight = ReadIntAttribute(pagination, "number-height");
  skipFirstPageNumber = ReadIntAttribute(pagination, "skip-first-page");
  pageOffset = ReadIntAttribute(pagination, "page-offset");
  noPageNumbers = ReadBoolAttribute(pagination, "no-page-numbers") ? 1 : 0;

  printAllSections = ReadIntAttribute(sectionOptions, "print-all-sections");
  newPageOnSection = ReadIntAttribute(sectionOptions, "new-page");
  printComments = ReadIntAttribute(sectionOptions, "print-comments");
  commentsAtEnd = ReadIntAttribute(sectionOptions, "comments-at-end");
  printFacsimiles = ReadIntAttribute(sectionOptions, "print-facsimiles");
  blanksBetweenSections = ReadIntAttribute(sectionOptions, "blanks-between-sections");
  skipTitles = ReadIntAttribute(sectionOptions, "skip-titles");

  cursorWidth = ReadUnsignedAttribute(format, "cursor-width");
  proportionalSpacing = ReadIntAttribute(format, "proportional-spacing");
  systemsPerPage = ReadUnsignedAttribute(format, "manual-stave");
  extraSpacing = ReadUnsignedAttribute(format, "extra-spacing");
  placeHolder = ReadIntAttribute(format, "place-holder") != 0 ? 1 : 0;
  coloredVoices = ReadIntAttribute(format, "colored-voices") != 0 ? 1 : 0;
  tablineThickness = ReadIntAttribute(format, "tabline-thickness");
  closedSystems = ReadIntAttribute(format, "closed-systems");
  centerLyrics = ReadBoolAttribute(format, "center-lyrics") ? 1 : 0;
  coloredSyntax = ReadBoolAttribute(format, "colored-syntax") ? 1 : 0;
  stafflineColor = ReadUnsignedAttribute(format, "staffline-color");
  barlineColor = ReadUnsignedAttribute(format, "barline-color");

  const tinyxml2::XMLElement* fontStack = format->NextSiblingElement();
  const int32_t fontCount = ReadIntAttribute(fontStack, "count");
  const tinyxml2::XMLElement* braille = fonts.ReadXml(fontStack);
  // Files from before the fingering font hold fifteen fonts: fingerings take the small font.
  if (fontCount == 15) DocumentFont(kFontFingerings) = DocumentFont(kFontSmall);

  brailleColumns = ReadIntAttribute(braille, "columns");
  brailleLines = ReadIntAttribute(braille, "lines");
  brailleOrientation = ReadIntAttribute(braille, "orientation");

  const tinyxml2::XMLElement* pageNumber =
      ExpectChildElement(braille != nullptr ? braille->NextSiblingElement() : nullptr, "track-text");
  systemNameText.ReadXml(pageNumberText.ReadXml(pageNumber));
  pageNumberText.font = DocumentFont(kFontPageNumbers);

  KeepDivisorsPositive();
  return layout->NextSiblingElement();
}

void CPageDlg::Store(ArchiveWriter& ar) const {
  ar.WriteU32(cursorWidth);
  ar.WriteU32(topMargin);
  ar.WriteI32(proportionalSpacing);
  ar.WriteI32(tablineThickness);
  ar.WriteU32(systemsPerPage);
  ar.WriteI32(verticalJustification);
  ar.WriteU32(extraSpacing);
  ar.WriteI32(brailleColumns);
  ar.WriteI32(brailleLines);
  ar.WriteI32(brailleOrientation);
  ar.WriteI32(alternateMargins);
  ar.WriteI32(printAllSections);
  ar.WriteI32(blanksBetweenSections);
  ar.WriteI32(newPageOnSection);
  ar.WriteU32(PackClosedSystemsWord(closedSystems, centerLyrics));
  ar.WriteI32(skipTitles);
  ar.WriteU32(leftMargin);
  ar.WriteU32(rightMargin);
  ar.WriteU32(bottomMargin);
  ar.WriteU32(PackBarNumberWord(barNumberFlag, barNumberHeight, outlineBarNumbers));
  ar.WriteI32(printFacsimiles);
  ar.WriteI32(pageNumberAlignment);
  ar.WriteText(pageText);
  ar.WriteI32(landscape);
  ar.WriteI32(pageOffset);
  ar.WriteI32(noPageNumbers);
  ar.WriteI32(coloredSyntax);
  ar.WriteI32(skipFirstPageNumber);
  ar.WriteI32(paperFormat);
  ar.WriteU32(PackPrintCommentsWord(printComments, commentsAtEnd));
  ar.WriteU8(placeHolder);
  ar.WriteU8(coloredVoices);

  DocumentFont(kFontTitles).Store(ar);
  DocumentFont(kFontLyrics).Store(ar);
  DocumentFont(kFontComments).Store(ar);
  DocumentFont(kFontCaptions).Store(ar);
  DocumentFont(kFontSignatures).Store(ar);
  // The page-number text's record carries the page-number font: the record has no place of
  // its own for it.
  CTrackText pageNumbers = pageNumberText;
  pageNumbers.font = DocumentFont(kFontPageNumbers);
  pageNumbers.Store(ar);
  systemNameText.Store(ar);
  DocumentFont(kFontContinuo).Store(ar);
  DocumentFont(kFontEndings).Store(ar);
  DocumentFont(kFontBarNumbers).Store(ar);
  DocumentFont(kFontFootnotes).Store(ar);
  DocumentFont(kFontChordNames).Store(ar);
  DocumentFont(kFontMidiEvents).Store(ar);
}

void CPageDlg::Load(ArchiveReader& ar) {
  // The packed words start from the members, so that a word an older file lacks unpacks to
  // what was there.
  uint32_t closedWord = PackClosedSystemsWord(closedSystems, centerLyrics);
  uint32_t barNumberWord = PackBarNumberWord(barNumberFlag, barNumberHeight, outlineBarNumbers);
  uint32_t commentsWord = PackPrintCommentsWord(printComments, commentsAtEnd);

  cursorWidth = ar.ReadU32();
  topMargin = ar.ReadU32();
  proportionalSpacing = ar.ReadI32();
  tablineThickness = ar.ReadI32();
  systemsPerPage = ar.ReadU32();
  verticalJustification = ar.ReadI32();
  extraSpacing = ar.ReadU32();
  brailleColumns = ar.ReadI32();
  brailleLines = ar.ReadI32();
  brailleOrientation = ar.ReadI32();
  alternateMargins = ar.ReadI32();
  printAllSections = ar.ReadI32();
  if (ar.VersionAbove("6.51")) blanksBetweenSections = ar.ReadI32();
  if (ar.VersionAtLeast("7.1")) newPageOnSection = ar.ReadI32();
  if (ar.VersionAtLeast("7.12")) closedWord = ar.ReadU32();
  if (ar.VersionAtLeast("7.4")) skipTitles = ar.ReadI32();
  if (ar.VersionAtLeast("8.1")) {
    leftMargin = ar.ReadU32();
    rightMargin = ar.ReadU32();
  }
  if (ar.VersionAtLeast("9.6.5.7")) {
    bottomMargin = ar.ReadU32();
    barNumberWord = ar.ReadU32();
    printFacsimiles = ar.ReadI32();
  }
  if (ar.VersionAbove("9.166")) {
    pageNumberAlignment = ar.ReadI32();
    pageText = ar.ReadText();
  }
  if (ar.VersionAbove("9.22")) landscape = ar.ReadI32();
  if (ar.VersionAtLeast("9.42")) pageOffset = ar.ReadI32();
  if (ar.VersionAtLeast("9.6.7.0")) noPageNumbers = ar.ReadI32();
  if (ar.VersionAtLeast("9.6.8.0")) {
    coloredSyntax = ar.ReadI32();
    skipFirstPageNumber = ar.ReadI32();
  }
  if (ar.VersionAtLeast("9.7.0")) paperFormat = ar.ReadI32();
  if (ar.VersionAtLeast("9.7.2.0")) {
    commentsWord = ar.ReadU32();
    placeHolder = ar.ReadU8() != 0 ? 1 : 0;
    coloredVoices = ar.ReadU8() != 0 ? 1 : 0;
  }

  barNumberFlag = static_cast<int32_t>(barNumberWord & 0xF);
  barNumberHeight = static_cast<int32_t>((barNumberWord >> 4) & 0xF);
  outlineBarNumbers = (barNumberWord & 0x100) != 0 ? 1 : 0;
  printComments = static_cast<int32_t>(commentsWord & 0xF);
  commentsAtEnd = static_cast<int32_t>(commentsWord >> 4);
  centerLyrics = (closedWord & 0x10) != 0 ? 1 : 0;
  closedSystems = static_cast<int32_t>(closedWord & ~0x10u);
  if (ar.VersionBelow("6.2")) extraSpacing = 0;
  if (ar.VersionBelow("7.85")) tablineThickness = 3;

  DocumentFont(kFontTitles).Load(ar);
  DocumentFont(kFontLyrics).Load(ar);
  if (ar.VersionAbove("6.2")) DocumentFont(kFontComments).Load(ar);
  if (ar.VersionAbove("6.56")) DocumentFont(kFontCaptions).Load(ar);
  dfLogFont& signatures = DocumentFont(kFontSignatures);
  if (ar.VersionAbove("7.6")) {
    // A stored face "TabDefault" gives way to the face held before loading; clearing it
    // first leaves such a font without a face, which the rule below replaces.
    signatures.logFont.lfFaceName.clear();
    signatures.Load(ar);
  }
  if (ar.VersionAbove("9.166")) {
    pageNumberText.Load(ar);
    DocumentFont(kFontPageNumbers) = pageNumberText.font;
  }
  if (ar.VersionAbove("9.17")) systemNameText.Load(ar);
  if (ar.VersionAtLeast("9.53.2")) DocumentFont(kFontContinuo).Load(ar);
  if (ar.VersionAtLeast("9.7.1.0")) DocumentFont(kFontEndings).Load(ar);
  if (signatures.logFont.lfFaceName.empty() || SameFaceName(signatures.logFont.lfFaceName, kFaceTabDefault)) {
    signatures = DocumentFont(kFontContinuo);
    signatures.logFont.lfWeight = 300;
    signatures.pointSize.cx = 160;
  }
  if (ar.VersionAtLeast("9.6.8.0")) DocumentFont(kFontBarNumbers).Load(ar);
  if (ar.VersionAtLeast("9.6.8.2")) DocumentFont(kFontFootnotes).Load(ar);
  if (ar.VersionAbove("9.51.2")) DocumentFont(kFontChordNames).Load(ar);
  if (ar.VersionAtLeast("9.6.7")) DocumentFont(kFontMidiEvents).Load(ar);

  proportionalSpacingDialog = 0;
  pageNumberText.font = DocumentFont(kFontPageNumbers);
  KeepDivisorsPositive();
}

void CPageDlg::KeepDivisorsPositive() {
  // Pages, columns and braille lines are divided by these; a file that lacks them or holds
  // 0 must not bring a division by zero into the layout. A file's lengths past any page are
  // brought back to its reach.
  systemsPerPage = std::clamp(systemsPerPage, 1u, 1000u);
  cursorWidth = std::max(cursorWidth, 1u);
  brailleColumns = std::max(brailleColumns, 1);
  brailleLines = std::max(brailleLines, 1);
  // Lengths the layout adds and multiplies: kept within what any page can use.
  for (uint32_t* length : {&topMargin, &leftMargin, &bottomMargin, &rightMargin, &extraSpacing, &cursorWidth}) {
    *length = std::min<uint32_t>(*length, kMaxStoredLength);
  }
  barNumberHeight = SaneStoredLength(barNumberHeight);
  tablineThickness = SaneStoredLength(tablineThickness);
}

void CPageDlg::SetProportionalSpacing(bool on) {
  if (on) {
    if (proportionalSpacing == 0) proportionalSpacing = keptProportionalSpacing != 0 ? keptProportionalSpacing : 1;
  } else {
    if (proportionalSpacing != 0) keptProportionalSpacing = proportionalSpacing;
    proportionalSpacing = 0;
  }
}

}  // namespace vornel
