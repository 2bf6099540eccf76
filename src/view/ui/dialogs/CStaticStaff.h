#pragma once
// The small staff of "Rhythm Pattern" and of the instrument templates dialog: a private
// instrument line (StaffPreview) painted through the drawing layer.

#include "layout/dialogs/StaffPreview.h"
#include "view/ui/DrawingPanel.h"

namespace vornel {

class CStaticStaff : public DrawingPanel {
 public:
  CStaticStaff(wxWindow* parent, wxWindowID id, const CInstrumentDlg* definition);
  StaffPreview& Preview() { return preview_; }
  // The rhythm pattern of the fields, repainted.
  void Rebuild(const CRhythmPattern& fields);
  // `definition` with its sample chords, as notation or tablature, repainted.
  void ShowDefinition(const CInstrumentDlg& definition, bool notation);

 private:
  StaffPreview preview_;
};

}  // namespace vornel
