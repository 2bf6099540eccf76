#include "view/ui/charts/ChordPalette.h"

#include <wx/toolbar.h>

#include <array>
#include <utility>

#include "model/instrument/CTabInstrument.h"
#include "platform/UserPrompts.h"
#include "view/FramePanes.h"
#include "view/charts/ChordPaletteLayout.h"
#include "view/ui/charts/ChartControls.h"
#include "view/ui/charts/ChordChartDialog.h"

namespace vornel {

namespace {

constexpr int kEditChord = 33390;
constexpr int kConfigure = 33391;
constexpr int kRemoveChart = 33395;

struct PaletteTool {
  int id;
  const char* text;
};

constexpr std::array<PaletteTool, 14> kTools = {{
    {33304, "Raise barre position"},
    {33305, "Lower barre position"},
    {33306, "Raise alfabeto position"},
    {33307, "Edit alfabeto letter"},
    {33308, "Toggle alfabeto symbol"},
    {33309, "Baroque strumming"},
    {33310, "Reset alfabeto font"},
    {33311, "Show alfabeto chords"},
    {kEditChord, "Edit selected chord"},
    {kConfigure, "Configure alfabeto"},
    {33392, "Input alfabeto symbol on double-click"},
    {33393, "Input chord on double-click"},
    {33394, "Input chart on double-click"},
    {kRemoveChart, "Remove chart"},
}};

}  // namespace

CChordPalette::CChordPalette(wxWindow* parent, InstrumentSource instrument, IconSource icons)
    : wxPanel(parent, wxID_ANY), instrument_(std::move(instrument)) {
  SetBackgroundColour(wxColour(kPaletteBackground & 0xFF, (kPaletteBackground >> 8) & 0xFF,
                               (kPaletteBackground >> 16) & 0xFF));
  toolbar_ = new wxToolBar(this, wxID_ANY, wxPoint(0, 0), wxSize(-1, kPaletteToolbarHeight),
                           wxTB_HORIZONTAL | wxTB_FLAT | wxTB_NODIVIDER);
  toolbar_->SetToolBitmapSize(wxSize(16, 16));
  for (const PaletteTool& tool : kTools) {
    wxBitmap picture = icons ? icons(tool.id) : wxBitmap();
    if (!picture.IsOk()) picture = wxBitmap(16, 16);
    toolbar_->AddTool(tool.id, tool.text, picture, tool.text);
  }
  toolbar_->Realize();
  chart_ = new CStaticChordChart(this, wxID_ANY, wxSize(8 * kPaletteCellWidth, 3 * kPaletteCellHeight));
  chart_->Grid().SetLayout(8, 3);
  chart_->Move(0, kPaletteToolbarHeight);
  Bind(wxEVT_SIZE, &CChordPalette::OnSize, this);
  Bind(wxEVT_TOOL, [this](wxCommandEvent& event) {
    if (!RunCommand(event.GetId())) event.Skip();
  });
  chart_->Bind(EVT_CHART_DOUBLE_CLICK, &CChordPalette::OnChartDoubleClick, this);
  Reload(true);
}

void CChordPalette::Reload(bool force) {
  CTabInstrument* current = instrument_ ? instrument_() : nullptr;
  if (!force && current == shown_) return;
  shown_ = current;
  chart_->LoadInstrument(current);
}

bool CChordPalette::RunCommand(int id) {
  // The pane acts only while it has an instrument.
  Reload();
  if (shown_ == nullptr) return false;
  switch (id) {
    case kEditChord:
      if (!EditAlfabetoChord(shown_, chart_->Grid().SelectedLetter())) return true;
      break;
    case kConfigure:
      ShowChordChartDlg(this, *shown_);
      break;
    case kRemoveChart: {
      const char16_t letter = chart_->Grid().SelectedLetter();
      size_t index = 0;
      if (letter == 0 || shown_->alfabeto.FindChordByLetter(letter, &index) == nullptr) {
        Prompts().Beep(BeepKind::kExclamation);
        return true;
      }
      shown_->alfabeto.chart.erase(index);
      break;
    }
    default:
      // The score view carries the alfabeto commands and the insert modes; the selection stays.
      view::Panes().DispatchCommand(id);
      chart_->Refresh();
      return true;
  }
  Reload(true);
  return true;
}

void CChordPalette::OnSize(wxSizeEvent& event) {
  const PaletteLayout layout = LayoutChordPalette(GetClientSize().x);
  toolbar_->SetSize(0, 0, GetClientSize().x, kPaletteToolbarHeight);
  chart_->Grid().SetLayout(layout.columns, layout.rows);
  chart_->SetSize(layout.chart.left, layout.chart.top, layout.chart.Width(), layout.chart.Height());
  chart_->Refresh();
  event.Skip();
}

void CChordPalette::OnChartDoubleClick(wxCommandEvent&) {
  const std::optional<view::CommandEvent> insert = PaletteInsertCommand(chart_->Grid());
  if (insert && !view::Panes().DispatchCommandEvent(*insert)) Prompts().Beep(BeepKind::kError);
}

}  // namespace vornel
