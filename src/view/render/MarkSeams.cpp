#include "view/render/MarkSeams.h"

#include <algorithm>

#include "model/events/CMetaEvent.h"
#include "model/voice/nChord.h"
#include "view/render/StaffRenderer.h"
#include "view/render/marks/ChordEffects.h"
#include "view/render/marks/Slurs.h"
#include "view/render/metaevents/MetaEventDrawing.h"
#include "view/render/tablature/TabNotes.h"

namespace vornel {

namespace {

constexpr uint16_t kInlineEventBar = 0x240;

int32_t BottomLine(StaffRenderer& stave) {
  return stave.Top() + std::max(stave.LineCount() - 1, 0) * stave.Spacing();
}

// A chord's events stand in its column over the stave's lines.
Rect ColumnRect(StaffRenderer& stave, int32_t x) {
  return {x, stave.Top(), x + stave.Stave().columnWidth, BottomLine(stave)};
}

// What stands over or under a staff for a span of its notes: words, dynamics and hairpins.
bool IsDirection(uint8_t kind) {
  return kind == CMetaEvent::kCaption || kind == CMetaEvent::kDynamics || kind == CMetaEvent::kCrescendo;
}

void DrawEventIn(StaffRenderer& stave, CMetaEvent& event, const nChord& chord, const Rect& rect, int32_t u) {
  EventDrawing d{stave, event, chord, rect, stave.Stave().columnWidth, u};
  DrawMetaEventKind(d);
}

}  // namespace

void DrawAllMetaEvents(StaffRenderer& stave, nChord& chord, int32_t x) {
  const InkSourceScope ink(stave.Graphics().dc, InkSource::kMetaGlyph);
  Rect rect = ColumnRect(stave, x);
  int32_t u = stave.Spacing();
  if (chord.IsBarLine() && (chord.status & 0xFF0) == kInlineEventBar) {
    // An event standing between two columns spans them.
    rect.left = stave.GetPrevColumnX();
    rect.right = stave.GetNextColumnX();
    u = stave.GetHalfStep();
  }
  chord.metaEvents.DrawAll([&](CMetaEvent& event) {
    if (event.kind == CMetaEvent::kLyrics && stave.DeferLyric(event, chord, rect, u)) return;
    if (IsDirection(event.kind) && stave.DeferDirection(event, chord, rect, u)) return;
    DrawEventIn(stave, event, chord, rect, u);
  });
}

void DrawLyricEvent(StaffRenderer& stave, CMetaEvent& event, const nChord& chord, const Rect& rect, int32_t u) {
  const InkSourceScope ink(stave.Graphics().dc, InkSource::kMetaGlyph);
  DrawEventIn(stave, event, chord, rect, u);
}

Rect DrawMetaEvent(StaffRenderer& stave, CMetaEvent& event, nChord& chord, int32_t x) {
  DrawEventIn(stave, event, chord, ColumnRect(stave, x), stave.Spacing());
  return event.location.Rect(stave.IsTablature() ? EventLocation::kTablature : EventLocation::kNotation);
}

Rect DrawTimeSignature(StaffRenderer& stave, CMetaEvent& event, const Rect& box) {
  const InkSourceScope ink(stave.Graphics().dc, InkSource::kTimeSignature);
  const nChord* chord = stave.CurrentChord();
  static const nChord kNone;
  return DrawTimeSignatureIn(stave, event, chord != nullptr ? *chord : kNone, box);
}

void DrawMetaEventMarkers(StaffRenderer& stave, nChord& bar, int32_t x) {
  // A bar that carries a time signature shows it after the bar line; its other events are
  // drawn as a chord's.
  const int32_t column = stave.Stave().columnWidth;
  bar.metaEvents.DrawAll([&](CMetaEvent& event) {
    if (event.kind == CMetaEvent::kTimeSignature) {
      const InkSourceScope ink(stave.Graphics().dc, InkSource::kTimeSignature);
      DrawTimeSignatureIn(stave, event, bar, {x + column / 2, stave.Top(), x + column + column / 2, BottomLine(stave)});
    } else {
      DrawEventIn(stave, event, bar, ColumnRect(stave, x), stave.Spacing());
    }
  });
}

void DrawSymbolEvent(StaffRenderer& stave, const nChord& chord, const nNotes& note, const Rect& box) {
  // The note's own floating ornament, else the chord's first.
  CMetaEvent* event = nullptr;
  for (const auto& e : chord.metaEvents) {
    if (e == nullptr || e->kind != CMetaEvent::kFloatingOrnament) continue;
    if (event == nullptr || e->referent == &note) event = e.get();
    if (e->referent == &note) break;
  }
  if (event == nullptr) return;
  const bool tab = stave.IsTablature();
  const uint32_t code = static_cast<uint32_t>(tab ? event->cx : event->cy) & 0xFFFF;
  if (code == 0) return;
  EventDrawing d{stave, *event, chord, box, stave.Stave().columnWidth, stave.Spacing()};
  const InkSourceScope ink(stave.Graphics().dc, InkSource::kOrnament);
  const Point offset = d.Offset();
  const int32_t side = std::max(box.Width(), 1) * (tab ? 3 : 4);
  DrawSymbolGlyph(d, code, side, {box.CenterPoint().x - side / 2 + offset.x, box.bottom - side + offset.y});
}

void DrawTabNote(StaffRenderer& stave, nNotes& note, Point& position, uint16_t rhythm, size_t,
                 std::string_view fingerCharacters) {
  DrawTabNoteAt(stave, note, position, rhythm, fingerCharacters);
}

void DrawTabChordExtras(StaffRenderer& stave, nChord& chord, int32_t x) {
  if (chord.ChordMark() == nChord::kRhythmMark) DrawRhythmMark(stave, chord, x);
  DrawChordFlag(stave, chord, x);
}

void DrawChordEffect(StaffRenderer& stave, nChord& chord, int32_t x) {
  const InkSourceScope ink(stave.Graphics().dc, InkSource::kChordEffect);
  DrawChordEffectWord(stave, chord, x);
}

void DrawSlur(StaffRenderer& stave, nNotes& note, Point head) {
  const InkSourceScope ink(stave.Graphics().dc, InkSource::kSlur);
  DrawSlurMarks(stave, note, head);
}

void ApplySizeMark(StaffRenderer& stave, nChord& chord) { ApplyChordSizeMark(stave, chord); }

int32_t DrawDiapason(StaffRenderer& stave, const nNotes& note, int32_t x, int32_t y) {
  return DrawBourdon(stave, note, x, y).cx;
}

}  // namespace vornel
