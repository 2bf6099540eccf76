#include "view/render/marks/SlurShape.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vornel {

namespace {

// A point of ink the curve must pass: where along the chord, how far its ink reaches past the
// chord toward the bulge (with the air kept), and how far off the chord the curve's edge runs
// there for each unit of height.
struct Reach {
  double f = 0;
  double need = 0;
  double bulge = 0;
};

// Each pixel of height beyond the rule's costs 1, each pixel an end moves off its note 2 (so
// a curve over something in its middle grows rather than leaves its notes), each pixel by
// which the ends move unequally 1 more, and each pixel of height past the most wanted 4.
constexpr double kEndCost = 2.0;
constexpr double kTiltCost = 1.0;
constexpr double kTallCost = 4.0;

// How far an end must move off its note to stand outside the head, `sign` toward the bulge.
// An end keeps half the air from its own head that the curve keeps from other ink: the rule's
// ends under the heads stand that close already.
double EndOutsideHead(const std::optional<Rect>& head, Point end, int sign, int32_t gap) {
  if (!head) return 0;
  const int32_t edge = sign > 0 ? head->bottom : head->top;
  return std::max(0.0, double(sign) * (edge - end.y) + gap / 2);
}

}  // namespace

double SlurBulgeAt(double f) {
  if (f <= 0 || f >= 1) return 0;
  // The curve's points run along the chord as 3t^2 - 2t^3 of its length: t from f.
  const double t = 0.5 - std::sin(std::asin(1 - 2 * f) / 3);
  return 3 * t * (1 - t);
}

