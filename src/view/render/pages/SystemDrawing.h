#pragma once
// One system of a page: the room for the instrument names and the leading signs, the chord
// columns fitted to the width, the system's picture and texts, each visible instrument line
// one below the other, the lines that close the system with its bracket, and the number of
// its first bar. A hidden system is only measured.

#include <cstdint>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class CPageDlg;
class CStaveArray;
class CSystemArray;

// What a failure while drawing a system reports.
inline constexpr const char* kSystemDrawingError = "ERROR writing stave";

// The width a system keeps before its first column for the clef and the key signature: two
// clef characters and one space more than the key has accidentals, in the notation font of
// its first line at `zoom`.
int32_t SystemStartWidth(DeviceContext& dc, const CStaveArray& system, int32_t zoom);

// Draws the system into (left, top, right, bottom); nothing when right is negative. The top
// 12 bits of `placement` go into each stave's position code. The system keeps its area, its
// name width and, for a hidden system on screen, its options rectangle. A failure is reported
// as kSystemDrawingError and ends the system.
void DrawSystem(CStaveArray& system, DeviceContext& dc, CPageDlg& page, uint32_t placement, int32_t left,
                int32_t top, int32_t right, int32_t bottom);

// What a system needs before it is drawn: the beam groups of its voices, in the section's
// time signature.
void PrepareSystemVoices(CStaveArray& system, const CSystemArray& section);

}  // namespace vornel
