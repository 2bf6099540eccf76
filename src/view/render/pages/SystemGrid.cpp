#include "view/render/pages/SystemGrid.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <string>

#include "document/CPageDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/CTabInstrument.h"
#include "model/score/CStaveArray.h"
#include "model/score/StaveRenderer.h"
#include "platform/draw/MulDiv.h"
#include "view/draw/DrawContext.h"
#include "view/draw/FontDrawing.h"
#include "view/render/LabelDrawing.h"
#include "view/render/TabFonts.h"

namespace vornel {

namespace {

// The least room between the ink of two neighbouring chords.
constexpr int32_t kInkGapTenths = 10;

// Whether the staves of a line draw its first and its second voice.
std::array<bool, 2> DrawnVoices(const CInstrument& line) {
  std::array<bool, 2> drawn = {false, false};
  for (const auto& stave : line.staves.items()) {
    if (stave == nullptr) continue;
    // A stored value outside the four choices shows the first voice.
    const int32_t shown = stave->enabledVoices >= 0 && stave->enabledVoices <= 3 ? stave->enabledVoices : 0;
    if (shown != 1) drawn[0] = true;
    if (shown != 0) drawn[1] = true;
  }
  return drawn;
}

// Measures what chords write beside their place, on a device of its own (the drawing device
// keeps its state and records nothing), in units of the grid.
class ChordInk {
 public:
  ChordInk(DeviceContext& dc, int32_t zoom, int32_t columnWidth)
      : measuring_(CreateMeasuringDevice(&dc)), zoom_(zoom),
        unit_(std::max(double(columnWidth) / SystemSlots::kUnitsPerColumn, 0.01)),
        gap_(MulDiv(kInkGapTenths, dc.LogPixelsX(), 254)) {
    const PageDrawSettings* settings = PageSettingsOf(dc);
    centredLyrics_ = settings != nullptr && settings->centerLyrics;
    lyricFont_ = PageFontOrDefault(dc, kFontLyrics);
  }

  std::pair<int32_t, int32_t> Of(const nChord& chord, const CTabInstrument* tablature) {
    int32_t left = 0;
    int32_t right = 0;
    if (tablature != nullptr && !chord.notes.empty()) {
      const int32_t w = WidestFret(chord, *tablature);
      if (w > 0) {
        left = Units(w / 2 + gap_ / 2);
        right = Units(w - w / 2 + gap_ / 2);
      }
    }
    for (const auto& event : chord.metaEvents) {
      if (event == nullptr || event->kind != CMetaEvent::kLyrics || event->text.empty()) continue;
      const int32_t w = TextWidth(event->text);
      left = std::max(left, centredLyrics_ ? Units(w / 2 + gap_ / 2) : 0);
      right = std::max(right, Units(centredLyrics_ ? w - w / 2 + gap_ / 2 : w + gap_));
    }
    return {left, right};
  }

 private:
  int32_t Units(int32_t pixels) const { return static_cast<int32_t>(std::ceil(pixels / unit_)); }

  int32_t TextWidth(const std::string& text) {
    const FontSpec previous = CreateScaledFont(lyricFont_, static_cast<float>(zoom_), *measuring_);
    Rect size;
    measuring_->DrawText(text, size, DT_CALCRECT | DT_NOPREFIX);
    measuring_->SelectFont(previous);
    return size.Width();
  }

  // The widest fret text of the chord's notes on the tablature's lines (bourdons are written
  // under them and keep their own room).
  int32_t WidestFret(const nChord& chord, const CTabInstrument& tab) {
    const int courses = std::clamp(tab.tuning.lines, 0, static_cast<int32_t>(nTuning::kMaxCourses));
    int32_t widest = 0;
    for (const auto& note : chord.notes) {
      if (note == nullptr || note->string >= courses) continue;
      std::string text;
      if (!tab.GetFretText(note->pitch - 23, note->string, text) || text.empty()) continue;
      auto& widths = fretWidths_[&tab];
      auto found = widths.find(text);
      if (found == widths.end()) {
        const FontSpec previous = SelectTabFont(const_cast<CTabInstrument&>(tab), *measuring_, true, zoom_);
        found = widths.emplace(text, measuring_->GetTextExtent(text).cx).first;
        measuring_->SelectFont(previous);
      }
      widest = std::max(widest, found->second);
    }
    return widest;
  }

