#pragma once
// The desktop clipboard behind PLClipboard: bitmaps come and go as wxBitmapDataObject, turned
// into and out of the packed device-independent bitmaps that PLWinBmp exchanges. Palettes
// have no desktop form and are never offered.

#include "image/bitmap/PLClipboard.h"

class wxImage;

namespace vornel {

class PLBmp;

class WxImageClipboard : public PLClipboard {
 public:
  bool Open() override;
  void Close() override;
  void Empty() override;
  bool IsFormatAvailable(int format) const override;
  std::optional<std::vector<uint8_t>> GetData(int format) override;
  bool SetData(int format, std::vector<uint8_t> data) override;
};

// A bitmap as a window-system image (alpha kept when the bitmap has it), and back as 32 bits.
wxImage WxImageOf(const PLBmp& bmp);
void BmpFromWxImage(const wxImage& image, PLBmp& bmp);

}  // namespace vornel