namespace {

// The reaches of the ink that stands in the way of `curve`: ink between its ends that reaches
// past the chord toward the bulge and into the room the curve takes (ink wholly beyond the
// curve lets it pass inside). Boxes found before stay in `taken`.
void AddInkInTheWay(const SlurCurve& curve, const SlurCurve& rule, std::span<const Rect> ink, const SlurClearance& c,
                    std::vector<bool>& taken, std::vector<Reach>& reaches) {
  const int sign = rule.height >= 0 ? 1 : -1;
  const double x1 = rule.from.x;
  const double span = rule.to.x - x1;
  const double rise = rule.to.y - rule.from.y;
  const double upright = span / std::hypot(span, rise);
  const double thickness = std::max(c.thickness, 0);
  for (size_t i = 0; i < ink.size(); ++i) {
    if (taken[i]) continue;
    const Rect& box = ink[i];
    const double left = std::max<double>(box.left, x1);
    const double right = std::min<double>(box.right, rule.to.x);
    if (left > right) continue;
    const double far = sign > 0 ? box.bottom : box.top;
    const double near = sign > 0 ? box.top : box.bottom;
    bool inTheWay = false;
    for (const double x : {left, right, (left + right) / 2}) {
      const double f = (x - x1) / span;
      const double cf = (x - curve.from.x) / std::max(1.0, double(curve.to.x - curve.from.x));
      const double curveChordY = curve.from.y + (curve.to.y - curve.from.y) * cf;
      const double outer = curveChordY + sign * std::abs(curve.height) * SlurBulgeAt(cf) * upright;
      const double chordY = rule.from.y + rise * f;
      inTheWay = inTheWay || (sign * (far - chordY) + c.gap > 0 && sign * (near - outer) < c.gap + thickness);
    }
    if (!inTheWay) continue;
    taken[i] = true;
    for (const double x : {left, right}) {
      const double f = (x - x1) / span;
      const double need = sign * (far - (rule.from.y + rise * f)) + c.gap;
      if (need > 0) reaches.push_back({f, need, SlurBulgeAt(f) * upright});
    }
  }
}

// The least costly ends and height for the reaches (see the costs above).
struct Choice {
  double cost = 1e300;
  double d1 = 0;
  double d2 = 0;
  double height = 0;
};

// The height the reaches ask for with the ends moved off by d1 and d2, and what it all costs
// (see the costs above).
Choice Cost(const std::vector<Reach>& reaches, double d1, double d2, double ruleHeight, double thickness,
            double most) {
  Choice c{kEndCost * (d1 + d2) + kTiltCost * std::abs(d1 - d2), d1, d2, ruleHeight};
  double inner = 0;
  for (const Reach& r : reaches) {
    // The moved ends take as much from each reach along the chord; where the curve meets its
    // chord (its ends) only moved ends clear the ink.
    const double left = r.need - d1 * (1 - r.f) - d2 * r.f;
    if (left > 0) inner = std::max(inner, r.bulge > 1e-9 ? left / r.bulge : 1e300);
  }
  c.height = std::max(ruleHeight, inner > 0 ? inner + thickness : 0.0);
  c.cost += c.height - ruleHeight;
  if (c.height > most) c.cost += kTallCost * (c.height - most);
  return c;
}

// The least costly ends and height for the reaches: the ends tried in steps of three times
// the clearance's step, then in its steps around the best of those.
SlurCurve BestCurve(const SlurCurve& rule, const std::vector<Reach>& reaches, const SlurClearance& c, double least1,
                    double least2) {
  const int sign = rule.height >= 0 ? 1 : -1;
  const double ruleHeight = std::abs(rule.height);
  const double thickness = std::max(c.thickness, 0);
  const double most = std::max(double(c.mostHeight), ruleHeight);
  const double fine = std::max(c.step, 1);
  const double coarse = 3 * fine;
  const double farthest = std::max(c.mostEndMove, 0);
  Choice best;
  const auto search = [&](double from1, double to1, double from2, double to2, double step) {
    for (double d1 = from1; d1 <= to1 + 1e-9; d1 += step) {
      // Moved ends alone cost more than the best found: so do all that move them further.
      if (kEndCost * (d1 + from2) >= best.cost) break;
      for (double d2 = from2; d2 <= to2 + 1e-9; d2 += step) {
        if (kEndCost * (d1 + d2) + kTiltCost * std::abs(d1 - d2) >= best.cost) break;
        const Choice choice = Cost(reaches, d1, d2, ruleHeight, thickness, most);
        if (choice.cost < best.cost) best = choice;
      }
    }
  };
  search(least1, std::max(least1, farthest), least2, std::max(least2, farthest), coarse);
  const Choice first = best;
  search(std::max(least1, first.d1 - coarse + fine), first.d1 + coarse - fine, std::max(least2, first.d2 - coarse + fine),
         first.d2 + coarse - fine, fine);
  SlurCurve shaped = rule;
  shaped.from.y += static_cast<int32_t>(std::lround(sign * best.d1));
  shaped.to.y += static_cast<int32_t>(std::lround(sign * best.d2));
  shaped.height = sign * static_cast<int32_t>(std::ceil(std::min(best.height, 1e6)));
  return shaped;
}

// A curve raised for some ink may reach other ink beyond it: so many rounds look again.
constexpr int kRounds = 4;

}  // namespace

SlurCurve ClearSlur(const SlurCurve& rule, std::span<const Rect> ink, const SlurClearance& c,
                    const std::optional<Rect>& startHead, const std::optional<Rect>& endHead) {
  const int sign = rule.height >= 0 ? 1 : -1;
  if (rule.to.x - rule.from.x < 2) return rule;
  const double least1 = EndOutsideHead(startHead, rule.from, sign, c.gap);
  const double least2 = EndOutsideHead(endHead, rule.to, sign, c.gap);
  std::vector<bool> taken(ink.size(), false);
  std::vector<Reach> reaches;
  SlurCurve shaped = rule;
  for (int round = 0; round < kRounds; ++round) {
    const size_t before = reaches.size();
    AddInkInTheWay(shaped, rule, ink, c, taken, reaches);
    if (round > 0 && reaches.size() == before) break;
    if (reaches.empty() && least1 == 0 && least2 == 0) return rule;
    shaped = BestCurve(rule, reaches, c, least1, least2);
  }
  return shaped;
}

}  // namespace vornel
