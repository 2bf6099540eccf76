// The per-element pass of a stave: chords into note heads, accidentals, ledger lines, dots,
// rests, fingerings and ornaments, gathered into note groups for the stems and beams.

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <optional>

#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/CPedal.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"
#include "platform/draw/MulDiv.h"
#include "platform/text/NumberText.h"
#include "view/draw/FontDrawing.h"
#include "view/render/LabelDrawing.h"
#include "view/render/MarkSeams.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/StaffRenderer.h"
#include "view/render/marks/Ornaments.h"

namespace vornel {

namespace {

constexpr uint16_t kShiftLeftMark = 7;
constexpr uint16_t kShiftRightMark = 8;
constexpr uint16_t kLeftBracketMark = 9;
constexpr uint16_t kRightBracketMark = 10;
constexpr uint16_t kBothBracketsMark = 11;
constexpr uint16_t kTabModeMark = 12;

// The note's rhythm change: flags bits 0-1, negative when bit 3 is set.
int RhythmChange(const nNotes& note) {
  const int change = note.flags & 3;
  return (note.flags & 0x8) != 0 ? -change : change;
}

}  // namespace

void StaffRenderer::SetLastDrawnString(int string) {
  if (DrawContext* context = DrawContextOf(g_.dc)) context->lastString = string;
}

int32_t ColumnShift(const nChord& e, int32_t columnWidth) {
  if (!e.IsChord()) return 0;
  if (e.ChordMark() == kShiftLeftMark) return -(columnWidth / 3);
  if (e.ChordMark() == kShiftRightMark) return columnWidth / 3;
  return 0;
}

char StaffRenderer::GetFingerLetter(int code, bool staff) {
  if (staff) {
    switch (code) {
      case 1: case 5: case 10: code = 13; break;
      case 2: case 6: case 7: code = 14; break;
      case 3: case 11: code = 15; break;
      case 4: code = 12; break;
      default: break;
    }
  }
  switch (code) {
    case 12: return 'p';
    case 13: return 'i';
    case 14: return 'm';
    case 15: return 'a';
    default: return 0;
  }
}

// ---------------------------------------------------------------------------------------------
// Per element

void StaffRenderer::DrawElement(nChord& element, int32_t x, size_t index) {
  currentChord_ = &element;
  accidentalDrawn_ = false;
  highestY_ = INT32_MAX;
  lowestY_ = INT32_MIN;
  if (OnScreen() && settings_ != nullptr && settings_->showMarkers && element.IsBarLine() && element.position != 0) {
    const InkSourceScope mark(g_.dc, InkSource::kScreenMark);
    g_.DrawTextAt(x, Top() - (IsTablature() ? 4 : 2) * Spacing(), "!", 10, 0, 0x0000FF, TA_CENTER | TA_BASELINE);
  }
  if (element.IsSpecialEvent()) {
    DrawSpecialEvent(element, x);
    return;
  }
  const uint16_t mark = element.ChordMark();
  if (element.IsChord()) {
    x += ColumnShift(element, stave_.columnWidth);
    if (mark == kLeftBracketMark || mark == kBothBracketsMark) DrawBracketMark(x, true);
    if (mark == kRightBracketMark || mark == kBothBracketsMark) DrawBracketMark(x, false);
  }
  if (element.IsBarLine()) {
    DrawBarLine(element, x);
    const bool plainBefore =
        lastDrawn_ != nullptr && (lastDrawn_->status & 0x70) != 0x20 && lastDrawn_->GetTupletNumber() == 2;
    if (!plainBefore && tuplets_.HasStart()) tuplets_.Flush(g_, x);
    return;
  }
  DrawChord(element, x, index);
}

void StaffRenderer::DrawSpecialEvent(nChord& chord, int32_t x) {
  const uint16_t subtype = chord.status & 0xFF0;
  const int32_t bottomLine = Top() + std::max(lineCount_ - 1, 0) * Spacing();
  switch (subtype) {
    case 0x10: {
      CMetaEvent* signature = chord.metaEvents.Find(CMetaEvent::kTimeSignature);
      if (signature == nullptr) {
        // A time-signature element that lost its signature is a plain chord from now on.
        chord.status = 0;
        return;
      }
      if (stave_.enabledVoices == 2 && drawing_.index != stave_.currentVoice) return;
      const InkSourceScope ink(g_.dc, InkSource::kTimeSignature);
      DrawTimeSignature(*this, *signature, {x, Top(), x + stave_.columnWidth, bottomLine});
      if (CMetaEvent* caption = chord.metaEvents.Find(CMetaEvent::kCaption)) DrawMetaEvent(*this, *caption, chord, x);
      return;
    }
    case 0x50:
    case 0x70:
      DrawChordMetaEvents(chord, x);
      return;
    case 0x90:
      DrawClefChange(chord, x);
      return;
    case 0xB0:
    case 0x180:
      if (!proportional_) g_.DrawScreenMarker(subtype == 0xB0 ? 0x000050 : 0x0000C8, x, bottomLine + 3);
      return;
    default:
      return;
  }
}

bool StaffRenderer::StartsNoteGroup(const nChord& chord) const {
  const uint16_t groupMark = chord.status & 0x70;
  if (groupMark == 0x30) return false;
  const int code = chord.rhythm & 7;
  return chord.beamIndex == 0 || (IsTablature() && stave_.tabMode == 3 && code != lastRhythm_) ||
         groupCount_ - 1 > 36 || groupMark == 0x20;
}

int32_t StaffRenderer::PedalAlteration(int string) const {
  for (const CPedal* pedal : pedals_) {
    if (pedal != nullptr && pedal->ActsOn(string)) return pedal->action;
  }
  return 0;
}

void StaffRenderer::DrawChord(nChord& chord, int32_t x, size_t index) {
  const size_t noteCount = chord.notes.size();
  const int code = chord.rhythm & 7;
  if (StartsNoteGroup(chord)) {
    FlushNoteGroup();
    groupCount_ = 1;
    chordsSinceFlush_ = 1;
    tupletNumber_ = chord.GetTupletNumber();
    if ((chord.status & 0x80) != 0 && !IsTablature()) stave_.currentStemsDown = stave_.currentStemsDown != 0 ? 0 : 1;
    stave_.ResetNoteGroups(stave_.barValue);
    for (CVoiceGroup& group : stave_.Drawn().voiceGroups) group.Reset();
  } else {
    ++groupCount_;
    chordsSinceFlush_ = std::min(chordsSinceFlush_ + 1, 1000);
    tupletNumber_ = chord.GetTupletNumber();
  }
  lastRhythm_ = code;
  const CTabInstrument* tabSettings = stave_.tabInstrument;
  if (IsTablature() && (noteCount == 0 || (tabSettings != nullptr && tabSettings->showAllFlags != 0))) {
    marks_.lastFlag = -1;
  }
  marks_.diapasonCount = 0;
  marks_.chordX = x;
  marks_.surroundings.reset();
  if (IsTablature() && chord.ChordMark() == kTabModeMark && stave_.tabInstrument != nullptr) {
    stave_.tabMode = stave_.tabMode != 0 ? 0 : (stave_.tabInstrument->flagGroup & 3);
    for (CVoiceGroup& group : stave_.Drawn().voiceGroups) group.tabMode = stave_.tabMode;
  }
  if ((chord.status & 0x70) != 0) ApplySizeMark(*this, chord);
  if (IsTablature()) marks_.letterFont = g_.dc.GetFont();

  pedals_.clear();
  if (stave_.definition != nullptr) chord.metaEvents.CollectPedals(pedals_, stave_.definition->pedals);

  const CTabInstrument* tab = stave_.tabInstrument;
  CMetaEvent* alfabeto = chord.metaEvents.Find(CMetaEvent::kAlfabeto);
  // On a tablature that shows alfabeto the event shows the chord instead of its notes.
  const bool alfabetoShown =
      IsTablature() && alfabeto != nullptr && tab != nullptr && tab->alfabeto.showAlfabeto != 0;
  const int shiftFret = chord.al >> 4;
  int32_t shift = 0;
  if (shiftFret != 0 && tab != nullptr) {
    int lowest = 255;
    for (const auto& note : chord.notes) {
      if (note == nullptr || note->string >= nTuning::kMaxCourses) continue;
      lowest = std::min(lowest, note->pitch - (tab->tuning.courses[note->string].pitch + 23));
    }
    if (lowest != 255) shift = shiftFret - lowest;
  }
  transposition_ += shift;

  Point position{x, Top()};
  highestY_ = INT32_MAX;
  lowestY_ = INT32_MIN;
  previousStep_ = -1000;
  if (!alfabetoShown) {
    // Stems up draw from the lowest note, so that the upper head of a second moves right;
    // stems down from the highest, so that the lower one moves left.
    const bool upward = stave_.currentStemsDown == 0 && !IsTablature();
    // A tablature chord's marks belong to its letters: the collision check measures them so.
    std::optional<InkAnchorScope> anchor;
    if (IsTablature()) anchor.emplace(g_.dc);
    for (size_t k = 0; k < noteCount; ++k) {
      const size_t i = upward ? noteCount - 1 - k : k;
      nNotes* note = chord.notes.at(i);
      if (note == nullptr) continue;
      position.x = x;
      if (IsTablature()) {
        DrawTabNote(*this, *note, position, chord.rhythm, i, FingerCharacters(*note));
      } else {
        DrawNote(*note, position, chord.rhythm, i);
      }
      highestY_ = std::min(highestY_, position.y);
      lowestY_ = std::max(lowestY_, position.y);
      SetLastDrawnString(note->string);
    }
  }
  transposition_ -= shift;

  if (noteCount != 0 && chord.dy != 0) DrawChordEffect(*this, chord, x);
  if (IsTablature()) {
    DrawTabChordExtras(*this, chord, x);
    if (shiftFret != 0) {
      dfLogFont font;
      if (auto page = PageFont(g_.dc, kSmallFont)) font = *page;
      Rect box{x, Top() - 2 * Spacing(), x + 2 * Spacing(), Top()};
      const InkSourceScope ink(g_.dc, InkSource::kFingering);
      DrawFontText(FormatInt(shiftFret), font, g_.dc, TA_CENTER | TA_BASELINE, stave_.zoom * 1.5f, 0, 0,
                   box.CenterPoint().x, box.bottom);
    }
  }
  previousColumn_ = {x, noteCount != 0 ? highestY_ : Top()};

  if (noteCount == 0) {
    if (code <= 3) {
      DrawRest(chord.rhythm, x, 0);
      groupCount_ = std::max(groupCount_ - 1, 0);
      chordsSinceFlush_ = std::max(chordsSinceFlush_ - 1, 0);
    } else {
      stave_.Drawn().voiceGroups[0].AddRest(static_cast<uint8_t>(chord.rhythm & 0xF7), x, static_cast<int32_t>(index));
    }
    tuplets_.Clear();
  } else {
    DrawTupletMark(chord, x, 0);
  }
  // A rhythm-only chord shows its alfabeto letter in the other form while its events draw.
  const bool alfabetoForm = alfabetoShown && chord.ChordMark() == nChord::kRhythmMark;
  if (alfabetoForm) alfabeto->cx = 1;
  DrawChordMetaEvents(chord, x);
  if (alfabetoForm && chord.metaEvents.Find(CMetaEvent::kAlfabeto) == alfabeto) alfabeto->cx = 0;
  lastDrawn_ = &chord;
}

const nChord* StaffRenderer::PreviousElement() const {
  if (voice_ == nullptr || elementIndex_ == 0 || elementIndex_ > voice_->size()) return nullptr;
  return voice_->at(elementIndex_ - 1);
}

bool StaffRenderer::FingerOption() const {
  return stave_.definition != nullptr && (stave_.definition->notationOptions & 1) != 0;
}

std::string StaffRenderer::FingerCharacters(const nNotes& note) const {
  static constexpr char kFingers[] = {'1', '2', '3', '4', 'p', '0', '5'};
  std::string text;
  const int high = (note.fingering >> 4) & 0x0F;
  if (FingerOption() && high >= 1 && high <= 7) text += kFingers[high - 1];
  if (!IsTablature()) {
    if (const char letter = GetFingerLetter(note.fingering & 0x0F, true)) text += letter;
  }
  return text;
}

const CPedal* StaffRenderer::PedalOn(int string) const {
  for (const CPedal* pedal : pedals_) {
    if (pedal != nullptr && pedal->ActsOn(string)) return pedal;
  }
  return nullptr;
}

void StaffRenderer::DrawChordMetaEvents(nChord& chord, int32_t x) {
  if (stave_.hideMetaEvents != 0) return;
  if (stave_.enabledVoices == 2 && (stave_.positionCode & 0x0F) != 0) return;
  DrawAllMetaEvents(*this, chord, x);
}

void StaffRenderer::DrawBracketMark(int32_t x, bool left) {
  const InkSourceScope ink(g_.dc, InkSource::kChordEffect);
  const int32_t half = stave_.columnWidth / 2;
  int32_t bx = left ? x - half : x + half;
  if (!IsTablature()) bx += 3;
  const int32_t height = lineCount_ * Spacing();
  g_.DrawVerticalLine(35, 0, bx, Top(), height, false);
  const int32_t end = std::max(Spacing() / 3, 2) * (left ? 1 : -1);
  g_.DrawThinLine(20, 0, bx, Top(), bx + end, Top());
  g_.DrawThinLine(20, 0, bx, Top() + height, bx + end, Top() + height);
}

// ---------------------------------------------------------------------------------------------
// One note of a staff

void StaffRenderer::DrawNote(nNotes& note, Point& position, uint16_t rhythm, size_t noteIndex) {
  DeviceContext& dc = g_.dc;
  const nChord* chord = currentChord_;
  const uint16_t mark = chord != nullptr ? chord->ChordMark() : 0;
  if (mark == nChord::kGreyedMark && dc.IsPrinting()) return;
  const bool ghost = mark == nChord::kGhostMark;

  COLORREF colour = NoteColour();
  if (settings_ != nullptr && settings_->colourOn && (note.slur & 0x8000) != 0 && stave_.definition != nullptr) {
    colour = stave_.definition->ornaments.table.colors[COrnamentTable::kMelody];
  }
  if (mark == nChord::kGreyedMark) colour = 0xC8C8C8;
  if (ghost) colour = 0x646464;
  const COLORREF oldColour = dc.SetTextColor(colour);
  const unsigned oldAlign = dc.SetTextAlign(TA_BASELINE);

  const int32_t savedStems = stave_.currentStemsDown;
  const bool flipped = (note.flags & 0x80) != 0;
  if (flipped) stave_.currentStemsDown = savedStems != 0 ? 0 : 1;
  const bool stemsDown = stave_.currentStemsDown != 0;
  const int32_t spacing = Spacing();

  int32_t x = position.x;
  const bool small = (note.status & 0x10) != 0;
  std::optional<FontSpec> smallPrevious;
  if (small && notationFont_) {
    FontSpec previous;
    notationFont_->SelectScaledFont(dc, -20, stave_.zoom, &previous);
    smallPrevious = previous;
    if (!stemsDown) x += spacing / 4;
  }

  const int base = GetNoteHeadBase();
  int code = std::clamp((rhythm & 7) - RhythmChange(note), 0, 7);
  uint32_t head = ghost ? 0x15E : static_cast<uint32_t>(code < 4 ? base + code : base + 8);
  const bool alternative = (note.status & 0x8) != 0;
  if (alternative) head = stemsDown ? 0x50 : 0x5A;

  uint16_t name = 0;
  char accidental = 0;
  const int pitch = note.pitch + transposition_ + PedalAlteration(note.string);
  // A writer's spelling stands where the note is drawn at its own pitch.
  int step = note.WrittenSpelling(stave_.key, pitch, name, accidental);
  if (step < 0) step = stave_.key.SpellPitch(pitch, name, accidental, (note.status & 0x4) != 0);

  const int32_t originalX = x;
  int32_t w = dc.GetCharWidth(head);
  if (alternative && !stemsDown) x += w / 2;
  const uint32_t shiftMark = (note.slur >> 12) & 7;
  if (shiftMark == 1) x -= w;
  if (shiftMark == 2) x += w;
  if ((note.flags & 0x20) != 0) x -= w;
  if (std::abs(step - previousStep_) == 1) {
    const int32_t displacement = spacing / 14 + w;
    x += stemsDown ? -displacement : displacement;
    if (!flipped && code > 2 && !alternative && !ghost) {
      head = static_cast<uint32_t>(base + 8);
      w = dc.GetCharWidth(head);
    }
  }
  if (code == 0 || code == 1) x -= w / 4;

  if ((note.status & 0x2) != 0) step += 7;
  const int32_t y = stave_.StepToY(step);
  {
    const InkSourceScope ink(dc, InkSource::kNoteHead);
    DrawGlyph(head, x, y);
  }
  DrawLedgerLines(x, y, code <= 1 ? 1 : 0);

  if ((note.status & 0x20) == 0) {
    if (accidental != 0) {
      const InkSourceScope ink(dc, InkSource::kAccidental);
      DrawAccidental(accidental, x, y);
    } else {
      accidentalDrawn_ = false;
    }
  }

  // Dots stand in the space above a head on a line.
  const bool dotted = ((rhythm & 0x8) != 0 && RhythmChange(note) == 0) || (note.flags & 0x4) != 0;
  const int32_t bottomLine = Top() + (lineCount_ - 1) * spacing;
  const bool onLine = spacing > 0 && (bottomLine - y) % spacing == 0;
  const int32_t dotY = onLine ? y + spacing / 2 : y;
  // The dot glyph has no space of its own before it: beside a stem on the head's right it
  // keeps a third of a spacing clear of the stem.
  const int32_t dotX = x + w + (!stemsDown && code >= 2 ? std::max(spacing / 3, 1) : 0);
  {
    const InkSourceScope ink(dc, InkSource::kDot);
    if (dotted) DrawGlyph(0x9A, dotX, dotY);
    if ((note.flags & 0x40) != 0) DrawGlyph(0x10E, dotX, dotY);
  }

  previousStep_ = step;
  if (note.ornament != 0) DrawOrnament(note, x, y);
  if (note.fingering != 0) {
    const InkSourceScope ink(dc, InkSource::kFingering);
    DrawFingering(note, x, y, w, spacing);
  }
  if (note.slur != 0) DrawSlur(*this, note, {x, y});

  if ((note.status & 0x40) != 0 && chord != nullptr && stave_.tabInstrument != nullptr &&
      note.string < nTuning::kMaxCourses) {
    const int open = stave_.tabInstrument->tuning.courses[note.string].pitch + 23;
    const int stopped = note.pitch - open;
    const uint8_t number = static_cast<uint8_t>(stopped > 0 ? note.string + 1 : std::max(stopped, 0));
    const int32_t markY = stringMarkBelow_ ? y + spacing : y - spacing;
    stringMarkBelow_ = !stringMarkBelow_;
    const InkSourceScope ink(dc, InkSource::kFingering);
    g_.DrawCircledNumber(number, x + w / 2, markY);
  }
  if ((note.status & 0x2) != 0) {
    const InkSourceScope ink(dc, InkSource::kOrnament);
    DrawGlyph(0xF4, x - 2 * w, y + w);
  }

  if ((note.flags & 0x10) != 0) {
    const int restCode = std::clamp(code + RhythmChange(note), 0, 7);
    const int32_t reference = stemsDown ? Top() - 2 * spacing : Top();
    int32_t d = 0;
    if (y >= reference && y < Top() + 5 * spacing) {
      d = reference - y;
      if (d != 0) d += stemsDown ? 7 * spacing : -spacing;
    }
    const InkSourceScope ink(dc, InkSource::kRest);
    DrawRestGlyph(restCode, originalX, d);
  }

  if ((note.status & 0x80) != 0) {
    nNotes partner;
    partner.pitch = static_cast<uint8_t>(std::min(note.pitch + 12, 127));
    partner.string = note.string;
    partner.status = 0x10;
    Point partnerPosition{position.x, position.y};
    const int32_t savedPrevious = previousStep_;
    previousStep_ = -1000;
    DrawNote(partner, partnerPosition, rhythm, noteIndex);
    previousStep_ = savedPrevious;
    const InkSourceScope ink(dc, InkSource::kStem);
    if (code >= 4 && stemsDown) g_.DrawThinLine(10, colour, x, partnerPosition.y, x, y);
  }

  const bool counts = (note.status & 0x1) == 0;
  const size_t group = flipped ? 1 : 0;
  // The column's x keys the group, so that a displaced head stays on its chord's stem.
  stave_.Drawn().voiceGroups[group].AddNoteHead(counts, static_cast<uint8_t>(rhythm & 0xF7), FingerCharacters(note),
                                        position.x, y, static_cast<int32_t>(elementIndex_));
  position.y = y;

  if (smallPrevious) dc.SelectFont(*smallPrevious);
  dc.SetTextAlign(oldAlign);
  dc.SetTextColor(oldColour);
  stave_.currentStemsDown = savedStems;
}

void StaffRenderer::DrawLedgerLines(int32_t x, int32_t y, int widthMode) {
  const int32_t spacing = Spacing();
  if (spacing <= 0) return;
  const int32_t top = Top();
  if (!(y < top || y >= top + 5 * spacing)) return;
  const InkSourceScope ink(g_.dc, InkSource::kLedgerLine);
  const int32_t g = g_.dc.GetCharWidth(0x63);
  x -= g / 5;
  const int32_t extra = widthMode == 0 ? MulDiv(g, 3, 4) : widthMode == 1 ? MulDiv(g, 20, 100) : 0;
  const auto draw = [&](int32_t ly) {
    DrawGlyph(0x63, x, ly);
    if (extra != 0) DrawGlyph(0x63, x + extra, ly);
  };
  // Bounded by the staff steps a pitch can reach.
  for (int32_t ly = top - spacing, n = 0; ly >= y && n < 64; ly -= spacing, ++n) draw(ly);
  for (int32_t ly = top + 5 * spacing, n = 0; ly <= y && n < 64; ly += spacing, ++n) draw(ly);
}

void StaffRenderer::DrawAccidental(char accidental, int32_t x, int32_t y) {
  const uint32_t glyph = AccidentalGlyph(accidental);
  if (glyph == 0) return;
  DeviceContext& dc = g_.dc;
  const uint16_t mark = currentChord_ != nullptr ? currentChord_->ChordMark() : 0;
  if (mark == kLeftBracketMark || mark == kRightBracketMark) x -= Spacing();
  const int32_t a = dc.GetCharWidth(glyph);
  unsigned align = TA_RIGHT | TA_BASELINE;
  const size_t notes = currentChord_ != nullptr ? currentChord_->notes.size() : 1;
  const int32_t room = (notes < 2 ? 3 : 2) * a + 1;
  if (x - previousColumn_.x < room && elementIndex_ > 0) {
    // No room before the previous column: the accidental goes above or below the head.
    y += stave_.currentStemsDown != 0 ? -3 * a : 2 * a;
    align = TA_LEFT | TA_BASELINE;
  } else if (accidentalDrawn_) {
    x -= a / 2;
  }
  const unsigned old = dc.SetTextAlign(align);
  DrawGlyph(glyph, x - Spacing() / 6, y);
  dc.SetTextAlign(old);
  accidentalDrawn_ = true;
  accidentalLeft_ = align == (TA_RIGHT | TA_BASELINE) ? x - Spacing() / 6 - a : INT32_MAX;
}

void StaffRenderer::DrawRestGlyph(int code, int32_t x, int32_t yOffset) {
  code = std::clamp(code, 0, 7);
  const int32_t spacing = Spacing();
  const uint32_t glyph = static_cast<uint32_t>((IsTablature() ? 0x64 : 0x78) + code);
  int32_t y = code == 1 ? Top() + spacing : Top() + 2 * spacing;
  if (code == 1 || code == 2) x -= spacing / 2;
  DrawGlyph(glyph, x, y - yOffset);
}

void StaffRenderer::DrawRest(uint16_t rhythm, int32_t x, int32_t y) {
  DeviceContext& dc = g_.dc;
  const InkSourceScope ink(dc, InkSource::kRest);
  const uint16_t mark = currentChord_ != nullptr ? currentChord_->ChordMark() : 0;
  COLORREF colour = NoteColour();
  if (mark == nChord::kGreyedMark) colour = 0xC8C8C8;
  const COLORREF old = dc.SetTextColor(colour);
  const int code = rhythm & 7;
  if (IsTablature()) {
    // A tablature draws its rhythm sign instead.
    dc.SetTextColor(old);
    return;
  }
  if (proportional_ && code <= 1 && voice_ != nullptr) {
    // A long rest moves a quarter of the way toward the bar line that closes its bar.
    const auto& xs = stave_.Drawn().chordPositions;
    for (size_t i = elementIndex_ + 1; i < voice_->size() && i < xs.size(); ++i) {
      const nChord* e = voice_->at(i);
      if (e == nullptr || !e->IsBarLine()) continue;
      const double b = xs[i];
      x += static_cast<int32_t>(std::lround((b - x) * 0.25));
      break;
    }
  }
  DrawRestGlyph(code, x, y);
  if ((rhythm & 0x8) != 0) {
    const int32_t spacing = Spacing();
    const int32_t restY = (code == 1 ? Top() + spacing : Top() + 2 * spacing) - y;
    const int32_t bottomLine = Top() + (lineCount_ - 1) * spacing;
    const bool onLine = spacing > 0 && (bottomLine - restY) % spacing == 0;
    const int32_t glyphX = (code == 1 || code == 2) ? x - spacing / 2 : x;
    DrawGlyph(0x9A, glyphX + dc.GetCharWidth(static_cast<uint32_t>(0x78 + code)), onLine ? restY - spacing / 2 : restY);
  }
  dc.SetTextColor(old);
}

// ---------------------------------------------------------------------------------------------
// Ornaments and fingerings

void StaffRenderer::DrawOrnament(const nNotes& note, int32_t x, int32_t y, int32_t width) {
  const InkSourceScope ink(g_.dc, InkSource::kOrnament);
  DrawNoteOrnament(*this, note, x, y, width);
}

void StaffRenderer::DrawFingering(const nNotes& note, int32_t x, int32_t y, int32_t, int32_t) {
  CInstrumentDlg* d = stave_.definition;
  if (d == nullptr || d->hideOrnaments != 0) return;
  DeviceContext& dc = g_.dc;
  const COLORREF colour = settings_ != nullptr && settings_->colourOn
                              ? d->ornaments.table.colors[COrnamentTable::kFingerings]
                              : 0;
  const COLORREF oldColour = dc.SetTextColor(colour);
  const bool withAccidental = accidentalDrawn_;
  const int low = note.fingering & 0x0F;
  const int high = (note.fingering >> 4) & 0x0F;
  if (low != 0) DrawLowFingerMark(low, x, y, withAccidental);
  if (high != 0) DrawHighFingerMark(high, x, y, y, withAccidental);
  dc.SetTextColor(oldColour);
}

void StaffRenderer::DrawLowFingerMark(int code, int32_t x, int32_t y, bool withAccidental) {
  const int32_t spacing = Spacing();
  int32_t mx = x - spacing - (withAccidental ? spacing / 2 : 0);
  uint32_t glyph = 0;
  unsigned align = TA_RIGHT | TA_BASELINE;
  switch (code) {
    case 3: glyph = 0xB7; break;
    case 6:
      glyph = 0xBA;
      align = TA_CENTER | TA_BASELINE;
      mx += spacing;
      y -= spacing * 3 / 2;
      break;
    case 7:
      glyph = 0xBA;
      align = TA_CENTER | TA_BASELINE;
      break;
    case 8: glyph = 0xA6; break;
    case 9: glyph = 0xA7; break;
    default: return;
  }
  const unsigned old = g_.dc.SetTextAlign(align);
  DrawGlyph(glyph, mx, y);
  g_.dc.SetTextAlign(old);
}

void StaffRenderer::DrawHighFingerMark(int code, int32_t x, int32_t y, int32_t headY, bool withAccidental) {
  const int32_t spacing = Spacing();
  if (code >= 1 && code <= 7) {
    // With the finger option the figure goes into the note group's text instead.
    if (FingerOption()) return;
    static constexpr char kFingers[] = {'1', '2', '3', '4', 'p', '0', '5'};
    const std::string text(1, kFingers[code - 1]);
    dfLogFont font;
    if (auto page = PageFont(g_.dc, kBarNumberFont)) font = *page;
    TextMetrics metrics;
    const FontSpec previous = CreateScaledFont(font, static_cast<float>(stave_.zoom), g_.dc);
    metrics = g_.dc.GetTextMetrics();
    g_.dc.SelectFont(previous);
    const int32_t h = metrics.tmHeight;
    const int32_t ty = y - (withAccidental ? spacing + h : h / 2);
    DrawFontText(text, font, g_.dc, TA_CENTER | TA_BASELINE, static_cast<float>(stave_.zoom), 0, 0, x, ty);
    return;
  }
  static constexpr uint32_t kStaffGlyphs[] = {0xD8, 0xAD, 0xAA, 0xAB};
  if (code < 9 || code > 12) return;
  const size_t k = static_cast<size_t>(code - 9);
  int32_t gy = headY - (stave_.currentStemsDown != 0 ? 2 : 4) * spacing;
  gy = std::min(gy, Top() - 3 * spacing);
  const unsigned old = g_.dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  DrawGlyph(kStaffGlyphs[k], x + spacing / 2, gy);
  g_.dc.SetTextAlign(old);
}

// ---------------------------------------------------------------------------------------------
// Groups

void StaffRenderer::FlushNoteGroup() {
  const bool pending = !stave_.Drawn().voiceGroups[0].empty() || !stave_.Drawn().voiceGroups[1].empty();
  if (pending) {
    if (IsTablature()) {
      DrawTabFlagGroups();
    } else {
      DrawVoiceGroups(static_cast<uint16_t>(GetNoteHeadBase()), stave_.currentStemsDown != 0);
    }
  }
  for (CVoiceGroup& group : stave_.Drawn().voiceGroups) group.Reset();
  groupCount_ = 0;
}

}  // namespace vornel
