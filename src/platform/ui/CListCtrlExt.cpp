#include "platform/ui/CListCtrlExt.h"

#include <wx/settings.h>

#include "platform/controls/CellCombo.h"

namespace vornel {

namespace {

ListViewMode ModeOf(long style) {
  if (style & wxLC_REPORT) return ListViewMode::kReport;
  if (style & wxLC_LIST) return ListViewMode::kList;
  if (style & wxLC_SMALL_ICON) return ListViewMode::kSmallIcon;
  return ListViewMode::kIcon;
}

}  // namespace

wxWindow* CListCtrlExt::ItemArea() const {
  // The generic control draws its items in a child window of its own, beside the header.
  for (wxWindow* child : GetChildren()) {
    if (child->GetClassInfo()->IsKindOf(wxCLASSINFO(wxComboBox))) continue;
    if (wxString(child->GetClassInfo()->GetClassName()) == "wxListMainWindow") return child;
  }
  return const_cast<CListCtrlExt*>(this);
}

CListCtrlExt::CListCtrlExt(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
    : wxListCtrl(parent, id, pos, size, style | wxLC_SINGLE_SEL) {
  ItemArea()->Bind(wxEVT_LEFT_DCLICK, &CListCtrlExt::OnMainDoubleClick, this);
  Bind(wxEVT_LIST_KEY_DOWN, &CListCtrlExt::OnKeyDown, this);
}

CListCtrlExt::~CListCtrlExt() { RemoveCombos(); }

wxComboBox* CListCtrlExt::RegisterCombo(long item, const wxArrayString& choices) {
  if (auto it = combos_.find(item); it != combos_.end()) {
    if (shown_ == it->second) shown_ = nullptr;
    it->second->Destroy();
    combos_.erase(it);
  }
  auto* combo = new wxComboBox(ItemArea(), wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, choices,
                               wxCB_DROPDOWN);
  combo->Hide();
  combo->Bind(wxEVT_COMBOBOX_CLOSEUP, [this](wxCommandEvent&) { CloseCombo(); });
  combo->Bind(wxEVT_TEXT, &CListCtrlExt::OnComboText, this);
  // Focus gone elsewhere hides the box; its own drop-down list taking the focus does not.
  combo->Bind(wxEVT_KILL_FOCUS, [this, combo](wxFocusEvent& event) {
    CallAfter([this, combo] {
      const wxWindow* focus = wxWindow::FindFocus();
      if (focus != nullptr && focus != combo && focus->GetParent() != combo) combo->Hide();
      if (!combo->IsShown() && shown_ == combo) shown_ = nullptr;
    });
    event.Skip();
  });
  combos_[item] = combo;
  return combo;
}

wxComboBox* CListCtrlExt::ComboOf(long item) const {
  const auto it = combos_.find(item);
  return it == combos_.end() ? nullptr : it->second;
}

void CListCtrlExt::RemoveCombos() {
  for (auto& [item, combo] : combos_) combo->Destroy();
  combos_.clear();
  shown_ = nullptr;
}

bool CListCtrlExt::ShowCombo(long item) {
  wxComboBox* combo = ComboOf(item);
  if (!CellComboShows(ModeOf(GetWindowStyleFlag()), combo != nullptr, false)) return false;
  wxRect label;
  if (!GetItemRect(item, label, wxLIST_RECT_LABEL)) return false;
  CellComboMetrics metrics;
  metrics.columnWidth = InReportView() ? GetColumnWidth(0) : label.width;
  metrics.label = Rect{label.x, label.y, label.x + label.width, label.y + label.height};
  metrics.windowWidth = ItemArea()->GetClientSize().x;
  metrics.scrollBarWidth = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this);
  metrics.itemsTallerThanWindow = GetItemCount() > 0 && GetCountPerPage() < GetItemCount();
  metrics.minimumWidth = minimumWidth;
  metrics.maximumWidth = maximumWidth;
  const CellComboPlace place = PlaceCellCombo(metrics);

  for (auto& [other, box] : combos_) {
    if (box != combo) box->Hide();
  }
  // Label rectangles are in the list's coordinates; the combo lives on its item area.
  const wxPoint origin = ItemArea()->ScreenToClient(ClientToScreen(wxPoint(place.left, label.y)));
  combo->SetSize(origin.x, origin.y, place.width, -1);
  combo->SetFont(GetFont());
  const wxString text = GetItemText(item);
  const int found = combo->FindString(text, true);
  if (found != wxNOT_FOUND) {
    combo->SetSelection(found);
  } else {
    combo->SetValue(text);
  }
  typed_ = std::string(text.utf8_str());
  SetItemState(item, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
  shown_ = combo;
  combo->Show();
  combo->SetFocus();
  if (combo->IsShownOnScreen()) combo->Popup();
  return true;
}

bool CListCtrlExt::OnLabelDoubleClick(long item, bool controlHeld) {
  if (controlHeld || item < 0) return false;
  return ShowCombo(item);
}

void CListCtrlExt::CloseCombo() {
  if (shown_ == nullptr) return;
  const int chosen = shown_->GetSelection();
  std::optional<std::string> line;
  if (chosen != wxNOT_FOUND && shown_->GetString(static_cast<unsigned>(chosen)) == shown_->GetValue()) {
    line = std::string(shown_->GetString(static_cast<unsigned>(chosen)).utf8_str());
  }
  const long selected = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
  if (const auto text = CellComboResult(selected >= 0, line, typed_)) {
    SetItemText(selected, wxString::FromUTF8(*text));
  }
  shown_->Hide();
  shown_ = nullptr;
  SetFocus();
}

void CListCtrlExt::OnMainDoubleClick(wxMouseEvent& event) {
  int flags = 0;
  const long item = HitTest(event.GetPosition(), flags);
  if (item >= 0 && (flags & wxLIST_HITTEST_ONITEMLABEL) != 0 && OnLabelDoubleClick(item, event.ControlDown())) return;
  event.Skip();
}

void CListCtrlExt::OnKeyDown(wxListEvent& event) {
  if (event.GetKeyCode() == WXK_F4) {
    const long selected = GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    if (selected >= 0) ShowCombo(selected);
    return;
  }
  event.Skip();
}

void CListCtrlExt::OnComboText(wxCommandEvent& event) {
  typed_ = std::string(event.GetString().utf8_str());
  event.Skip();
}

}  // namespace vornel
