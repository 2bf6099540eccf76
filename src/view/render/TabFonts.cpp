#include "view/render/TabFonts.h"

#include <algorithm>

#include "model/instrument/CTabInstrument.h"
#include "platform/draw/TextFaces.h"
#include "view/draw/FontDrawing.h"
#include "view/draw/ScaledNotationFont.h"

namespace vornel {

FontSpec SelectTabFont(CTabInstrument& tab, DeviceContext& dc, bool useTablatureFont, int32_t zoom) {
  if (!useTablatureFont) {
    CNotationFont record = tab.flagsFont;
    ScaledNotationFont font(record);
    font.CreateScaledFont(zoom, dc);
    FontSpec previous;
    font.SelectScaledFont(dc, 0, zoom, &previous);
    return previous;
  }
  const FontSpec previous = CreateScaledFont(tab.tabFont, static_cast<float>(zoom), dc);
  dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  dc.SetTextColor(tab.tabFont.color);
  tab.ComputeDeviceSpacing(dc.LogPixelsX(), dc.LogPixelsY());
  return previous;
}

FontSpec CreateSmallTabFont(const CTabInstrument& tab, DeviceContext& dc, int32_t zoom) {
  dfLogFont small = tab.tabFont;
  small.pointSize.cx -= 20;
  return CreateScaledFont(small, static_cast<float>(zoom), dc);
}

std::optional<FontSpec> CreateFlagsFont(CTabInstrument& tab, DeviceContext& dc, int32_t zoom) {
  LogFont lf = tab.flagsFont.logFont;
  lf.lfFaceName = tab.flagsFont.face;
  const auto installed = InstalledFaceName(lf.lfFaceName);
  if (!installed) return std::nullopt;
  lf.lfFaceName = FitFaceName(*installed);
  const int32_t cy = tab.ComputeDeviceSpacing(dc.LogPixelsX(), dc.LogPixelsY())[1];
  const double scale = (zoom < 1 ? 100 : std::min(zoom, 100000)) / 100.0;
  lf.lfHeight = -static_cast<int32_t>(scale * 2 * cy);
  lf.lfWidth = 0;
  return ToFontSpec(lf);
}

}  // namespace vornel
