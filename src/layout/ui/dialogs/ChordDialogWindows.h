#pragma once
// The windows of the chord dialogs: "Chord effect", "Chord Properties", "Grace notes group" and
// "Swap ornament", each over its struct, and the ChordDialogs the application installs.

#include <array>

#include "layout/dialogs/ChordDialogs.h"
#include "layout/dialogs/SmallDialogs.h"
#include "layout/ui/dialogs/StructDialog.h"

class wxCheckBox;
class wxSpinCtrl;
class wxStaticText;
class wxTextCtrl;

namespace vornel {

class ChordEffectDialog : public StructDialog<CChordEffectDlg> {
 public:
  enum : int { kType = 1735, kUp = 1736, kDivision = 1737, kSteps = 1739, kAlignment = 1251, kVisible = 1315 };
  ChordEffectDialog(wxWindow* parent, CChordEffectDlg& fields);
};

class ChordPropertiesDialog : public StructDialog<CChordProperties> {
 public:
  struct RowIds {
    int fret, spin, note, barre;
  };
  static constexpr std::array<RowIds, CChordProperties::kRows> kRowIds = {
      RowIds{1715, 1717, 1716, 1658}, RowIds{1718, 1719, 1720, 1659}, RowIds{1721, 1722, 1723, 1660},
      RowIds{1724, 1725, 1726, 1661}, RowIds{1727, 1728, 1729, 1714}, RowIds{1730, 1731, 1732, 1662}};
  enum : int { kDescription = 1652, kAllowDiapason = 1757, kDiapason = 1734, kAsterixed = 1663, kFurtherText = 1740 };
  ChordPropertiesDialog(wxWindow* parent, CChordProperties& fields);

 protected:
  void UpdateControls() override;

 private:
  struct RowControls {
    wxStaticText* label = nullptr;
    wxSpinCtrl* fret = nullptr;
    wxStaticText* midi = nullptr;
    wxStaticText* note = nullptr;
    wxCheckBox* barre = nullptr;
  };
  std::array<RowControls, CChordProperties::kRows> rows_;
  wxSpinCtrl* diapason_;
};

class GraceNotesDialog : public StructDialog<CGraceNotesDlg> {
 public:
  enum : int {
    kType = 1669, kDescending = 1662, kDrawLigature = 1658, kLigatureAbove = 1659, kStraightLigature = 1663,
    kTernaryGroup = 1660, kDownwardStem = 1661, kShowTablatureFlag = 1714, kDeleteMe = 1740, kFlagValue = 1741,
    kRotations = 1748, kRotationText = 1652, kStartOffset = 1317,
  };
  GraceNotesDialog(wxWindow* parent, CGraceNotesDlg& fields);

 protected:
  void UpdateControls() override;

 private:
  wxTextCtrl* rotationText_;
};

class SwapOrnamentDialog : public StructDialog<CSwapOrnamentDlg> {
 public:
  enum : int { kSelect = 1669, kReplaceWith = 1741 };
  SwapOrnamentDialog(wxWindow* parent, CSwapOrnamentDlg& fields);
};

// Runs each dialog modally over `parent`.
class WxChordDialogs : public ChordDialogs {
 public:
  explicit WxChordDialogs(wxWindow* parent) : parent_(parent) {}
  bool EditChordProperties(CChordProperties& dialog) override;
  bool EditGraceNotes(CGraceNotesDlg& dialog) override;
  bool SwapOrnament(CSwapOrnamentDlg& dialog) override;

 private:
  wxWindow* parent_;
};

}  // namespace vornel
