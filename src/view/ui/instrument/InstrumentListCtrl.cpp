#include "view/ui/instrument/InstrumentListCtrl.h"

#include <wx/dcmemory.h>

#include "platform/ui/WxText.h"

namespace vornel {

namespace {

// A tile per family, its hue spread round the colour wheel.
wxBitmap FamilyImage(size_t family, int size) {
  wxBitmap bitmap(size, size);
  wxMemoryDC dc(bitmap);
  const wxImage::HSVValue hsv(static_cast<double>(family) / CInstrumentDlg::kFamilyCount, 0.45, 0.85);
  const wxImage::RGBValue rgb = wxImage::HSVtoRGB(hsv);
  dc.SetBackground(wxBrush(wxColour(rgb.red, rgb.green, rgb.blue)));
  dc.Clear();
  dc.SetTextForeground(*wxBLACK);
  wxFont font = wxFont(wxFontInfo(7).Bold());
  dc.SetFont(font);
  const std::string_view name = CInstrumentDlg::FamilyName(static_cast<uint32_t>(family));
  const wxString initial = WxText(name.substr(0, 1));
  const wxSize extent = dc.GetTextExtent(initial);
  dc.DrawText(initial, (size - extent.x) / 2, (size - extent.y) / 2);
  dc.SelectObject(wxNullBitmap);
  return bitmap;
}

}  // namespace

CInstrumentListCtrl::CInstrumentListCtrl(wxWindow* parent, wxWindowID id)
    : wxListCtrl(parent, id, wxDefaultPosition, wxSize(600, 240), wxLC_REPORT | wxLC_SINGLE_SEL),
      images_(std::make_unique<wxImageList>(kImageSize, kImageSize, false, CInstrumentDlg::kFamilyCount)) {
  for (size_t family = 0; family < CInstrumentDlg::kFamilyCount; ++family) {
    images_->Add(FamilyImage(family, kImageSize));
  }
  SetImageList(images_.get(), wxIMAGE_LIST_SMALL);
  AddColumns();
}

void CInstrumentListCtrl::AddColumns() {
  if (GetColumnCount() > 0) return;
  for (size_t c = 0; c < InstrumentListRow::kColumns.size(); ++c) {
    AppendColumn(WxText(InstrumentListRow::kColumns[c]),
                 InstrumentListRow::kRightAligned[c] ? wxLIST_FORMAT_RIGHT : wxLIST_FORMAT_LEFT,
                 InstrumentListRow::kWidths[c]);
  }
}

void CInstrumentListCtrl::InsertDefinition(long index, CInstrumentDlg* definition) {
  const InstrumentListRow row = InstrumentListRow::Of(*definition);
  const long item = InsertItem(index, WxText(row.cells[0]),
                               row.image >= 0 && row.image < static_cast<int>(CInstrumentDlg::kFamilyCount) ? row.image
                                                                                                           : -1);
  if (InReportView()) {
    for (size_t c = 1; c < row.cells.size(); ++c) SetItem(item, static_cast<int>(c), WxText(row.cells[c]));
  }
  SetItemPtrData(item, reinterpret_cast<wxUIntPtr>(definition));
}

void CInstrumentListCtrl::Fill(const std::vector<CInstrumentDlg*>& definitions) {
  DeleteAllItems();
  for (CInstrumentDlg* definition : definitions) InsertDefinition(GetItemCount(), definition);
}

void CInstrumentListCtrl::Fill(const CInstrumentArray& definitions, int filter) {
  std::vector<CInstrumentDlg*> shown;
  for (size_t i = 0; i < definitions.size(); ++i) {
    CInstrumentDlg* definition = definitions.at(i);
    if (definition != nullptr && (filter == -1 || definition->family == filter)) shown.push_back(definition);
  }
  Fill(shown);
}

long CInstrumentListCtrl::SelectedIndex() const { return GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); }

CInstrumentDlg* CInstrumentListCtrl::Selected() const {
  const long item = SelectedIndex();
  return item < 0 ? nullptr : reinterpret_cast<CInstrumentDlg*>(GetItemData(item));
}

}  // namespace vornel
