#pragma once
// Marks beside the letters of a tablature chord (fingering dots and figures, finger letters,
// right-hand signs, ornaments) keep clear of every letter: of their chord's, of the columns
// before and after it, of the chord's flag, of the bar lines beside it, of the slurs drawn so
// far and of the chord's marks drawn before them. A mark stands where its code puts it when
// that is clear; otherwise beside its own letter on the first side that is (the side its code
// names first), and never over a letter. Lengths are device pixels.

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class DeviceContext;
class InkBoxes;
class StaffRenderer;
class nChord;
class nNotes;

// Where a mark of `note` goes: `origin` is where its code puts the point it is drawn at, `ink`
// what it covers drawn there. Returns the point to draw it at; what it covers there is kept
// for the chord's later marks to keep clear of.
Point PlaceTabMark(StaffRenderer& stave, const nNotes& note, Point origin, const Rect& ink);

// What the chord's rhythm flag covers, where the flags of the stave stand; nothing when the
// chord shows no flag.
std::optional<Rect> FlagInk(StaffRenderer& stave, const nChord& chord, int32_t x);

// What a text in the face selected on `dc` covers when drawn at `at` with `alignment` (TA_LEFT,
// TA_CENTER or TA_RIGHT with TA_BASELINE).
Rect InkAt(DeviceContext& dc, std::string_view text, Point at, unsigned alignment);

// While it lives, what is drawn as a slur is kept for the marks drawn after it (until the
// voice ends).
class SlurInkKeeper {
 public:
  explicit SlurInkKeeper(StaffRenderer& stave);
  ~SlurInkKeeper();
  SlurInkKeeper(const SlurInkKeeper&) = delete;
  SlurInkKeeper& operator=(const SlurInkKeeper&) = delete;

 private:
  StaffRenderer& stave_;
  std::unique_ptr<InkBoxes> boxes_;
};

// The fingering of a note of a tablature at its letter's base line (x, y), w the letter's
// width: the high nibble's figures and right-hand signs, the low nibble's dots, signs and
// finger letters, each placed clear as PlaceTabMark places it.
void DrawTabFingering(StaffRenderer& stave, const nNotes& note, int32_t x, int32_t y, int32_t w);

}  // namespace vornel
