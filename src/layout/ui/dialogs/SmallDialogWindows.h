#pragma once
// The windows of the small editing dialogs: the number prompt ("Insert new tempo" and every
// caller's own caption), "Transpose", "Transpose notes by one octave", the bar range, "Chord
// transformations" and "Slur control"; the number prompt behind Prompts() and the SmallDialogs
// the application installs.

#include <array>

#include "layout/dialogs/SmallDialogs.h"
#include "layout/ui/dialogs/StructDialog.h"
#include "platform/UserPrompts.h"

class wxRadioButton;
class wxSlider;
class wxSpinCtrl;
class wxTextCtrl;

namespace vornel {

class NumberPromptDialog : public StructDialog<CTempoDlg> {
 public:
  enum : int { kValue = 1120, kSlider = 1121 };
  NumberPromptDialog(wxWindow* parent, CTempoDlg& fields, const wxString& prompt = wxEmptyString);

 protected:
  void UpdateControls() override;

 private:
  wxTextCtrl* value_;
  wxSlider* slider_;
};

class TransposeDialog : public StructDialog<CTransposeDlg> {
 public:
  enum : int { kHalfSteps = 1738, kAdjustFingerings = 1757 };
  TransposeDialog(wxWindow* parent, CTransposeDlg& fields);
};

class OctaveDialog : public StructDialog<COctaveDlg> {
 public:
  enum : int { kAbove = 1626, kBelow = 1627, kLimit = 1132, kName = 1133 };
  OctaveDialog(wxWindow* parent, COctaveDlg& fields);

 protected:
  void UpdateControls() override;

 private:
  wxSpinCtrl* limit_;
  wxTextCtrl* name_;
};

class BarRangeDialog : public StructDialog<CBarRangeDlg> {
 public:
  enum : int { kBegin = 1317, kBeginSlider = 1665, kEnd = 1316, kEndSlider = 1666 };
  BarRangeDialog(wxWindow* parent, CBarRangeDlg& fields);
  // What releasing either slider does.
  void ReleaseBegin();
  void ReleaseEnd();

 protected:
  void UpdateControls() override;

 private:
  wxTextCtrl* begin_;
  wxTextCtrl* end_;
  wxSlider* beginSlider_;
  wxSlider* endSlider_;
};

class TransformationsDialog : public StructDialog<COperationDlg> {
 public:
  struct RowIds {
    int operation, operand, spin, preserve;
  };
  static constexpr std::array<RowIds, 5> kRowIds = {RowIds{789, 788, 1028, 1658}, RowIds{792, 1647, 1159, 1659},
                                                    RowIds{794, 1648, 1182, 1660}, RowIds{797, 1649, 803, 1661},
                                                    RowIds{799, 1650, 1622, 1714}};
  enum : int { kStackAndResolve = 1674, kClearAll = 1675 };
  TransformationsDialog(wxWindow* parent, COperationDlg& fields);
  // The two buttons' work.
  void StackAndResolve();
  void ClearAll();

 protected:
  void UpdateControls() override;

 private:
  struct RowControls {
    wxChoice* operation = nullptr;
    wxSpinCtrl* operand = nullptr;
    wxCheckBox* preserve = nullptr;
  };
  std::array<RowControls, 5> rows_;
};

class SlurControlDialog : public StructDialog<CSlurControlDlg> {
 public:
  enum : int {
    kSteps = 1224, kStepsEcho = 1542, kPosition = 1228, kPositionEcho = 1543, kAbove = 1345, kDownwards = 1346,
    kType = 1570,
  };
  SlurControlDialog(wxWindow* parent, CSlurControlDlg& fields);

 protected:
  void UpdateControls() override;

 private:
  wxSlider* steps_;
  wxSlider* position_;
  wxTextCtrl* stepsEcho_;
  wxTextCtrl* positionEcho_;
};

// The prompts in force with the number prompt shown as NumberPromptDialog.
class DialogNumberPrompts : public ForwardingPrompts {
 public:
  explicit DialogNumberPrompts(UserPrompts& outer, wxWindow* parent = nullptr)
      : ForwardingPrompts(outer), parent_(parent) {}
  std::optional<long> PromptNumber(std::string_view caption, std::string_view prompt, long minimum, long maximum,
                                   long value) override;

 private:
  wxWindow* parent_;
};

class WxSmallDialogs : public SmallDialogs {
 public:
  explicit WxSmallDialogs(wxWindow* parent) : parent_(parent) {}
  bool Octave(COctaveDlg& dialog) override;
  bool BarRange(CBarRangeDlg& dialog) override;

 private:
  wxWindow* parent_;
};

}  // namespace vornel
