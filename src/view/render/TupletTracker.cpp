#include "view/render/TupletTracker.h"

#include <algorithm>

#include "model/voice/nChord.h"
#include "view/draw/GraphicUtil.h"

namespace vornel {

void TupletTracker::SetPlacement(int32_t top, int32_t bottom, int32_t spacing, bool below) {
  top_ = top;
  bottom_ = bottom;
  spacing_ = spacing;
  below_ = below;
}

void TupletTracker::Clear() {
  startX_ = 0;
  count_ = 0;
  ticks_ = 0;
  target_ = 0;
  valueCode_ = 0;
  number_ = 2;
  inkTop_ = INT32_MAX;
  inkBottom_ = INT32_MIN;
}

void TupletTracker::Add(GraphicUtil& g, const nChord& chord, int32_t x, int32_t inkTop, int32_t inkBottom) {
  const uint32_t number = chord.GetTupletNumber();
  if (!chord.IsChord() || number == 2) {
    Clear();
    return;
  }
  const int code = chord.rhythm & 7;
  const uint32_t duration = chord.GetDurationTicks();
  if (count_ == 0 || number != number_) {
    Clear();
    startX_ = x;
    number_ = number;
    valueCode_ = code;
    target_ = duration * number;
  } else if (code > valueCode_) {
    // A shorter value counts the tuplet in its own units.
    valueCode_ = code;
    target_ = duration * number;
  }
  ++count_;
  ticks_ += duration;
  inkTop_ = std::min(inkTop_, inkTop);
  inkBottom_ = std::max(inkBottom_, inkBottom);
  if (target_ == 0 || ticks_ < target_) return;
  if (valueCode_ <= 3) DrawBracket(g, x);
  Clear();
}

void TupletTracker::Flush(GraphicUtil& g, int32_t x) {
  if (count_ > 0 && valueCode_ <= 3) DrawBracket(g, x - (x - startX_) / count_);
  Clear();
}

void TupletTracker::DrawBracket(GraphicUtil& g, int32_t endX) {
  // Above the stave the hooks point down, below it they point up.
  const int32_t hook = spacing_ / 2;
  const InkSourceScope ink(g.dc, InkSource::kTuplet);
  // Two spacings beyond the stave, or beyond heads and stems that reach further.
  int32_t y = below_ ? bottom_ + 2 * spacing_ : top_ - 2 * spacing_;
  if (below_ && inkBottom_ != INT32_MIN) y = std::max(y, inkBottom_ + 2 * spacing_);
  if (!below_ && inkTop_ != INT32_MAX) y = std::min(y, inkTop_ - 2 * spacing_);
  g.DrawTupletBracket(below_ ? -hook : hook, static_cast<int32_t>(number_), false, startX_, y, endX + spacing_, y);
}

}  // namespace vornel
