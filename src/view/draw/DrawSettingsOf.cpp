#include "view/draw/PageDrawSettings.h"

#include "document/CPageDlg.h"

namespace vornel {

PageDrawSettings DrawSettingsOf(CPageDlg& page, int32_t zoom, bool onScreen) {
  PageDrawSettings s;
  s.zoom = zoom;
  s.screenDpiX = page.screenDpi.cx;
  s.screenDpiY = page.screenDpi.cy;
  // The colours of notes, flags, slurs and marks help editing on screen; paper shows them black.
  s.colourOn = onScreen && page.ColorMode();
  s.showMarkers = onScreen && page.screenMarkers != 0;
  s.fonts = &page.fonts;
  s.timeProportional = page.TimeProportional();
  s.barWidth = page.barWidth;
  s.staffLineThickness = page.StaffLineThicknessFactor();
  s.staffLineColour = page.stafflineColor;
  s.barLineColour = page.barlineColor;
  s.greyInactive = page.greyInactiveVoices != 0;
  s.barNumbers = page.barNumberFlag != 0;
  s.barNumberHeight = page.barNumberHeight;
  s.outlineBarNumbers = page.outlineBarNumbers != 0;
  s.centerLyrics = page.centerLyrics == 1;
  s.showMetaEventFrames = onScreen && page.showMetaEventFrames != 0;
  s.footnoteCounter = &page.footnoteCounter;
  s.footnoteText = &page.footnoteText;
  return s;
}

}  // namespace vornel
