#include "view/render/StaffRenderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <stdexcept>
#include <utility>

#include "model/instrument/CInstrumentDlg.h"
#include "model/instrument/CKey.h"
#include "model/instrument/CTabInstrument.h"
#include "model/score/CVoicesArray.h"
#include "model/score/StaveRenderer.h"
#include "model/voice/nChord.h"
#include "model/voice/nChordArray.h"
#include "platform/UserPrompts.h"
#include "platform/draw/MulDiv.h"
#include "view/render/MarkSeams.h"
#include "view/render/NotationGlyphs.h"
#include "view/render/TabFonts.h"
#include "view/render/TuningLabels.h"
#include "view/render/marks/Slurs.h"
#include "view/render/tablature/ChordLetters.h"
#include "view/render/tablature/TabColumns.h"

namespace vornel {

namespace {

int32_t SaneZoom(int32_t zoom) { return zoom < 1 ? 100 : std::min(zoom, 100000); }

// Pitch class of the tonic of a signature: sharps follow the circle of fifths upward, flats
// downward.
int KeyPitchClass(uint32_t count, bool flats) {
  static constexpr int kSharpKeys[] = {0, 7, 2, 9, 4, 11, 6, 1};
  static constexpr int kFlatKeys[] = {0, 5, 10, 3, 8, 1, 6, 11};
  const uint32_t n = std::min<uint32_t>(count, 7);
  return flats ? kFlatKeys[n] : kSharpKeys[n];
}

struct Signature {
  uint32_t count;
  bool flats;
};

// The signature of the major key on each pitch class (D flat and F sharp for 1 and 6).
Signature SignatureOfPitchClass(int pitchClass) {
  static constexpr Signature kKeys[12] = {{0, false}, {5, true}, {2, false}, {3, true}, {4, false}, {1, true},
                                          {6, false}, {1, false}, {4, true}, {3, false}, {2, true}, {5, false}};
  return kKeys[((pitchClass % 12) + 12) % 12];
}

}  // namespace

CKey KeyAsDrawn(CKey key) {
  if (key.transpose == 0) return key;
  const Signature s = SignatureOfPitchClass(KeyPitchClass(key.alterations, key.bemol != 0) + key.transpose);
  key.alterations = s.count;
  key.bemol = s.flats ? 1 : 0;
  key.transpose = 0;
  return key;
}

namespace {

// What the stave's music is (not its texts) and, of that, what a slur goes around: the notes
// and what stands on them; not the lines it crosses (staff, bar lines), the stave's signs nor
// the chord marks that reach across the whole staff.
struct InkKind {
  bool music = false;
  bool obstacle = false;
};
constexpr std::array<InkKind, static_cast<size_t>(InkSource::kCount)> kInkKinds = [] {
  std::array<InkKind, static_cast<size_t>(InkSource::kCount)> kinds{};
  for (const InkSource s : {InkSource::kStaffLine, InkSource::kBarLine, InkSource::kClef, InkSource::kKeySignature,
                            InkSource::kTimeSignature, InkSource::kRhythmFlag, InkSource::kTabLetter,
                            InkSource::kBourdon, InkSource::kChordEffect}) {
    kinds[static_cast<size_t>(s)].music = true;
  }
  for (const InkSource s : {InkSource::kLedgerLine, InkSource::kNoteHead, InkSource::kAccidental, InkSource::kRest,
                            InkSource::kDot, InkSource::kStem, InkSource::kBeam, InkSource::kFlag, InkSource::kTuplet,
                            InkSource::kOrnament, InkSource::kFingering, InkSource::kSlur}) {
    kinds[static_cast<size_t>(s)] = {true, true};
  }
  return kinds;
}();

// The lowest ink of a stave's music (not of its texts), passed on to the observer before it;
// and, while `keepObstacles` is set, the boxes of the notes and their marks that slurs keep
// clear of, in drawing coordinates.
class StaveMusicInk : public InkObserver {
 public:
  StaveMusicInk(InkObserver* next, Point origin, bool keepObstacles)
      : next_(next), origin_(origin), keepObstacles_(keepObstacles) {}
  void OnInk(const InkItem& item) override {
    if (IsMusic(item.source) || (countAll_ && item.source != InkSource::kScreenMark)) {
      bottom_ = std::max(bottom_, item.bottom);
    }
    if (keepObstacles_ && IsObstacle(item.source)) {
      obstacles_.push_back({{static_cast<int32_t>(std::floor(item.left)) - origin_.x,
                             static_cast<int32_t>(std::floor(item.top)) - origin_.y,
                             static_cast<int32_t>(std::ceil(item.right)) - origin_.x,
                             static_cast<int32_t>(std::ceil(item.bottom)) - origin_.y},
                            item.source == InkSource::kNoteHead});
    }
    if (next_ != nullptr) next_->OnInk(item);
  }
  std::optional<double> Bottom() const { return bottom_ > -1e300 ? std::optional<double>(bottom_) : std::nullopt; }
  const std::vector<StaffInk>& Obstacles() const { return obstacles_; }
  // While set, every kind of ink counts for the bottom: the directions under a staff, which
  // its lyrics stand under too.
  void CountAll(bool all) { countAll_ = all; }

