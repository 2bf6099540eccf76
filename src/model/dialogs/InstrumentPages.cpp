#include "model/dialogs/InstrumentPages.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/draw/MulDiv.h"
#include "platform/text/FieldRanges.h"
#include "platform/text/NumberText.h"

namespace vornel {

namespace {

constexpr int32_t kNoGroupNumbersBit = 0x80;
constexpr int kAdjustOffset = 5;

int Nibble(int32_t word, int shift) { return (word >> shift) & 0xF; }

}  // namespace

// --- CInstrumentName

void CInstrumentName::Load(const CInstrumentDlg& definition) {
  name = definition.nameText.text;
  family = definition.familyPage;
  showBarlines = definition.showBarlines != 0;
  hideOrnaments = definition.hideOrnaments != 0;
  closeSystems = definition.closeSystems != 0;
  shortSignatures = definition.shortSignatures != 0;
  slantedBeams = definition.slantedBeams != 0;
  longStems = definition.longStems != 0;
  fingeringsAbove = (definition.notationOptions & 1) != 0;
  tablaturePreview = definition.staves.empty() || definition.staves.at(0)->type != CClef::kStaff;
}

void CInstrumentName::Store(CInstrumentDlg& definition) const {
  definition.nameText.text = name;
  if (family >= 0 && family < static_cast<int>(kFamilies.size())) definition.familyPage = family;
  definition.showBarlines = showBarlines;
  definition.hideOrnaments = hideOrnaments;
  definition.closeSystems = closeSystems;
  definition.shortSignatures = shortSignatures;
  definition.slantedBeams = slantedBeams;
  definition.longStems = longStems;
  definition.notationOptions = (definition.notationOptions & ~1) | (fingeringsAbove ? 1 : 0);
}

// --- TabInstrumentDlg

int TabInstrumentDlg::FlagGroupEntry(int32_t word) {
  const int high = (word >> 4) & 7;
  const int entry = high != 0 ? high + 3 : word & 3;
  return entry < static_cast<int>(kFlagGroups.size()) ? entry : -1;
}

void TabInstrumentDlg::Load(const CTabInstrument& tab) {
  tuning = nTuning{};
  tuning.CopyFrom(tab.tuning);
  tuningText = tab.tuningText.empty() ? tuning.GetTuningText() : tab.tuningText;
  std::erase(tuningText, ' ');
  if (tuningText.size() > kMaxTuningText) tuningText.resize(kMaxTuningText);
  tabStyle = tab.tabStyle;
  flagStyle = tab.flagStyle;
  loadedFlagWord_ = tab.flagGroup;
  flagGroup = loadedFlagGroup_ = FlagGroupEntry(tab.flagGroup);
  fretScale = tab.scaleType != 0 ? 1 : 0;
  diapasonStyle = tab.diapasonStyle;
  lineSpacing = tab.tabFont.staveAdjust.cy;
  signatureSize = tab.signatureSize;
  flagDistance = Nibble(tab.flagsHeight, 0);
  diapasonDistance = Nibble(tab.flagsHeight, 4);
  letterAdjust = Nibble(tab.flagsHeight, 8) - kAdjustOffset;
  numberAdjust = Nibble(tab.flagsHeight, 12) - kAdjustOffset;
  drawOnLines = tab.betweenLines == 0;
  noGroupNumbers = (tab.flagGroup & kNoGroupNumbersBit) != 0;
  firstFlags = tab.showFirstFlag != 0;
  alfabeto = tab.alfabeto.showAlfabeto != 0;
  coloredOrnaments = tab.colored != 0;
  coloredFlags = tab.coloredFlags != 0;
  allFlags = tab.showAllFlags != 0;
  quarterToDouble = tab.rotateFlags != 0;
  strumming = (tab.baroqueStrumming & 1) != 0;
  baroqueRests = (tab.baroqueStrumming & 2) != 0;
  opaque = (tab.drawOpaque & 1) != 0;
  printTuning = tab.printTuning != 0;
  restsOnTab = tab.restsOnTab != 0;
}

void TabInstrumentDlg::TakeTuning(const nTuning& edited) {
  tuning.CopyFrom(edited);
  tuningText = tuning.GetTuningText();
}

std::string TabInstrumentDlg::Validate() const {
  return CheckFieldRanges({{"Style:", tabStyle, 0, static_cast<long>(kStyles.size()) - 1},
                           {"Flags:", flagStyle, 0, static_cast<long>(CTabInstrument::kFlagStyleNames.size()) - 1},
                           {"Flag groups:", flagGroup, -1, static_cast<long>(kFlagGroups.size()) - 1},
                           {"Vertical line spacing", lineSpacing, 15, 50},
                           {"Time signature size:", signatureSize, 50, 120},
                           {"Flags distance", flagDistance, 0, 12},
                           {"Diapasons distance", diapasonDistance, 0, 12},
                           {"Letters adjustment", letterAdjust, -kAdjustOffset, kAdjustOffset},
                           {"Numbers adjustment", numberAdjust, -kAdjustOffset, kAdjustOffset}});
}

void TabInstrumentDlg::Store(CTabInstrument& tab) const {
  nTuning result;
  result.CopyFrom(tuning);
  // A typed text that differs from the tuning's own spelling is read as a new tuning.
  if (tuningText != tuning.GetTuningText()) result.SetTuning(tuningText);
  tab.tuning.CopyFrom(result);
  tab.tuningText = result.GetTuningText();
  tab.tabStyle = tabStyle;
  tab.flagStyle = flagStyle;
  tab.flagGroup = loadedFlagWord_;
  if (flagGroup >= 0 && flagGroup != loadedFlagGroup_) tab.SetFlagMode(flagGroup);
  tab.flagGroup = noGroupNumbers ? (tab.flagGroup | kNoGroupNumbersBit) : (tab.flagGroup & ~kNoGroupNumbersBit);
  tab.scaleType = fretScale;
  tab.diapasonStyle = diapasonStyle;
  tab.tabFont.staveAdjust.cy = lineSpacing;
  tab.signatureSize = signatureSize;
  tab.flagsHeight = (tab.flagsHeight & ~0xFFFF) | (flagDistance & 0xF) | ((diapasonDistance & 0xF) << 4) |
                    (((letterAdjust + kAdjustOffset) & 0xF) << 8) | (((numberAdjust + kAdjustOffset) & 0xF) << 12);
  tab.betweenLines = drawOnLines ? 0 : 1;
  tab.showFirstFlag = firstFlags;
  tab.alfabeto.showAlfabeto = alfabeto;
  tab.colored = coloredOrnaments;
  tab.coloredFlags = coloredFlags;
  tab.showAllFlags = allFlags;
  tab.rotateFlags = quarterToDouble;
  tab.baroqueStrumming = (tab.baroqueStrumming & ~3) | (strumming ? 1 : 0) | (baroqueRests ? 2 : 0);
  tab.drawOpaque = (tab.drawOpaque & ~1) | (opaque ? 1 : 0);
  tab.printTuning = printTuning;
  tab.restsOnTab = restsOnTab;
}

// --- CTabFontsDlg

int CTabFontsDlg::ClampMicro(size_t font, int value) {
  return std::clamp(value, -MicroLimit(font), MicroLimit(font));
}

void CTabFontsDlg::Load(const CInstrumentDlg& definition) {
  const CTabInstrument& tab = definition.tabInstrument;
  micro = {tab.tabFont.microTuning, tab.flagsFont.microTuning, definition.notationFont.microTuning,
           tab.alfabeto.letterFont.microTuning};
  fontColors = {tab.tabFont.color, tab.flagsFont.color, definition.notationFont.color, tab.alfabeto.letterFont.color};
  glyphColors = definition.ornaments.table.colors;
}

void CTabFontsDlg::Store(CInstrumentDlg& definition) const {
  CTabInstrument& tab = definition.tabInstrument;
  tab.tabFont.microTuning = micro[kTablature];
  tab.microTuning = micro[kTablature];  // kept equal to the tablature font's
  tab.flagsFont.microTuning = micro[kFlags];
  definition.notationFont.microTuning = micro[kNotation];
  tab.alfabeto.letterFont.microTuning = micro[kAlfabeto];
  tab.tabFont.color = fontColors[kTablature];
  tab.flagsFont.color = fontColors[kFlags];
  definition.notationFont.color = fontColors[kNotation];
  tab.alfabeto.letterFont.color = fontColors[kAlfabeto];
  definition.ornaments.table.colors = glyphColors;
}

void CTabFontsDlg::DefaultColors() { glyphColors = COrnamentTable{}.colors; }

std::string CTabFontsDlg::Validate() const {
  return CheckFieldRanges({{"Tablature", micro[kTablature], -kMicroRange, kMicroRange},
                           {"Flags and Ornaments ", micro[kFlags], -kMicroRange, kMicroRange},
                           {"Notation", micro[kNotation], -kNotationMicroRange, kNotationMicroRange},
                           {"Alfabeto", micro[kAlfabeto], -kMicroRange, kMicroRange}});
}

int32_t CTabFontsDlg::NotationPixelHeight(const CNotationFont& font, int32_t dpiY) {
  return MulDiv(static_cast<int32_t>(std::lround(font.interval)), dpiY, 254);
}

// --- CPedalControl

void CPedalControl::Load(const CPedalArray& source, const nTuning& tuning) {
  for (size_t i = 0; i < pedals.size() && i < source.size(); ++i) {
    CPedal& pedal = pedals[i];
    const CPedal& from = *source.at(i);
    pedal.persistent = from.persistent;
    pedal.stringMask = from.stringMask;
    pedal.action = from.action;
    pedal.color = from.color;
    pedal.caption = from.caption;
  }
  shownStrings = static_cast<int>(tuning.CoursesInUse());
  for (size_t i = 0; i < stringNames.size(); ++i) {
    stringNames[i] = "String " + FormatInt(static_cast<int32_t>(i) + 1);
    stringNotes[i] = static_cast<int>(i) < shownStrings ? tuning.GetStringLabel(static_cast<int>(i)) : std::string();
  }
  current = 0;
}

void CPedalControl::Select(int index) {
  if (index < 0 || index >= static_cast<int>(pedals.size())) throw std::out_of_range("no such pedal");
  current = index;
}

std::string CPedalControl::Validate() const {
  for (const CPedal& pedal : pedals) {
    std::string message = CheckFieldRanges({{"String action", pedal.action, -12, 12}});
    if (!message.empty()) return message;
  }
  return {};
}

void CPedalControl::Store(CPedalArray& target) const {
  for (size_t i = 0; i < pedals.size() && i < target.size(); ++i) {
    CPedal& pedal = *target.at(i);
    pedal.persistent = pedals[i].persistent;
    pedal.stringMask = pedals[i].stringMask;
    pedal.action = pedals[i].action;
    pedal.color = pedals[i].color;
    pedal.caption = pedals[i].caption;
  }
  target.shownStrings = shownStrings;
}

// --- InstrumentListRow

InstrumentListRow InstrumentListRow::Of(const CInstrumentDlg& definition) {
  InstrumentListRow row;
  const CTabInstrument& tab = definition.tabInstrument;
  row.image = definition.family;
  row.cells[0] = definition.nameText.text;
  row.cells[1] = tab.tuningText;
  row.cells[2] = definition.GetNotationName();
  row.cells[3] = tab.tabFont.logFont.lfFaceName;
  row.cells[4] = definition.midi.name;
  // A style beyond the three names leaves its cell empty.
  if (tab.ornamentStyle >= 0 && tab.ornamentStyle < static_cast<int32_t>(kOrnamentStyles.size())) {
    row.cells[5] = kOrnamentStyles[static_cast<size_t>(tab.ornamentStyle)];
  }
  row.cells[6] = definition.GetFlagStyleName();
  row.cells[7] = kFlagLinks[static_cast<size_t>(tab.flagGroup & 3)];
  return row;
}

std::vector<InstrumentListRow> InstrumentListRow::List(const CInstrumentArray& definitions, int filter) {
  std::vector<InstrumentListRow> rows;
  for (size_t i = 0; i < definitions.size(); ++i) {
    const CInstrumentDlg* definition = definitions.at(i);
    if (definition == nullptr || (filter != -1 && definition->family != filter)) continue;
    rows.push_back(Of(*definition));
  }
  return rows;
}

// --- InstrumentSheet

void InstrumentSheet::Open(CInstrumentDlg& definition) {
  definition.transposePage = definition.key.transpose;
  definition.familyPage = definition.family;
  definition.EnsureStave();
  if (definition.currentStave >= definition.staves.size()) definition.currentStave = 0;
  definition.LoadStaveSettings();
}

void InstrumentSheet::Apply(CInstrumentDlg& definition) {
  definition.StoreStaveSettings();
  definition.tabInstrument.name = definition.nameText.text;
  definition.key.transpose = definition.transposePage;
  if (definition.familyPage >= 0 && definition.familyPage < static_cast<int32_t>(CInstrumentDlg::kFamilyCount)) {
    definition.family = static_cast<uint8_t>(definition.familyPage);
  }
  definition.tabInstrument.shortSignature = definition.shortSignatures;
}

}  // namespace vornel
