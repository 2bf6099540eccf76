#include "platform/draw/InkCollisions.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>
#include <utility>

namespace vornel {

namespace {

using S = InkSource;

// The lines a system's music stands on.
bool IsGrid(InkSource s) {
  return s == S::kStaffLine || s == S::kLedgerLine || s == S::kBarLine || s == S::kSystemLine;
}

// Ink that belongs off the lines: it collides with the lines of its own system too.
bool BelongsOffTheLines(InkSource s) {
  return s == S::kRhythmFlag || s == S::kBarNumber || s == S::kHeading || s == S::kPageText || s == S::kLyric ||
         s == S::kInstrumentName || s == S::kSystemText || s == S::kMetaText;
}

// Kinds whose items must keep clear of each other too.
bool CollidesWithItsKind(InkSource s) {
  return s == S::kLyric || s == S::kMetaText || s == S::kHeading || s == S::kBarNumber || s == S::kPageText ||
         s == S::kInstrumentName || s == S::kSystemText || s == S::kTabLetter || s == S::kBourdon;
}

bool IsLetter(InkSource s) { return s == S::kTabLetter || s == S::kBourdon; }

bool IsMark(InkSource s) { return s == S::kOrnament || s == S::kFingering; }

// Lines across the staff: a letter they pass through reads as another sign.
bool CrossesTheStaff(InkSource s) { return s == S::kBarLine || s == S::kSystemLine; }

// What `grid` (one of the system's lines) collides with in its own system.
bool GridCollidesWith(InkSource grid, InkSource other) {
  return BelongsOffTheLines(other) || (CrossesTheStaff(grid) && IsLetter(other));
}

bool Collides(const InkCollisions::Box& a, const InkCollisions::Box& b) {
  if (a.call == b.call) return false;
  const bool gridA = IsGrid(a.source);
  const bool gridB = IsGrid(b.source);
  if (a.group != b.group && (gridA || gridB)) return true;
  if (gridA && gridB) return false;
  if (gridA) return GridCollidesWith(a.source, b.source);
  if (gridB) return GridCollidesWith(b.source, a.source);
  if (a.source == b.source) return CollidesWithItsKind(a.source);
  return !InkMeantToTouch(a.source, b.source);
}

bool Overlap(const InkCollisions::Box& a, const InkCollisions::Box& b, double tolerance) {
  const double ix = std::min(a.right, b.right) - std::max(a.left, b.left);
  const double iy = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  const double tx = std::min(tolerance, 0.5 * std::min(a.right - a.left, b.right - b.left));
  const double ty = std::min(tolerance, 0.5 * std::min(a.bottom - a.top, b.bottom - b.top));
  return ix > tx && iy > ty;
}

// How far apart two boxes stand (0 when they meet).
double Distance(const InkCollisions::Box& a, const InkCollisions::Box& b) {
  const double dx = std::max({0.0, b.left - a.right, a.left - b.right});
  const double dy = std::max({0.0, b.top - a.bottom, a.top - b.bottom});
  return std::hypot(dx, dy);
}

std::string BoxText(const InkCollisions::Box& box) {
  std::string out(InkSourceName(box.source));
  if (!box.text.empty()) {
    out += " \"";
    for (const char c : box.text) {
      if (static_cast<unsigned char>(c) < 0x20 || c == '"' || c == '\\') {
        char escaped[8];
        std::snprintf(escaped, sizeof escaped, "\\x%02X", static_cast<unsigned char>(c));
        out += escaped;
      } else {
        out += c;
      }
    }
    out += '"';
  }
  char buffer[96];
  std::snprintf(buffer, sizeof buffer, " [%.0f,%.0f,%.0f,%.0f]", box.left, box.top, box.right, box.bottom);
  return out + buffer;
}

}  // namespace

bool InkMeantToTouch(InkSource a, InkSource b) {
  if (a > b) std::swap(a, b);
  static const std::set<std::pair<InkSource, InkSource>> kTouching = [] {
    const std::pair<InkSource, InkSource> pairs[] = {
        {S::kNoteHead, S::kStem},    {S::kStem, S::kFlag},         {S::kStem, S::kBeam},
        {S::kNoteHead, S::kFlag},
        {S::kStem, S::kRhythmFlag},  {S::kStem, S::kTuplet},       {S::kBeam, S::kFlag},
        {S::kBeam, S::kRhythmFlag},  {S::kBeam, S::kTuplet},       {S::kRhythmFlag, S::kTuplet},
        {S::kDot, S::kRhythmFlag},   {S::kStem, S::kFingering},    {S::kNoteHead, S::kSlur},
        {S::kTabLetter, S::kSlur},   {S::kBourdon, S::kSlur},      {S::kStem, S::kSlur},
    };
    std::set<std::pair<InkSource, InkSource>> set;
    for (auto [x, y] : pairs) set.insert(x < y ? std::pair(x, y) : std::pair(y, x));
    return set;
  }();
  return kTouching.count({a, b}) != 0;
}

void InkCollisions::OnInk(const InkItem& reported) {
  // What only the screen shows is never printed; what the clip hides is not seen.
  if (reported.source == InkSource::kScreenMark) return;
  InkItem item = reported;
  if (!VisiblePart(item)) return;
  Box box;
  box.left = item.left;
  box.top = item.top;
  box.right = item.right;
  box.bottom = item.bottom;
  box.shape = item.shape;
  box.source = item.source;
  box.group = item.group;
  box.call = item.call;
  box.anchor = item.anchor;
  box.text = std::string(item.text.substr(0, 40));
  boxes_.push_back(std::move(box));
}

std::vector<InkCollisions::Collision> InkCollisions::Find(double tolerance, double paperWidth,
                                                          double paperHeight) const {
  std::vector<Collision> found;
  std::set<std::pair<uint32_t, uint32_t>> reported;
  std::vector<const Box*> sorted;
  sorted.reserve(boxes_.size());
  for (const Box& box : boxes_) sorted.push_back(&box);
  std::sort(sorted.begin(), sorted.end(), [](const Box* a, const Box* b) { return a->left < b->left; });
  for (size_t i = 0; i < sorted.size(); ++i) {
    const Box& a = *sorted[i];
    for (size_t j = i + 1; j < sorted.size() && sorted[j]->left < a.right; ++j) {
      const Box& b = *sorted[j];
      if (!Overlap(a, b, tolerance) || !Collides(a, b)) continue;
      const auto key = std::minmax(a.call, b.call);
      if (!reported.insert(key).second) continue;
      const bool inOrder = a.call < b.call;
      found.push_back({inOrder ? a : b, inOrder ? b : a, false});
    }
  }
  // A mark further from every letter of its chord than twice the height of the nearest: one
  // line per mark.
  std::map<std::pair<int32_t, uint32_t>, std::vector<const Box*>> letters;
  for (const Box& box : boxes_) {
    if (box.anchor != 0 && IsLetter(box.source)) letters[{box.group, box.anchor}].push_back(&box);
  }
  std::set<uint32_t> far;
  for (const Box& mark : boxes_) {
    if (mark.anchor == 0 || !IsMark(mark.source)) continue;
    const auto chord = letters.find({mark.group, mark.anchor});
    if (chord == letters.end()) continue;
    const Box* nearest = nullptr;
    double distance = 0;
    for (const Box* letter : chord->second) {
      const double d = Distance(mark, *letter);
      if (nearest == nullptr || d < distance) {
        nearest = letter;
        distance = d;
      }
    }
    if (distance <= 2 * (nearest->bottom - nearest->top) + tolerance || !far.insert(mark.call).second) continue;
    Collision c{mark, *nearest, false, true, distance};
    found.push_back(std::move(c));
  }
  if (paperWidth > 0 && paperHeight > 0) {
    std::set<uint32_t> off;
    for (const Box& box : boxes_) {
      if (box.left >= -tolerance && box.top >= -tolerance && box.right <= paperWidth + tolerance &&
          box.bottom <= paperHeight + tolerance) {
        continue;
      }
      if (!off.insert(box.call).second) continue;
      Box paper;
      paper.right = paperWidth;
      paper.bottom = paperHeight;
      found.push_back({box, paper, true});
    }
  }
  std::sort(found.begin(), found.end(), [](const Collision& x, const Collision& y) {
    return std::tuple(x.first.top, x.first.left, x.first.call, x.second.call) <
           std::tuple(y.first.top, y.first.left, y.first.call, y.second.call);
  });
  return found;
}

std::string InkCollisions::Describe(const Collision& collision, double dpi) {
  if (collision.offPaper) return BoxText(collision.first) + " runs off the paper";
  if (collision.farFromChord) {
    char mm[48];
    std::snprintf(mm, sizeof mm, " stands %.1f mm from its chord", collision.distance * 25.4 / std::max(dpi, 1.0));
    return BoxText(collision.first) + mm;
  }
  return BoxText(collision.first) + " / " + BoxText(collision.second);
}

}  // namespace vornel
