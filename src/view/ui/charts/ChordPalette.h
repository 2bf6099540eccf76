#pragma once
// The chord palette pane: a tool bar of the alfabeto commands and the alfabeto chart of the
// current instrument; a double-click inserts the chosen letter at the score view's cursor.

#include <wx/bitmap.h>
#include <wx/panel.h>

#include <functional>

class wxToolBar;

namespace vornel {

class CStaticChordChart;
class CTabInstrument;

class CChordPalette : public wxPanel {
 public:
  // The instrument of the active line (or null), and a command's tool bar picture.
  using InstrumentSource = std::function<CTabInstrument*()>;
  using IconSource = std::function<wxBitmap(int id)>;

  CChordPalette(wxWindow* parent, InstrumentSource instrument, IconSource icons);

  CStaticChordChart* Chart() const { return chart_; }
  // Loads the chart again when the current instrument changed (or `force`); the owner calls
  // it when the active document or line may have changed.
  void Reload(bool force = false);
  // A tool bar or menu command; false for one the pane does not carry.
  bool RunCommand(int id);

 private:
  void OnSize(wxSizeEvent& event);
  void OnChartDoubleClick(wxCommandEvent& event);

  InstrumentSource instrument_;
  wxToolBar* toolbar_;
  CStaticChordChart* chart_;
  CTabInstrument* shown_ = nullptr;
};

}  // namespace vornel
