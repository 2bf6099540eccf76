#pragma once
// Turns a voice group into ink: lone notes and rests as whole glyphs, two or more stemmed
// notes as stems ending on a (possibly sloped) beam line with primary and secondary beams,
// stubs, rests placed inside the beam and the tuplet number; above a tablature, the rhythm
// flags as beams or as grouped flag glyphs.

#include <cstdint>
#include <optional>

#include "model/instrument/CClef.h"
#include "view/draw/GraphicUtil.h"

namespace vornel {

class CTabInstrument;

class VoiceGroupPainter {
 public:
  VoiceGroupPainter(CVoiceGroup& group, GraphicUtil& g) : group_(group), g_(g) {}

  // The whole drawing of the group; `noteheadWidth` is w.
  void Draw(int32_t noteheadWidth);
  void DrawSingle(size_t index, uint16_t glyphBase);
  void DrawElementText(size_t index, int32_t x, int32_t y);
  // Sets every stem end on the beam line and draws the stems; returns the beam level at the
  // first stem.
  int32_t ComputeBeamLine();
  void DrawBeams();
  void DrawSecondaryBeams(size_t index);
  void DrawTupletNumber();
  void ComputeSlope();
  // A rest of the group; inside the beam it stands on the previous note.
  void DrawRest(size_t index, bool insideBeam);
  // Tablature rhythm flags of the group, u being the flag unit.
  void DrawTabFlags(const CTabInstrument& tab, int32_t tupletNumber, int32_t unit);
  void DrawGroupedTabFlags(const CTabInstrument& tab, int32_t unit);

 private:
  CNoteGroup& At(size_t i) const { return *group_.at(i); }
  // `count` stubs of length w at element i, toward the right or the left, in the outermost
  // beam levels of its value (or of `valueCode`).
  void DrawStubs(size_t index, int count, bool toRight, int valueCode = -1);
  void DrawBeamBand(Point from, Point to) const;
  // The tuplet's curve and number from the height `from`, bulging down or up.
  void DrawTupletCurve(int32_t from, bool downward);
  int32_t StemEnd(const CNoteGroup& e) const;

  CVoiceGroup& group_;
  GraphicUtil& g_;
  // Where the stems of tablature flags end, once they are drawn.
  std::optional<int32_t> tabStemEnds_;
};

}  // namespace vornel
