#include "shell/ui/WindowTabArt.h"

#include "shell/frame/WindowTabs.h"

namespace vornel {

wxAuiTabArt* WindowTabArt::Clone() { return new WindowTabArt(*this); }

void WindowTabArt::SetSizingInfo(const wxSize& tabCtrlSize, size_t tabCount, wxWindow* wnd) {
  wxAuiGenericTabArt::SetSizingInfo(tabCtrlSize, tabCount, wnd);
  m_fixedTabWidth = WindowTabWidth(static_cast<int>(tabCount), tabCtrlSize.x);
}

}  // namespace vornel
