// The stave's side of stems, beams, tablature flag groups and tuplet brackets: measuring the
// notation glyphs, setting the voice groups up and handing them to the painter.

#include <algorithm>
#include <cmath>

#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/CTabInstrument.h"
#include "model/score/StaveRenderer.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"
#include "platform/draw/MulDiv.h"
#include "platform/UserPrompts.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/StaffRenderer.h"
#include "view/render/TabFonts.h"
#include "view/render/VoiceGroupPainter.h"
#include "view/render/tablature/TabNotes.h"

namespace vornel {

namespace {

constexpr int kHighestMeasuredFret = 24;

// How far below their base line the letters of the bottom course reach, in the letter font.
int32_t LetterInkDepth(CTabInstrument& tab, DeviceContext& dc, int32_t zoom) {
  // Selecting the letter font also sets its alignment: both are put back.
  const unsigned alignment = dc.GetTextAlign();
  const FontSpec previous = SelectTabFont(tab, dc, true, zoom);
  int32_t depth = 0;
  const int course = tab.tuning.lines - 1;
  if (tab.scaleType == 0 && course >= 0) {
    std::string letters;
    std::string one;
    for (int fret = 0; fret <= kHighestMeasuredFret; ++fret) {
      if (tab.GetFretText(tab.OpenPitch(course) + fret, course, one)) letters += one;
    }
    if (!letters.empty()) depth = std::max(dc.GetTextInkBox(letters).bottom, 0);
  } else {
    // Diatonic fret texts vary: the font's own descent bounds them.
    depth = dc.GetTextMetrics().tmDescent;
  }
  dc.SelectFont(previous);
  dc.SetTextAlign(alignment);
  return depth;
}

// How far above the flag line the flag glyphs of the voice's chords reach (flags font selected).
int32_t FlagGlyphRise(const CTabInstrument& tab, DeviceContext& dc, const nChordArray* voice) {
  if (voice == nullptr) return 0;
  uint32_t codes = 0;
  for (size_t i = 0; i < voice->size(); ++i) {
    const nChord* chord = voice->at(i);
    if (chord != nullptr && chord->IsChord()) codes |= 1u << (chord->rhythm & 7);
  }
  std::string glyphs;
  for (int code = 0; code < 8; ++code) {
    if ((codes & (1u << code)) == 0) continue;
    glyphs += GlyphText(tab.GetFlagGlyph(code) + (tab.rotateFlags != 0 ? 1 : 0));
  }
  return glyphs.empty() ? 0 : std::max(-dc.GetTextInkBox(glyphs).top, 0);
}

}  // namespace

void StaffRenderer::MeasureNotationGlyphs() {
  DeviceContext& dc = g_.dc;
  const CTabInstrument* tab = stave_.tabInstrument;
  if (!IsTablature()) {
    noteheadWidth_ = dc.GetCharWidth(U' ');
    stemLength_ = noteheadWidth_ * 10 / 4;
  } else if (tab != nullptr) {
    // Without its flags font the stave measures with the font it has.
    flagsFont_ = CreateFlagsFont(*stave_.tabInstrument, dc, stave_.zoom);
    const auto& flags = flagsFont_;
    if (!flags) Prompts().ShowMessage(kNotationFontError, MessageKind::kError);
    const FontSpec previous = flags ? dc.SelectFont(*flags) : dc.GetFont();
    noteheadWidth_ = dc.GetCharWidth(0x8A);
    stemLength_ = noteheadWidth_ * (tab->flagStyle == 1 ? 4 : 3);
    dc.SelectFont(previous);
  }
  if (stave_.definition != nullptr && stave_.definition->longStems != 0) stemLength_ += noteheadWidth_;
  if (IsTablature() && tab != nullptr && stave_.tabMode == 2) LowerFlagsUnderLetters();
  noteheadWidth_ = std::max(noteheadWidth_ - 1, 0);
  for (CVoiceGroup& group : stave_.Drawn().voiceGroups) group.Reset();
  SetupVoiceGroups();
}

// Flags hanging under the stave start a small gap below the ink of the bottom course's letters:
// with courses close together the letters reach further down than the flag line allows for.
// The beams come down first on shorter stems (down to two thirds of their length), so the
// stave grows no deeper than it must; what is still missing lowers the flag line.
void StaffRenderer::LowerFlagsUnderLetters() {
  CTabInstrument& tab = *stave_.tabInstrument;
  DeviceContext& dc = g_.dc;
  const int32_t s = Spacing();
  const int32_t lines = std::clamp(tab.tuning.lines, 1, static_cast<int32_t>(nTuning::kMaxCourses));
  int32_t letterBase = Top() + (lines - 1) * s - stave_.lineThickness / 2 - MulDiv(s, LetterFineOffset(*this) - 5, 15);
  if (tab.betweenLines != 0) letterBase += s / 2;
  const int32_t clear = letterBase + LetterInkDepth(tab, dc, stave_.zoom) + std::max(s / 4, 1);
  const int32_t beamTop = stave_.textBaseline - stemLength_ - s / 4;
  if (beamTop < clear) stemLength_ = std::max(stemLength_ - (clear - beamTop), stemLength_ * 2 / 3);
  int32_t rise = stemLength_ + s / 4;
  if (ScopedFlagsFont flags{*this}) rise = std::max(rise, FlagGlyphRise(tab, dc, voice_));
  const int32_t lowest = clear + rise;
  if (stave_.textBaseline >= lowest) return;
  stave_.annotationTop += lowest - stave_.textBaseline;
  stave_.textBaseline = lowest;
}

const std::optional<FontSpec>& StaffRenderer::FlagsFont() {
  if (!flagsFont_ && stave_.tabInstrument != nullptr) {
    flagsFont_ = CreateFlagsFont(*stave_.tabInstrument, g_.dc, stave_.zoom);
  }
  return flagsFont_;
}

std::optional<FontSpec> StaffRenderer::SelectFlagsFont() {
  if (!FlagsFont()) return std::nullopt;
  return g_.dc.SelectFont(*flagsFont_);
}

DeviceContext& StaffRenderer::MeasuringDevice() {
  if (measuring_ == nullptr) measuring_ = CreateMeasuringDevice(&g_.dc);
  return *measuring_;
}

void StaffRenderer::SetupVoiceGroups() {
  const CTabInstrument* tab = stave_.tabInstrument;
  const int32_t flagGroup = tab != nullptr ? tab->flagGroup : 0;
  for (CVoiceGroup& group : stave_.Drawn().voiceGroups) {
    group.flagPlacement = (flagGroup >> 4) & 7;
    group.tabMode = IsTablature() ? stave_.tabMode : 0;
    group.beamedTablature = tab != nullptr && stave_.tabMode == 1 &&
                            (tab->flagStyle == 0 || tab->flagStyle == 5 || tab->flagStyle == 7);
    group.noteheadWidth = noteheadWidth_;
    group.stemLength = stemLength_;
    group.spacing = Spacing();
    group.stemWidth = Spacing();
    group.stemsDown = IsTablature() ? (group.flagPlacement & 3) == 2 : stave_.currentStemsDown != 0;
    group.flagLine = IsTablature() ? stave_.textBaseline : Top() + 2 * Spacing();
    group.ComputeThickness();
  }
}

void StaffRenderer::DrawVoiceGroups(uint16_t glyphBase, bool stemsDown) {
  DeviceContext& dc = g_.dc;
  const uint32_t measured = glyphBase + 8u == 138u ? 118u : glyphBase + 8u;
  const int32_t w = dc.GetCharWidth(measured);
  const int32_t pen = static_cast<int32_t>(std::lround(Spacing() * 0.125));
  COLORREF colour = dc.IsPrinting() ? 0 : NoteColour();
  if (dc.IsPrinting() && settings_ != nullptr && settings_->colourOn) colour = NoteColour();
  const Pen oldPen = dc.SelectPen(Pen::Create(PS_SOLID, std::max(pen, 1), colour));
  const bool slanted = stave_.definition != nullptr && stave_.definition->slantedBeams != 0;
  for (size_t k = 0; k < stave_.Drawn().voiceGroups.size(); ++k) {
    CVoiceGroup& group = stave_.Drawn().voiceGroups[k];
    if (k == 1 && group.empty()) continue;
    group.stemsDown = k == 0 ? stemsDown : !stemsDown;
    uint16_t base = glyphBase;
    if (k == 1) base = static_cast<uint16_t>(group.stemsDown ? glyphBase + 10 : glyphBase - 10);
    group.glyphBase = base;
    group.colour = colour;
    group.tupletNumber = static_cast<int32_t>(tupletNumber_);
    group.slopeEnabled = slanted;
    group.stemsDrawn = true;
    group.stemLength = stemLength_;
    group.tabMode = 0;
    group.ResetBeamLevel();
    group.ComputeThickness();
    VoiceGroupPainter(group, g_).Draw(w);
  }
  dc.SelectPen(oldPen);
}

void StaffRenderer::DrawTabFlagGroups() {
  CVoiceGroup& group = stave_.Drawn().voiceGroups[0];
  CTabInstrument* tab = stave_.tabInstrument;
  // With individual flags every chord draws its own and mode 3 hides them all; only the beam
  // modes group them.
  if (tab == nullptr || stave_.tabMode == 0 || stave_.tabMode == 3 || group.size() <= 1 ||
      group.at(0)->ValueCode() <= 3) {
    return;
  }
  DeviceContext& dc = g_.dc;
  const auto selected = SelectFlagsFont();
  if (!selected) {
    Prompts().ShowMessage(kNotationFontError, MessageKind::kError);
    return;
  }
  const FontSpec previousFont = *selected;
  const int32_t width = std::max(1, g_.HundredthMmToDeviceX(20));
  const Pen previousPen = dc.SelectPen(Pen::Create(PS_SOLID, width, NoteColour()));
  group.colour = NoteColour();
  VoiceGroupPainter(group, g_).DrawTabFlags(*tab, static_cast<int32_t>(tupletNumber_), Spacing());
  dc.SelectPen(previousPen);
  dc.SelectFont(previousFont);
  tuplets_.Clear();
}

void StaffRenderer::DrawTupletMark(const nChord& chord, int32_t x, int marker) {
  if (marker == 2) {
    tuplets_.Flush(g_, x);
    return;
  }
  // What the chord drew: its heads, and its stem on the side it points to.
  const bool stem = (chord.rhythm & 7) >= 2;
  int32_t inkTop = ChordTop();
  int32_t inkBottom = ChordBottom();
  if (stem && !StemsDown() && inkTop != INT32_MAX) inkTop -= StemLength();
  if (stem && StemsDown() && inkBottom != INT32_MIN) inkBottom += StemLength();
  tuplets_.Add(g_, chord, x, inkTop, inkBottom);
}

}  // namespace vornel
