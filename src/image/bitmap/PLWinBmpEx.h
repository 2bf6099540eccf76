#pragma once
// A device-independent bitmap that keeps what drawing makes of it: the device form of its
// pixels is made on the first drawing and kept until the image changes, so that a picture
// drawn on every repaint is converted once. Facsimiles and picture texts draw through it.

#include <optional>

#include "image/bitmap/PLWinBmp.h"

namespace vornel {

class PLWinBmpEx : public PLWinBmp {
 public:
  PLWinBmpEx() = default;
  ~PLWinBmpEx() override = default;

  // Draws the source rectangle (null: the whole image) into the destination (null: the
  // source's size at the origin), stretched to fit. `foreground` and `stretchMode` are kept
  // for the callers' sake: every device stretches smoothly. False when there is nothing to
  // draw.
  bool StretchDraw(DeviceContext& dc, bool foreground, const Rect* destination, const Rect* source,
                   int stretchMode = -1);

  void Draw(DeviceContext& dc, int32_t x, int32_t y) override;
  void DrawStretched(DeviceContext& dc, int32_t x, int32_t y, int32_t w, int32_t h) override;
  void DrawScaled(DeviceContext& dc, int32_t x, int32_t y, double factor) override;

 protected:
  void FreeMembers() override;

 private:
  const DeviceBitmap& DeviceForm();
  std::optional<DeviceBitmap> deviceForm_;
};

}  // namespace vornel
