// The meta-event dispatcher: the event's colour, the drawing of its kind, the anchor; and the
// placement rules every kind shares.

#include <algorithm>
#include <cstdlib>

#include "document/CPageDlg.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"
#include "platform/draw/MulDiv.h"
#include "view/draw/FontDrawing.h"
#include "view/render/LabelDrawing.h"
#include "view/render/MarkSeams.h"
#include "view/render/StaffRenderer.h"
#include "view/render/metaevents/MetaEventDrawing.h"

namespace vornel {

namespace {

// The square an event without ink keeps so that it can still be clicked: 5 mm.
constexpr int32_t kEmptyTextTenths = 50;

// How far right of the lines' start the upper hook of the bracket joining a system's staves
// reaches, in hundredths of a millimetre, with a little air.
constexpr int32_t kBracketHookReach = 650;

// How many lines a text may move to keep clear of the texts drawn before it.
constexpr int kMostTextMoves = 32;

Rect Normalized(Rect r) {
  r.Normalize();
  return r;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The drawing context

int EventDrawing::View() const { return stave.IsTablature() ? EventLocation::kTablature : EventLocation::kNotation; }

bool EventDrawing::Printing() const { return stave.Graphics().dc.IsPrinting(); }

GraphicUtil& EventDrawing::G() const { return stave.Graphics(); }

DeviceContext& EventDrawing::Dc() const { return stave.Graphics().dc; }

int32_t EventDrawing::Spacing() const { return stave.Spacing(); }

int32_t EventDrawing::PageZoom() const {
  const PageDrawSettings* settings = stave.Settings();
  return settings != nullptr && settings->zoom >= 1 ? settings->zoom : 100;
}

int32_t EventDrawing::BottomLine() const {
  return stave.Top() + std::max(stave.LineCount() - 1, 0) * stave.Spacing();
}

Point EventDrawing::Offset() const {
  const DeviceContext& dc = Dc();
  return event.location.DeviceOffset(View(), dc.LogPixelsX(), dc.LogPixelsY(), PageZoom());
}

int EventDrawing::LineByte() const {
  const uint32_t byte = (View() == EventLocation::kNotation ? event.value >> 8 : event.value >> 16) & 0xFF;
  const int magnitude = static_cast<int>(byte & 0x7F);
  return (byte & 0x80) != 0 ? -magnitude : magnitude;
}

void EventDrawing::Store(const Rect& covered) const {
  if (Printing()) return;
  event.location.SetRect(covered.left, covered.top, covered.right, covered.bottom, View());
}

int32_t EndColumnX(const EventDrawing& d, int chords) { return d.stave.GetColumnXAfter(std::max(chords, 0)); }

// ---------------------------------------------------------------------------------------------
// Texts

Point GetTextPosition(const EventDrawing& d) {
  const Point offset = d.Offset();
  const int base = d.event.kind == CMetaEvent::kCaption ? -4 : 2;
  return {d.rect.left + offset.x, d.rect.bottom + offset.y + (base + d.LineByte()) * d.u};
}

Rect MeasureText(DeviceContext& dc, size_t fontIndex, std::string_view text, uint32_t style, int32_t zoom,
                 TextMetrics* metrics) {
  dfLogFont font = PageFontOrDefault(dc, fontIndex);
  if (style & kTextBold) font.logFont.lfWeight = 600;
  if (style & kTextItalic) font.logFont.lfItalic = 1;
  const FontSpec previous = CreateScaledFont(font, static_cast<float>(zoom), dc);
  if (metrics != nullptr) *metrics = dc.GetTextMetrics();
  Rect size;
  dc.DrawText(text, size, DT_CALCRECT | DT_NOPREFIX);
  dc.SelectFont(previous);
  return size;
}

Point PlaceTextClear(EventDrawing& d, size_t fontIndex, std::string_view text, uint32_t style, unsigned alignment,
                     Point at, int32_t* measured) {
  DeviceContext& dc = d.Dc();
  StaffRenderer& stave = d.stave;
  TextMetrics metrics;
  const Rect size = MeasureText(dc, fontIndex, text, style, stave.Zoom(), &metrics);
  if (measured != nullptr) *measured = size.Width();
  if (size.IsEmpty()) return at;
  const int32_t width = size.Width();
  const int32_t height = size.Height();
  const int32_t line = std::max(metrics.tmHeight, 1);
  const int32_t s = stave.Spacing();
  const int32_t gap = std::max(s / 4, 1);
  const int32_t left = (alignment & TA_CENTER) == TA_CENTER ? at.x - width / 2
                       : (alignment & TA_CENTER) == TA_RIGHT ? at.x - width
                                                             : at.x;
  // The text's box from `at`: its baseline, or its top.
  const int32_t above = (alignment & TA_BASELINE) == TA_BASELINE ? metrics.tmAscent : 0;
  Rect box{left, at.y - above, left + width, at.y - above + height};
  // A text near the end of a line (a last syllable, a closing word) ends where the line ends
  // rather than running past the closing bar line and the paper's margin.
  const int32_t lineStart = stave.Stave().area.left - stave.Indent();
  const int32_t back = std::max(std::min(stave.Stave().area.right - box.right, 0), std::min(lineStart - box.left, 0));
  box.Offset(back, 0);

  // What the chord and the stave draw above and under the lines.
  const int32_t topLine = stave.Top();
  const int32_t bottomLine = d.BottomLine();
  const int32_t highest = HighestInkOver(d);
  int32_t lowest = bottomLine;
  // Lyrics form one line under everything the stave's notes hang below it; other texts keep
  // clear of their own chord.
  const bool lyricLine = d.event.kind == CMetaEvent::kLyrics && stave.LyricFloor() != INT32_MIN;
  if (lyricLine) {
    lowest = std::max(lowest, stave.LyricFloor());
  } else if (stave.ChordBottom() != INT32_MIN) {
    const bool stemsDown = !stave.IsTablature() && stave.StemsDown() && (d.chord.rhythm & 7) >= 2;
    lowest = std::max(lowest, stave.ChordBottom() + s + (stemsDown ? stave.StemLength() : 0));
  }
  // Once the stave's music is drawn, a text keeps clear of all of it under its width.
  int32_t highestMusic = highest;
  if (!lyricLine) {
    if (const auto music = stave.MusicInkBetween(box.left, box.right)) {
      highestMusic = std::min(highest, music->top);
      lowest = std::max(lowest, music->bottom);
    }
  }
  // A text over the middle of the stave goes up, one under it goes down, each by whole lines
  // of its font, until it meets neither the ink of the chord nor a text drawn before it.
  const bool over = box.top + box.bottom < topLine + bottomLine;
  int32_t shift = 0;
  if (over && box.bottom > highestMusic - gap) shift = highestMusic - gap - box.bottom;
  if (!over && box.top < lowest + gap) shift = lowest + gap - box.top;
  box.Offset(0, shift);
  shift += KeepClearOfTexts(d, box, over, line);
  return {at.x + back, at.y + shift};
}

int32_t HighestInkOver(const EventDrawing& d) {
  StaffRenderer& stave = d.stave;
  int32_t highest = stave.Top();
  // The rhythm flags over a tablature (in mode 2 they hang below it).
  if (stave.IsTablature() && stave.Stave().tabMode != 2) highest = std::min(highest, stave.Stave().annotationTop);
  if (stave.ChordTop() != INT32_MAX) {
    const bool stemsUp = !stave.IsTablature() && !stave.StemsDown() && (d.chord.rhythm & 7) >= 2;
    highest = std::min(highest, stave.ChordTop() - stave.Spacing() - (stemsUp ? stave.StemLength() : 0));
  }
  return highest;
}

int32_t KeepClearOfTexts(EventDrawing& d, Rect box, bool upward, int32_t step) {
  const int32_t gap = std::max(d.Spacing() / 4, 1);
  const auto meets = [&box, gap](const Rect& other) {
    return box.left - gap < other.right && other.left < box.right + gap && box.top - gap < other.bottom &&
           other.top < box.bottom + gap;
  };
  // Wide texts of neighbouring chords (several verses of long syllables) can stack many lines
  // deep; the bound only keeps the work per text finite.
  std::vector<Rect>& texts = d.stave.Marks().texts;
  int32_t shift = 0;
  step = std::max(step, 1);
  for (int moves = 0; moves < kMostTextMoves && std::any_of(texts.begin(), texts.end(), meets); ++moves) {
    box.Offset(0, upward ? -step : step);
    shift += upward ? -step : step;
  }
  texts.push_back(box);
  return shift;
}

Rect DrawTextItem(EventDrawing& d, size_t fontIndex, std::string_view text, unsigned alignment, uint32_t style,
                  Point at, Point* placed, int32_t* width, size_t drawn) {
  DeviceContext& dc = d.Dc();
  dfLogFont font = PageFontOrDefault(dc, fontIndex);
  font.color = d.event.drawColour;
  at = PlaceTextClear(d, fontIndex, text, style, alignment, at, width);
  if (placed != nullptr) *placed = at;
  Rect r = DrawFontText(text.substr(0, drawn), font, dc, alignment, static_cast<float>(d.stave.Zoom()), 0, style,
                        at.x, at.y);
  if (r.IsEmpty()) {
    const int32_t side = MulDiv(kEmptyTextTenths, dc.LogPixelsX(), 254);
    r = {at.x, at.y, at.x + side, at.y + side};
  }
  const PageDrawSettings* settings = d.stave.Settings();
  if (d.event.kind == CMetaEvent::kLyrics && settings != nullptr && settings->centerLyrics) {
    r.Offset(-r.Width() / 2, 0);
  }
  d.Store(r);
  return r;
}

void DrawSyllable(EventDrawing& d, uint32_t style) {
  const PageDrawSettings* settings = d.stave.Settings();
  const bool centred = settings != nullptr && settings->centerLyrics;
  // A hyphen drawn apart keeps its room after the syllable: it stands there when the next
  // syllable is not on the same line, and other texts keep clear of it.
  const std::string_view text = d.event.text;
  const bool apart = d.stave.LyricHyphenApart() && text.size() > 1 && text.back() == '-';
  const size_t drawn = apart ? text.size() - 1 : text.size();
  Point at;
  int32_t width = 0;
  DrawTextItem(d, kFontLyrics, text, centred ? TA_BASELINE | TA_CENTER : TA_BASELINE | TA_LEFT,
               centred ? style | kTextKeepLeft : style, GetTextPosition(d), &at, &width, drawn);
  if (apart) width = MeasureText(d.Dc(), kFontLyrics, text.substr(0, drawn), style, d.stave.Zoom()).Width();
  const int32_t left = centred ? at.x - width / 2 : at.x;
  d.stave.SetPlacedSyllable({left, left + width, at.y});
}

void DrawLyricHyphen(StaffRenderer& stave, const CMetaEvent& syllable, const PlacedSyllable& from,
                     const PlacedSyllable* to) {
  DeviceContext& dc = stave.Graphics().dc;
  const InkSourceScope ink(dc, InkSource::kLyric);
  const auto style = static_cast<uint32_t>(syllable.cx) & (kTextBold | kTextItalic);
  const int32_t width = MeasureText(dc, kFontLyrics, "-", style, stave.Zoom()).Width();
  // The hyphen stands in the middle of the gap to the next syllable on the same line; where
  // the syllables leave no room for it, it is left out rather than drawn over the next one.
  // A syllable whose next one stands on another line or line of verse has it right after it.
  int32_t x = from.right;
  if (to != nullptr && to->baseline == from.baseline) {
    if (to->left - from.right < width) return;
    x = (from.right + to->left - width) / 2;
  }
  dfLogFont font = PageFontOrDefault(dc, kFontLyrics);
  font.color = syllable.drawColour;
  DrawFontText("-", font, dc, TA_BASELINE | TA_LEFT, static_cast<float>(stave.Zoom()), 0, style, x, from.baseline);
}

// ---------------------------------------------------------------------------------------------
// Anchor

void DrawAnchor(EventDrawing& d, int32_t x, int32_t y) {
  const PageDrawSettings* settings = d.stave.Settings();
  if (d.Printing() || settings == nullptr || !settings->showMetaEventFrames) return;
  EventLocation& location = d.event.location;
  location.notation.Normalize();
  location.tablature.Normalize();
  const Rect r = location.Rect(d.View());
  if (r.IsEmpty()) return;
  const int32_t bottomLine = d.BottomLine();
  const int32_t ex = std::abs(r.left - x) <= std::abs(r.right - x) ? r.left : r.right;
  Point from{x, y};
  Point to{ex, r.bottom};
  if (std::abs(r.bottom - y) < std::abs(r.bottom - bottomLine)) {
    if (y == bottomLine) to.y = r.top;
  } else {
    from = {x, bottomLine};
    to = {ex, r.top};
  }
  if (from.x == 0 && to.x == 0) return;
  GraphicUtil& g = d.G();
  const InkSourceScope ink(g.dc, InkSource::kScreenMark);
  g.DrawRectOutline(r, 0xC8C8C8);
  g.DrawLine(10, 0x6464C8, 2, from.x, from.y, to.x, to.y);
}

// ---------------------------------------------------------------------------------------------
// Dispatcher

namespace {

// What the collision check calls an event's ink.
InkSource InkOfKind(uint8_t kind) {
  switch (kind) {
    case CMetaEvent::kLyrics:
      return InkSource::kLyric;
    case CMetaEvent::kTimeSignature:
      return InkSource::kTimeSignature;
    case CMetaEvent::kMidiController:
    case CMetaEvent::kCaption:
    case CMetaEvent::kContinuo:
    case CMetaEvent::kEnding:
    case CMetaEvent::kBarre:
    case CMetaEvent::kDynamics:
    case CMetaEvent::kTempo:
    case CMetaEvent::kChordName:
    case CMetaEvent::kFootnote:
    case CMetaEvent::kHyperlink:
    case CMetaEvent::kReprise:
      return InkSource::kMetaText;
    default:
      return InkSource::kMetaGlyph;
  }
}

}  // namespace

void DrawMetaEventKind(EventDrawing& d) {
  CMetaEvent& event = d.event;
  DeviceContext& dc = d.Dc();
  const InkSourceScope ink(dc, InkOfKind(event.kind));
  const CInstrumentDlg* definition = d.stave.Definition();
  const bool colours = d.stave.ColourOn() && definition != nullptr;
  event.drawColour = colours ? definition->ornaments.table.colors[COrnamentTable::kMetaEvents] : 0;
  const COLORREF oldColour = dc.SetTextColor(event.drawColour);
  const auto style = static_cast<uint32_t>(event.cx);
  switch (event.kind) {
    case CMetaEvent::kLyrics:
      DrawSyllable(d, style);
      break;
    case CMetaEvent::kTimeSignature:
      // A time signature that stands on a chord is drawn as the time-signature element draws
      // one.
      DrawTimeSignatureIn(d.stave, event, d.chord, {d.rect.left, d.stave.Top(), d.rect.left + d.w, d.BottomLine()});
      break;
    case CMetaEvent::kLegato:
      if (colours) event.drawColour = definition->ornaments.table.colors[COrnamentTable::kLegatos];
      DrawLegato(d);
      break;
    case CMetaEvent::kAlfabeto:
      DrawAlfabeto(d);
      return;
    case CMetaEvent::kChordChart:
    case CMetaEvent::kDynamicChart:
      DrawChordChart(d);
      return;
    case CMetaEvent::kMidiController: {
      EventDrawing line = d;
      line.u = d.stave.GetHalfStep();
      DrawTextItem(line, kFontMidiEvents, event.text, TA_BASELINE | TA_LEFT, style, GetTextPosition(line));
      break;
    }
    case CMetaEvent::kCaption: {
      // A caption on the bar that opens a line (a section's marker) starts clear of the
      // system's bracket, whose hook curls over the start of the lines.
      Point at = GetTextPosition(d);
      const int32_t lineStart = d.stave.Stave().area.left - d.stave.Indent();
      if (d.rect.left <= lineStart + d.Spacing()) at.x = std::max(at.x, lineStart + d.G().HundredthMmToDeviceX(kBracketHookReach));
      DrawTextItem(d, kFontCaptions, event.text, TA_BASELINE | TA_LEFT, style, at);
      break;
    }
    case CMetaEvent::kGraphicOrnament: DrawGraphicOrnament(d); break;
    case CMetaEvent::kContinuo: DrawContinuo(d); break;
    case CMetaEvent::kPedal: DrawPedal(d); break;
    case CMetaEvent::kEnding:
    case CMetaEvent::kBarre:
    case CMetaEvent::kDynamics:
      DrawEnding(d);
      break;
    case CMetaEvent::kTempo: DrawTempo(d); break;
    case CMetaEvent::kCrescendo: DrawCrescendo(d); break;
    case CMetaEvent::kChordName: DrawChordName(d); break;
    case CMetaEvent::kReprise: DrawReprise(d); break;
    case CMetaEvent::kFermata:
    case CMetaEvent::kDaCapo:
    case CMetaEvent::kSegno:
    case CMetaEvent::kCoda:
      DrawFermataOrSign(d);
      break;
    case CMetaEvent::kRasgueado: DrawRasgueado(d); break;
    case CMetaEvent::kFootnote: DrawFootnote(d); break;
    case CMetaEvent::kHyperlink: DrawHyperlink(d); break;
    case CMetaEvent::kStaveBracket: DrawStaveBracket(d); break;
    case CMetaEvent::kBarPause: DrawBarPause(d); break;
    case CMetaEvent::kGraceNote: DrawGraceNote(d); break;
    case CMetaEvent::kMarker: DrawMarker(d); break;
    default:
      // Clefs are drawn by the stave, floating ornaments by their note; other kinds show
      // nothing and keep their rectangles.
      break;
  }
  dc.SetTextColor(oldColour);
  DrawAnchor(d, d.rect.left, d.rect.top);
}

// ---------------------------------------------------------------------------------------------
// Hit highlight

int HighlightMetaEventAt(DeviceContext& dc, const nChordArray& voice, bool tablature, Point point) {
  int count = 0;
  const int view = tablature ? EventLocation::kTablature : EventLocation::kNotation;
  for (const auto& chord : voice) {
    if (chord == nullptr) continue;
    for (const auto& event : chord->metaEvents) {
      if (event == nullptr) continue;
      const Rect r = Normalized(event->location.Rect(view));
      if (r.IsEmpty() || !r.Contains(point)) continue;
      const Pen old = dc.SelectPen(Pen::Create(PS_SOLID, 2, 0xFF6400));
      const Brush oldBrush = dc.SelectBrush(Brush::Null());
      dc.Rectangle(r);
      dc.SelectBrush(oldBrush);
      dc.SelectPen(old);
      ++count;
      break;
    }
  }
  return count;
}

}  // namespace vornel
