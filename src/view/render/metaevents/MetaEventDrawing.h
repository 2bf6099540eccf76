#pragma once
// Meta-events drawn on a stave, on five-line and tablature-type staves alike: the dispatcher
// by kind, the placement every kind shares (the user's offset for the view, scaled by the
// page zoom, the signed line byte, the text placement) and each kind's drawing. On screen
// every drawing stores the rectangle it covered in the event's location for the view, which
// hit testing and dragging read; printing stores nothing and draws no anchors.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class CMetaEvent;
class DeviceContext;
class GraphicUtil;
class StaffRenderer;
struct TextMetrics;
class nChord;
class nChordArray;

// Everything one event's drawing reads: the stave, the event and its chord, the rectangle
// the caller passes (a column and the stave's lines, or the staff), the column width w and
// the line unit u.
struct EventDrawing {
  StaffRenderer& stave;
  CMetaEvent& event;
  const nChord& chord;
  Rect rect;
  int32_t w;
  int32_t u;

  // 0 staff notation, 1 tablature.
  int View() const;
  bool Printing() const;
  GraphicUtil& G() const;
  DeviceContext& Dc() const;
  int32_t Spacing() const;
  int32_t PageZoom() const;
  int32_t BottomLine() const;
  // The view's offset in device pixels at the page zoom.
  Point Offset() const;
  // The signed line byte of the view (value bits 8-15 in notation, 16-23 in tablature).
  int LineByte() const;
  // The rectangle stored for the view (widened when thin); nothing when printing.
  void Store(const Rect& covered) const;
};

// One event at the caller's rectangle: its colour, its kind's drawing and its anchor.
void DrawMetaEventKind(EventDrawing& d);
// The time signature of a time-signature element fitted into `box` (its left is the
// column's x); returns what it covered.
Rect DrawTimeSignatureIn(StaffRenderer& stave, CMetaEvent& event, const nChord& chord, const Rect& box);

// Where a text of the event goes clear of what the chord draws over or under the stave and of
// the texts drawn before it on the stave: from `at` (its baseline or top, as `alignment`
// says) up when it stands over the stave's middle, down otherwise, by whole lines of its font.
// `measured`, when given, receives the text's width.
Point PlaceTextClear(EventDrawing& d, size_t fontIndex, std::string_view text, uint32_t style, unsigned alignment,
                     Point at, int32_t* measured = nullptr);
// The highest ink of the stave and the chord over it (heads, and stems that rise from them),
// with a spacing of air.
int32_t HighestInkOver(const EventDrawing& d);
// How far `box` moves (up or down by `step`) until it meets no text drawn before it on the
// stave; the moved box is then noted so that later texts and signs keep clear of it.
int32_t KeepClearOfTexts(EventDrawing& d, Rect box, bool upward, int32_t step);
// Text placement: x = left + offset; y = bottom + offset + (base + line byte) × u, base 2
// (-4 for captions).
Point GetTextPosition(const EventDrawing& d);
// A text event's text with a document font at `at`; an empty text still gets a square of 5
// mm to be clicked; centred lyrics have their rectangle centred too.
// `placed` and `width`, when given, receive the point the text was drawn at and its width.
// Only the first `drawn` characters are drawn; the placement keeps room for all.
Rect DrawTextItem(EventDrawing& d, size_t fontIndex, std::string_view text, unsigned alignment, uint32_t style,
                  Point at, Point* placed = nullptr, int32_t* width = nullptr,
                  size_t drawn = std::string_view::npos);
// The size of a text in a document font at `zoom`, with the font's metrics when asked.
Rect MeasureText(DeviceContext& dc, size_t fontIndex, std::string_view text, uint32_t style, int32_t zoom,
                 TextMetrics* metrics = nullptr);
// A syllable of the lyrics, without its hyphen while the stave draws that apart; tells the
// stave where it stood.
void DrawSyllable(EventDrawing& d, uint32_t style);
// The frame and the line from the anchor (x, y) to the event's rectangle (screen only, when
// the page shows meta-event frames).
void DrawAnchor(EventDrawing& d, int32_t x, int32_t y);

// The per-kind routines.
void DrawLegato(EventDrawing& d);
void DrawContinuo(EventDrawing& d);
void DrawTempo(EventDrawing& d);
void DrawEnding(EventDrawing& d);
void DrawPedal(EventDrawing& d);
void DrawCrescendo(EventDrawing& d);
void DrawReprise(EventDrawing& d);
void DrawBarPause(EventDrawing& d);
void DrawGraphicOrnament(EventDrawing& d);
void DrawAlfabeto(EventDrawing& d);
void DrawFootnote(EventDrawing& d);
void DrawChordChart(EventDrawing& d);
void DrawChordName(EventDrawing& d);
void DrawFermataOrSign(EventDrawing& d);
void DrawRasgueado(EventDrawing& d);
void DrawHyperlink(EventDrawing& d);
void DrawMarker(EventDrawing& d);
void DrawStaveBracket(EventDrawing& d);
void DrawGraceNote(EventDrawing& d);
// A glyph of `face` (the flags face in tablature, the notation face on a staff) whose em is
// `size`, with its top-left corner at `at`; the rectangle covered is stored and returned.
Rect DrawSymbolGlyph(EventDrawing& d, uint32_t code, int32_t size, Point at);

// The x where an event that spans `chords` chords from the current element ends.
int32_t EndColumnX(const EventDrawing& d, int chords);

// While the pointer is at `point`: each chord's first event whose rectangle for the view
// holds it is framed on the device. Returns how many were.
int HighlightMetaEventAt(DeviceContext& dc, const nChordArray& voice, bool tablature, Point point);

}  // namespace vornel
