#include "view/ui/dialogs/CStaticStaff.h"

namespace vornel {

CStaticStaff::CStaticStaff(wxWindow* parent, wxWindowID id, const CInstrumentDlg* definition)
    : DrawingPanel(parent, [this](DeviceContext& dc) {
        const wxSize size = GetClientSize();
        preview_.Paint(dc, {size.x, size.y});
      }),
      preview_(definition) {
  SetId(id);
  SetMinSize(wxSize(480, 150));
}

void CStaticStaff::Rebuild(const CRhythmPattern& fields) {
  preview_.Rebuild(fields);
  Refresh();
}

void CStaticStaff::ShowDefinition(const CInstrumentDlg& definition, bool notation) {
  preview_.ShowDefinition(definition, notation);
  Refresh();
}

}  // namespace vornel
