#include "view/charts/ChartGrids.h"

#include <algorithm>

#include "platform/draw/DeviceContext.h"
#include "view/draw/GraphicUtil.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/metaevents/AlfabetoDrawing.h"

namespace vornel {

namespace {

constexpr COLORREF kSelectionColour = 0x808080;

}  // namespace

void ChartGrid::SetLayout(int columns, int rows) {
  columns_ = std::max(columns, 1);
  rows_ = std::max(rows, 1);
}

int32_t ChartGrid::CellWidth() const { return std::max(client_.Width() / std::max(columns_, 1), 1); }
int32_t ChartGrid::CellHeight() const { return std::max(client_.Height() / std::max(rows_, 1), 1); }

int ChartGrid::HitTest(Point point, bool withScroll) const {
  if (withScroll) {
    point.x += scroll_.x;
    point.y += scroll_.y;
  }
  if (point.x < client_.left || point.x >= client_.right || point.y < client_.top || point.y >= client_.bottom)
    return -1;
  const int column = point.x / CellWidth();
  const int row = point.y / CellHeight();
  return column + row * columns_;
}

bool ChartGrid::Select(int cell) {
  if (cell < 0 || cell >= kNoCell || cell == selected_) return false;
  selected_ = static_cast<uint8_t>(cell);
  return true;
}

Rect ChartGrid::SelectionFrame() const {
  if (selected_ == kNoCell) return {};
  const int32_t left = (selected_ % columns_) * CellWidth() + 1;
  const int32_t top = (selected_ / columns_) * CellHeight() + 1;
  return {left, top, left + CellWidth() - 1, top + CellHeight() - 1};
}

void ChartGrid::Paint(DeviceContext& dc) {
  dc.FillSolidRect(client_, kBackground);
  // The grid covers whole cells only.
  const int32_t width = CellWidth() * columns_;
  const int32_t height = CellHeight() * rows_;
  const Pen previous = dc.SelectPen(Pen::Create(PS_SOLID, 1, kGridLines));
  for (int column = 0; column <= columns_; ++column) {
    dc.MoveTo(column * CellWidth(), 0);
    dc.LineTo(column * CellWidth(), height);
  }
  for (int row = 0; row <= rows_; ++row) {
    dc.MoveTo(0, row * CellHeight());
    dc.LineTo(width, row * CellHeight());
  }
  dc.SelectPen(previous);
  PaintCells(dc);
  if (selected_ == kNoCell) return;
  // A frame 3 pixels wide at the sides and 2 at top and bottom.
  const Rect f = SelectionFrame();
  dc.FillSolidRect({f.left, f.top, f.left + 3, f.bottom}, kSelectionColour);
  dc.FillSolidRect({f.right - 3, f.top, f.right, f.bottom}, kSelectionColour);
  dc.FillSolidRect({f.left, f.top, f.right, f.top + 2}, kSelectionColour);
  dc.FillSolidRect({f.left, f.bottom - 2, f.right, f.bottom}, kSelectionColour);
}

void ChordChartGrid::LoadInstrument(const CTabInstrument* instrument) {
  if (instrument != nullptr) instrument_.CopyFrom(*instrument);
  else instrument_.alfabeto.RemoveAllChords();
  ClearSelection();
}

char16_t ChordChartGrid::LetterAt(int cell) const {
  if (cell < 0) return 0;
  int seen = 0;
  for (char16_t letter = u'A'; letter <= u'['; ++letter) {
    if (instrument_.alfabeto.FindChordByLetter(letter) == nullptr) continue;
    if (seen++ == cell) return letter;
  }
  return 0;
}

void ChordChartGrid::PaintCells(DeviceContext& dc) {
  GraphicUtil g(dc, 100);
  DrawAlfabetoChart(g, instrument_, Columns(), CellWidth(), CellHeight());
}

void GlyphChartGrid::SetupGrid(int columns, int rows, std::string face, int fontHeight, std::vector<uint32_t> codes,
                               int baselinePercent, int type) {
  SetLayout(columns, rows);
  face_ = std::move(face);
  fontHeight_ = fontHeight;
  codes_ = std::move(codes);
  baselinePercent_ = baselinePercent;
  type_ = type;
}

void GlyphChartGrid::SetGlyphs(const std::vector<uint32_t>& codes) {
  const size_t cells = static_cast<size_t>(Columns()) * static_cast<size_t>(Rows());
  codes_.assign(codes.begin(), codes.begin() + static_cast<std::ptrdiff_t>(std::min(cells, codes.size())));
}

std::optional<uint32_t> GlyphChartGrid::SelectedCode() const {
  if (Selected() == kNoCell || Selected() >= codes_.size()) return std::nullopt;
  return codes_[Selected()];
}

void GlyphChartGrid::PaintCells(DeviceContext& dc) {
  FontSpec font;
  font.lfHeight = fontHeight_;
  font.lfWeight = 400;
  font.lfFaceName = face_;
  const FontSpec previousFont = dc.SelectFont(font);
  const int oldMode = dc.SetBkMode(TRANSPARENT);
  const unsigned oldAlign = dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  const size_t cells = static_cast<size_t>(Columns()) * static_cast<size_t>(Rows());
  for (size_t i = 0; i < std::min(cells, codes_.size()); ++i) {
    const int column = static_cast<int>(i) % Columns();
    const int row = static_cast<int>(i) / Columns();
    const int32_t x = column * CellWidth() + CellWidth() / 2;
    const int32_t y = row * CellHeight() + CellHeight() * (100 - baselinePercent_) / 100;
    dc.TextOut(x, y, GlyphText(codes_[i] & 0xFFFF));
  }
  dc.SetTextAlign(oldAlign);
  dc.SetBkMode(oldMode);
  dc.SelectFont(previousFont);
}

}  // namespace vornel