 private:
  static InkKind KindOf(InkSource source) {
    const auto i = static_cast<size_t>(source);
    return i < kInkKinds.size() ? kInkKinds[i] : InkKind{};
  }
  static bool IsMusic(InkSource source) { return KindOf(source).music; }
  static bool IsObstacle(InkSource source) { return KindOf(source).obstacle; }
  InkObserver* next_;
  Point origin_;
  bool keepObstacles_;
  bool countAll_ = false;
  double bottom_ = -1e300;
  std::vector<StaffInk> obstacles_;
};

}  // namespace

StaffRenderer::StaffRenderer(CClef& stave, GraphicUtil& g) : stave_(stave), g_(g), settings_(PageSettingsOf(g.dc)) {}

StaffRenderer::~StaffRenderer() = default;

int32_t StaffRenderer::DrawGlyph(uint32_t code, int32_t x, int32_t y) {
  g_.dc.TextOut(x, y, GlyphText(code));
  return g_.dc.GetCharWidth(U' ');
}

int StaffRenderer::GetNoteHeadBase() const {
  const int style = stave_.definition != nullptr ? stave_.definition->notesStyle : stave_.squareNotes;
  const int base = style == 1 ? 130 : style == 2 ? 80 : 100;
  return stave_.currentStemsDown != 0 ? base + 10 : base;
}

COLORREF StaffRenderer::NoteColour() const {
  if (settings_ != nullptr && !drawing_.fullColour && settings_->greyInactive) return 0x969696;
  if (settings_ != nullptr && settings_->colourOn && stave_.definition != nullptr) {
    return stave_.definition->notationFont.color;
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Entry

void StaffRenderer::Draw(int32_t zoom, const CVoicesArray& voices, Rect& rect, int32_t indent, const CKey* key,
                         int32_t columnWidth) {
  if (voices.size() < 2 || voices.at(0) == nullptr || voices.at(1) == nullptr) {
    throw std::invalid_argument("a stave is drawn from two voices");
  }
  stave_.zoom = SaneZoom(zoom);
  page_ = rect;
  indent_ = indent;
  stave_.leftMargin = indent;
  stave_.Drawn().chordPositions.clear();
  drawType_ = stave_.IsTablature() ? 1 : 0;
  CTabInstrument* tab = stave_.tabInstrument;
  stave_.tabMode = tab != nullptr ? (tab->flagGroup & 3) : 0;
  if (tab != nullptr && tab->tabStyle == CTabInstrument::kOwnFlags) {
    drawType_ = 1;
    stave_.tabMode = 1;
  }
  lastDrawn_ = nullptr;
  if (key != nullptr) {
    stave_.key = *key;
    keyTransposition_ = 0;
  }
  ComputeTimeLayout(voices, rect, columnWidth);
  ComputeColumnRoom(voices, columnWidth);
  voices_ = &voices;
  bourdonDrop_.reset();

  const int32_t savedClef = stave_.clefId;
  const int32_t savedOffset = stave_.stepOffset;
  // A stored value outside the four choices shows the first voice.
  const int shown = stave_.enabledVoices >= 0 && stave_.enabledVoices <= 3 ? stave_.enabledVoices : 0;
  Rect laidOut = rect;
  DeviceContext& dc = g_.dc;
  StaveMusicInk music(dc.GetInkObserver(), dc.GetViewportOrg(), !IsTablature());
  InkObserver* const outer = dc.SetInkObserver(&music);
  lyrics_.clear();
  deferLyrics_ = true;
  slurs_.clear();
  deferSlurs_ = !IsTablature();
  try {
    if (shown == 1 || shown == 2 || shown == 3) {
      laidOut = rect;
      const bool full = !(shown == 2 && stave_.currentVoice == 0);
      DrawVoice(*voices.at(1), 1, stave_.stemDirection, full, columnWidth);
      laidOut.bottom = stave_.area.bottom;
    }
    if (shown == 0 || shown == 2 || shown == 3) {
      stave_.clefId = savedClef;
      stave_.stepOffset = savedOffset;
      const bool full = !(shown == 2 && stave_.currentVoice != 0);
      DrawVoice(*voices.at(0), 0, 0, full, columnWidth);
      laidOut.bottom = stave_.area.bottom;
    }
    deferSlurs_ = false;
    DrawDeferredSlurs(music.Obstacles());
    music.CountAll(true);
    DrawDeferredDirections(music.Obstacles());
    music.CountAll(false);
    dc.SetInkObserver(outer);
    deferLyrics_ = false;
    const std::optional<double> bottom = music.Bottom();
    DrawDeferredLyrics(bottom ? static_cast<int32_t>(std::ceil(*bottom)) - dc.GetViewportOrg().y : INT32_MIN);
  } catch (const std::exception&) {
    dc.SetInkObserver(outer);
    RestoreFont();
    ReportFailure(rect);
  }
  dc.SetInkObserver(outer);
  deferLyrics_ = false;
  lyrics_.clear();
  deferSlurs_ = false;
  slurs_.clear();
  directions_.clear();
  musicInk_ = nullptr;
  lyricFloor_ = INT32_MIN;
  rect.bottom = stave_.area.bottom != 0 ? stave_.area.bottom : laidOut.bottom;
  stave_.clefId = savedClef;
  stave_.stepOffset = savedOffset;
  for (CVoiceGroup& group : stave_.Drawn().voiceGroups) group.Reset();
  stave_.active = false;
  voices_ = nullptr;
}

StaffRenderer::DeferredEvent StaffRenderer::Deferred(CMetaEvent& event, nChord& chord, const Rect& rect,
                                                    int32_t u) const {
  return {&event, &chord, rect, u, highestY_, lowestY_, stave_.currentStemsDown, voice_, elementIndex_, drawing_.index};
}

bool StaffRenderer::DeferLyric(CMetaEvent& event, nChord& chord, const Rect& rect, int32_t u) {
  if (!deferLyrics_) return false;
  lyrics_.push_back(Deferred(event, chord, rect, u));
  return true;
}

bool StaffRenderer::DeferDirection(CMetaEvent& event, nChord& chord, const Rect& rect, int32_t u) {
  // The directions wait with the slurs: on staves, while their notes are drawn.
  if (!deferSlurs_) return false;
  directions_.push_back(Deferred(event, chord, rect, u));
  return true;
}

std::optional<Rect> StaffRenderer::MusicInkBetween(int32_t left, int32_t right) const {
  if (musicInk_ == nullptr) return std::nullopt;
  std::optional<Rect> found;
  for (const StaffInk& ink : *musicInk_) {
    if (ink.box.right < left || ink.box.left > right) continue;
    found = found ? UnionRect(*found, ink.box) : ink.box;
  }
  return found;
}

void StaffRenderer::DrawDeferredEvent(const DeferredEvent& deferred) {
  highestY_ = deferred.chordTop;
  lowestY_ = deferred.chordBottom;
  stave_.currentStemsDown = deferred.stemsDown;
  voice_ = deferred.voice;
  elementIndex_ = deferred.element;
  // The columns are those of the event's voice.
  auto& drawn = stave_.Drawn();
  const size_t index = deferred.voiceIndex == 1 ? 1 : 0;
  const bool otherVoice = drawn.voicePositions[index] != drawn.chordPositions && !drawn.voicePositions[index].empty();
  if (otherVoice) std::swap(drawn.chordPositions, drawn.voicePositions[index]);
  DrawLyricEvent(*this, *deferred.event, *deferred.chord, deferred.rect, deferred.u);
  if (otherVoice) std::swap(drawn.chordPositions, drawn.voicePositions[index]);
}

void StaffRenderer::DrawDeferredDirections(const std::vector<StaffInk>& ink) {
  if (directions_.empty()) return;
  const int32_t savedStems = stave_.currentStemsDown;
  const nChordArray* savedVoice = voice_;
  const size_t savedElement = elementIndex_;
  musicInk_ = &ink;
  const std::vector<DeferredEvent> directions = std::move(directions_);
  directions_.clear();
  for (const DeferredEvent& direction : directions) DrawDeferredEvent(direction);
  musicInk_ = nullptr;
  stave_.currentStemsDown = savedStems;
  voice_ = savedVoice;
  elementIndex_ = savedElement;
  highestY_ = INT32_MAX;
  lowestY_ = INT32_MIN;
}

bool StaffRenderer::DeferSlur(const DeferredSlur& slur) {
  if (!deferSlurs_) return false;
  slurs_.push_back(slur);
  return true;
}

void StaffRenderer::DrawDeferredSlurs(const std::vector<StaffInk>& ink) {
  if (slurs_.empty()) return;
  DrawStaffSlurs(*this, std::move(slurs_), ink);
  slurs_.clear();
}

void StaffRenderer::DrawDeferredLyrics(int32_t floor) {
  lyricFloor_ = floor;
  const int32_t savedStems = stave_.currentStemsDown;
  // A syllable's verse is its place among its chord's syllables. The hyphen of a syllable
  // that goes on stands between it and the next syllable of its verse and voice on the stave.
  const size_t count = lyrics_.size();
  std::vector<size_t> verse(count, 0);
  for (size_t i = 1; i < count; ++i) {
    if (lyrics_[i].chord == lyrics_[i - 1].chord) verse[i] = verse[i - 1] + 1;
  }
  std::vector<size_t> next(count, count);
  std::map<std::pair<const nChordArray*, size_t>, size_t> later;
  for (size_t i = count; i-- > 0;) {
    auto [it, added] = later.try_emplace({lyrics_[i].voice, verse[i]}, i);
    if (!added) next[i] = std::exchange(it->second, i);
  }
  // The syllable whose hyphen comes before each syllable, as it was placed.
  std::vector<std::optional<std::pair<size_t, PlacedSyllable>>> hyphenBefore(count);
  for (size_t i = 0; i < count; ++i) {
    const DeferredEvent& lyric = lyrics_[i];
    highestY_ = lyric.chordTop;
    lowestY_ = lyric.chordBottom;
    stave_.currentStemsDown = lyric.stemsDown;
    const std::string& text = lyric.event->text;
    lyricHyphenApart_ = next[i] < count && text.size() > 1 && text.back() == '-';
    placedSyllable_.reset();
    DrawLyricEvent(*this, *lyric.event, *lyric.chord, lyric.rect, lyric.u);
    if (hyphenBefore[i]) {
      const auto& [from, placed] = *hyphenBefore[i];
      DrawLyricHyphen(*this, *lyrics_[from].event, placed, placedSyllable_ ? &*placedSyllable_ : nullptr);
    }
    if (lyricHyphenApart_ && placedSyllable_) hyphenBefore[next[i]] = std::make_pair(i, *placedSyllable_);
    lyricHyphenApart_ = false;
  }
  placedSyllable_.reset();
  stave_.currentStemsDown = savedStems;
  highestY_ = INT32_MAX;
  lowestY_ = INT32_MIN;
}

void StaffRenderer::ReportFailure(const Rect& rect) {
  // A crossed frame stands where the notes would be; the message comes once per stave, never on
  // every repaint. The stave keeps that it was shown, so no drawing depends on another.
  const Rect frame{rect.left, stave_.area.top, rect.right, std::max(stave_.area.bottom, stave_.area.top + 1)};
  g_.DrawRectOutline(frame, 0x0000FF);
  g_.DrawThinLine(20, 0x0000FF, frame.left, frame.top, frame.right, frame.bottom);
  if (!stave_.drawingErrorReported) {
    stave_.drawingErrorReported = true;
    Prompts().ShowMessage(kStaffDrawingError, MessageKind::kError);
  }
}

void StaffRenderer::DrawVoice(const nChordArray& voice, int index, int32_t stemsDown, bool fullColour,
                              int32_t columnWidth) {
  drawing_ = {index, fullColour};
  stave_.currentStemsDown = stemsDown;
  LayoutStave(voice, columnWidth);
  stave_.Drawn().voicePositions[static_cast<size_t>(index)] = stave_.Drawn().chordPositions;
}

void StaffRenderer::ComputeTimeLayout(const CVoicesArray& voices, Rect rect, int32_t columnWidth) {
  proportional_ = false;
  pixelsPerTick_ = 0;
  if (settings_ == nullptr || !settings_->timeProportional) return;
  const bool halfColumnBars = stave_.definition != nullptr && stave_.definition->showBarlines != 0;
  size_t bars = 0;
  uint32_t total = 0;
  int64_t room = 0;
  for (const nChordArray* voice : voices) {
    if (voice == nullptr) continue;
    size_t barLines = 0;
    uint32_t ticks = 0;
    int64_t taken = 0;
    for (const auto& e : *voice) {
      if (e == nullptr) continue;
      if (e->IsBarLine()) ++barLines;
      if (e->IsChord()) {
        ticks += e->GetDurationTicks();
      } else {
        taken += ColumnRoomAfter(*e, halfColumnBars, columnWidth);
      }
    }
    bars = std::max(bars, barLines + 1);
    total = std::max(total, ticks);
    room = std::max(room, taken);
  }
  // One bar, or a line whose elements take no time (bar lines, empty voices), keeps equal
  // columns: there is nothing to divide the width by.
  if (bars < 2 || total == 0) return;
  const int64_t count = static_cast<int64_t>(bars);
  int64_t width = int64_t{rect.right} - rect.left;
  const uint32_t layoutWord = stave_.definition != nullptr ? static_cast<uint32_t>(stave_.definition->notationOptions)
                                                           : 0;
  if ((layoutWord & 0xFFFF) == (layoutWord >> 16)) {
    const int64_t fixed = count * MulDiv(settings_->barWidth, g_.dc.LogPixelsX(), 254);
    if (fixed * 4 <= width * 3) width = fixed;
  }
  // The time is spread over what the bar lines and special events leave of the width, less the
  // last column's own room, so that the line ends at the stave's end as with equal columns.
  const int64_t forTime = width - room - std::max(columnWidth, 0);
  if (forTime <= 0) return;
  pixelsPerTick_ = static_cast<double>(forTime) / total;
  proportional_ = true;
}

void StaffRenderer::ComputeColumnRoom(const CVoicesArray& voices, int32_t columnWidth) {
  columns_ = {columnWidth, {}};
  CInstrumentDlg* d = stave_.definition;
  if (proportional_ || d == nullptr) return;
  // The staff of a line with a tablature lays its columns out as the tablature does.
  const bool withTablature = stave_.IsTablature() || std::any_of(d->staves.begin(), d->staves.end(), [](const auto& s) {
                               return s != nullptr && s->IsTablature();
                             });
  if (!withTablature) return;
  std::vector<const nChordArray*> shown;
  for (const nChordArray* voice : voices) {
    if (voice != nullptr) shown.push_back(voice);
  }
  columns_ = LayTabColumnRoom(g_.dc, *d, stave_.zoom, shown, columnWidth, d->showBarlines != 0,
                               page_.left, page_.right);
}

// ---------------------------------------------------------------------------------------------
// Layout pass

void StaffRenderer::SelectStaveFont() {
  FontSpec previous;
  if (drawType_ == 0) {
    notationFont_.reset();
    fontRecord_.emplace(stave_.definition != nullptr ? stave_.definition->notationFont : CNotationFont());
    notationFont_.emplace(*fontRecord_);
    notationFont_->CreateScaledFont(stave_.zoom, g_.dc);
    notationFont_->SelectScaledFont(g_.dc, 0, stave_.zoom, &previous);
  } else if (stave_.tabInstrument != nullptr) {
    previous = SelectTabFont(*stave_.tabInstrument, g_.dc, true, stave_.zoom);
  } else {
    previous = g_.dc.GetFont();
  }
  if (!previousFont_) previousFont_ = previous;
}

FontSpec StaffRenderer::SelectNotationFont(int32_t extra) {
  if (!notationFont_) {
    fontRecord_.emplace(stave_.definition != nullptr ? stave_.definition->notationFont : CNotationFont());
    notationFont_.emplace(*fontRecord_);
    notationFont_->CreateScaledFont(stave_.zoom, g_.dc);
  }
  FontSpec previous;
  notationFont_->SelectScaledFont(g_.dc, extra, stave_.zoom, &previous);
  return previous;
}

COLORREF StaffRenderer::GraceColour() const {
  if (settings_ == nullptr || !settings_->colourOn || stave_.definition == nullptr) return 0;
  return stave_.definition->ornaments.table.colors[COrnamentTable::kOrnaments];
}

void StaffRenderer::RestoreFont() {
  if (previousFont_) g_.dc.SelectFont(*previousFont_);
  previousFont_.reset();
}

void StaffRenderer::ComputeHighlight(const nChordArray& voice) {
  highlightFirst_ = -1;
  highlightLast_ = 0;
  const CInstrumentDlg* d = stave_.definition;
  if (d == nullptr || d->markers[0] < 0) return;
  const nChordArray& gathered = d->gathered[0];
  const auto deltaAt = [&](int32_t index) -> int32_t {
    if (index < 0 || static_cast<size_t>(index) >= gathered.size()) return -1;
    const nChord* e = gathered.at(static_cast<size_t>(index));
    return e != nullptr ? static_cast<int32_t>(e->delta) : -1;
  };
  highlightFirst_ = deltaAt(d->markers[0]);
  highlightLast_ = std::max(deltaAt(d->markers[1]), 0);
  if (highlightFirst_ < 0) return;
  for (const auto& e : voice) {
    if (e == nullptr || !e->IsChord()) continue;
    const auto first = static_cast<int64_t>(e->delta);
    if (first >= highlightFirst_ && first < highlightLast_) stave_.highlightStart = stave_.area.left;
    break;
  }
}

int64_t ColumnRoomAfter(const nChord& e, bool halfColumnBars, int32_t step) {
  // A whole column of a rest of several bars is added as one, since two halves of an odd
  // width fall short of it.
  const bool rest = e.IsMultiBarRest();
  return int64_t{ExtraHalfColumnsAfter(e, halfColumnBars) - (rest ? 2 : 0)} * (step / 2) + (rest ? step : 0);
}

void StaffRenderer::ComputeColumns(const nChordArray& voice, int32_t columnWidth) {
  // Columns stand closer where a tablature's bourdons needed room that the line did not have.
  const int32_t step = columns_.columnWidth > 0 ? columns_.columnWidth : columnWidth;
  const bool halfColumnBars = stave_.definition != nullptr && stave_.definition->showBarlines != 0;
  // The system's shared columns, when it laid them out for this voice.
  const std::vector<int32_t>& grid = stave_.Drawn().gridPlaces[static_cast<size_t>(drawing_.index & 1)];
  onGrid_ = !proportional_ && !grid.empty() && grid.size() == voice.size();
  std::vector<uint32_t>& xs = stave_.Drawn().chordPositions;
  xs.clear();
  xs.reserve(voice.size() + 1);
  int64_t base = stave_.area.left;
  uint32_t tick = 0;
  bool foundStart = stave_.highlightStart != 0;
  bool foundEnd = false;
  for (size_t i = 0; i < voice.size(); ++i) {
    const nChord* e = voice.at(i);
    int64_t x = 0;
    if (onGrid_) {
      x = int64_t{stave_.area.left} + grid[i] + (i < columns_.shifts.size() ? columns_.shifts[i] : 0);
    } else if (proportional_) {
      x = base + static_cast<int64_t>(std::trunc(tick * pixelsPerTick_));
    } else {
      x = base + int64_t{step} * static_cast<int64_t>(i);
      if (i < columns_.shifts.size()) x += columns_.shifts[i];
    }
    if (e == nullptr) {
      if (!onGrid_) x = base + step / 2;
    } else if (e->IsChord()) {
      const auto delta = static_cast<int32_t>(e->delta);
      if (highlightFirst_ >= 0 && delta == highlightFirst_ && !foundStart) {
        stave_.highlightStart = static_cast<int32_t>(x);
        foundStart = true;
      }
      if (highlightFirst_ >= 0 && highlightLast_ != 0 && delta == highlightLast_) {
        stave_.highlightEnd = static_cast<int32_t>(x);
        foundEnd = true;
      }
      tick += e->GetDurationTicks();
    } else if (!onGrid_) {
      // A rest of several bars takes its whole extra column before its own x too.
      base += ColumnRoomAfter(*e, halfColumnBars, step);
      if (e->IsMultiBarRest()) x += step;
    }
    xs.push_back(static_cast<uint32_t>(std::clamp<int64_t>(x, 0, INT32_MAX)));
  }
  xs.push_back(static_cast<uint32_t>(std::max(stave_.area.right, 0)));
  if (foundStart != foundEnd || (stave_.highlightStart != 0 && !foundEnd)) {
    if (stave_.highlightStart == 0) stave_.highlightStart = stave_.area.left;
    if (stave_.highlightEnd == 0) stave_.highlightEnd = stave_.area.right;
  }
}

void StaffRenderer::LayoutStave(const nChordArray& voice, int32_t columnWidth) {
  voice_ = &voice;
  stave_.highlightStart = 0;
  stave_.highlightEnd = 0;
  SelectStaveFont();
  // The frame decides the spacing and the stave's left edge; the columns follow it.
  stave_.area.left = page_.left;
  stave_.area.right = page_.right;
  ComputeHighlight(voice);
  ComputeColumns(voice, columnWidth);
  Rect frame = page_;
  DrawStaffFrame(frame, columnWidth);
  MeasureNotationGlyphs();

  groupCount_ = 0;
  chordsSinceFlush_ = 0;
  tupletNumber_ = 2;
  lastRhythm_ = -1;
  marks_ = {};
  // One row for the bourdons of both voices, measured once the stave's geometry is known.
  if (IsTablature() && !bourdonDrop_ && voices_ != nullptr) bourdonDrop_ = MeasureBourdonDrop(*this, *voices_);
  previousStep_ = -1000;
  previousColumn_ = {stave_.area.left, stave_.area.top};
  transposition_ = stave_.transposition + keyTransposition_;
  tuplets_.Clear();
  tuplets_.SetPlacement(stave_.area.top, stave_.area.top + (lineCount_ - 1) * Spacing(), Spacing(),
                        stave_.currentStemsDown != 0);
  xBase_ = stave_.area.left;
  const bool markers = OnScreen() && settings_ != nullptr && settings_->showMarkers;
  const int32_t bottomLine = stave_.area.top + (lineCount_ - 1) * Spacing();
  for (size_t i = 0; i < voice.size(); ++i) {
    elementIndex_ = i;
    nChord* e = voice.at(i);
    const int32_t x = static_cast<int32_t>(stave_.Drawn().chordPositions[i]);
    if (e == nullptr) {
      if (markers) {
        const InkSourceScope mark(g_.dc, InkSource::kScreenMark);
        const int32_t s = g_.HundredthMmToDeviceX(75);
        g_.DrawTriangle(0, 0x64FA64, x, bottomLine + 5, s, s);
      }
      continue;
    }
    DrawElement(*e, x, i);
  }
  const int32_t endX = static_cast<int32_t>(stave_.Drawn().chordPositions.back());
  if (lastDrawn_ != nullptr && ((lastDrawn_->status & 0x70) == 0x20 || lastDrawn_->GetTupletNumber() != 2)) {
    if (tuplets_.HasStart()) tuplets_.Flush(g_, endX);
  }
  if (IsTablature() && stave_.tabMode == 0) {
    tuplets_.Clear();
    FlushNoteGroup();
  } else {
    FlushNoteGroup();
    tuplets_.Clear();
  }
  g_.dc.SetTextColor(0);
  stave_.columnCount = static_cast<int32_t>(voice.size()) + 1;
  stave_.annotationUnit = g_.dc.GetTextMetrics().tmAveCharWidth / 4;
  RestoreFont();
}

// ---------------------------------------------------------------------------------------------
// Staff frame

void StaffRenderer::SetColumnMetrics(int32_t columnWidth) {
  int32_t spacing = 0;
  int32_t thickness = 1;
  if (drawType_ == 0) {
    const int32_t space = g_.dc.GetCharWidth(U' ');
    spacing = space % 2 != 0 ? space - 1 : space;
    thickness = space / 8;
  } else if (stave_.tabInstrument != nullptr) {
    spacing = MeasureTablatureSpacing(g_.dc, *stave_.tabInstrument, stave_.zoom);
    thickness = settings_ != nullptr ? g_.HundredthMmToDeviceY(5 * settings_->staffLineThickness) : 1;
  }
  spacing = std::clamp(spacing, 0, 100000);
  stave_.SetFrameGeometry(page_, spacing, thickness, columnWidth, g_.dc.LogPixelsY(), stave_.zoom);
}

int32_t StaffRenderer::ComputeTextBaseline() const {
  const CTabInstrument* tab = stave_.tabInstrument;
  const int32_t s = Spacing();
  // The letter offset and the between-lines flag move annotations with the tablature letters.
  const int32_t n = tab != nullptr ? (tab->flagsHeight & 0x0F) : 0;
  const bool between = tab != nullptr && tab->betweenLines != 0;
  int32_t y = 0;
  if (stave_.tabMode == 2) {
    const int32_t courses = tab != nullptr ? tab->tuning.lines : lineCount_;
    y = Top() + s * courses + MulDiv(n, s, 6) + s / 2;
  } else {
    y = Top() - (n * s / 6 + s * (between ? 2 : 3) / 2);
  }
  if (drawType_ == 0) y += 2 * s;
  return y;
}

void StaffRenderer::DrawHeaderBackground(Rect rect) {
  if (!stave_.markHeader) return;
  g_.dc.FillSolidRect(rect, stave_.active ? 0xF5F5FF : 0xF4F4F4);
  stave_.headerRect = rect;
}

void StaffRenderer::DrawStaffFrame(Rect& rect, int32_t columnWidth) {
  DeviceContext& dc = g_.dc;
  dc.SetTextAlign(TA_BASELINE);
  dc.SetBkMode(TRANSPARENT);

  // The system's key, moved by its transposition, as the notes are.
  CKey& key = stave_.key;
  if (key.transpose != 0) {
    keyTransposition_ = key.transpose;
    key = KeyAsDrawn(key);
  }

  lineCount_ = stave_.DrawnLineCount();
  SetColumnMetrics(columnWidth);
  const int32_t spacing = Spacing();
  const int32_t thickness = stave_.lineThickness;
  const COLORREF lineColour = settings_ != nullptr ? settings_->staffLineColour : 0;
  stave_.textBaseline = ComputeTextBaseline();

  const int32_t top = Top();
  const int32_t left = stave_.area.left;
  const int32_t right = stave_.area.right;
  if (lineCount_ > 0) {
    const InkSourceScope lines(dc, InkSource::kStaffLine);
    if (stave_.highlightStart != 0 || stave_.highlightEnd != 0) {
      const InkSourceScope band(dc, InkSource::kScreenMark);
      const int32_t bandTop = top - spacing;
      g_.dc.FillSolidRect({stave_.highlightStart, bandTop, stave_.highlightEnd, bandTop + (lineCount_ + 1) * spacing},
                          0xF0F0F0);
    }
    if (OnScreen()) {
      const InkSourceScope header(dc, InkSource::kScreenMark);
      DrawHeaderBackground({left - indent_, top, left - spacing, top + (lineCount_ - 1) * spacing});
    }
    const Pen old = dc.SelectPen(Pen::Create(PS_SOLID, thickness, lineColour));
    for (int32_t k = 0; k < lineCount_; ++k) {
      const int32_t y = top + thickness / 2 + k * spacing;
      dc.MoveTo(left - indent_, y);
      dc.LineTo(right - thickness / 2, y);
    }
    dc.SelectPen(old);
  }
  rect.bottom = stave_.area.bottom;

  const int32_t bottomLine = top + std::max(lineCount_ - 1, 0) * spacing;
  if (stave_.definition != nullptr && stave_.definition->closeSystems != 0 && lineCount_ > 0) {
    const InkSourceScope bars(dc, InkSource::kBarLine);
    const int32_t w = thickness + 1;
    const int32_t from = top + thickness / 2;
    g_.DrawFilledRect(lineColour, w, 0, right - w, from, bottomLine - from);
    g_.DrawFilledRect(lineColour, w, 0, left - indent_, from, bottomLine - from);
  }
  const CTabInstrument* tab = stave_.tabInstrument;
  if (IsTablature() && tab != nullptr) {
    const InkSourceScope header(dc, InkSource::kClef);
    if (tab->printTuning != 0) DrawTuningLabelColumn(g_, *tab, left - spacing - indent_, top + spacing / 2, spacing);
    if (tab->tabStyle == CTabInstrument::kOwnFlags) {
      const int32_t middle = top + (lineCount_ - 1) * spacing / 2 - (lineCount_ % 2 == 0 ? spacing / 2 : 0);
      DrawGlyph(0x16F, left - indent_ + spacing, middle);
    }
  }
  DrawClefAndKey();

  const int32_t h = MulDiv(dc.GetTextMetrics().tmAscent, 5, 4);
  int fifths = 0;
  switch (tab != nullptr ? tab->flagStyle : 0) {
    case 0: case 2: case 9: case 10: fifths = 1; break;
    case 1: fifths = 3; break;
    case 3: case 4: case 5: case 7: case 11: fifths = 2; break;
    default: fifths = 0; break;
  }
  stave_.annotationTop = stave_.textBaseline - (h + fifths * (h / 5));
}

// ---------------------------------------------------------------------------------------------
// Clef and key

void StaffRenderer::DrawClefAndKey() {
  if (drawType_ != 0) return;
  const CInstrumentDlg* d = stave_.definition;
  if (d != nullptr) {
    const size_t index = static_cast<size_t>(stave_.positionCode & 0x0F);
    // A stave past the definition's list raises std::out_of_range: no clef is drawn.
    const CClef* own = d->staves.at(index);
    if (own != nullptr && own->recordedClef >= 0) {
      stave_.clefId = own->recordedClef;
      stave_.stepOffset = own->recordedStepOffset;
    }
  }
  const int32_t spacing = Spacing();
  const int32_t clef = stave_.clefId;
  const uint32_t glyph = 0x21 + static_cast<uint32_t>(clef) + 4 * (stave_.oldStyle != 0 ? 1 : 0);
  const int32_t x = stave_.area.left - indent_ + spacing / 2;
  int32_t y = Top() + (lineCount_ - 1) * spacing - stave_.stepOffset * spacing / 2;
  if (OnScreen() && g_.dc.GetCharWidth(U' ') != spacing) {
    if (clef == 2) y += 3;
    if (clef == 3) y += 2;
  }
  if (clef >= 0 && clef <= 4) {
    const InkSourceScope ink(g_.dc, InkSource::kClef);
    DrawGlyph(glyph, x, y);
  }
  DrawKeySignature(x, true);
}

void StaffRenderer::DrawKeySignature(int32_t x, bool afterClef) {
  if (drawType_ != 0) return;
  static constexpr int kSharpSteps[] = {10, 7, 11, 8, 5, 9, 6};
  static constexpr int kFlatSteps[] = {6, 9, 5, 8, 4, 7, 3};
  const CKey& key = stave_.key;
  const uint32_t count = std::min<uint32_t>(key.alterations, 7);
  if (count == 0) return;
  const bool flats = key.bemol != 0;
  const InkSourceScope ink(g_.dc, InkSource::kKeySignature);
  const uint32_t glyph = cancelKey_ ? 0x98 : flats ? 0x97 : 0x96;
  const int* steps = flats ? kFlatSteps : kSharpSteps;
  if (afterClef) x += g_.dc.GetCharWidth(0x21) * 3 / 2;
  const int shift = CClef::KeySignatureShift(stave_.clefId);
  const int32_t spacing = Spacing();
  for (uint32_t k = 0; k < count; ++k) {
    const int32_t y = Top() - (stave_.stepOffset + steps[k] + shift) * spacing / 2 + 5 * spacing;
    DrawGlyph(glyph, x, y);
    x += g_.dc.GetCharWidth(glyph);
  }
}

void StaffRenderer::DrawClefChange(const nChord& chord, int32_t x) {
  if (drawType_ != 0) return;
  CMetaEvent* event = chord.metaEvents.Find(CMetaEvent::kClef);
  if (event == nullptr) return;
  const int32_t spacing = Spacing();
  const int32_t column = stave_.columnWidth;
  x += chord.IsSpecialEvent() ? -(column / 2) : spacing / 2;
  x += MulDiv(SaneStoredLength(event->location.notationCx), settings_ != nullptr ? settings_->zoom : 100, 100);
  if (event->value == 0) return;
  if ((chord.rhythm & 0x3F0F) != (static_cast<uint32_t>(stave_.positionCode) & 0x3F0F)) return;

  const int32_t clef = static_cast<int32_t>(event->value & 0xFF);
  stave_.clefId = clef;
  // The clef's line as stored: a step offset, kept within reach of the staff.
  const int32_t step = std::clamp(event->cx, -100, 100);
  stave_.stepOffset = step;
  bool clefDrawn = false;
  if (notationFont_) {
    notationFont_->SelectScaledFont(g_.dc, -20, stave_.zoom);
    const int32_t eighth = static_cast<int32_t>(std::lround(spacing * 0.125));
    const int32_t spaceWidth = g_.dc.GetCharWidth(U' ');
    int32_t y = Top();
    if (clef == 2) y -= spacing * 3 / 4;
    y += MulDiv(static_cast<int32_t>(std::lround(spacing * (lineCount_ - step + 3) * 0.5)) + 4 * eighth,
                spaceWidth, std::max(spacing, 1));
    if (clef == 2) y -= MulDiv(eighth, 9, 4);
    if (clef == 0 || clef == 1) y += eighth;
    if (clef >= 0 && clef <= 4) {
      const InkSourceScope ink(g_.dc, InkSource::kClef);
      DrawGlyph(0x21 + static_cast<uint32_t>(clef) + 4 * (stave_.oldStyle != 0 ? 1 : 0), x, y);
      clefDrawn = true;
    }
    notationFont_->SelectScaledFont(g_.dc, 0, stave_.zoom);
  }
  event->location.SetRect(x, Top(), x + 4 * spacing, Top() + 4 * spacing, EventLocation::kNotation);
  if (CInstrumentDlg* d = stave_.definition) {
    if (CClef* own = d->staves.at(static_cast<size_t>(stave_.positionCode & 0x0F))) {
      own->recordedClef = clef;
      own->recordedStepOffset = event->cx;
    }
  }
  stave_.clefId = static_cast<int32_t>(event->value & 0x0F);

  if (event->cy != 0) {
    const uint32_t count = static_cast<uint32_t>(event->cy) & 7;
    const bool flats = (event->cy & 0x10) == 0;
    const int32_t keyX = clefDrawn ? x - spacing : x;
    if (count == 0) {
      // The previous signature is cancelled with naturals at its own places.
      cancelKey_ = true;
      DrawKeySignature(keyX, clefDrawn);
      cancelKey_ = false;
      stave_.key.alterations = 0;
    } else {
      stave_.key.alterations = count;
      stave_.key.bemol = flats ? 1 : 0;
      DrawKeySignature(keyX, clefDrawn);
    }
  }
}

}  // namespace vornel
