// Rhythm flags above a tablature: one per chord where the rhythm changes (or for every chord,
// or again after each bar), rests as flags, dots, tuplet digits, joined flags; and the rhythm
// mark of a rhythm-only chord.

#include <algorithm>

#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/CTabInstrument.h"
#include "model/score/SystemSlots.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/StaffRenderer.h"
#include "view/render/tablature/TabNotes.h"

namespace vornel {

namespace {

constexpr uint16_t kFlagAlwaysMark = 2;
constexpr uint16_t kNoFlagMark = 3;
constexpr uint16_t kJoinedFlagMark = 5;

// In the beam modes a chord of a short value that shares a beam group with a neighbour gets
// its stem and beams from the group pass, not a flag of its own.
bool InBeamGroup(const StaffRenderer& stave, const nChord& chord) {
  const auto joins = [](const nChord& c) { return c.IsChord() && c.beamIndex != 0 && (c.status & 0x70) != 0x20; };
  if (joins(chord)) return true;
  const nChordArray* voice = stave.Voice();
  const size_t next = stave.ElementIndex() + 1;
  if (voice == nullptr || next >= voice->size()) return false;
  const nChord* following = voice->at(next);
  return following != nullptr && joins(*following);
}

// The definition's flag colour in colour mode, the rhythm's own colour with coloured flags.
COLORREF FlagColour(const StaffRenderer& stave, const CTabInstrument& tab, int code) {
  if (tab.coloredFlags != 0) return kFlagColours[std::clamp(code, 0, 7)];
  return stave.ColourOn() ? tab.flagsFont.color : 0;
}

// Whether the element being drawn stands in a bar without a single note (a track that is
// silent there): between the bar lines around it, no chord has a note.
bool InBarOfRests(const StaffRenderer& stave) {
  const nChordArray* voice = stave.Voice();
  const size_t index = stave.ElementIndex();
  if (voice == nullptr || index >= voice->size()) return false;
  MarkState::BarOfRests& bar = stave.Marks().barOfRests;
  if (index >= bar.from && index < bar.to) return bar.silent;
  const auto isBarLine = [voice](size_t i) {
    const nChord* e = voice->at(i);
    return e != nullptr && e->IsBarLine();
  };
  size_t from = index;
  while (from > 0 && !isBarLine(from - 1)) --from;
  size_t to = index;
  bool silent = true;
  for (; to < voice->size() && !isBarLine(to); ++to) {
    const nChord* e = voice->at(to);
    if (e != nullptr && e->IsChord() && !e->notes.empty()) silent = false;
  }
  bar = {from, std::max(to, index + 1), silent};
  return silent;
}

}  // namespace

bool ChordFlagShown(const StaffRenderer& stave, const nChord& chord) {
  const uint16_t mark = chord.ChordMark();
  // Mode 3 hides every flag.
  if (mark == kNoFlagMark || stave.Stave().tabMode == 3) return false;
  const int code = chord.rhythm & 7;
  // Modern tablature leaves a bar in which the track is silent empty rather than flag each
  // of its rests.
  if (chord.notes.empty() && SpacedAsEngraved(stave.Stave()) && InBarOfRests(stave)) return false;
  return chord.notes.empty() || stave.Stave().tabMode != 0 || mark == kFlagAlwaysMark ||
         code != stave.Marks().lastFlag;
}

void DrawChordFlag(StaffRenderer& stave, const nChord& chord, int32_t x) {
  if (ChordFlagShown(stave, chord)) DrawRhythmFlag(stave, chord, x, chord.rhythm, chord.GetTupletNumber());
}

void DrawRhythmFlag(StaffRenderer& stave, const nChord& chord, int32_t x, uint16_t rhythm, uint32_t tuplet) {
  CTabInstrument* tab = stave.Stave().tabInstrument;
  if (tab == nullptr) return;
  const InkSourceScope ink(stave.Graphics().dc, InkSource::kRhythmFlag);
  const int mode = stave.Stave().tabMode;
  const int code = rhythm & 7;
  const bool rest = chord.notes.empty();
  if (chord.ChordMark() == nChord::kRhythmMark && stave.Stave().hideFlags != 0) return;
  if ((mode == 1 || mode == 2) && code >= 4 && InBeamGroup(stave, chord)) return;

  DeviceContext& dc = stave.Graphics().dc;
  GraphicUtil& g = stave.Graphics();
  const int32_t s = stave.Spacing();
  const int32_t base = stave.Stave().textBaseline;
  int32_t y = base;
  uint32_t glyph = 0;
  if (rest && tab->restsOnTab != 0) {
    glyph = 100 + static_cast<uint32_t>(code);
    const nChord* previous = stave.PreviousElement();
    if (previous == nullptr || previous->ChordMark() != kJoinedFlagMark) y -= s;
  } else {
    glyph = tab->GetFlagGlyph(code);
    // The alternative set takes the next value's glyph.
    if (tab->rotateFlags != 0) glyph += 1;
  }
  if (TabStyle(stave) == CTabInstrument::kSpanish && stave.Marks().diapasonCount > 1) y -= s;

  ScopedFlagsFont flags{stave};
  if (!flags) return;
  const COLORREF oldColour = dc.SetTextColor(FlagColour(stave, *tab, code));
  const unsigned oldAlign = dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  const std::string text = GlyphText(glyph);
  dc.TextOut(x, y, text);
  const int32_t flagWidth = dc.GetTextExtent(text).cx;
  stave.Marks().lastFlag = rest ? -1 : code;

  // The tuplet's digit above the flag.
  if (tuplet != 2 && mode != 3 && (tab->flagGroup & 0x80) == 0) {
    Point at{x, stave.Stave().annotationTop};
    if (mode == 2) {
      at.y += (code > 1 ? 4 : 3) * s;
      at.x -= s / 3;
    }
    const InkSourceScope digit(dc, InkSource::kTuplet);
    g.DrawNumberAt(at.x, at.y, static_cast<int32_t>(tuplet), 8);
  }
  if ((rhythm & 0x8) != 0) {
    dc.SetTextAlign(TA_LEFT | TA_BASELINE);
    stave.DrawGlyph(0xF0, x + flagWidth / 2, mode == 2 ? y + s / 2 : y);
  }
  if (chord.ChordMark() == kJoinedFlagMark) {
    const int32_t joinY = base + s / 4;
    g.DrawCurveBetween(3 * s / 4, 1, stave.GetPrevColumnX(), joinY, x, joinY, dc.GetTextColor());
  }
  dc.SetTextAlign(oldAlign);
  dc.SetTextColor(oldColour);
}

void DrawRhythmMark(StaffRenderer& stave, const nChord& chord, int32_t x) {
  CTabInstrument* tab = stave.Stave().tabInstrument;
  if (tab == nullptr) return;
  const InkSourceScope ink(stave.Graphics().dc, InkSource::kRhythmFlag);
  DeviceContext& dc = stave.Graphics().dc;
  const int32_t s = stave.Spacing();
  const int code = chord.rhythm & 7;
  const unsigned oldAlign = dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  const COLORREF oldColour = dc.SetTextColor(stave.NoteColour());
  // A tablature that writes its rhythm as notes shows the chord's note above the staff.
  if (tab->flagStyle == 2) {
    const bool downward = (chord.dy & 3) == 2;
    const uint32_t glyph = static_cast<uint32_t>((downward ? 110 : 100) + code);
    const int32_t y = stave.Top() - (downward ? 3 : 1) * s;
    const FontSpec previous = stave.SelectNotationFont(0);
    stave.DrawGlyph(glyph, x, y);
    if ((chord.rhythm & 0x8) != 0) stave.DrawGlyph(0x9A, x + 2 * s / 3, y);
    dc.SelectFont(previous);
  } else if (ScopedFlagsFont flags{stave}) {
    stave.DrawGlyph(0x119, x, stave.Top() + std::max(stave.LineCount() - 1, 0) * s / 2);
  }
  dc.SetTextColor(oldColour);
  dc.SetTextAlign(oldAlign);
}

}  // namespace vornel
