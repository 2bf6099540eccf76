#include "view/render/tablature/TabColumns.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>

#include "model/events/CMetaEvent.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/CTabInstrument.h"
#include "model/ornament/COrnamentTable.h"
#include "model/score/StaveRenderer.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"
#include "platform/draw/MulDiv.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/StaffRenderer.h"
#include "view/render/TabFonts.h"
#include "view/render/tablature/TabNotes.h"

namespace vornel {

namespace {

// How far a chord's ink reaches left and right of its column x.
struct Reach {
  int32_t left = 0;
  int32_t right = 0;
};

class ChordMeasure {
 public:
  ChordMeasure(DeviceContext& dc, CInstrumentDlg& definition, int32_t zoom, int32_t columnWidth)
      : dc_(dc), definition_(definition), tab_(definition.tabInstrument),
        spacing_(MeasureTablatureSpacing(dc, tab_, zoom)),
        courses_(std::clamp(tab_.tuning.lines, 0, static_cast<int32_t>(nTuning::kMaxCourses))),
        columnWidth_(columnWidth), gapOfMarks_(MulDiv(6, dc.LogPixelsX(), 254)),
        french_((tab_.tabStyle & 7) == CTabInstrument::kFrench) {
    flags_ = CreateFlagsFont(tab_, dc, zoom);
  }

  int32_t Spacing() const { return spacing_; }

  // A change of time signature stands about its column, a bar line's after it.
  Reach OfEvent(const nChord& e) {
    const CMetaEvent* signature = e.metaEvents.Find(CMetaEvent::kTimeSignature);
    if (signature == nullptr || (signature->value & 1) == 0) return {};
    const int32_t width = TabSignatureWidth(courses_, spacing_, signature->value, tab_.signatureSize);
    if (e.IsSpecialEvent() && (e.status & 0xFF0) == 0x10) {
      const bool after = (signature->value & 0x80) != 0;
      return {after ? 0 : width / 2, after ? width : width - width / 2};
    }
    if (e.IsBarLine() && (e.status & 0x0C) == 0x04) {
      // Drawn about the point half a column after the bar line.
      return {0, columnWidth_ / 2 + width - width / 2};
    }
    return {};
  }

  Reach Of(const nChord& chord) {
    Reach reach;
    if (chord.ChordMark() == nChord::kRhythmMark) return reach;
    for (const auto& note : chord.notes) {
      if (note == nullptr) continue;
      std::string text;
      if (!tab_.GetFretText(note->pitch - 23, note->string, text) || text.empty()) continue;
      const Size size = dc_.GetTextExtent(text);
      reach.left = std::max(reach.left, size.cx / 2);
      reach.right = std::max(reach.right, size.cx - size.cx / 2);
      AddOrnament(*note, size.cx, reach);
      AddFingering(*note, size.cx, reach);
      const int past = note->string - courses_;
      if (!french_ || past <= 0 || past >= 4) continue;
      // A bourdon "d" stands half its width left, its strokes before it.
      const int32_t shift = text == "d" ? size.cx / 2 : 0;
      reach.left = std::max(reach.left, shift + size.cx / 2);
      // The strokes keep at least as far from the letter before as from their own letter, so
      // that they are read with theirs.
      const int kind = tab_.diapasonStyle;
      const Point first = DiapasonStrokePoint(kind, 0, past, size.cy, size.cx, spacing_, {0, 0});
      const int32_t own = std::max(-first.x - size.cx / 2, 0);
      reach.left = std::max(reach.left, shift + own +
                                            DiapasonStrokesReach(dc_, flags_, past, kind, size.cy, size.cx, spacing_));
    }
    return reach;
  }

 private:
  // A fingering mark beside its letter (the dots and signs left or right of it, a finger
  // letter or a figure right of it) widens the chord as the fingering drawing places it.
  void AddFingering(const nNotes& note, int32_t letterWidth, Reach& reach) {
    if (note.fingering == 0 || definition_.hideOrnaments != 0 || !flags_) return;
    const int low = note.fingering & 0x0F;
    const int high = (note.fingering >> 4) & 0x0F;
    const int32_t s = spacing_;
    const auto glyphWidth = [&](uint32_t glyph) {
      const FontSpec previous = dc_.SelectFont(*flags_);
      const int32_t width = dc_.GetTextExtent(GlyphText(glyph)).cx;
      dc_.SelectFont(previous);
      return width;
    };
    switch (low) {
      case 5: reach.left = std::max(reach.left, s / 2 + glyphWidth(0xF0)); break;
      case 7: reach.left = std::max(reach.left, letterWidth + glyphWidth(0xF6) / 2); break;
      case 11: reach.left = std::max(reach.left, s / 2 + glyphWidth(0xF3) / 2); break;
      case 6: reach.right = std::max(reach.right, letterWidth + glyphWidth(0xF6) / 2); break;
      case 10: reach.right = std::max(reach.right, letterWidth + s / 2); break;
      case 12: case 13: case 14: case 15:
        reach.right = std::max(reach.right, letterWidth / 2 + std::max(s / 8, 1) + dc_.GetTextExtent("m").cx);
        break;
      default: break;
    }
    if (high >= 1 && high <= 7) reach.right = std::max(reach.right, s * 3 / 8 + dc_.GetTextExtent("4").cx);
  }

