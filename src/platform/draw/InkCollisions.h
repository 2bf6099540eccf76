#pragma once
// Finds ink drawn over other ink: every pair of items of different kinds whose boxes overlap
// by more than a tolerance, and ink that runs off the paper. Items meant to touch are left
// out: whatever stands on the staff lines of its own system (a letter on its course line, a
// note head on a ledger line, a bar line across the lines), a flag or a head on its stem (a single note's flag glyph carries its head), a
// beam on its stems, a slur that ends at its letters. The lines and signs a system stands on
// do collide with anything of another system, and with what belongs off the lines (rhythm
// flags, bar numbers, headings, lyrics, texts); a tablature letter collides with a bar line or
// a system's line through it. A mark of a chord (an ornament, a fingering) stands no further
// from the nearest letter of its chord (the items of its anchor) than twice that letter's
// height: a line's room.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/draw/Ink.h"

namespace vornel {

class InkCollisions : public InkObserver {
 public:
  struct Box {
    double left = 0;
    double top = 0;
    double right = 0;
    double bottom = 0;
    InkShape shape = InkShape::kGlyph;
    InkSource source = InkSource::kOther;
    int32_t group = 0;
    uint32_t call = 0;
    uint32_t anchor = 0;
    std::string text;
  };
  struct Collision {
    Box first;
    Box second;  // for ink off the paper: the paper; for a mark far from its chord: the letter
    bool offPaper = false;
    bool farFromChord = false;
    double distance = 0;  // pixels, for a mark far from its chord
  };

  void OnInk(const InkItem& item) override;
  void Clear() { boxes_.clear(); }
  const std::vector<Box>& Boxes() const { return boxes_; }

  // The collisions among what was drawn since the last Clear: two boxes overlap when their
  // common part is wider and taller than `tolerance` (or than half the thinner of the two,
  // so that a thin line crossing a box counts). With a non-empty `paper`, ink that reaches
  // more than `tolerance` past it is listed too, and so is a mark further than `tolerance`
  // past what its rule allows. One line per pair of drawing calls.
  std::vector<Collision> Find(double tolerance, double paperWidth = 0, double paperHeight = 0) const;

  // "kind "text" [l,t,r,b] / kind "text" [l,t,r,b]"; a mark far from its chord gives its
  // distance in millimetres at `dpi`.
  static std::string Describe(const Collision& collision, double dpi = 96);

 private:
  std::vector<Box> boxes_;
};

// Whether two kinds of ink are meant to touch wherever they meet (the pair is unordered).
bool InkMeantToTouch(InkSource a, InkSource b);

}  // namespace vornel
