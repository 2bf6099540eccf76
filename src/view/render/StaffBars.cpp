// Bar lines of a stave in their styles, with repeat dots, bar numbers, the line-start and
// line-end variants and the special bars that carry clef changes and meta-events.

#include <algorithm>
#include <optional>

#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"
#include "platform/draw/MulDiv.h"
#include "view/render/LabelDrawing.h"
#include "view/render/MarkSeams.h"
#include "view/render/StaffRenderer.h"

namespace vornel {

namespace {

constexpr uint16_t kPlainBar = 0x01;
constexpr uint16_t kFixedBar = 0x11;
constexpr uint16_t kHiddenBar = 0x21;
constexpr uint16_t kDoubleBar = 0x31;
constexpr uint16_t kThickBetweenThin = 0x51;
constexpr uint16_t kStyledBit = 0x80;
constexpr uint16_t kInlineEventBar = 0x240;

}  // namespace

int32_t StaffRenderer::ThinBarWidth() const {
  return settings_ != nullptr ? 5 * settings_->staffLineThickness + 10 : 20;
}

int32_t StaffRenderer::ThickBarWidth() const { return g_.HundredthMmToDeviceX(3 * ThinBarWidth()) + 1; }

COLORREF StaffRenderer::BarColour(const nChord& bar) const {
  if (OnScreen() && bar.rhythm == 0x80) return 0x323278;
  return settings_ != nullptr ? settings_->barLineColour : 0;
}

void StaffRenderer::DrawThinBar(int32_t x, bool alignRight) {
  const nChord* bar = currentChord_;
  COLORREF colour = bar != nullptr ? BarColour(*bar) : 0;
  int32_t width = ThinBarWidth();
  if (bar != nullptr && (bar->status & 0xFFF3) == kFixedBar && OnScreen()) {
    colour = 250;
    width = width * 6 / 5;
  }
  const int32_t top = Top();
  const int32_t height = std::max(lineCount_ - 1, 0) * Spacing();
  g_.DrawVerticalLine(width, colour, x, top, height, alignRight);
}

void StaffRenderer::DrawThickBar(int32_t x) {
  const COLORREF colour = currentChord_ != nullptr ? BarColour(*currentChord_) : 0;
  const int32_t height = std::max(lineCount_ - 1, 0) * Spacing();
  g_.DrawFilledRect(colour, ThickBarWidth(), 1, x, Top(), height);
}

int32_t StaffRenderer::GetPrevColumnX() const {
  const auto& xs = stave_.Drawn().chordPositions;
  if (elementIndex_ == 0 || xs.empty()) return stave_.area.left;
  return static_cast<int32_t>(xs[std::min(elementIndex_ - 1, xs.size() - 1)]);
}

int32_t StaffRenderer::GetNextColumnX() const {
  const auto& xs = stave_.Drawn().chordPositions;
  if (xs.empty()) return stave_.area.right;
  return static_cast<int32_t>(xs[std::min(elementIndex_ + 1, xs.size() - 1)]);
}

int32_t StaffRenderer::GetColumnXAfter(int n) const {
  // The n-th chord ahead, counting chords only.
  int64_t index = static_cast<int64_t>(elementIndex_);
  if (voice_ != nullptr && n > 0) {
    int found = 0;
    size_t i = elementIndex_;
    while (found < n && ++i < voice_->size()) {
      const nChord* e = voice_->at(i);
      if (e != nullptr && e->IsChord()) ++found;
    }
    index = static_cast<int64_t>(i);
  } else {
    index += n;
  }
  const auto& xs = stave_.Drawn().chordPositions;
  if (index <= 0) return stave_.area.left;
  if (xs.empty() || index >= static_cast<int64_t>(xs.size()) - 1) return stave_.area.right;
  if (proportional_ || onGrid_) return static_cast<int32_t>(xs[static_cast<size_t>(index)]);
  return stave_.area.left + static_cast<int32_t>(index) * stave_.columnWidth;
}

int32_t StaffRenderer::ElementColumnX(int n) const {
  const auto& xs = stave_.Drawn().chordPositions;
  const int64_t index = static_cast<int64_t>(elementIndex_) + std::max(n, 0);
  if (index >= static_cast<int64_t>(xs.size())) return stave_.area.right;
  return std::min(static_cast<int32_t>(xs[static_cast<size_t>(index)]), stave_.area.right);
}

int32_t StaffRenderer::GetHalfStep() const { return IsTablature() ? Spacing() / 2 : Spacing(); }

void StaffRenderer::DrawRepeatDots(int32_t x, int side, bool innerOnly, bool withBracket) {
  DeviceContext& dc = g_.dc;
  const int32_t spacing = Spacing();
  const unsigned oldAlign = dc.SetTextAlign(TA_CENTER | TA_BASELINE);
  const COLORREF oldColour = dc.SetTextColor(currentChord_ != nullptr ? BarColour(*currentChord_) : 0);
  if (side != 0) x += side * 2 * MulDiv(2, dc.LogPixelsX(), 254);
  const uint32_t glyph = IsTablature() ? 0xF5 : 0xB9;
  // The tablature's dot is a mark of its flags face, like its other marks.
  std::optional<FontSpec> letters;
  if (IsTablature()) letters = SelectFlagsFont();
  const int32_t top = Top();
  if (IsTablature() || side == 0) {
    int32_t count = std::max(lineCount_ - 1, 0);
    int32_t y = top + spacing / 2;
    if (innerOnly && !IsTablature()) {
      count = std::max(count - 2, 0);
      y += spacing;
    }
    for (int32_t k = 0; k < count; ++k) DrawGlyph(glyph, x, y + k * spacing);
  } else {
    DrawGlyph(glyph, x, top + spacing * 3 / 2);
    DrawGlyph(glyph, x, top + spacing * 5 / 2);
  }
  if (letters) dc.SelectFont(*letters);
  if (withBracket) {
    const int32_t bottom = top + std::max(lineCount_ - 1, 0) * spacing;
    g_.DrawBlackLine(30, LineSegment(x, top, x, bottom));
  }
  dc.SetTextColor(oldColour);
  dc.SetTextAlign(oldAlign);
}

void StaffRenderer::DrawBarLine(nChord& barToLocate, int32_t x) {
  const nChord& bar = barToLocate;
  // A tablature that repeats the first flag of each bar shows it again after every bar.
  if (IsTablature() && stave_.tabInstrument != nullptr && stave_.tabInstrument->showFirstFlag != 0) {
    marks_.lastFlag = -1;
  }
  const uint16_t variant = bar.status & 0xFFF3;
  if (variant == kHiddenBar) return;
  const InkSourceScope ink(g_.dc, InkSource::kBarLine);
  nChord* const savedCurrent = currentChord_;
  currentChord_ = &barToLocate;
  const int32_t w = g_.HundredthMmToDeviceX(50);
  // A bar ends every beam group.
  FlushNoteGroup();

  const bool styled = (bar.status & kStyledBit) != 0;
  const uint16_t style = bar.status & 0x70;
  const uint16_t special = bar.status & 0x0C;
  const bool last = voice_ != nullptr && elementIndex_ + 1 == voice_->size();
  const int32_t width = stave_.area.right - stave_.area.left;
  bool final = false;
  if (last && special == 0 && x > stave_.area.left + width * 6 / 7) {
    final = true;
    if (OnScreen() && settings_ != nullptr && settings_->showMarkers) {
      const InkSourceScope mark(g_.dc, InkSource::kScreenMark);
      const int32_t s = g_.HundredthMmToDeviceX(75);
      g_.DrawTriangle(0, 0x005A00, x, Top() + (lineCount_ - 1) * Spacing() + 2, s, s);
    }
    x = stave_.area.right - w / 2;
    if (variant == kThickBetweenThin) {
      x += 2 * w;
    } else if (styled) {
      if (style == 0x50 || style == 0x40) x -= 2 * w;
      if (style == 0x30 || style == 0x00 || style == 0x60) x += w;
      if (style == 0x70) x -= w;
    }
  }

  // Every fifth bar number above the first stave of an instrument.
  if (!last && (stave_.positionCode & 0x3F0F) == 0 && settings_ != nullptr && settings_->barNumbers &&
      bar.number != 0 && bar.number % 5 == 0 && special != 0x0C) {
    const InkSourceScope number(g_.dc, InkSource::kBarNumber);
    DrawBarNumber(g_.dc, stave_.zoom, Spacing(), bar.number, x, Top());
  }

  const bool lineStart = elementIndex_ == 0;
  if (lineStart && IsTablature()) x = stave_.area.left - indent_;

  if (special != 0) {
    const bool shownInFull = stave_.enabledVoices != 2 || drawing_.index == stave_.currentVoice;
    if (shownInFull) {
      if (special == 0x04) DrawMetaEventMarkers(*this, barToLocate, x);
      if (special == 0x08) DrawClefChange(bar, x + (style == 0x20 ? 3 * w : 2 * w));
      if (special == 0x0C) {
        if ((bar.status & 0xFF0) == kInlineEventBar) {
          DrawAllMetaEvents(*this, barToLocate, x);
        } else if (!bar.metaEvents.empty() && bar.metaEvents.front() != nullptr) {
          const CMetaEvent& event = *bar.metaEvents.front();
          int32_t barStyle = event.cx;
          if (event.kind == CMetaEvent::kCaption) barStyle = event.cy;
          if (event.kind == CMetaEvent::kEnding) barStyle = (event.cy >> 8) & 0xFFFF;
          nChord stand(static_cast<uint16_t>(((barStyle << 4) | 1) & 0xFFF3));
          if ((stand.status & 0x0C) == 0) DrawBarLine(stand, x);
        }
        currentChord_ = savedCurrent;
        return;
      }
    } else if (special == 0x0C) {
      currentChord_ = savedCurrent;
      return;
    }
  }

  const bool halfColumnBars = stave_.definition != nullptr && stave_.definition->showBarlines != 0;
  if (bar.status == kPlainBar && !halfColumnBars) {
    currentChord_ = savedCurrent;
    return;
  }

  if (styled && (style == 0x40 || style == 0x50 || style == 0x70)) {
    if (style == 0x70) {
      DrawRepeatDots(x - 3 * w, -1, false, false);
      DrawRepeatDots(x + 3 * w, 1, false, false);
      DrawThinBar(x - w);
      DrawThinBar(x + w);
    } else {
      DrawRepeatDots(lineStart ? x + 2 * w : x, 0, false, false);
      if (style == 0x50) {
        DrawThinBar(x - 2 * w, true);
        DrawThinBar(x + 2 * w, false);
      }
    }
    currentChord_ = savedCurrent;
    return;
  }

  if (variant == kDoubleBar) {
    if (lineStart) x += w;
    DrawThinBar(x - w);
    x = final ? stave_.area.right : x + w / 2;
  }
  if (CMetaEvent* ending = bar.metaEvents.Find(CMetaEvent::kEnding)) {
    DrawMetaEvent(*this, *ending, barToLocate, x);
  }
  if (!styled && variant != kThickBetweenThin) {
    // A plain bar line that opens a staff's line closes the line before it: the staff starts
    // with its clef, not with a bar line (a tablature's opening line stands at its left edge).
    if (!(lineStart && !IsTablature() && variant != kDoubleBar)) DrawThinBar(x);
    currentChord_ = savedCurrent;
    return;
  }
  DrawStyledBar(bar, x, lineStart, final);
  currentChord_ = savedCurrent;
}

void StaffRenderer::DrawStyledBar(const nChord& bar, int32_t x, bool lineStart, bool final) {
  const int32_t w = g_.HundredthMmToDeviceX(50);
  const uint16_t variant = bar.status & 0xFFF3;
  const bool between = variant == kThickBetweenThin;
  const uint16_t style = between ? 0xFFFF : bar.status & 0x70;
  if (!final) {
    if (style == 0x00) x += lineStart ? 4 * w : w;
    if (style == 0x10) x += lineStart ? w : -2 * w;
    if (lineStart) {
      if (style == 0x20) x += 4 * w;
      if (between) x += 2 * w;
      if (style == 0x30) x += 2 * w;
      if (style == 0x60) x += w / 2;
    }
  } else {
    x -= w;
    if (style == 0x20 || style == 0x10) x -= 4 * w;
    if (between) x -= 3 * w;
  }
  DrawThickBar(x);
  const int32_t thin = g_.HundredthMmToDeviceX(ThinBarWidth());
  switch (style) {
    case 0x00:  // end of a repeat
      DrawThinBar(x - 2 * w, true);
      DrawRepeatDots(x - 2 * w - w, -1, false, false);
      break;
    case 0x10:  // start of a repeat
      DrawThinBar(x + 2 * w, false);
      DrawRepeatDots(x + 2 * (w + thin), 1, false, false);
      break;
    case 0x20:  // repeat on both sides
      DrawThinBar(x - 2 * w, true);
      DrawThinBar(x + 2 * w, false);
      DrawRepeatDots(x - 3 * w, -1, false, false);
      DrawRepeatDots(x + 3 * w, 1, false, false);
      break;
    case 0x30:  // final bar
      DrawThinBar(x - 2 * w, true);
      break;
    case 0x60:  // thick line only
      break;
    default:
      if (between) {
        DrawThinBar(x - 2 * w, true);
        DrawThinBar(x + 2 * w, false);
      }
      break;
  }
}

}  // namespace vornel
