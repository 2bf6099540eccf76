#include "view/draw/ScaledNotationFont.h"

#include <algorithm>
#include <cmath>

#include "platform/draw/MulDiv.h"
#include "platform/draw/TextFaces.h"
#include "view/draw/FontDrawing.h"

namespace vornel {

namespace {

int32_t SaneZoom(int32_t zoom) { return zoom < 1 ? 100 : std::min(zoom, 100000); }

}  // namespace

int ScaledNotationFont::CreateScaledFont(int32_t zoom, DeviceContext& dc) {
  zoom = SaneZoom(zoom);
  LogFont& lf = font_.logFont;
  const int32_t weight = lf.lfWeight;
  const uint8_t italic = lf.lfItalic;
  metrics_ = dc.GetTextMetrics();
  // The installed face's own spelling, as the system reports it; a face that is not
  // installed stays as it is (the device substitutes one).
  if (const auto installed = InstalledFaceName(lf.lfFaceName)) lf.lfFaceName = FitFaceName(*installed);
  lf.lfHeight = font_.ScaledHeight(dc.LogPixelsY(), zoom);
  lf.lfWidth = 0;
  lf.lfEscapement = 0;
  lf.lfOrientation = 0;
  lf.lfWeight = weight;
  lf.lfItalic = italic;
  scaled_ = ToFontSpec(lf);
  return 1;
}

std::optional<FontSpec> ScaledNotationFont::SelectScaledFont(DeviceContext& dc, int32_t extra, int32_t zoom,
                                                              FontSpec* previous) {
  zoom = SaneZoom(zoom);
  FontSpec selected;
  if (extra != 0) {
    LogFont& lf = font_.logFont;
    const double interval = std::clamp(std::trunc(font_.interval), -1.0e6, 1.0e6);
    lf.lfWidth = 0;
    lf.lfHeight = -MulDiv(MulDiv(static_cast<int32_t>(interval) + extra / 2, zoom, 100), dc.LogPixelsY(), 254);
    selected = ToFontSpec(lf);
  } else {
    if (!scaled_) CreateScaledFont(100, dc);
    selected = *scaled_;
  }
  const FontSpec old = dc.SelectFont(selected);
  if (previous != nullptr) *previous = old;
  return scaled_;
}

}  // namespace vornel
