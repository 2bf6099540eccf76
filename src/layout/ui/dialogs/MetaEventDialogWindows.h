#pragma once
// The windows of the meta-event property dialogs over their structs, and the MetaEventDialogs
// the application installs. Kinds without a window here are cancelled (MetaEventDialogs'
// defaults).

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

class WxMetaEventDialogs : public MetaEventDialogs {
 public:
  explicit WxMetaEventDialogs(wxWindow* parent) : parent_(parent) {}
  bool EditTimeSignature(CTimeSignatureDlg& dialog) override;
  bool EditLegato(LegatoDlg& dialog) override;
  bool EditHyperlink(CMetaHyperlink& dialog) override;

 private:
  wxWindow* parent_;
};

}  // namespace vornel
