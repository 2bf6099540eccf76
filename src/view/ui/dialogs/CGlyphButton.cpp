#include "view/ui/dialogs/CGlyphButton.h"

namespace vornel {

CGlyphButton::CGlyphButton(wxWindow* parent, wxWindowID id, const wxSize& size)
    : DrawingPanel(parent, [this](DeviceContext& dc) {
        const wxSize client = GetClientSize();
        GlyphButtonFace face = face_;
        face.focused = HasFocus();
        DrawGlyphButtonFace(dc, {0, 0, client.x, client.y}, face);
      }) {
  SetId(id);
  SetMinSize(size);
  SetSize(size);
  Bind(wxEVT_LEFT_DOWN, [this](wxMouseEvent&) {
    SetFocus();
    CaptureMouse();
    Press(true);
  });
  Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& event) {
    if (HasCapture()) ReleaseMouse();
    const bool inside = GetClientRect().Contains(event.GetPosition());
    Press(false);
    if (!inside) return;
    wxCommandEvent click(wxEVT_BUTTON, GetId());
    click.SetEventObject(this);
    ProcessWindowEvent(click);
  });
  Bind(wxEVT_MOUSE_CAPTURE_LOST, [this](wxMouseCaptureLostEvent&) { Press(false); });
  Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent&) { Refresh(); });
  Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent&) { Refresh(); });
}

void CGlyphButton::SetGlyph(uint32_t glyph, int slot, bool notation) {
  face_.glyph = glyph;
  face_.notation = notation;
  slot_ = slot;
  Refresh();
}

void CGlyphButton::Press(bool pressed) {
  if (face_.pressed == pressed) return;
  face_.pressed = pressed;
  Refresh();
}

}  // namespace vornel