  // An ornament written beside its letter (left of it, or right of it) widens the chord as the
  // ornament drawing places it: half the ornament's width and 0.6 mm from the letter's middle.
  void AddOrnament(const nNotes& note, int32_t letterWidth, Reach& reach) {
    const uint32_t code = note.ornament & 0x7F;
    if ((note.ornament & 0x80) != 0 || code == 0 || definition_.hideOrnaments != 0 || !flags_) return;
    const COrnamentProps& row = definition_.ornaments.table.GetOrnament(code, 0, true);
    const uint32_t glyph = row.glyph & 0xFFFF;
    const bool left = row.alignment == 1 || row.alignment == 5 || row.alignment == 7;
    const bool right = row.alignment == 0 || row.alignment == 6 || row.alignment == 8;
    if (glyph == 0 || glyph == 0x20 || (!left && !right)) return;
    int32_t w = note.fingering != 0 ? letterWidth * 3 / 2 : 0;
    if (w == 0) {
      w = dc_.GetTextExtent("tr").cx;
      if (2 * w < columnWidth_) w = w * 3 / 2;
    }
    const int32_t gap = 2 * gapOfMarks_ < columnWidth_ && row.alignment != 0 ? gapOfMarks_ : 0;
    const FontSpec previous = dc_.SelectFont(*flags_);
    const int32_t glyphWidth = dc_.GetTextExtent(GlyphText(glyph)).cx;
    dc_.SelectFont(previous);
    const int32_t extent = w / 2 + gap + glyphWidth;
    if (left) reach.left = std::max(reach.left, extent);
    if (right) reach.right = std::max(reach.right, extent);
  }

