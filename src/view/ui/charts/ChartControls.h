#pragma once
// The chord diagram and glyph grid controls: windows that paint their grid through the
// drawing layer and tell their parent of a double-click or a new glyph by command events
// (the event's object is the control, its integer the chart notification).

#include <wx/event.h>

class wxDialog;
class wxSizer;

#include "view/charts/ChartGrids.h"
#include "view/ui/DrawingPanel.h"

namespace vornel {

// A double-click on a chord chart (kChartEmptyCellDoubleClick or kChartCellDoubleClick) and
// a glyph chosen in a glyph grid (kGlyphChosen).
wxDECLARE_EVENT(EVT_CHART_DOUBLE_CLICK, wxCommandEvent);
wxDECLARE_EVENT(EVT_GLYPH_CHOSEN, wxCommandEvent);

class CStaticChordChart : public DrawingPanel {
 public:
  // Shows `grid` when given (a dialog core's), else a grid of its own.
  CStaticChordChart(wxWindow* parent, wxWindowID id, const wxSize& size, ChordChartGrid* grid = nullptr);
  ChordChartGrid& Grid() { return *grid_; }
  void LoadInstrument(const CTabInstrument* instrument);

 private:
  void OnSize(wxSizeEvent& event);
  void OnLeftUp(wxMouseEvent& event);
  void OnDoubleClick(wxMouseEvent& event);

  ChordChartGrid own_;
  ChordChartGrid* grid_;
};

class CStaticGlyphChart : public DrawingPanel {
 public:
  CStaticGlyphChart(wxWindow* parent, wxWindowID id, const wxSize& size, GlyphChartGrid* grid = nullptr);
  GlyphChartGrid& Grid() { return *grid_; }

 private:
  void OnSize(wxSizeEvent& event);
  void OnLeftUp(wxMouseEvent& event);

  GlyphChartGrid own_;
  GlyphChartGrid* grid_;
};

// The layout of the chooser dialogs: `main` (a grid or a column of fields) with `side` to its
// right, above OK and Cancel; the dialog is fitted to it.
void LayOutBesideButtons(wxDialog& dialog, wxWindow* main, wxSizer* side);
void LayOutBesideButtons(wxDialog& dialog, wxSizer* main, wxSizer* side);

}  // namespace vornel
