#pragma once
// The windows of the meta-event property dialogs over their structs, and the MetaEventDialogs
// the application installs.

#include <functional>

#include "layout/dialogs/MetaEventEditors.h"
#include "layout/ui/dialogs/StructDialog.h"

namespace vornel {

class TimeSignatureDialog : public StructDialog<CTimeSignatureDlg> {
 public:
  enum : int { kBeats = 1098, kBeatValue = 1750, kVisible = 1315, kFormat = 1658, kNumeratorOnly = 1659,
               kVerticalShift = 1660, kDeleteMe = 1740, kSize = 1665 };
  TimeSignatureDialog(wxWindow* parent, CTimeSignatureDlg& fields);
};

class LegatoDialog : public StructDialog<LegatoDlg> {
 public:
  enum : int { kBegin = 1665, kEnd = 1666, kSteps = 1224, kDepth = 1228, kText = 1652, kWavy = 1658,
               kDeleteMe = 1740, kUndoOffset = 1659 };
  LegatoDialog(wxWindow* parent, LegatoDlg& fields);
};

class HyperlinkDialog : public StructDialog<CMetaHyperlink> {
 public:
  enum : int { kType = 1669, kCaption = 1652, kUrl = 1653, kSection = 1665, kBar = 1666, kPrintFullUrl = 1658 };
  HyperlinkDialog(wxWindow* parent, CMetaHyperlink& fields);

 protected:
  void UpdateControls() override;
};

class ContinuoDialog : public StructDialog<CContinuoDlg> {
 public:
  enum : int { kText = 1652, kAbove = 1658, kSpace = 1224 };
  ContinuoDialog(wxWindow* parent, CContinuoDlg& fields);
};

class EndingDialog : public StructDialog<CEndingDlg> {
 public:
  enum : int { kText = 1652, kBarLength = 1224, kTop = 1228, kType = 1669 };
  EndingDialog(wxWindow* parent, CEndingDlg& fields);
};

// "Crescendo", or "Rasgueado" with the volume hidden and the vertical slider as "Speed".
class CrescendoDialog : public StructDialog<CCrescendo> {
 public:
  enum : int { kHorizontal = 1665, kVolume = 1666, kVertical = 1667 };
  CrescendoDialog(wxWindow* parent, CCrescendo& fields);
};

class BarreDialog : public StructDialog<CBarreDlg> {
 public:
  enum : int { kFret = 1224, kExtent = 1228, kHalf = 1658, kLatin = 1659 };
  BarreDialog(wxWindow* parent, CBarreDlg& fields);
};

class BracketDialog : public StructDialog<CMeta_LBracketDlg> {
 public:
  enum : int { kHeight = 1665, kThickness = 1666, kFacesLeft = 1658, kType = 1669 };
  BracketDialog(wxWindow* parent, CMeta_LBracketDlg& fields);
};

class DynamicsDialog : public StructDialog<CDynamicCtrl> {
 public:
  enum : int { kType = 1669, kVolume = 1665, kExtent = 1666 };
  DynamicsDialog(wxWindow* parent, CDynamicCtrl& fields);
};

class ClefDialog : public StructDialog<CClefChange> {
 public:
  enum : int { kInsertClef = 1658, kClef = 1669, kRaise = 1224, kInsertKey = 1659, kSharp = 1660, kCount = 1228,
               kKey = 1670, kMinor = 1661, kAccidental = 1671 };
  ClefDialog(wxWindow* parent, CClefChange& fields);
};

class RepriseDialog : public StructDialog<CMetaReprise> {
 public:
  enum : int { kShortDots = 1658, kDrawLine = 1659, kLeft = 1627, kGlyph = 1669, kText = 1652, kItalic = 1660,
               kBold = 1661, kSize = 1741 };
  RepriseDialog(wxWindow* parent, CMetaReprise& fields);
};

class LyricsDialog : public StructDialog<CLyricsDlg> {
 public:
  enum : int { kText = 1652, kSpacing = 1224, kBorder = 1658, kShaded = 1659, kPrevious = 1700, kNext = 1701,
               kProcessLine = 1702, kClearAll = 1703, kResetPositions = 1704, kAlignAll = 1705, kFont = 1706 };
  LyricsDialog(wxWindow* parent, CLyricsDlg& fields, FontChoiceFunction chooseFont = {});
  // Runs one of the walk's buttons on the working copy, the controls read first and shown
  // again after.
  void Press(int id);

 protected:
  void UpdateControls() override;

 private:
  FontChoiceFunction chooseFont_;
};

class WxMetaEventDialogs : public MetaEventDialogs {
 public:
  explicit WxMetaEventDialogs(wxWindow* parent) : parent_(parent) {}
  // The font dialog the lyrics editor's "Set font style" opens.
  void SetFontChooser(FontChoiceFunction choose) { chooseFont_ = std::move(choose); }
  bool EditClef(CClefChange& dialog) override;
  bool EditReprise(CMetaReprise& dialog) override;
  bool EditLyrics(CLyricsDlg& dialog) override;
  bool EditTimeSignature(CTimeSignatureDlg& dialog) override;
  bool EditLegato(LegatoDlg& dialog) override;
  bool EditHyperlink(CMetaHyperlink& dialog) override;
  bool EditContinuo(CContinuoDlg& dialog) override;
  bool EditEnding(CEndingDlg& dialog) override;
  bool EditCrescendo(CCrescendo& dialog) override;
  bool EditBarre(CBarreDlg& dialog) override;
  bool EditBracket(CMeta_LBracketDlg& dialog) override;
  bool EditDynamics(CDynamicCtrl& dialog) override;

 private:
  wxWindow* parent_;
  FontChoiceFunction chooseFont_;
};

}  // namespace vornel
