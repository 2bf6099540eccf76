#pragma once
// The fonts of a tablature instrument on a device: the letters of its tablature font at a
// zoom, and its rhythm-flag font.

#include <cstdint>
#include <optional>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class CTabInstrument;

// The message when the flags (or notation) font cannot be made.
inline constexpr const char* kNotationFontError = "Fatal: Cannot load notation font";

// With `useTablatureFont` the tablature letter font at the zoom (text aligned centre and
// baseline, its colour set, the device spacings recomputed); otherwise the instrument's
// notation font at the zoom. Returns the font selected before.
FontSpec SelectTabFont(CTabInstrument& tab, DeviceContext& dc, bool useTablatureFont, int32_t zoom);
// Selects the tablature letter font two points (20 tenths) smaller, for small notes and
// written-out chords, at the zoom; returns the font selected before.
FontSpec CreateSmallTabFont(const CTabInstrument& tab, DeviceContext& dc, int32_t zoom);
// The rhythm-flag font: its face as the device knows it, an em of 2 × the second device
// spacing scaled by the zoom. Nothing when the face cannot be drawn; callers report
// kNotationFontError through Prompts().
std::optional<FontSpec> CreateFlagsFont(CTabInstrument& tab, DeviceContext& dc, int32_t zoom);

}  // namespace vornel
