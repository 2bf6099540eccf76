#pragma once
// The windows of the section and system dialogs: "Section properties", "Parse voices" and
// "System options", each over its struct, and the SectionDialogs the application installs.

#include "layout/dialogs/SectionDialogs.h"
#include "layout/ui/dialogs/StructDialog.h"

class wxCheckBox;
class wxStaticText;

namespace vornel {

class SectionPropertiesDialog : public StructDialog<CSectionDlg> {
 public:
  enum : int {
    kName = 1077, kAuthor = 1314, kComments = 1128, kEndText = 1184, kBeatUnit = 1594, kTempo = 1079,
    kMovement = 1035, kNumerator = 1098, kDenominator = 1750, kFlat = 998, kAlterations = 1042, kKeyLetter = 1051,
    kKeyAccidental = 1113, kMelodicMinor = 1058, kMode = 1669, kLeftOffset = 1256, kBarOffset = 1296,
    kStavesPerPage = 1297, kMidiRepeats = 1373, kResetOffsets = 1443, kPageBreakAfter = 1758,
    kBlankPageAfter = 1731, kExcludeFromContents = 1658, kFacsimileList = 1149, kGlobal = 1599,
    kCommentsPage = 1499, kNameFont = 1600, kAuthorFont = 1601, kCommentsFont = 1602, kEndTextFont = 1603,
  };
  // `chooseFont` is the font dialog of the "..." buttons (without one they are disabled).
  SectionPropertiesDialog(wxWindow* parent, CSectionDlg& fields, FontChoiceFunction chooseFont = {});

 protected:
  void UpdateControls() override;

 private:
  // The "..." of the text `index` (name, author, comments, end text): its font.
  std::function<void()> FontButton(size_t index);

  FontChoiceFunction chooseFont_;
  wxCheckBox* pageBreak_;
  wxCheckBox* blankPage_;
};

class ParseVoicesDialog : public StructDialog<CAnalyzeVoicesDlg> {
 public:
  enum : int { kSplitPoint = 1125, kHighRange = 1127, kPitchName = 1203 };
  ParseVoicesDialog(wxWindow* parent, CAnalyzeVoicesDlg& fields);

 protected:
  void UpdateControls() override;

 private:
  wxStaticText* name_;
};

class SystemOptionsDialog : public StructDialog<CSegOffsetDlg> {
 public:
  enum : int {
    kPath = 1229, kGet = 1231, kClear = 1240, kLeftIndent = 1224, kImageSize = 1236, kRightIndent = 1242,
    kNameInstruments = 1705, kName = 1712, kHidden = 1248, kCaption = 1685, kRestartBars = 1142,
    kPrintTuning = 1659, kNoBracket = 1658, kPosition = 1626, kBrowse = 1230, kNameFont = 1713, kCaptionFont = 1686,
  };
  // `chooseFont` is the font dialog of the name's and the caption's "..." buttons.
  SystemOptionsDialog(wxWindow* parent, CSegOffsetDlg& fields, FontChoiceFunction chooseFont = {});

 private:
  FontChoiceFunction chooseFont_;
};

// "Page formatting": staves per page and spacing (with "Reformat staves"), the alignments of
// title, author and comments; "Page format" runs the page setup on the document settings.
class PageFormattingDialog : public StructDialog<CReformatPageDlg> {
 public:
  enum : int { kStaves = 1297, kSpacing = 1524, kTitle = 1528, kAuthor = 1679, kComments = 1681,
               kReformatStaves = 1531, kAllSections = 1597, kPageFormat = 1532 };
  // `pageSetup` runs the page setup on the settings (the window system's dialog by default).
  PageFormattingDialog(wxWindow* parent, CReformatPageDlg& fields,
                       std::function<bool(CPageDlg&)> pageSetup = {});

 protected:
  void UpdateControls() override;
};

// "Track text settings" (and the caption and footnote editors).
class TrackTextDialog : public StructDialog<CTrackTextDlg> {
 public:
  enum : int { kText = 1652, kX = 1224, kY = 1228, kVisible = 1658, kBorder = 1659, kShaded = 1660,
               kCentered = 1661, kFont = 1662, kTuning = 1665 };
  TrackTextDialog(wxWindow* parent, CTrackTextDlg& fields, FontChoiceFunction chooseFont = {});

 private:
  FontChoiceFunction chooseFont_;
};

// Runs each dialog modally over `parent`.
class WxSectionDialogs : public SectionDialogs {
 public:
  explicit WxSectionDialogs(wxWindow* parent) : parent_(parent) {}
  // The font dialog of "Set Font".
  void SetFontChooser(FontChoiceFunction choose) { chooseFont_ = std::move(choose); }
  bool EditSection(CSectionDlg& dialog) override;
  bool ParseVoices(CAnalyzeVoicesDlg& dialog) override;
  bool EditSystem(CSegOffsetDlg& dialog) override;
  bool EditTrackText(CTrackTextDlg& dialog) override;
  bool ReformatPage(CReformatPageDlg& dialog) override;

 private:
  wxWindow* parent_;
  FontChoiceFunction chooseFont_;
};

}  // namespace vornel
