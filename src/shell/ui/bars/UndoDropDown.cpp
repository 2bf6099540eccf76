#include "shell/ui/bars/UndoDropDown.h"

#include <wx/dcbuffer.h>
#include <wx/listbox.h>
#include <wx/renderer.h>
#include <wx/settings.h>

namespace vornel {

namespace {

constexpr int kMargin = 5;

}  // namespace

CUndoMenu::CUndoMenu(wxWindow* parent, const std::vector<std::string>& names, std::function<void(int)> choose)
    : wxPopupTransientWindow(parent, wxBORDER_SIMPLE), choose_(std::move(choose)) {
  SetBackgroundStyle(wxBG_STYLE_PAINT);
  SetClientSize(kWidth, kHeight);
  list_ = new wxListBox(this, 1, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                        wxLB_MULTIPLE | wxLB_NEEDED_SB | wxBORDER_SUNKEN);
  list_->SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
  for (const std::string& line : bars::UndoListLines(names)) list_->Append(wxString::FromUTF8(line));
  list_->Bind(wxEVT_MOTION, &CUndoMenu::OnMotion, this);
  list_->Bind(wxEVT_LEFT_UP, &CUndoMenu::OnLeftUp, this);
  // The list's own clicks must not change the selection the pointer made.
  list_->Bind(wxEVT_LEFT_DOWN, [](wxMouseEvent&) {});
  Bind(wxEVT_PAINT, &CUndoMenu::OnPaint, this);
  PlaceChildren();
}

void CUndoMenu::PlaceChildren() {
  const int labelHeight = GetCharHeight() + 2;
  const wxRect inner = wxRect(GetClientSize()).Deflate(kMargin);
  labelRect_ = wxRect(inner.x, inner.GetBottom() + 1 - labelHeight, inner.width, labelHeight);
  list_->SetSize(inner.x, inner.y, inner.width, labelRect_.y - kMargin - inner.y);
}

void CUndoMenu::Hover(int item) {
  const int count = static_cast<int>(list_->GetCount());
  if (item < 0 || item >= count) return;
  hover_ = bars::HoverUndoList(item, count);
  for (int i = 0; i < count; ++i) {
    const bool selected = i < hover_.selected;
    if (list_->IsSelected(i) != selected) {
      if (selected) {
        list_->SetSelection(i);
      } else {
        list_->Deselect(i);
      }
    }
  }
  RefreshRect(labelRect_);
  Update();
}

void CUndoMenu::Choose() {
  const int steps = bars::ChosenSteps(hover_);
  if (choose_) choose_(steps);
  Dismiss();
}

void CUndoMenu::OnMotion(wxMouseEvent& event) {
  Hover(list_->HitTest(event.GetPosition()));
  event.Skip();
}

void CUndoMenu::OnLeftUp(wxMouseEvent& event) {
  if (list_->HitTest(event.GetPosition()) != wxNOT_FOUND) Choose();
}

void CUndoMenu::OnPaint(wxPaintEvent&) {
  wxAutoBufferedPaintDC dc(this);
  dc.SetBackground(wxBrush(wxSystemSettings::GetColour(wxSYS_COLOUR_3DFACE)));
  dc.Clear();
  // A 3-D frame round the label: light on the top and left, shadow on the bottom and right.
  wxRect r = labelRect_;
  dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_3DHIGHLIGHT)));
  dc.DrawLine(r.GetLeft(), r.GetBottom(), r.GetLeft(), r.GetTop());
  dc.DrawLine(r.GetLeft(), r.GetTop(), r.GetRight(), r.GetTop());
  dc.SetPen(wxPen(wxSystemSettings::GetColour(wxSYS_COLOUR_3DSHADOW)));
  dc.DrawLine(r.GetRight(), r.GetTop(), r.GetRight(), r.GetBottom());
  dc.DrawLine(r.GetRight(), r.GetBottom(), r.GetLeft(), r.GetBottom());
  dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
  dc.SetTextForeground(wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT));
  dc.DrawLabel(wxString::FromUTF8(hover_.label), r.Deflate(1), wxALIGN_CENTER);
}

}  // namespace vornel
