#include "view/draw/FontDrawing.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/draw/MulDiv.h"
#include "platform/draw/TextFaces.h"
#include "platform/text/TextConversion.h"
#include "view/draw/GraphicUtil.h"

namespace vornel {

namespace {

// A justified block: the pieces between '@' marks spread over the block's width.
Rect DrawFontTextBlock(std::string_view text, const Rect& rect, unsigned format, const dfLogFont& font,
                       DeviceContext& dc, float zoom) {
  const int32_t zoomPercent = static_cast<int32_t>(zoom);
  const int32_t blockWidth = MulDiv(MulDiv(font.parentSize.cx, dc.LogPixelsX(), 254), zoomPercent, 100);
  // Cut at each '@'; the mark goes, the character after it starts the next piece. The line
  // end after the last mark closes the block and is no piece of its own.
  std::vector<std::string> pieces;
  std::string piece;
  for (char c : text) {
    if (c == '@') {
      pieces.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  if (!piece.empty() && piece != "\n" && piece != "\r\n") pieces.push_back(piece);
  std::vector<int32_t> widths;
  int32_t total = 0;
  for (const std::string& p : pieces) {
    Rect measured = rect;
    dc.DrawText(p, measured, format | DT_CALCRECT);
    widths.push_back(measured.Width());
    total += measured.Width();
  }
  // The gaps share out what the pieces leave of the block's width.
  const int32_t n = static_cast<int32_t>(pieces.size());
  const int32_t gap = n > 1 ? std::max(0, (blockWidth - total) / (n - 1)) : 0;
  Rect at = rect;
  int32_t tallest = 0;
  for (int32_t i = 0; i < n; ++i) {
    Rect box = at;
    tallest = std::max(tallest, dc.DrawText(pieces[static_cast<size_t>(i)], box, format));
    at.Offset(widths[static_cast<size_t>(i)] + gap, 0);
  }
  return {rect.left, rect.top, rect.left + std::max(blockWidth, total), rect.top + tallest};
}

}  // namespace

FontSpec ToFontSpec(const LogFont& font) {
  FontSpec spec;
  spec.lfHeight = font.lfHeight;
  spec.lfWidth = font.lfWidth;
  spec.lfEscapement = font.lfEscapement;
  spec.lfOrientation = font.lfOrientation;
  spec.lfWeight = font.lfWeight;
  spec.lfItalic = font.lfItalic;
  spec.lfUnderline = font.lfUnderline;
  spec.lfStrikeOut = font.lfStrikeOut;
  spec.lfCharSet = font.lfCharSet;
  spec.lfOutPrecision = font.lfOutPrecision;
  spec.lfClipPrecision = font.lfClipPrecision;
  spec.lfQuality = font.lfQuality;
  spec.lfPitchAndFamily = font.lfPitchAndFamily;
  spec.lfFaceName = font.lfFaceName;
  return spec;
}

FontSpec CreateScaledFont(dfLogFont& font, float zoom, DeviceContext& dc) {
  int32_t divisor = 720;
  if (dc.IsPrinting()) {
    font.zoom = 100.0f;
  } else {
    // A zoom of 0 would divide by zero below: it counts as 100.
    if (!(zoom >= 1.0f)) zoom = 100.0f;
    font.zoom = zoom;
    divisor = MulDiv(720, 100, static_cast<int32_t>(std::min(zoom, 100000.0f)));
  }
  const int64_t points = int64_t(font.pointSize.cx) + font.microTuning;
  const int32_t clamped = static_cast<int32_t>(std::clamp<int64_t>(points, -1000000, 1000000));
  font.logFont.lfHeight = -MulDiv(clamped, dc.LogPixelsY(), divisor);
  if (font.logFont.lfFaceName == "VN_Quintelle") font.logFont.lfCharSet = 0;
  return dc.SelectFont(ToFontSpec(font.logFont));
}

bool CheckInstalled(dfLogFont& font) {
  if (InstalledFaceName(font.logFont.lfFaceName) || IsSubstitutedFace(font.logFont.lfFaceName)) return true;
  font.logFont.lfHeight = 0;
  font.logFont.lfWidth = 0;
  font.pointSize.cy = 0;
  font.microTuning = 0;
  font.color = 0;
  return false;
}

void MatchInstalledFont(dfLogFont& font) {
  const auto installed = InstalledFaceName(font.logFont.lfFaceName);
  if (installed && *installed != font.logFont.lfFaceName) font.logFont.lfFaceName = FitFaceName(*installed);
  font.logFont.lfWidth = 0;
}

Rect DrawFontText(std::string_view text, dfLogFont& font, DeviceContext& dc, unsigned alignment, float zoom,
                  int32_t fromBottom, uint32_t style, int32_t x, int32_t y, TextMetrics* metrics) {
  if (text.empty()) return {};
  if (!(zoom >= 1.0f)) zoom = 100.0f;
  zoom = std::min(zoom, 100000.0f);
  font.zoom = zoom;
  const COLORREF oldColour = dc.SetTextColor(font.color);
  const int32_t oldWeight = font.logFont.lfWeight;
  const uint8_t oldItalic = font.logFont.lfItalic;
  if (style & kTextBold) font.logFont.lfWeight = 600;
  if (style & kTextItalic) font.logFont.lfItalic = 1;
  const FontSpec oldFont = CreateScaledFont(font, zoom, dc);
  const Size a = dc.GetTextExtent("a");
  if (metrics != nullptr) *metrics = dc.GetTextMetrics();
  const unsigned oldAlign = dc.SetTextAlign(alignment);

  // Texts are never menu labels: an '&' is written as it stands.
  Rect textRect{x, y, x, y};
  dc.DrawText(text, textRect, DT_CALCRECT | DT_NOPREFIX);
  if (fromBottom != 0) textRect.Offset(0, -textRect.Height());
  Rect frame = textRect;
  switch (alignment & TA_CENTER) {
    case TA_RIGHT:
      frame.Offset(-frame.Width(), 0);
      break;
    case TA_CENTER:
      // The line is placed from the rectangle's left edge and centred there by the device.
      if (!(style & kTextKeepLeft)) textRect.left = (textRect.left + textRect.right) / 2;
      break;
    default:
      break;
  }
  switch (alignment & TA_BASELINE) {
    case TA_BOTTOM:
      frame.Offset(0, -frame.Height());
      break;
    case TA_BASELINE:
      frame.Offset(0, MulDiv(-a.cy, 2, 3));
      break;
    default:
      break;
  }
  const int32_t d = a.cx / 3;
  frame.top -= d;
  frame.bottom += d;
  frame.left -= 2 * d;
  frame.right += 2 * d;

  const Brush oldBrush = dc.GetBrush();
  if (style & kTextBox) {
    const Pen oldPen = dc.SelectStockPen(StockObject::kWhitePen);
    dc.SelectBrush(Brush::Solid(0xEBEBEB));
    dc.Rectangle(frame);
    dc.SelectPen(oldPen);
  }
  const size_t lastMark = text.rfind('@');
  if (lastMark == std::string_view::npos) {
    dc.DrawText(text, textRect, DT_NOCLIP | DT_NOPREFIX);
  } else if (lastMark + 1 < text.size() && (text[lastMark + 1] == '\n' || text[lastMark + 1] == '\r')) {
    frame = DrawFontTextBlock(text, textRect, DT_NOCLIP | DT_NOPREFIX, font, dc, zoom);
  } else {
    // A mark that closes no block: the text is drawn as it stands rather than left out.
    dc.DrawText(text, textRect, DT_NOCLIP | DT_NOPREFIX);
  }
  if (style & kTextFrame) {
    const COLORREF c = (style & kTextDarkFrame) ? 0x646464 : 0xF0F0F0;
    dc.Draw3dRect(frame, c, c);
  }
  dc.SelectBrush(oldBrush);
  dc.SelectFont(oldFont);
  dc.SetTextAlign(oldAlign);
  dc.SetTextColor(oldColour);
  font.logFont.lfWeight = oldWeight;
  font.logFont.lfItalic = oldItalic;
  return frame;
}

Rect DrawHyperlinkLabel(dfLogFont& font, std::string_view text, float zoom, bool withTarget, int32_t x, int32_t y,
                        DeviceContext& dc) {
  const size_t bar = text.find('|');
  // Without a '|' the text is both the label and the target.
  const std::string_view target = bar == std::string_view::npos ? text : text.substr(0, bar);
  const std::string_view label = bar == std::string_view::npos ? text : text.substr(bar + 1);
  font.logFont.lfUnderline = 1;
  Rect result = DrawFontText(label, font, dc, TA_BASELINE, zoom, 0, 0, x, y);
  if (dc.IsPrinting() && withTarget) {
    const std::string suffix = ": " + std::string(target);
    result = DrawFontText(suffix, font, dc, TA_BASELINE, zoom, 0, 0, x + result.Width(), y);
  }
  font.logFont.lfUnderline = 0;
  return result;
}

Rect DrawLabelBox(dfLogFont& font, std::string_view text, int32_t x, int32_t y, DeviceContext& dc) {
  const FontSpec oldFont = CreateScaledFont(font, 100.0f, dc);
  const unsigned oldAlign = dc.SetTextAlign(TA_LEFT | TA_TOP);
  const COLORREF oldColour = dc.SetTextColor(font.color);
  const int oldMode = dc.SetBkMode(TRANSPARENT);
  Rect box{x, y, x, y};
  dc.DrawText(text, box, DT_CALCRECT);
  const int32_t margin = std::max(2, dc.GetTextMetrics().tmAveCharWidth / 2);
  box.Inflate(margin, margin / 2 + 1);
  dc.FillSolidRect(box, 0xFAE6E6);
  dc.Draw3dRect(box, 0xC89632, 0xE6AA46);
  Rect inner = box;
  inner.Deflate(margin, margin / 2 + 1);
  dc.DrawText(text, inner, DT_CENTER | DT_VCENTER | DT_NOCLIP);
  dc.SetBkMode(oldMode);
  dc.SetTextColor(oldColour);
  dc.SetTextAlign(oldAlign);
  dc.SelectFont(oldFont);
  return box;
}

void DrawStackedText(dfLogFont& font, std::string_view text, float zoom, int32_t x, int32_t y, bool downward,
                     DeviceContext& dc) {
  const FontSpec oldFont = CreateScaledFont(font, zoom, dc);
  const unsigned oldAlign = dc.SetTextAlign(TA_CENTER | (downward ? TA_TOP : TA_BOTTOM));
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    DecodeUtf8(text, pos);
    const std::string_view character = text.substr(start, pos - start);
    dc.TextOut(x, y, character);
    const Size extent = dc.GetTextExtent(character);
    const int32_t step = (extent.cx + extent.cy) / 2;
    y += downward ? step : -step;
  }
  dc.SetTextAlign(oldAlign);
  dc.SelectFont(oldFont);
}

Rect DrawStackedNumbers(dfLogFont& font, GraphicUtil& g, Rect rect, int32_t upper, int32_t lower, bool fromLeft) {
  if (SameFaceName(font.logFont.lfFaceName, "TabDefault")) font.pointSize.cx = 220;
  rect.Normalize();
  // Each number fills half of the rectangle, so that the two stand within the stave's height.
  const Rect box = GraphicUtil::ScaleRectCentred(80, rect);
  Rect upperHalf = box;
  upperHalf.bottom = box.top + box.Height() / 2;
  Rect lowerHalf = box;
  lowerHalf.top = upperHalf.bottom;
  const std::string top = std::to_string(upper);
  const std::string bottom = std::to_string(lower);
  const auto fitted = [&](Rect half) {
    half = GraphicUtil::ScaleRectCentred(90, half);
    if (fromLeft) half.Offset(rect.left - half.left, 0);
    return half;
  };
  Rect result = g.DrawGlyphsFittedInRect(font.logFont.lfFaceName, top, font.color, fitted(upperHalf), fromLeft);
  const Rect second = g.DrawGlyphsFittedInRect(font.logFont.lfFaceName, bottom, font.color, fitted(lowerHalf), fromLeft);
  result.left = std::min(result.left, second.left);
  result.right = std::max(result.right, second.right);
  result.bottom = std::max(result.bottom, second.bottom);
  return result;
}

int32_t RoundFloat(double value) { return RoundHalfAway(value); }

}  // namespace vornel
