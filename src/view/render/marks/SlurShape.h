#pragma once
// The shape of a slur on a staff: the curve its rule gives, raised and tilted as little as it
// takes to keep clear of the ink between its ends (heads, stems, beams, flags, dots,
// accidentals, other slurs). A curve that meets nothing keeps the rule's ends and height.
//
// The curve is the one `GraphicUtil::DrawSlur` draws: over the chord from `from` to `to`, its
// outer edge a cubic whose control points stand `height` off both ends along the chord's
// normal, so that at the fraction t of the curve it lies 3t(1 - t) x height off the chord;
// its inner edge (the side that faces the notes) lies `thickness` less far off.

#include <cstdint>
#include <optional>
#include <span>

#include "platform/draw/DrawTypes.h"

namespace vornel {

struct SlurCurve {
  Point from;
  Point to;
  int32_t height = 0;  // of the outer edge, as drawn; positive bends down (under the notes)
};

struct SlurClearance {
  int32_t thickness = 0;    // the curve's thickness in its middle
  int32_t gap = 1;          // the air kept between the curve and the ink it clears
  int32_t step = 1;         // the step by which an end moves off its note
  int32_t mostEndMove = 0;  // how far an end may move
  int32_t mostHeight = 0;   // the height above which a taller curve costs more than moved ends
};

// The curve nearest the rule's that keeps clear of `ink`. Only ink between the ends counts,
// and only where it reaches past the chord toward the bulge. `startHead` and `endHead`, when
// given, are the heads the ends belong to: each end keeps outside its own head.
SlurCurve ClearSlur(const SlurCurve& rule, std::span<const Rect> ink, const SlurClearance& clearance,
                    const std::optional<Rect>& startHead = std::nullopt,
                    const std::optional<Rect>& endHead = std::nullopt);

// How far the curve's outer edge lies off its chord at the fraction `f` of the chord's length,
// as a share of its height (0 at the ends, 3/4 in the middle).
double SlurBulgeAt(double f);

}  // namespace vornel