  std::unique_ptr<DeviceContext> measuring_;
  int32_t zoom_;
  double unit_;
  int32_t gap_;
  bool centredLyrics_ = false;
  dfLogFont lyricFont_;
  std::map<const CTabInstrument*, std::map<std::string, int32_t>> fretWidths_;
};

// The tablature whose fret digits a line writes, or null (staff notation, percussion).
const CTabInstrument* FretTablature(const CInstrument& line) {
  for (const auto& stave : line.staves.items()) {
    if (stave == nullptr || !stave->IsTablature() || stave->tabInstrument == nullptr) continue;
    if (stave->tabInstrument->tabStyle == CTabInstrument::kOwnFlags) continue;
    return stave->tabInstrument;
  }
  return nullptr;
}

}  // namespace

bool LineShown(const CInstrument* line) {
  return line != nullptr && (line->definition == nullptr || line->definition->visible != 0);
}

bool EndsWithBarLine(const CInstrument& line) {
  const std::array<bool, 2> drawn = DrawnVoices(line);
  for (size_t v = 0; v < 2; ++v) {
    if (!drawn[v]) continue;
    const nChordArray& voice = line.Voice(v);
    for (size_t i = voice.size(); i-- > 0;) {
      const nChord* e = voice.at(i);
      if (e == nullptr) continue;
      if (e->IsBarLine()) return true;
      break;
    }
  }
  return false;
}

std::optional<SystemGrid> LayOutSystemGrid(const CStaveArray& system, DeviceContext& dc, int32_t zoom,
                                           int32_t columnWidth) {
  SystemGrid grid;
  std::vector<SlotVoice> voices;
  bool engraved = false;
  for (const auto& line : system.lines.items()) {
    if (!LineShown(line.get())) continue;
    const std::array<bool, 2> drawn = DrawnVoices(*line);
    for (const auto& stave : line->staves.items()) engraved = engraved || (stave != nullptr && SpacedAsEngraved(*stave));
    for (size_t v = 0; v < 2; ++v) {
      const nChordArray& voice = line->Voice(v);
      if (!drawn[v] || std::none_of(voice.begin(), voice.end(), [](const auto& e) { return e != nullptr; })) continue;
      SlotVoice slots;
      slots.events.reserve(voice.size());
      for (const auto& e : voice) slots.events.push_back(e.get());
      slots.halfColumnBars = line->definition != nullptr && line->definition->showBarlines != 0;
      voices.push_back(std::move(slots));
      grid.voices.emplace_back(line.get(), v);
    }
  }
  if (voices.size() < 2) return std::nullopt;
  if (engraved) {
    // Tablature written as tablature keeps its columns as they are; engraved music makes room
    // for what its chords write.
    ChordInk ink(dc, zoom, columnWidth);
    for (size_t k = 0; k < voices.size(); ++k) {
      const CTabInstrument* tablature = FretTablature(*grid.voices[k].first);
      SlotVoice& voice = voices[k];
      voice.reach.assign(voice.events.size(), {0, 0});
      for (size_t i = 0; i < voice.events.size(); ++i) {
        const nChord* e = voice.events[i];
        if (e != nullptr && e->IsChord()) voice.reach[i] = ink.Of(*e, tablature);
      }
    }
  }
  grid.slots = LaySystemSlots(voices, engraved ? SlotSpacing::kEngraved : SlotSpacing::kTablature);
  if (grid.slots.end <= 0) return std::nullopt;
  return grid;
}

void PlaceGrid(const CStaveArray& system, const SystemGrid* grid, double unit) {
  for (const auto& line : system.lines.items()) {
    if (line == nullptr) continue;
    for (const auto& stave : line->staves.items()) {
      if (stave != nullptr) stave->Drawn().gridPlaces = {};
    }
  }
  if (grid == nullptr) return;
  for (size_t k = 0; k < grid->voices.size(); ++k) {
    const auto& [line, v] = grid->voices[k];
    std::vector<int32_t> places;
    places.reserve(grid->slots.places[k].size());
    for (const int64_t p : grid->slots.places[k]) {
      places.push_back(static_cast<int32_t>(std::clamp<double>(std::round(double(p) * unit), 0, INT32_MAX)));
    }
    for (const auto& stave : line->staves.items()) {
      if (stave != nullptr) stave->Drawn().gridPlaces[v] = places;
    }
  }
}

}  // namespace vornel
