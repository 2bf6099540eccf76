// Meta-events drawn as lines, curves and texts over a span of chords: legatos, endings and
// dynamics, hairpins, bar rests, rasgueados and stave brackets; continuo figures, footnotes,
// chord names, hyperlinks and pedal names.

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "document/CPageDlg.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/voice/nChord.h"
#include "platform/draw/MulDiv.h"
#include "platform/text/NumberText.h"
#include "platform/text/TextConversion.h"
#include "view/draw/FontDrawing.h"
#include "view/render/LabelDrawing.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/StaffRenderer.h"
#include "view/render/metaevents/MetaEventDrawing.h"

namespace vornel {

namespace {

Rect Around(Point a, Point b, int32_t margin) {
  Rect r{std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
  r.Inflate(0, margin);
  return r;
}


// The four-bit numbers of a byte around 7, the legato's base line.
int Nibble(uint32_t byte, int shift) { return static_cast<int>((byte >> shift) & 0x0F) - 7; }

}  // namespace

// ---------------------------------------------------------------------------------------------
// Legato

void DrawLegato(EventDrawing& d) {
  CMetaEvent& e = d.event;
  const bool notation = d.View() == EventLocation::kNotation;
  const int32_t u = d.stave.GetHalfStep();
  const Point offset = d.Offset();
  Rect r = d.rect;
  r.Offset(offset.x, offset.y);
  const int32_t x0 = r.left;
  // The low byte counts columns: the mark ends at that column's x, or where the staff ends.
  const int32_t x1 = d.stave.ElementColumnX(static_cast<int>(e.value & 0xFF)) + offset.x;
  const int32_t base = r.top + (notation ? 3 : 7) * u;
  const uint32_t byte = (notation ? e.value >> 8 : e.value >> 16) & 0xFF;
  const int32_t y0 = base + u * Nibble(byte, 0);
  const int32_t y1 = base + u * Nibble(byte, 4);
  const int32_t h = (notation ? e.cy : e.cx) * u;
  const uint32_t style = (notation ? e.value >> 28 : e.value >> 24) & 0x0F;
  GraphicUtil& g = d.G();
  Rect covered = Around({x0, y0}, {x1, y1}, std::abs(h));
  if (h == 0) {
    g.DrawThinLine(20, e.drawColour, x0, y0, x1, y1);
  } else if (notation && e.text.empty()) {
    // On a staff the curve is a slur: it waits for the notes under it and keeps clear of them.
    DeferredSlur slur;
    slur.curve = {{x0, y0}, {x1, y1}, h};
    slur.anchored = false;
    slur.colour = e.drawColour;
    slur.flag = static_cast<int32_t>(style);
    if (!d.stave.DeferSlur(slur)) g.DrawCurveBetween(h, slur.flag, x0, y0, x1, y1, e.drawColour);
  } else {
    g.DrawCurveBetween(h, static_cast<int32_t>(style), x0, y0, x1, y1, e.drawColour);
  }
  if (!e.text.empty()) {
    covered = UnionRect(covered, g.DrawTextAt((x0 + x1) / 2, y1 - (y1 - y0) / 2, e.text, 10, 0, e.drawColour,
                                          TA_BASELINE | TA_CENTER));
  }
  d.Store(covered);
}

// ---------------------------------------------------------------------------------------------
// Continuo figures, footnotes, chord names, hyperlinks and pedals

void DrawContinuo(EventDrawing& d) {
  const CMetaEvent& e = d.event;
  const bool above = (d.View() == EventLocation::kNotation ? e.cy : e.cx) != 0;
  const int32_t n = d.LineByte() * (d.u / 2);
  const Point offset = d.Offset();
  Point at{d.rect.left + offset.x, (above ? d.rect.top - n : d.rect.bottom + n) + offset.y};
  at = PlaceTextClear(d, kFontContinuo, e.text, 1, TA_CENTER, at);
  d.Store(DrawMetaEventText(d.Dc(), d.stave.Zoom(), kFontContinuo, at, e.text, TA_CENTER, e.drawColour));
}

void DrawFootnote(EventDrawing& d) {
  CMetaEvent& e = d.event;
  const PageDrawSettings* settings = d.stave.Settings();
  // The footnote counter and text belong to the page being drawn; without a page the
  // footnote is numbered 1.
  int32_t counter = 1;
  if (settings != nullptr && settings->footnoteCounter != nullptr) {
    int32_t& pageCounter = *settings->footnoteCounter;
    if (settings->footnoteText != nullptr) {
      *settings->footnoteText += FormatInt(pageCounter) + ". " + e.text + "\n";
    }
    counter = ++pageCounter;
  } else {
    ++counter;
  }
  dfLogFont font;
  font.InitFont("Arial Narrow", 80, 0);
  font.color = d.Printing() ? 0 : e.drawColour;
  std::string mark = "(";
  mark += FormatInt(counter - 1);
  mark += "*)";
  Rect r = DrawFontText(mark, font, d.Dc(), TA_BASELINE | TA_LEFT, static_cast<float>(d.stave.Zoom()), 0,
                        static_cast<uint32_t>(e.cx), GetTextPosition(d).x, GetTextPosition(d).y);
  d.Store(r);
}

void DrawChordName(EventDrawing& d) {
  const Point offset = d.Offset();
  Point at{d.rect.left + offset.x, d.rect.top - d.u + offset.y};
  at = PlaceTextClear(d, kFontChordNames, d.event.text, 1, TA_BASELINE | TA_LEFT, at);
  d.Store(DrawMetaEventText(d.Dc(), d.stave.Zoom(), kFontChordNames, at, d.event.text, TA_BASELINE | TA_LEFT,
                            d.event.drawColour));
}

void DrawHyperlink(EventDrawing& d) {
  const CMetaEvent& e = d.event;
  DeviceContext& dc = d.Dc();
  const Point offset = d.Offset();
  const Point at{d.rect.left + offset.x, d.rect.top - d.u + offset.y};
  dfLogFont font = PageFontOrDefault(dc, kFontComments);
  font.color = e.drawColour;
  Rect r = DrawHyperlinkLabel(font, e.text, static_cast<float>(d.stave.Zoom()), (e.cx & 0x1000) != 0, at.x, at.y, dc);
  if (!d.Printing()) {
    // The link's kind as an icon left of the text, on screen only.
    const int32_t gap = MulDiv(25, dc.LogPixelsX(), 254);
    const uint32_t icon = 475 + (static_cast<uint32_t>(e.cy) & 15);
    const Rect box{at.x - gap - gap / 2, at.y - gap / 2, at.x - gap / 2, at.y + gap / 2};
    r = UnionRect(r, d.G().DrawGlyphsInRect("VornelTabFlags", GlyphText(icon), 1, e.drawColour, false, box));
  }
  d.Store(r);
}

void DrawPedal(EventDrawing& d) {
  const CInstrumentDlg* definition = d.stave.Definition();
  if (definition == nullptr) return;
  const CMetaEvent& e = d.event;
  // A pedal event must name one of the instrument's pedals; any other draws nothing.
  if (e.value >= definition->pedals.size() || definition->pedals.at(e.value) == nullptr) return;
  const CPedal& pedal = *definition->pedals.at(e.value);
  const std::string name = !pedal.caption.empty() ? pedal.caption
                           : e.value < CPedalArray::kLabels.size() ? std::string(CPedalArray::kLabels[e.value])
                                                                    : std::string();
  const int32_t placement = (definition->tabInstrument.flagGroup >> 4) & 7;
  const int32_t y = placement == 2 ? d.rect.top - d.u : d.rect.bottom + 3 * d.u;
  const Point offset = d.Offset();
  d.Store(d.G().DrawTextAt(d.rect.left + offset.x, y - d.u + offset.y, name, 8, 0, e.drawColour,
                           TA_BASELINE | TA_LEFT));
}

// ---------------------------------------------------------------------------------------------
// Endings and dynamics

namespace {

// A dynamic whose text names another marking than its index (one of the imports' "sfz",
// "fp", "pppp" ...) shows its own letters.
constexpr int kOwnLettersStyle = 27;
bool ShowsOwnLetters(const CMetaEvent& e, int index) {
  static constexpr std::string_view kNames[] = {"ppp", "pp", "p", "mp", "mf", "f", "ff", "fff", "fz", "sf", "pedal"};
  std::string_view text = e.text;
  while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.remove_suffix(1);
  if (text.empty()) return false;
  return index < 0 || static_cast<size_t>(index) >= std::size(kNames) || kNames[index] != text;
}

// The letters of a dynamic, bold and italic in a serif face as tall as the marking glyphs, on
// the frame's bottom.
Rect DrawDynamicLetters(EventDrawing& d, const Rect& frame, int32_t u) {
  DeviceContext& dc = d.Dc();
  LogFont font;
  font.lfFaceName = "Times New Roman";
  font.lfHeight = -2 * u;
  font.lfWeight = 700;
  font.lfItalic = 1;
  const FontSpec previous = dc.SelectFont(ToFontSpec(font));
  const unsigned align = dc.SetTextAlign(TA_BASELINE | TA_LEFT);
  const COLORREF colour = dc.SetTextColor(d.event.drawColour);
  dc.TextOut(frame.left, frame.bottom, d.event.text);
  const Size extent = dc.GetTextExtent(d.event.text);
  dc.SetTextColor(colour);
  dc.SetTextAlign(align);
  dc.SelectFont(previous);
  return {frame.left, frame.bottom - extent.cy, frame.left + extent.cx, frame.bottom};
}

// The head of an ending or dynamic mark in its frame, and the line after it.
Rect DrawEndingShape(EventDrawing& d, int style, Rect frame, int32_t endX) {
  CMetaEvent& e = d.event;
  GraphicUtil& g = d.G();
  DeviceContext& dc = d.Dc();
  const int32_t u = std::max(frame.Height(), 1);
  // Glyph heads (dynamics, signs) are fitted to a square twice the frame's height on it.
  const Rect square{frame.left, frame.bottom - 2 * u, frame.left + 2 * u, frame.bottom};
  const auto text = [&](int32_t x) {
    return DrawMetaEventText(dc, d.stave.Zoom(), kFontEndings, {x, frame.bottom}, e.text, TA_BASELINE | TA_LEFT,
                             e.drawColour);
  };
  const auto glyph = [&](uint32_t code) { return g.DrawNotationGlyphsInRect(GlyphText(code), 1, e.drawColour, false, square); };
  Rect head{frame.left, frame.top, frame.left, frame.bottom};
  bool line = true;
  switch (style) {
    case 0:
    case 1:
      if (e.text.empty()) e.text = "1.";
      head = text(frame.left + u / 3);
      if (style == 0) {
        g.DrawTwoSegmentLine(20, frame.left, frame.bottom, frame.left, frame.top, endX, frame.top);
        line = false;
      }
      break;
    case 2: {
      uint32_t number = 0;
      ScanInt(e.text, number);
      head = g.DrawCircledNumber(static_cast<uint8_t>(std::min<uint32_t>(number, 255)), frame.left + u / 2,
                                 frame.bottom);
      break;
    }
    case 3: head = glyph(0xA5); break;
    case 4:
    case 5:
      head = UnionRect(glyph(style == 4 ? 0xFB : 0xFC), text(square.right));
      break;
    case 6:
    case 7:
      head = UnionRect(glyph(static_cast<uint32_t>(style) + 0xEF), text(square.right));
      break;
    case 8: head = glyph(0xF7); break;
    case 9:
      head = g.DrawTurnedCurve(frame.left, frame.bottom, endX - frame.left, 0, 3 * u / 4, std::max(u / 6, 1));
      line = false;
      break;
    case 10:
      g.DrawCurveBetween(-2 * u, 1, frame.left, frame.bottom, endX, frame.bottom, e.drawColour);
      head = {frame.left, frame.bottom - 2 * u, endX, frame.bottom};
      line = false;
      break;
    case 26: break;
    case kOwnLettersStyle: head = DrawDynamicLetters(d, frame, u); break;
    default:
      if (style >= 11 && style <= 25) head = glyph(static_cast<uint32_t>(style) + 0xDF);
      break;
  }
  if (line) {
    const int32_t y = (frame.top + frame.bottom) / 2;
    if (endX > head.right) g.DrawDashedGreyLine(10, head.right, y, endX, y);
  }
  return UnionRect(UnionRect(head, frame), {frame.left, frame.top, std::max(endX, frame.left), frame.bottom});
}

// A dynamic on a staff, in the notes' size: its marking (a glyph of the notation font, or its
// own letters) on a baseline over the staff and the music under it, or under them, clear of
// the texts drawn before it; a span (a pedal's) draws its line to the end column.
void DrawStaffDynamic(EventDrawing& d, int index, const Rect& frame, int32_t endX) {
  CMetaEvent& e = d.event;
  StaffRenderer& stave = d.stave;
  DeviceContext& dc = d.Dc();
  const int32_t s = d.Spacing();
  const int32_t gap = std::max(s / 3, 1);
  const bool letters = ShowsOwnLetters(e, index);
  const uint32_t code = index == 10 ? 0xF7 : static_cast<uint32_t>(index + 11 + 0xDF);
  const std::string text = letters ? e.text : GlyphText(code);
  FontSpec previous;
  if (letters) {
    LogFont font;
    font.lfFaceName = "Times New Roman";
    font.lfHeight = -8 * s / 3;
    font.lfWeight = 700;
    font.lfItalic = 1;
    previous = dc.SelectFont(ToFontSpec(font));
  } else {
    previous = stave.SelectNotationFont(0);
  }
  const Rect ink = dc.GetTextInkBox(text);
  const bool over = frame.top + frame.bottom < stave.Top() + d.BottomLine();
  const int32_t x = frame.left;
  int32_t y = frame.bottom;
  // The marking and the line of its span.
  const auto music = stave.MusicInkBetween(x + ink.left, std::max(x + ink.right, endX));
  if (over) {
    const int32_t floor = std::min({HighestInkOver(d) - gap, stave.Top() - gap, music ? music->top - gap : INT32_MAX});
    y = std::min(y, floor - ink.bottom);
  } else {
    const int32_t ceiling = std::max(d.BottomLine() + s, music ? music->bottom + gap : INT32_MIN);
    y = std::max(y, ceiling - ink.top);
  }
  Rect box{x + ink.left, y + ink.top, x + ink.right, y + ink.bottom};
  // The texts drawn after it keep clear of its line too.
  const int32_t moved =
      KeepClearOfTexts(d, {box.left, box.top, std::max(box.right, endX), box.bottom}, over, std::max(s, 1));
  y += moved;
  box.Offset(0, moved);
  const unsigned align = dc.SetTextAlign(TA_BASELINE | TA_LEFT);
  const COLORREF colour = dc.SetTextColor(e.drawColour);
  dc.TextOut(x, y, text);
  dc.SetTextColor(colour);
  dc.SetTextAlign(align);
  dc.SelectFont(previous);
  Rect covered = box;
  if (endX > box.right + s) {
    const int32_t lineY = (box.top + box.bottom) / 2;
    d.G().DrawDashedGreyLine(10, box.right + s / 2, lineY, endX, lineY);
    covered.right = endX;
  }
  d.Store(covered);
}

}  // namespace

void DrawEnding(EventDrawing& d) {
  CMetaEvent& e = d.event;
  GraphicUtil& g = d.G();
  const Point offset = d.Offset();
  const int32_t u = d.u;
  const int32_t ax = d.rect.left + offset.x;
  const int32_t ay = d.rect.top + offset.y - u * d.LineByte();
  const int32_t endX = EndColumnX(d, static_cast<int>(e.value & 0xFF));

  if (e.kind == CMetaEvent::kBarre) {
    // A barré: 'C' (or the half barré) and the fret, framed, with a dashed line over the span.
    Rect square{ax, ay - u, ax + u, ay};
    square.Inflate(u / 4, u / 4);
    const int number = e.cx & 0xFF;
    std::string text = GlyphText((e.cy & 1) != 0 ? 0xBF : 0xC0);
    if ((e.cy & 2) == 0) {
      text += FormatInt(number);
    } else {
      if (number > 10) text += GlyphText(0xCA);
      if (number > 20) text += GlyphText(0xCA);
      text += GlyphText(0xC0 + static_cast<uint32_t>(number % 10));
    }
    g.DrawGlyphsInRect("VornelFg", text, -1, e.drawColour, false, square);
    g.DrawRectOutline(square, e.drawColour);
    if ((e.cx & ~0xFF) != 0) g.DrawDashedGreyLine(10, square.right, (square.top + square.bottom) / 2, endX,
                                                  (square.top + square.bottom) / 2);
    d.Store({square.left, square.top, std::max(square.right, endX), square.bottom});
    return;
  }
  int style = e.cy & 0x0F;
  if (e.kind == CMetaEvent::kDynamics) {
    const auto index = static_cast<int16_t>(static_cast<uint32_t>(e.cy) >> 16);
    if (!d.stave.IsTablature()) {
      DrawStaffDynamic(d, index, {ax, ay - u, std::max(endX, ax), ay}, endX);
      return;
    }
    style = ShowsOwnLetters(e, index) ? kOwnLettersStyle : index == 10 ? 8 : index + 11;
  }
  const int32_t height = d.View() == EventLocation::kTablature ? u * 2 / 3 : u;
  Rect frame{ax, ay - height, std::max(endX, ax), ay};
  if (style == 9) frame.Offset(0, u / 2);
  if (style == 2) frame.left -= u;
  if (e.kind == CMetaEvent::kDynamics) {
    // A dynamic over a staff stands above heads and stems that reach higher; over a tablature
    // it keeps its place among the flags, or, where the flags hang below the tablature, stands
    // above the letters of its chord. Over or under the stave, it keeps clear of the texts
    // drawn before it, and texts drawn after it keep clear of it.
    const bool over = frame.top + frame.bottom < d.stave.Top() + d.BottomLine();
    const bool tablature = d.stave.IsTablature();
    const bool amongFlags = tablature && d.stave.Stave().tabMode != 2;
    const int32_t gap = std::max(d.Spacing() / 4, 1);
    int32_t floor = tablature ? HighestInkOver(d) - gap : HighestInkOver(d) + d.Spacing() / 2;
    // The glyph fills a square twice the frame's height on its bottom.
    const Rect glyph{frame.left, frame.bottom - 2 * height, frame.left + 2 * height, frame.bottom};
    const auto music = d.stave.MusicInkBetween(glyph.left, glyph.right);
    if (music) floor = std::min(floor, music->top - gap);
    if (over && !amongFlags && frame.bottom > floor) frame.Offset(0, floor - frame.bottom);
    if (!over && !tablature) {
      // Under a staff: under its bottom line and the music under the glyph.
      const int32_t ceiling = std::max(d.BottomLine() + d.Spacing(), music ? music->bottom + gap : INT32_MIN);
      if (glyph.top < ceiling) frame.Offset(0, ceiling - glyph.top);
    }
    frame.Offset(0, KeepClearOfTexts(d, frame, over, std::max(height, 1)));
  }
  d.Store(DrawEndingShape(d, style, frame, endX));
}

// ---------------------------------------------------------------------------------------------
// Hairpins

void DrawCrescendo(EventDrawing& d) {
  const CMetaEvent& e = d.event;
  const int32_t s = d.Spacing();
  const bool tab = d.View() == EventLocation::kTablature;
  const int32_t h = tab ? 3 * (s / 2) / 4 : 3 * s / 4;
  const Point offset = d.Offset();
  const int32_t x0 = d.rect.left + offset.x;
  const int32_t x1 = EndColumnX(d, static_cast<int>(e.value & 0xFF));
  int32_t y = d.stave.Top() - (tab ? 4 : 2) * s - 3 * h + offset.y + d.LineByte() * h;
  // Once the stave's music is drawn, a hairpin over or under the staff keeps clear of it and
  // of the texts drawn before it.
  const bool over = 2 * y < d.stave.Top() + d.BottomLine();
  if (const auto music = d.stave.MusicInkBetween(std::min(x0, x1), std::max(x0, x1))) {
    const int32_t gap = std::max(s / 3, 1);
    if (over && y + h > music->top - gap) y = music->top - gap - h;
    if (!over && y - h < music->bottom + gap) y = music->bottom + gap + h;
  }
  if (!tab && !over) y = std::max(y, d.BottomLine() + s + h);
  y += KeepClearOfTexts(d, {std::min(x0, x1), y - h, std::max(x0, x1), y + h}, over, std::max(h, 1));
  // A positive cy opens from the event's own column; otherwise the hairpin closes at the end.
  const int32_t closed = e.cy > 0 ? x0 : x1;
  const int32_t open = e.cy > 0 ? x1 : x0;
  GraphicUtil& g = d.G();
  g.DrawThinLine(15, 0, open, y + h, closed, y);
  g.DrawThinLine(20, 0, closed, y, open, y - h);
  d.Store({std::min(x0, x1), y - std::abs(h), std::max(x0, x1), y + std::abs(h)});
}

// ---------------------------------------------------------------------------------------------
// Rasgueado

void DrawRasgueado(EventDrawing& d) {
  const CMetaEvent& e = d.event;
  const bool notation = d.View() == EventLocation::kNotation;
  const Point offset = d.Offset();
  const Point anchor{d.rect.left, d.rect.top};
  const Point from{anchor.x + offset.x, anchor.y + offset.y};
  const uint32_t byte = (notation ? e.value >> 8 : e.value >> 16) & 0xFF;
  const int shift = (byte & 0x80) != 0 ? -static_cast<int>(byte & 0x7F) : static_cast<int>(byte & 0x7F);
  const Point to{anchor.x + e.cx * d.w, from.y + shift * d.w / 4};
  const int32_t depth = (notation ? d.Spacing() : d.Spacing() / 2) * 6 / 4;
  d.G().DrawCurveBetween(depth, 1, from.x, from.y, to.x, to.y, e.drawColour);
  d.Store({from.x, from.y, from.x + d.w, from.y + d.w});
}

// ---------------------------------------------------------------------------------------------
// Stave brackets

void DrawStaveBracket(EventDrawing& d) {
  const CMetaEvent& e = d.event;
  const bool tab = d.View() == EventLocation::kTablature;
  const auto cy = static_cast<uint32_t>(e.cy);
  const auto cx = static_cast<uint32_t>(e.cx);
  const int lines = static_cast<int>(tab ? cy & 0xFF : (cy >> 16) & 0xFF);
  const int32_t staveHeight = d.BottomLine() - d.stave.Top();
  const int32_t step = tab ? staveHeight / 2 : staveHeight / 4;
  const int32_t height = lines * step;
  const int shape = static_cast<int>((cx >> 1) & 7);
  int32_t thickness = static_cast<int32_t>((cx >> 8) & 0x0F);
  if (thickness == 0) thickness = 1;
  const int32_t facing = static_cast<int32_t>(cx & 1);
  const Point offset = d.Offset();
  const int32_t x = d.rect.left + offset.x - d.w / 2;
  const int32_t y = d.rect.top + offset.y;
  GraphicUtil& g = d.G();
  Rect covered;
  switch (shape) {
    case 0: covered = g.DrawSquareBracket(thickness, facing, x, y, height); break;
    case 1: covered = g.DrawSystemBrace(height, thickness, facing, x, y); break;
    case 2: covered = g.DrawCurvedBracket(thickness, facing, x, y, height); break;
    case 3:
    case 4: covered = g.DrawThickBracket(shape, thickness, facing, x, y, height); break;
    case 5: covered = g.DrawArcBracket(thickness, facing, x, y, height, d.Spacing()); break;
    default: covered = g.DrawBlockBracket(shape, thickness, facing, x, y, height, d.Spacing()); break;
  }
  d.Store(covered);
}

// ---------------------------------------------------------------------------------------------
// Bar rests

void DrawBarPause(EventDrawing& d) {
  const CMetaEvent& e = d.event;
  GraphicUtil& g = d.G();
  DeviceContext& dc = d.Dc();
  const bool tab = d.View() == EventLocation::kTablature;
  const int32_t dd = tab ? d.u / 2 : d.u;
  const int32_t top = d.rect.top;
  const int32_t xa = d.rect.left - d.w / 2 + dd;
  const int32_t xb = d.rect.right + d.w / 2 - dd;
  g.DrawVerticalLine(20, 0, xa, top, d.rect.bottom - top, false);
  g.DrawVerticalLine(20, 0, xb, top, d.rect.bottom - top, false);
  Rect block{xa + dd, top + 2 * dd, xb - dd, top + 3 * dd};
  int32_t h = 0;
  if (!tab) {
    block.top += dd / 5;
    block.bottom -= dd / 5;
    h = dd - dd / 5;
  } else {
    block.Offset(0, 2 * dd);
    if (block.Width() > d.w) block.left += dd;
    block.right -= dd;
    h = dd;
  }
  if (!tab && e.cx == 1) {
    const int32_t middle = (xa + xb) / 2;
    block = {middle - h, top + dd, middle + h, top + 7 * dd / 4};
  }
  if (e.cx > 1) block.Offset(0, tab ? block.Height() / 2 : -h / 2);
  dc.FillRect(block, Brush::Stock(StockObject::kBlackBrush));
  if (e.cx > 1) {
    const int32_t pen = std::max(g.HundredthMmToDeviceX(30), 1);
    const Pen old = dc.SelectPen(Pen::Create(PS_SOLID, pen, 0));
    for (const int32_t x : {block.left, block.right}) {
      dc.MoveTo(x, block.top - h / 2);
      dc.LineTo(x, block.top + 3 * h / 2);
    }
    dc.SelectPen(old);
  }
  Rect covered = block;
  if (e.cx != 1) {
    int32_t side = tab ? 4 * h : 5 * h / 2;
    side += side / 3;
    const int32_t middle = (block.left + block.right) / 2;
    const Rect box{middle - side / 2, d.rect.top - side, middle - side / 2 + side, d.rect.top};
    covered = UnionRect(covered, g.DrawGlyphsInRect("Vornelfg", FormatInt(e.cx), -1, 0, false, box));
  }
  d.Store(covered);
}

}  // namespace vornel
