// Where a list's in-place combo box goes and what closing it writes back.

#include <gtest/gtest.h>

#include "platform/controls/CellCombo.h"

namespace vornel {
namespace {

TEST(CellCombo, Placement) {
  struct Case {
    const char* what;
    CellComboMetrics metrics;
    CellComboPlace expected;
  };
  auto m = [](int column, int left, int window, bool tall, bool noScroll, int maximum) {
    CellComboMetrics metrics;
    metrics.columnWidth = column;
    metrics.label = Rect{left, 20, left + column, 38};
    metrics.windowWidth = window;
    metrics.scrollBarWidth = 15;
    metrics.itemsTallerThanWindow = tall;
    metrics.noScroll = noScroll;
    metrics.maximumWidth = maximum;
    return metrics;
  };
  const Case cases[] = {
      {"wide column", m(200, 10, 600, false, false, -1), {10, 200}},
      {"column under 150", m(100, 10, 600, false, false, -1), {10, 150}},
      {"under 150 near the edge: shifted left", m(100, 400, 500, false, false, -1), {347, 150}},
      {"cut at the right edge", m(300, 250, 500, false, false, -1), {250, 247}},
      {"a scroll bar takes its width", m(300, 250, 500, true, false, -1), {250, 232}},
      {"no scroll bar without scrolling", m(300, 250, 500, true, true, -1), {250, 247}},
      {"maximum width", m(400, 0, 800, false, false, 180), {0, 180}},
      {"never left of the window", m(100, 20, 120, false, false, -1), {0, 150}},
  };
  for (const Case& c : cases) EXPECT_EQ(PlaceCellCombo(c.metrics), c.expected) << c.what;
}

TEST(CellCombo, WhenItShowsAndWhatClosingWrites) {
  EXPECT_TRUE(CellComboShows(ListViewMode::kReport, true, false));
  EXPECT_TRUE(CellComboShows(ListViewMode::kList, true, false));
  EXPECT_TRUE(CellComboShows(ListViewMode::kSmallIcon, true, false));
  EXPECT_FALSE(CellComboShows(ListViewMode::kIcon, true, false));
  EXPECT_FALSE(CellComboShows(ListViewMode::kReport, false, false));
  EXPECT_FALSE(CellComboShows(ListViewMode::kReport, true, true));

  EXPECT_EQ(CellComboResult(true, "Theorbo", "The"), "Theorbo");
  EXPECT_EQ(CellComboResult(true, std::nullopt, "Cittern"), "Cittern");  // typed, not in the list
  EXPECT_EQ(CellComboResult(true, std::nullopt, ""), std::nullopt);      // the item keeps its text
  EXPECT_EQ(CellComboResult(false, "Theorbo", ""), std::nullopt);
}

}  // namespace
}  // namespace vornel