  DeviceContext& dc_;
  CInstrumentDlg& definition_;
  CTabInstrument& tab_;
  int32_t spacing_;
  int courses_;
  int32_t columnWidth_;
  int32_t gapOfMarks_;  // 0.6 mm
  bool french_;         // only French tablature writes strokes before its bourdons
  std::optional<FontSpec> flags_;
};

// Whether anything of the voices reaches beyond its letters: strokes before bourdons, an
// ornament beside a letter, a time signature shown.
bool NeedsRoom(CInstrumentDlg& definition, const std::vector<const nChordArray*>& voices) {
  const CTabInstrument& tab = definition.tabInstrument;
  const int courses = std::clamp(tab.tuning.lines, 0, static_cast<int32_t>(nTuning::kMaxCourses));
  const bool french = (tab.tabStyle & 7) == CTabInstrument::kFrench;
  COrnamentTable& table = definition.ornaments.table;
  for (const nChordArray* voice : voices) {
    if (voice == nullptr) continue;
    for (const auto& e : *voice) {
      if (e == nullptr) continue;
      if (!e->IsChord()) {
        if (e->metaEvents.Find(CMetaEvent::kTimeSignature) != nullptr) return true;
        continue;
      }
      for (const auto& note : e->notes) {
        if (note == nullptr) continue;
        if (french && note->string > courses && note->string < courses + 4) return true;
        if (definition.hideOrnaments != 0) continue;
        const int low = note->fingering & 0x0F;
        if ((low >= 5 && low <= 7) || low >= 10 || ((note->fingering >> 4) & 0x0F) != 0) return true;
        const uint32_t code = note->ornament & 0x7F;
        if (code == 0 || (note->ornament & 0x80) != 0) continue;
        const int alignment = table.GetOrnament(code, 0, true).alignment;
        if (alignment == 0 || alignment == 1 || (alignment >= 5 && alignment <= 8)) return true;
      }
    }
  }
  return false;
}

// What the elements of each voice reach, measured once for every column width tried.
struct Element {
  Reach reach;
  int32_t halvesAfter = 0;  // the room the columns give after a bar line or event
  bool chord = false;
};
using VoiceElements = std::vector<Element>;

// The room each element needs before its column when columns stand `width` apart: the most any
// voice needs at that index.
std::vector<int64_t> RoomFor(const std::vector<VoiceElements>& voices, int32_t width, int32_t gap) {
  std::vector<int64_t> room;
  for (const VoiceElements& voice : voices) {
    if (room.size() < voice.size()) room.resize(voice.size(), 0);
    for (size_t i = 1; i < voice.size(); ++i) {
      const Element& before = voice[i - 1];
      if (!voice[i].chord && voice[i].reach.left == 0) continue;
      const int64_t distance = before.chord ? width : int64_t{width} + int64_t{before.halvesAfter} * (width / 2);
      const int64_t need = int64_t{voice[i].reach.left} + before.reach.right + gap - distance;
      room[i] = std::max(room[i], need);
    }
  }
  return room;
}

// Where the last column of the voices ends, without room, for columns `width` apart.
int64_t EndFor(const std::vector<VoiceElements>& voices, int32_t width) {
  int64_t end = 0;
  for (const VoiceElements& voice : voices) {
    int64_t halves = 0;
    for (const Element& e : voice) halves += e.halvesAfter;
    end = std::max(end, static_cast<int64_t>(voice.size()) * width + halves * (width / 2));
  }
  return end;
}

int64_t Total(const std::vector<int64_t>& room) {
  int64_t total = 0;
  for (const int64_t r : room) total += r;
  return total;
}

}  // namespace

int32_t TabSignatureWidth(int32_t lines, int32_t spacing, uint32_t value, int32_t signatureSize) {
  int32_t size = static_cast<int32_t>((value >> 16) & 0xFF);
  if (size == 0) size = signatureSize - 50;
  const int32_t height = std::max(lines - 1, 1) * spacing;
  return MulDiv(height, size + 50, 100);
}

TabColumnRoom LayTabColumnRoom(DeviceContext& dc, CInstrumentDlg& definition, int32_t zoom,
                               const std::vector<const nChordArray*>& voices, int32_t columnWidth,
                               bool halfColumnBars, int64_t left, int64_t right) {
  TabColumnRoom columns{columnWidth, {}};
  CTabInstrument& tab = definition.tabInstrument;
  if (columnWidth <= 0 || !NeedsRoom(definition, voices)) return columns;

  // Measured on a device of its own: the drawing device keeps its state and records nothing.
  const std::unique_ptr<DeviceContext> device = CreateMeasuringDevice(&dc);
  SelectTabFont(tab, *device, true, zoom);
  std::vector<VoiceElements> measured;
  ChordMeasure measure(*device, definition, zoom, columnWidth);
  const int32_t gap = std::max(measure.Spacing() / 8, 1);
  for (const nChordArray* voice : voices) {
    if (voice == nullptr) continue;
    VoiceElements elements(voice->size());
    for (size_t i = 0; i < voice->size(); ++i) {
      const nChord* e = voice->at(i);
      if (e == nullptr) continue;
      if (e->IsChord()) {
        elements[i].chord = true;
        elements[i].reach = measure.Of(*e);
      } else {
        elements[i].halvesAfter = ExtraHalfColumnsAfter(*e, halfColumnBars);
        elements[i].reach = measure.OfEvent(*e);
      }
    }
    measured.push_back(std::move(elements));
  }

  std::vector<int64_t> room = RoomFor(measured, columnWidth, gap);
  if (Total(room) == 0) return columns;
  // Columns stand closer when the room would carry the line past its end; by a quarter at most,
  // then the room itself shrinks to what is left.
  const auto fits = [&](int32_t width, const std::vector<int64_t>& r) {
    return left + EndFor(measured, width) + Total(r) <= right;
  };
  int32_t width = columnWidth;
  const int32_t narrowest = std::max(columnWidth - columnWidth / 4, 1);
  while (!fits(width, room) && width > narrowest) room = RoomFor(measured, --width, gap);
  const int64_t total = Total(room);
  const int64_t slack = std::max<int64_t>(right - left - EndFor(measured, width), 0);
  columns.columnWidth = width;
  columns.shifts.assign(room.size(), 0);
  int64_t sum = 0;
  for (size_t i = 0; i < room.size(); ++i) {
    sum += room[i];
    columns.shifts[i] = static_cast<int32_t>(total <= slack ? sum : sum * slack / total);
  }
  return columns;
}

}  // namespace vornel
