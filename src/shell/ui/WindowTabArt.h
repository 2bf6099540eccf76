#pragma once
// The window tabs' art: the generic tabs of the document notebook with the width rule of the
// window tabs (140 pixels while they fit, else an even share, at least 24).

#include <wx/aui/tabart.h>

namespace vornel {

class WindowTabArt : public wxAuiGenericTabArt {
 public:
  wxAuiTabArt* Clone() override;
  void SetSizingInfo(const wxSize& tabCtrlSize, size_t tabCount, wxWindow* wnd = nullptr) override;
  int TabWidth() const { return m_fixedTabWidth; }
};

}  // namespace vornel
