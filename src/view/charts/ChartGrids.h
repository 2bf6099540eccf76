#pragma once
// The cell grids of the chord diagram control and the glyph grid control, without a window:
// layout, painting through a DeviceContext, hit tests, selection and the notification a click
// or double-click gives. The window layer forwards its mouse events and paints through these.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/instrument/CTabInstrument.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

class DeviceContext;

// What a chart tells its owner.
enum ChartNotification : int {
  kChartEmptyCellDoubleClick = 1330,  // a chart that inserts: double-click anywhere
  kChartCellDoubleClick = 1331,       // a chart that assigns: double-click on a cell
  kGlyphChosen = 1332,                // a glyph grid's selection changed
};

// Columns by rows of equal cells over the client rectangle, one of them selected.
class ChartGrid {
 public:
  static constexpr uint8_t kNoCell = 255;
  static constexpr COLORREF kBackground = 0xFAFAFA;
  static constexpr COLORREF kGridLines = 0x969696;

  ChartGrid(int columns, int rows) : columns_(columns), rows_(rows) {}
  virtual ~ChartGrid() = default;

  void SetClientSize(int32_t width, int32_t height) { client_ = {0, 0, width, height}; }
  void SetScrollOffset(Point offset) { scroll_ = offset; }
  void SetLayout(int columns, int rows);
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  int32_t CellWidth() const;
  int32_t CellHeight() const;

  // The cell under a point of the client area (the scroll offset added when asked); -1
  // outside the client rectangle.
  int HitTest(Point point, bool withScroll) const;
  uint8_t Selected() const { return selected_; }
  void ClearSelection() { selected_ = kNoCell; }
  // Selects the cell; false when it was selected already (or is no cell).
  bool Select(int cell);
  // The frame drawn around the selected cell: one pixel inside its grid lines.
  Rect SelectionFrame() const;

  // Background, grid lines, the cells' content, the selection.
  void Paint(DeviceContext& dc);

 protected:
  virtual void PaintCells(DeviceContext& dc) = 0;

 private:
  int columns_;
  int rows_;
  Rect client_;
  Point scroll_;
  uint8_t selected_ = kNoCell;
};

// The alfabeto chart of a tablature instrument, one chord diagram a cell in letter order.
class ChordChartGrid : public ChartGrid {
 public:
  ChordChartGrid() : ChartGrid(9, 3) {}

  CTabInstrument& Instrument() { return instrument_; }
  const CTabInstrument& Instrument() const { return instrument_; }
  // Copies the instrument's settings and chart, or with none empties the chart; clears the
  // selection.
  void LoadInstrument(const CTabInstrument* instrument);

  // The letter drawn in a cell (cells follow the letters that have a chord); 0 for none.
  char16_t LetterAt(int cell) const;
  char16_t SelectedLetter() const { return Selected() == kNoCell ? 0 : LetterAt(Selected()); }

  // A chart that assigns chords tells its owner of a double-click on a cell; one that inserts
  // tells of any double-click.
  void SetNotifyOnCell(bool onCell) { notifyOnCell_ = onCell; }
  ChartNotification DoubleClickNotification() const {
    return notifyOnCell_ ? kChartCellDoubleClick : kChartEmptyCellDoubleClick;
  }
  // Left button up: selects the cell under the point; true when the selection changed.
  bool OnLeftUp(Point point) { return Select(HitTest(point, true)); }

 protected:
  void PaintCells(DeviceContext& dc) override;

 private:
  CTabInstrument instrument_;
  bool notifyOnCell_ = false;
};

// Character codes of a music font drawn one a cell, row by row.
class GlyphChartGrid : public ChartGrid {
 public:
  GlyphChartGrid() : ChartGrid(9, 9) {}

  void SetupGrid(int columns, int rows, std::string face, int fontHeight, std::vector<uint32_t> codes,
                 int baselinePercent, int type);
  // The codes become the first columns x rows entries of the list.
  void SetGlyphs(const std::vector<uint32_t>& codes);
  const std::vector<uint32_t>& Codes() const { return codes_; }
  // The code of the selected cell; nothing when no cell with a code is selected.
  std::optional<uint32_t> SelectedCode() const;
  int Type() const { return type_; }
  const std::string& Face() const { return face_; }

  // Left button up: true when the selection changed, which tells the owner kGlyphChosen.
  bool OnLeftUp(Point point) { return Select(HitTest(point, false)); }

 protected:
  void PaintCells(DeviceContext& dc) override;

 private:
  std::string face_ = "VAVADURURA";
  int fontHeight_ = 36;
  int baselinePercent_ = 0;
  int type_ = 0;  // 0 tablature, 1 notation
  std::vector<uint32_t> codes_;
};

}  // namespace vornel
