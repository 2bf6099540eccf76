// A glyph button's face: light fill, the glyph centred in the tablature flags face or the
// notation face, a raised or sunken edge and the focus rectangle 3 pixels inside.

#include <gtest/gtest.h>

#include "GoldenLog.h"
#include "platform/draw/RecordingDevice.h"
#include "view/draw/GlyphButtonArt.h"

namespace vornel {
namespace {

TEST(GlyphButtonArt, RaisedTablatureAndPressedFocusedNotation) {
  RecordingDevice dc;
  DrawGlyphButtonFace(dc, {0, 0, 40, 40}, {.glyph = 'T', .notation = false});
  DrawGlyphButtonFace(dc, {50, 0, 90, 40}, {.glyph = 0xA5, .notation = true, .pressed = true, .focused = true});
  // An empty slot shows the face and its edge only.
  DrawGlyphButtonFace(dc, {100, 0, 140, 40}, {});
  testing::ExpectGoldenLog("glyph_buttons", dc.Log());
}

}  // namespace
}  // namespace vornel
