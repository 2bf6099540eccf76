// Meta-events drawn as glyphs: tempo marks, reprise signs, fermatas and signs, graphic
// ornaments, markers, floating symbols, time signatures, alfabeto letters, chord charts and
// grace-note fragments.

#include <algorithm>
#include <array>
#include <string>

#include "document/CPageDlg.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/events/GraceNoteEvent.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/nChord.h"
#include "platform/draw/MulDiv.h"
#include "platform/text/NumberText.h"
#include "view/draw/FontDrawing.h"
#include "view/render/GraceFragments.h"
#include "view/render/LabelDrawing.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/StaffRenderer.h"
#include "view/render/metaevents/AlfabetoDrawing.h"
#include "view/render/metaevents/MetaEventDrawing.h"

namespace vornel {

namespace {

constexpr std::string_view kNotationFace = "VornelNotation";
constexpr std::string_view kFlagsFace = "VornelTabFlags";


std::string_view ViewFace(const EventDrawing& d) {
  return d.View() == EventLocation::kTablature ? kFlagsFace : kNotationFace;
}

// The em of a sign drawn beside the stave: the staff's four spaces, or three tablature
// spacings.
int32_t SignEm(const EventDrawing& d) { return (d.View() == EventLocation::kTablature ? 3 : 4) * d.Spacing(); }

}  // namespace

Rect DrawSymbolGlyph(EventDrawing& d, uint32_t code, int32_t size, Point at) {
  const Rect box{at.x, at.y, at.x + size, at.y + size};
  Rect covered = d.G().DrawGlyphsInRect(ViewFace(d), GlyphText(code), 1, d.event.drawColour, false, box);
  if (covered.IsEmpty()) covered = box;
  d.Store(covered);
  return covered;
}

// ---------------------------------------------------------------------------------------------
// Tempo

void DrawTempo(EventDrawing& d) {
  const CMetaEvent& e = d.event;
  const Point offset = d.Offset();
  const Point anchor{d.rect.left + offset.x, d.rect.top + offset.y};
  uint32_t note = 103;
  switch (e.cx) {
    case 1: case 5: note = 102; break;
    case 2: case 6: note = 104; break;
    case 3: case 7: note = 101; break;
    default: break;
  }
  // cx 4 to 7 are the dotted forms of 0 to 3.
  const std::string beat = GlyphText(note) + GlyphText(e.cx > 3 ? 154 : 0x20);
  const int32_t raise = d.u * (d.View() == EventLocation::kTablature ? 11 : 7) / 2;
  GraphicUtil& g = d.G();
  std::string figure = "=";
  figure += FormatInt(static_cast<int32_t>(e.value & 0xFFF));
  const Rect text = g.DrawTextAt(anchor.x, anchor.y - raise, figure, 9, 0, e.drawColour, TA_BASELINE | TA_LEFT);
  const int32_t width = text.Height() * 5 / 4;
  const Rect noteBox{text.left - width, text.top, text.left, text.bottom};
  g.DrawGlyphsInRect(kNotationFace, beat, 2, e.drawColour, false, noteBox);
  d.Store(UnionRect(text, noteBox));
}

// ---------------------------------------------------------------------------------------------
// Reprise signs

void DrawReprise(EventDrawing& d) {
  static constexpr std::array<uint32_t, 6> kNotation = {0x33, 0x113, 0x14, 0x4A, 0x115, 0x20};
  static constexpr std::array<uint32_t, 6> kTablature = {0x33, 0x112, 0x56, 0x13A, 0x57, 0x20};
  static constexpr std::array<int32_t, 12> kTextSizes = {8, 9, 10, 11, 12, 13, 14, 16, 24, 26, 28, 36};
  CMetaEvent& e = d.event;
  const bool tab = d.View() == EventLocation::kTablature;
  const int32_t s = d.Spacing();
  int32_t half = d.w / 2;
  if ((e.cx & 1) == 0) half = -half;
  Rect r = d.rect;
  r.left -= half;
  d.stave.DrawRepeatDots(r.left, 0, (e.cx & 2) != 0, (e.cx & 4) != 0);
  r.Deflate(d.u, d.u);
  const int32_t g = tab ? s : 2 * s;
  if (e.text.empty()) {
    if (e.cy == 5 || e.cy < 0 || e.cy > 5) {
      // The blank sign, or one outside the table, keeps only its rectangle.
      d.Store({r.left, r.top, r.left + g, r.top + g});
      return;
    }
    r.Offset(-d.w / 2, -d.w / 2);
    const auto index = static_cast<size_t>(e.cy);
    DrawSymbolGlyph(d, tab ? kTablature[index] : kNotation[index], g, {r.left, r.top});
    return;
  }
  // A text reprise: the caption font at one of twelve sizes (a size outside them is held to
  // the nearest).
  const auto sizeIndex = static_cast<size_t>(std::clamp<int32_t>(static_cast<int16_t>(e.cx >> 16), 0, 11));
  dfLogFont font = PageFontOrDefault(d.Dc(), kFontCaptions);
  font.pointSize.cx = 10 * kTextSizes[sizeIndex];
  font.color = e.drawColour;
  const Point at = GetTextPosition(d);
  Rect covered = DrawFontText(e.text, font, d.Dc(), TA_BASELINE | TA_LEFT, static_cast<float>(d.stave.Zoom()), 0,
                              static_cast<uint32_t>(e.cx) & 0x60, at.x, at.y);
  d.Store(covered);
}

// ---------------------------------------------------------------------------------------------
// Fermatas, signs, floating ornaments and markers

void DrawFermataOrSign(EventDrawing& d) {
  const bool tab = d.View() == EventLocation::kTablature;
  uint32_t code = 32;
  switch (d.event.kind) {
    case CMetaEvent::kFermata: code = tab ? 84 : 71; break;
    case CMetaEvent::kDaCapo: code = tab ? 305 : 75; break;
    case CMetaEvent::kSegno: code = tab ? 86 : 74; break;
    case CMetaEvent::kCoda: code = tab ? 85 : 72; break;
    default: break;
  }
  // The sign stands over its column at the placed point, raised above heads and stems that
  // reach higher and above texts drawn before it; texts drawn after it keep clear of it.
  const Point offset = d.Offset();
  const int32_t em = SignEm(d);
  Point at{d.rect.left + offset.x - em / 2, d.rect.top + offset.y - em};
  // The glyph's ink is centred in its em square and takes about its middle half. Over a
  // tablature the sign keeps its place above the letters.
  const int32_t inkBottom = HighestInkOver(d) + d.Spacing() / 2;
  if (!tab && at.y + 3 * em / 4 > inkBottom) at.y = inkBottom - 3 * em / 4;
  const Rect ink{at.x + em / 4, at.y + em / 4, at.x + 3 * em / 4, at.y + 3 * em / 4};
  at.y += KeepClearOfTexts(d, ink, true, std::max(d.Spacing(), 1));
  DrawSymbolGlyph(d, code, em, at);
}

void DrawMarker(EventDrawing& d) {
  // A begin or end marker over the column; markers keep no rectangle.
  const int32_t r = d.Spacing();
  const Point anchor{d.rect.left, d.rect.top};
  const Rect box{anchor.x - r, anchor.y - 3 * r, anchor.x + r, anchor.y - r};
  d.G().DrawGlyphsInRect(kFlagsFace, GlyphText(d.event.cx == 0 ? 266 : 267), 1, d.event.drawColour, false, box);
}

void DrawGraphicOrnament(EventDrawing& d) {
  CMetaEvent& e = d.event;
  if (e.text.empty()) {
    // An ornament never given a glyph takes the decorative default, and keeps it.
    e.text = "VAVADURURA";
    e.value = 0x43;
    e.cy = 70;
  }
  const int32_t unit = d.View() == EventLocation::kTablature ? d.u : d.Spacing();
  const int32_t side = std::max(MulDiv(unit * std::max(d.stave.LineCount() - 1, 1), e.cy != 0 ? e.cy : 100, 100), 1);
  const Point offset = d.Offset();
  const Rect box{d.rect.left + offset.x, d.rect.top + offset.y, d.rect.left + offset.x + side,
                 d.rect.top + offset.y + side};
  Rect covered = d.G().DrawGlyphsInRect(e.text, GlyphText(e.value & 0xFFFF), 1, e.drawColour, false, box);
  d.Store(UnionRect(covered, box));
}

// ---------------------------------------------------------------------------------------------
// Time signatures

Rect DrawTimeSignatureIn(StaffRenderer& stave, CMetaEvent& event, const nChord& chord, const Rect& box) {
  GraphicUtil& g = stave.Graphics();
  DeviceContext& dc = g.dc;
  const bool tab = stave.IsTablature();
  const int view = tab ? EventLocation::kTablature : EventLocation::kNotation;
  EventDrawing d{stave, event, chord, box, stave.Stave().columnWidth, stave.Spacing()};
  const uint32_t value = event.value;
  const bool shown = (value & 1) != 0;
  if (!shown && dc.IsPrinting()) return {};
  const int32_t u = stave.Spacing();
  const int32_t numerator = event.cx;
  const int32_t denominator = event.cy;
  Point offset = d.Offset();
  if (tab && (value & 2) == 0) offset.y = 0;
  int32_t x = box.left + offset.x;
  const int32_t top = box.top + offset.y;
  const CTabInstrument* instrument = stave.Stave().tabInstrument;
  const int32_t lines = tab && instrument != nullptr ? instrument->tuning.lines : 5;
  const int32_t height = std::max(lines - 1, 1) * u;
  // Bit 7 puts the signature after its anchor (a bar line) instead of about it.
  const bool afterAnchor = tab && (value & 0x80) != 0;
  int32_t percent = 100;
  if (tab) {
    int32_t size = static_cast<int32_t>((value >> 16) & 0xFF);
    if (size == 0) size = (instrument != nullptr ? instrument->signatureSize : 80) - 50;
    percent = size + 50;
  }
  Rect square = GraphicUtil::ScaleRectCentred(percent, {x - height / 2, top, x + height / 2, top + height});
  if (afterAnchor) square.Offset(x - square.left, 0);
  const COLORREF colour = shown ? dc.GetTextColor() : 0xF0F0F0;
  const COLORREF oldColour = dc.SetTextColor(colour);
  dfLogFont signatures = PageFontOrDefault(dc, kFontSignatures);
  signatures.color = colour;

  Rect covered;
  // A stored denominator of 0 never divides: such a signature is written in figures.
  const bool symbol = (value & 8) != 0 && (denominator == 4 || numerator == 2) && denominator != 0 &&
                      numerator / denominator == 1;
  if (symbol) {
    const uint32_t code = denominator == 2 ? 0x4D : 0x4C;
    const std::string face = tab && instrument != nullptr ? instrument->tabFont.logFont.lfFaceName
                                                          : std::string(kNotationFace);
    covered = g.DrawGlyphsInRect(face, GlyphText(code), 1, colour, false, square);
    covered.bottom = std::max(covered.bottom, top + (tab ? 5 : 4) * u);
  } else if (!tab && (value & 4) == 0) {
    const unsigned oldAlign = dc.SetTextAlign(TA_BASELINE | TA_CENTER);
    const std::string upper = FormatInt(numerator);
    const std::string lower = FormatInt(denominator);
    dc.TextOut(x, top + 2 * u, upper);
    dc.TextOut(x, top + 4 * u, lower);
    const int32_t width = dc.GetTextExtent(lower).cx;
    dc.SetTextAlign(oldAlign);
    covered = {x - width / 2, top, x - width / 2 + width, top + 4 * u};
    if ((value & 0x80) != 0) covered.right = covered.left;
  } else if (tab && (value & 1) != 0 && (value & 4) == 0) {
    covered = DrawStackedNumbers(signatures, g, square, numerator, denominator, afterAnchor);
  } else {
    covered = g.DrawGlyphsInRect(signatures.logFont.lfFaceName, FormatInt(numerator), -1, colour, false, square);
  }
  dc.SetTextColor(oldColour);
  if (!dc.IsPrinting()) event.location.SetRect(covered.left, covered.top, covered.right, covered.bottom, view);
  return covered;
}

// ---------------------------------------------------------------------------------------------
// Alfabeto letters, chord charts and grace notes

void DrawAlfabeto(EventDrawing& d) {
  CMetaEvent& e = d.event;
  const CTabInstrument* instrument = d.stave.Stave().tabInstrument;
  if (e.cx != 0 || instrument == nullptr) return;
  Rect r = d.rect;
  r.bottom = std::max(r.bottom, r.top + 1);
  const Point offset = d.Offset();
  r.Offset(offset.x, offset.y);
  if (d.View() == EventLocation::kNotation) {
    // Over a staff the letter stands above the lines at half the height.
    const int32_t h = r.Height();
    r.Offset(0, -h / 4);
    r.Deflate(0, h / 4);
  }
  const COLORREF colour = d.stave.ColourOn() && d.stave.Definition() != nullptr
                              ? d.stave.Definition()->GetElementColor(CInstrumentDlg::kAlfabetoColor)
                              : 0;
  std::string letter;
  AppendUtf8(letter, static_cast<char32_t>(e.value & 0xFFFF));
  const Rect covered = DrawLetter(d.G(), instrument->alfabeto, letter, false, r, colour);
  d.Store(covered);
}

void DrawChordChart(EventDrawing& d) {
  CMetaEvent& e = d.event;
  const CTabInstrument* instrument = d.stave.Stave().tabInstrument;
  const CInstrumentDlg* definition = d.stave.Definition();
  if (instrument == nullptr && definition != nullptr) instrument = &definition->tabInstrument;
  const nChord* chart = nullptr;
  if (instrument != nullptr) {
    if (e.kind == CMetaEvent::kChordChart) {
      chart = instrument->alfabeto.FindChordByLetter(static_cast<char16_t>(u'A' + (e.value & 0xFFFF)));
    } else if (e.value < instrument->alfabeto.chart.size()) {
      chart = instrument->alfabeto.chart.at(e.value);
    }
  }
  const Point offset = d.Offset();
  Rect covered;
  if (chart != nullptr && instrument != nullptr) {
    const int32_t height = MulDiv(MulDiv(60, d.stave.Zoom(), 100), d.Dc().LogPixelsY(), 254);
    // The diagram stands over what the stave writes above its lines.
    const int32_t bottom = std::min(d.rect.top, d.stave.Stave().annotationTop);
    covered = DrawAlfabetoChord(d.stave.Graphics(), *instrument, *chart,
                                {d.rect.left + offset.x, bottom + offset.y - height}, d.stave.Zoom());
  }
  if (!covered.IsEmpty()) {
    d.Store(covered);
  } else if (e.kind == CMetaEvent::kChordChart) {
    // A chart letter the alfabeto does not define: the event goes at the end of the walk.
    e.kind = CMetaEvent::kDeleteMe;
  }
}

void DrawGraceNote(EventDrawing& d) {
  // The value names the note, cx the pattern and cy the flags the grace-notes dialog edits.
  const CMetaEvent& e = d.event;
  const nNotes* note = GraceNoteOf(e, d.chord);
  if (note == nullptr) return;
  const Point offset = d.Offset();
  const Rect covered = DrawMiniStaff(d.stave, e.cx, d.chord, *note, static_cast<uint32_t>(e.cy), d.rect.left + offset.x,
                                     d.rect.top + offset.y);
  if (!covered.IsEmpty()) d.Store(covered);
}

}  // namespace vornel
