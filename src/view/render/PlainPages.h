#pragma once
// A section stacked down plain A4 pages with 20 mm margins, one system under the other, each
// instrument line drawn through CInstrument::LayoutAndDraw and the installed stave renderer.
// It serves the command-line typesetting and the benchmarks until sections are laid out on
// their pages with titles, names and page frames.

#include <cstdint>
#include <vector>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class CPageDlg;
class CStaveArray;
class CSystemArray;
struct PageDrawSettings;

// What the page drawing reads of a document's page settings.
PageDrawSettings DrawSettingsOf(CPageDlg& page, int32_t zoom, bool onScreen);

class PlainPages {
 public:
  // Page size in pixels at a resolution and zoom.
  static Size PageSize(int32_t dpi, int32_t zoom);

  // Measures the section's systems on a device like `dc` and cuts them into pages. The
  // section's beam groups are found first (they are not stored).
  PlainPages(CSystemArray& section, DeviceContext& dc, int32_t zoom);

  size_t PageCount() const { return pages_.size(); }
  // Draws page `index` (from 0) onto `dc`.
  void DrawPage(size_t index, DeviceContext& dc);

 private:
  struct Placed {
    size_t system;
    int32_t top;
  };
  void DrawSystem(const Placed& placed, DeviceContext& dc);
  int32_t PictureHeight(CStaveArray& system, DeviceContext& dc) const;
  CSystemArray& section_;
  int32_t zoom_;
  int32_t dpi_;
  Rect content_;
  int32_t indent_ = 0;
  std::vector<std::vector<Placed>> pages_;
};

}  // namespace vornel
