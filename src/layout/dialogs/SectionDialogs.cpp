#include "layout/dialogs/SectionDialogs.h"

#include "model/score/CSectionArray.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/text/CTrackText.h"
#include "model/instrument/nTuning.h"
#include "platform/ServiceSlots.h"
#include "platform/UserPrompts.h"
#include "platform/text/FieldRanges.h"

namespace vornel {

namespace {

constexpr const char* kServiceName = "section dialog";

// A service the editor's window installs, not drawing state: one per process by design.
SectionDialogs g_noDialogs;
ObjectSlot<SectionDialogs> g_dialogs(kServiceName, g_noDialogs);

// The default of every dialog: nothing is installed to show it.
bool Missing() {
  ReportMissingService(kServiceName);
  return false;
}

constexpr int32_t kTempoBits = 0xFFF;

}  // namespace

void CSectionDlg::From(const CSystemArray& s) {
  name = s.Title().text;
  author = s.Author().text;
  comments = s.Comments().text;
  endText = s.EndText().text;
  for (size_t i = 0; i < fonts.size(); ++i) fonts[i] = s.texts.at(i)->font;
  facsimiles.Load(s.facsimiles);
  commentsPage = s.couplets.text;
  beatUnit = (s.tempo >> 24) & 0xFF;
  tempo = s.tempo & kTempoBits;
  movement = s.movement;
  numerator = s.numerator;
  denominator = s.denominator;
  accidentalKind = s.key.bemol != 0 ? 0 : 1;
  alterations = static_cast<int>(s.key.alterations);
  keyLetter = s.key.keyName;
  keyAccidental = s.key.keyAlterations;
  melodicMinor = (s.key.mode & CKey::kMinorBit) != 0;
  mode = (s.key.mode >> 8) & 0x0F;
  leftOffset = s.leftOffset;
  barOffset = s.barOffset;
  stavesPerPage = s.stavesPerPage;
  midiRepeats = s.repeats != 0;
  resetAllOffsets = false;
  blankPageAfter = (s.flags & CSystemArray::kBlankPageAfter) != 0;
  excludeFromContents = (s.flags & CSystemArray::kExcludedFromContents) != 0;
  pageBreakAfter = (s.flags & CSystemArray::kPageBreakAfter) != 0;
}

std::string CSectionDlg::Validate() const {
  return CheckFieldRanges({
      {"Tempo", tempo, 0, kMaxTempo},
      {"Time signature", numerator, 1, 32},
      {"Time signature denominator", denominator, 1, 32},
      {"Alterations", alterations, 0, 7},
      {"Left offset", leftOffset, -10, 10},
      {"Bar number offset", barOffset, 0, 127},
      {"Staves per page", stavesPerPage, 1, 24},
      {"Beat unit", beatUnit, 0, static_cast<long>(kBeatUnits.size()) - 1},
      {"Movement", movement, 0, static_cast<long>(CSystemArray::kMovementNames.size()) - 1},
      {"Mode", mode, 0, static_cast<long>(kModes.size()) - 1},
  });
}

void CSectionDlg::To(CSystemArray& s) const {
  s.Title().text = name;
  s.Author().text = author;
  s.Comments().text = comments;
  s.EndText().text = endText;
  for (size_t i = 0; i < fonts.size(); ++i) s.texts.at(i)->font = fonts[i];
  s.couplets.text = commentsPage;
  s.tempo = static_cast<int32_t>((static_cast<uint32_t>(beatUnit) & 0xFF) << 24) | (tempo & kTempoBits);
  s.movement = movement;
  s.numerator = numerator;
  s.denominator = denominator;
  s.key.bemol = accidentalKind == 0 ? 1 : 0;
  s.key.alterations = static_cast<uint32_t>(alterations);
  s.key.keyName = keyLetter;
  s.key.keyAlterations = keyAccidental;
  s.key.mode = (s.key.mode & ~(0xF00 | CKey::kMinorBit)) | ((mode & 0x0F) << 8) | (melodicMinor ? CKey::kMinorBit : 0);
  s.leftOffset = leftOffset;
  s.barOffset = barOffset;
  s.stavesPerPage = stavesPerPage;
  s.repeats = midiRepeats ? 1 : 0;
  s.flags = (blankPageAfter ? CSystemArray::kBlankPageAfter : 0) |
            (excludeFromContents ? CSystemArray::kExcludedFromContents : 0) |
            (pageBreakAfter ? CSystemArray::kPageBreakAfter : 0);
  s.excluded = excludeFromContents ? 1 : 0;
  facsimiles.Store(s.facsimiles);
}

std::string CAnalyzeVoicesDlg::SplitPointName() const { return GetPitchName(splitPoint); }

std::string CAnalyzeVoicesDlg::Validate() const {
  return CheckFieldRanges({{"Default split point", splitPoint, 0, 127}, {"High voice maximum range", highRange, 0, 12}});
}

void CSegOffsetDlg::From(const CStaveArray& system) {
  const SystemCaption& shown = system.Caption();
  const DIBornament& picture = shown.captionPicture;
  imagePath = picture.path;
  leftIndent = system.leftIndents;
  rightIndent = system.rightIndents;
  imageSize = static_cast<int>(picture.sizePercent);
  nameInstruments = system.nameInstruments != 0;
  name = shown.captionText.descriptor;
  hidden = system.hidden != 0;
  caption = shown.captionText.text;
  restartBars = system.barSequenceRestart != 0;
  printTuning = system.printTuning != 0;
  noBracket = false;
  imagePosition = static_cast<int>(picture.captionPlacement);
  captionFont = shown.captionText.font;
}

std::string CSegOffsetDlg::Validate() const {
  return CheckFieldRanges({{"Left indentation", leftIndent, 0, 20},
                           {"Image size", imageSize, 10, 100},
                           {"Right indentation", rightIndent, 0, 20},
                           {"Image position", imagePosition, 0, static_cast<long>(kPositions.size()) - 1}});
}

void CSegOffsetDlg::To(CStaveArray& system) const {
  SystemCaption& edited = system.EditCaption();
  DIBornament& picture = edited.captionPicture;
  if (picture.path != imagePath) picture.active = 0;  // drawing loads the new file
  picture.path = imagePath;
  picture.sizePercent = static_cast<uint32_t>(imageSize);
  picture.captionPlacement = static_cast<uint32_t>(imagePosition);
  system.leftIndents = leftIndent;
  system.rightIndents = rightIndent;
  system.nameInstruments = nameInstruments ? 1 : 0;
  edited.captionText.descriptor = name;
  system.hidden = hidden ? 1 : 0;
  edited.captionText.text = caption;
  edited.captionString = caption;
  system.barSequenceRestart = restartBars ? 1 : 0;
  system.printTuning = printTuning ? 1 : 0;
  edited.captionText.font = captionFont;
}

void CSegOffsetDlg::Clear() {
  imagePath.clear();
  leftIndent = 0;
  rightIndent = 0;
  imageSize = 100;
  imagePosition = 0;
}

std::string CReformatPageDlg::Validate() const {
  return CheckFieldRanges({{"Staves per page", stavesPerPage, 1, 12}, {"Average spacing", spacing, 15, 300}});
}

bool SectionDialogs::EditSection(CSectionDlg&) { return Missing(); }
bool SectionDialogs::ParseVoices(CAnalyzeVoicesDlg&) { return Missing(); }
bool SectionDialogs::EditSystem(CSegOffsetDlg&) { return Missing(); }
bool SectionDialogs::ReformatPage(CReformatPageDlg&) { return Missing(); }
bool SectionDialogs::EditTrackText(CTrackTextDlg&) { return Missing(); }

SectionDialogs& SectionEditingDialogs() { return g_dialogs.Get(); }

ScopedSectionDialogs::ScopedSectionDialogs(SectionDialogs& dialogs) : previous_(g_dialogs.Exchange(&dialogs)) {}

ScopedSectionDialogs::~ScopedSectionDialogs() { g_dialogs.Exchange(previous_); }

int EditSectionProperties(CSystemArray& section, bool* resetOffsets,
                          std::function<bool(const std::string& author)> applyAuthorToAllSections) {
  CSectionDlg dialog;
  dialog.From(section);
  dialog.applyAuthorToAllSections = std::move(applyAuthorToAllSections);
  if (!SectionEditingDialogs().EditSection(dialog) || !dialog.Validate().empty()) return 0;
  dialog.To(section);
  if (resetOffsets != nullptr) *resetOffsets = dialog.resetAllOffsets;
  section.CopySectionKeyToDefinitions();
  section.RecalculateSection(false);
  return 1;
}

bool ApplyAuthorToAllSections(CSectionArray& sections, const std::string& author) {
  if (Prompts().Ask("Apply this author's name to all sections?\n" + author, Buttons::kOkCancel,
                    MessageKind::kWarning) != Answer::kOk) {
    return false;
  }
  for (const auto& section : sections.items()) {
    if (section != nullptr) section->Author().text = author;
  }
  return true;
}

bool EditSystemOptions(CStaveArray& system) {
  CSegOffsetDlg dialog;
  dialog.From(system);
  if (!SectionEditingDialogs().EditSystem(dialog) || !dialog.Validate().empty()) return false;
  dialog.To(system);
  return true;
}

bool DialogSectionEditor::EditTrackText(CTrackText& text) {
  CTrackTextDlg dialog;
  dialog.From(text);
  if (!SectionEditingDialogs().EditTrackText(dialog) || !dialog.Validate().empty()) return false;
  dialog.To(text);
  return true;
}

bool DialogSectionEditor::ParseVoices(int& splitPitch, int& highRange) {
  CAnalyzeVoicesDlg dialog;
  dialog.splitPoint = splitPitch;
  dialog.highRange = highRange;
  if (!SectionEditingDialogs().ParseVoices(dialog) || !dialog.Validate().empty()) return false;
  splitPitch = dialog.splitPoint;
  highRange = dialog.highRange;
  return true;
}

}  // namespace vornel

namespace vornel {

bool DialogSectionEditor::EditSystemOptions(CStaveArray& system) { return vornel::EditSystemOptions(system); }

}  // namespace vornel
