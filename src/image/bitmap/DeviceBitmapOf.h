#pragma once
// A decoded image as a bitmap the drawing devices draw.

#include "image/bitmap/PLBmp.h"
#include "platform/draw/DeviceBitmap.h"

namespace vornel {

// The image's pixels, its alpha kept when it has one; an empty bitmap when the image is
// too large for the devices.
DeviceBitmap DeviceBitmapOf(const PLBmp& bmp);
// The same for the part of `bmp` at (x, y) of width x height pixels (inside the image).
DeviceBitmap DeviceBitmapOf(const PLBmp& bmp, int x, int y, int width, int height);

}  // namespace vornel
