#pragma once
// Where each command's picture comes from: a generic action takes the desktop theme's icon
// (an art id the window layer looks up), a music action a glyph of the music fonts drawn
// through the glyph table, anything else a badge drawn from its label. Pictures are drawn once
// at start-up at the sizes of their page; no image file is read.

#include <cstdint>
#include <string_view>

#include "platform/draw/DeviceBitmap.h"
#include "platform/draw/GlyphTable.h"

namespace vornel::bars {

enum class IconKind { kArt, kGlyph, kBadge };

struct IconSource {
  IconKind kind = IconKind::kBadge;
  std::string_view art;               // the theme's art id ("wxART_FILE_SAVE")
  FaceRole role = FaceRole::kNotation;  // the glyph's face
  uint16_t code = 0;                  // and its character code
};

// The picture of a command, a menu-only button (minus its menu) or a panel.
IconSource IconFor(int id);

// A glyph or a badge at size x size pixels on a transparent ground (premultiplied ARGB).
// A glyph the table cannot draw, and an art source, give a badge. `label` gives the badge's
// letters.
DeviceBitmap DrawIcon(const IconSource& source, int id, std::string_view label, int size);
// The picture of a page frame style of the ribbon's gallery: a page with `style` borders
// (0 "No border" to 3 "Triple border") at size x size.
DeviceBitmap DrawFrameStylePicture(int style, int size);
// The letters of a badge: the first letters of the label's first two words, the first
// capitalised ("Copy voice" -> "Cv"); "?" for an empty label.
std::string BadgeLetters(std::string_view label);

}  // namespace vornel::bars
