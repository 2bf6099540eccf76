#include "shell/console/PianoKeyboard.h"

#include <array>
#include <cmath>

#include "platform/draw/DeviceContext.h"

namespace vornel::console {

namespace {

// Semitones above F of the white keys F G A B C D E.
constexpr std::array<int, kWhiteKeysPerOctave> kWhiteOffsets = {0, 2, 4, 6, 7, 9, 11};
// Black keys: where each starts in its octave and the white key on its left.
struct BlackKey {
  int start;
  int leftWhite;
};
constexpr std::array<BlackKey, 5> kBlackKeys = {{{15, 0}, {38, 1}, {61, 2}, {107, 4}, {130, 5}}};

bool Inside(const Rect& r, int x, int y) { return x >= r.left && x < r.right && y >= r.top && y < r.bottom; }

}  // namespace

Size PianoPictureSize() {
  return {kKeyboardOrigin.x * 2 + kWhiteKeyCount * kWhiteKeyWidth, kKeyboardOrigin.y + kWhiteKeyHeight + 7};
}

std::optional<uint8_t> PianoKeyAt(int x, int y) {
  if (!Inside(kPianoClickRect, x, y)) return std::nullopt;
  const int dx = x - kKeyboardOrigin.x;
  // The octave follows the white keys, so that the key under the pointer and its octave agree
  // up to the last pixel of every octave.
  const int white = static_cast<int>(std::floor(dx / static_cast<double>(kWhiteKeyWidth)));
  const int octave = white / kWhiteKeysPerOctave;
  const int offset = dx - octave * kOctaveWidth;
  int semitone = kWhiteOffsets[static_cast<size_t>(white % kWhiteKeysPerOctave)] + 6;
  if (y < kKeyboardOrigin.y + kBlackKeyZone) {
    for (const BlackKey& key : kBlackKeys) {
      if (offset >= key.start && offset <= key.start + kBlackKeyWidth) {
        semitone = kWhiteOffsets[static_cast<size_t>(key.leftWhite)] + 7;
        break;
      }
    }
  }
  return static_cast<uint8_t>((12 * octave + semitone + 23) % 256);
}

void DrawPianoKeyboard(DeviceContext& dc) {
  const Size size = PianoPictureSize();
  dc.FillSolidRect({0, 0, size.cx, size.cy}, kPianoBackground);
  const Pen outline = Pen::Create(PS_SOLID, 1, RGB(0, 0, 0));
  const Pen oldPen = dc.SelectPen(outline);
  const Brush oldBrush = dc.SelectBrush(Brush::Solid(RGB(255, 255, 255)));
  const int top = kKeyboardOrigin.y;
  for (int i = 0; i < kWhiteKeyCount; ++i) {
    const int left = kKeyboardOrigin.x + i * kWhiteKeyWidth;
    dc.Rectangle(left, top, left + kWhiteKeyWidth + 1, top + kWhiteKeyHeight);
  }
  dc.SelectBrush(Brush::Solid(RGB(0, 0, 0)));
  for (int octave = 0; octave * kOctaveWidth < kWhiteKeyCount * kWhiteKeyWidth; ++octave) {
    for (const BlackKey& key : kBlackKeys) {
      const int left = kKeyboardOrigin.x + octave * kOctaveWidth + key.start;
      dc.Rectangle(left, top, left + kBlackKeyWidth + 1, top + kBlackKeyZone);
    }
  }
  dc.SelectBrush(oldBrush);
  dc.SelectPen(oldPen);
}

}  // namespace vornel::console
