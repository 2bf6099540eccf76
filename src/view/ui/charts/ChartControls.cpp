#include "view/ui/charts/ChartControls.h"

#include <wx/dialog.h>
#include <wx/sizer.h>

namespace vornel {

wxDEFINE_EVENT(EVT_CHART_DOUBLE_CLICK, wxCommandEvent);
wxDEFINE_EVENT(EVT_GLYPH_CHOSEN, wxCommandEvent);

namespace {

void Notify(wxWindow& control, const wxEventType& type, int code) {
  wxCommandEvent event(type, control.GetId());
  event.SetEventObject(&control);
  event.SetInt(code);
  control.ProcessWindowEvent(event);
}

Point At(const wxMouseEvent& event) { return {event.GetX(), event.GetY()}; }

// The grid takes the window's new client size and is painted again.
void FollowSize(wxWindow& window, ChartGrid& grid, wxSizeEvent& event) {
  const wxSize size = window.GetClientSize();
  grid.SetClientSize(size.x, size.y);
  window.Refresh();
  event.Skip();
}

}  // namespace

CStaticChordChart::CStaticChordChart(wxWindow* parent, wxWindowID id, const wxSize& size, ChordChartGrid* grid)
    : DrawingPanel(parent, [this](DeviceContext& dc) { grid_->Paint(dc); }), grid_(grid != nullptr ? grid : &own_) {
  SetId(id);
  SetInitialSize(size);
  grid_->SetClientSize(size.x, size.y);
  Bind(wxEVT_SIZE, &CStaticChordChart::OnSize, this);
  Bind(wxEVT_LEFT_UP, &CStaticChordChart::OnLeftUp, this);
  Bind(wxEVT_LEFT_DCLICK, &CStaticChordChart::OnDoubleClick, this);
}

void CStaticChordChart::LoadInstrument(const CTabInstrument* instrument) {
  grid_->LoadInstrument(instrument);
  Refresh();
}

void CStaticChordChart::OnSize(wxSizeEvent& event) { FollowSize(*this, *grid_, event); }

void CStaticChordChart::OnLeftUp(wxMouseEvent& event) {
  if (grid_->OnLeftUp(At(event))) Refresh();
  event.Skip();
}

void CStaticChordChart::OnDoubleClick(wxMouseEvent& event) {
  grid_->OnLeftUp(At(event));
  Refresh();
  Notify(*this, EVT_CHART_DOUBLE_CLICK, grid_->DoubleClickNotification());
}

CStaticGlyphChart::CStaticGlyphChart(wxWindow* parent, wxWindowID id, const wxSize& size, GlyphChartGrid* grid)
    : DrawingPanel(parent, [this](DeviceContext& dc) { grid_->Paint(dc); }), grid_(grid != nullptr ? grid : &own_) {
  SetId(id);
  SetInitialSize(size);
  grid_->SetClientSize(size.x, size.y);
  Bind(wxEVT_SIZE, &CStaticGlyphChart::OnSize, this);
  Bind(wxEVT_LEFT_UP, &CStaticGlyphChart::OnLeftUp, this);
}

void CStaticGlyphChart::OnSize(wxSizeEvent& event) { FollowSize(*this, *grid_, event); }

void CStaticGlyphChart::OnLeftUp(wxMouseEvent& event) {
  if (grid_->OnLeftUp(At(event))) {
    Refresh();
    Notify(*this, EVT_GLYPH_CHOSEN, kGlyphChosen);
  }
  event.Skip();
}

namespace {

void LayOut(wxDialog& dialog, wxBoxSizer* body, wxSizer* side) {
  body->Add(side, 0, wxALL, 8);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(body);
  top->Add(dialog.CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
  dialog.SetSizerAndFit(top);
}

}  // namespace

void LayOutBesideButtons(wxDialog& dialog, wxWindow* main, wxSizer* side) {
  auto* body = new wxBoxSizer(wxHORIZONTAL);
  body->Add(main, 0, wxALL, 8);
  LayOut(dialog, body, side);
}

void LayOutBesideButtons(wxDialog& dialog, wxSizer* main, wxSizer* side) {
  auto* body = new wxBoxSizer(wxHORIZONTAL);
  body->Add(main, 1, wxALL, 8);
  LayOut(dialog, body, side);
}

}  // namespace vornel
