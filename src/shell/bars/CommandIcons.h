#pragma once
// Where each command's picture comes from: a generic action takes the desktop theme's icon
// (an art id or an icon name the window layer looks up, with a glyph for a theme that lacks
// it), a music action a glyph of the music fonts drawn through the glyph table. Every button
// of the ribbon and the bars has one; a badge drawn from a label is left for a command none
// of them shows. Pictures are drawn at the sizes of their page; no image file is read.

#include <cstdint>
#include <string_view>

#include "platform/draw/DeviceBitmap.h"
#include "platform/draw/GlyphTable.h"

namespace vornel::bars {

enum class IconKind { kArt, kGlyph, kBadge };

struct IconSource {
  IconKind kind = IconKind::kBadge;
  std::string_view art;               // the theme's art id ("wxART_FILE_SAVE") or icon name
  FaceRole role = FaceRole::kNotation;  // the glyph's face (of an art source: its stand-in)
  uint16_t code = 0;                  // and its character code
};

// The picture of a command, a menu-only button (minus its menu) or a panel.
IconSource IconFor(int id);

// A glyph (an art source's stand-in glyph) at size x size pixels on a transparent ground
// (premultiplied ARGB); a badge of `label`'s letters when the table cannot draw it.
DeviceBitmap DrawIcon(const IconSource& source, int id, std::string_view label, int size);
// The picture of a page frame style of the ribbon's gallery: a page with `style` borders
// (0 "No border" to 3 "Triple border") at size x size.
DeviceBitmap DrawFrameStylePicture(int style, int size);
// The letters of a badge: the first letters of the label's first two words, the first
// capitalised ("Copy voice" -> "Cv"); "?" for an empty label.
std::string BadgeLetters(std::string_view label);

}  // namespace vornel::bars
