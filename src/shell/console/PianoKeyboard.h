#pragma once
// The keyboard console's piano: five octaves of keys from F, drawn through the drawing layer,
// and the hit test that turns a click into the pitch byte the score view enters. Within an
// octave the white keys are F G A B C D E (23 pixels wide each, so an octave is 161 pixels)
// and the black keys start 15, 38, 61, 107 and 130 pixels into it, 17 pixels wide, in the
// upper 60 pixels of the keys.

#include <cstdint>
#include <optional>

#include "platform/draw/DrawTypes.h"

namespace vornel {
class DeviceContext;
}

namespace vornel::console {

inline constexpr Point kKeyboardOrigin = {7, 7};
// Where clicks count (and the key cursor shows): left and top inside, right and bottom not.
inline constexpr Rect kPianoClickRect = {7, 22, 805, 95};
inline constexpr int kBlackKeyZone = 60;     // below the origin; higher clicks may hit a black key
inline constexpr int kBlackKeyWidth = 17;
inline constexpr int kWhiteKeyWidth = 23;
inline constexpr int kWhiteKeysPerOctave = 7;
inline constexpr int kOctaveWidth = kWhiteKeyWidth * kWhiteKeysPerOctave;  // 161
inline constexpr int kWhiteKeyCount = 35;
inline constexpr int kWhiteKeyHeight = 88;
// The pitch byte of the lowest F: MIDI pitch 29.
inline constexpr int kLowestPitch = 29;
// The bar's background.
inline constexpr COLORREF kPianoBackground = RGB(230, 230, 235);

// The pixels the picture takes.
Size PianoPictureSize();
// The pitch byte of the key at (x, y) of the bar; nothing outside the click rectangle.
std::optional<uint8_t> PianoKeyAt(int x, int y);
// Draws the keyboard with its top-left corner at the bar's (0, 0).
void DrawPianoKeyboard(DeviceContext& dc);

}  // namespace vornel::console
