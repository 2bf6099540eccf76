#pragma once
// Pictures of rich texts made ready for drawing: PNG, JPEG and device-independent or
// device-dependent bitmaps are decoded once by the image library; Windows and enhanced
// metafiles are played, as drawings, through the metafile player each time they are drawn,
// so that they stay sharp at any zoom and on paper. A picture that cannot be decoded is drawn
// as a frame of its size.

#include <optional>
#include <span>
#include <string>

#include "platform/draw/DeviceContext.h"
#include "platform/rtf/RichText.h"

namespace vornel {

class PreparedPicture {
 public:
  // `picture` must outlive this object.
  explicit PreparedPicture(const RichPicture& picture);

  bool Ok() const { return ok_; }
  const DeviceBitmap& Bitmap() const { return bitmap_; }
  // Draws the picture stretched into `rect` (device units).
  void Draw(DeviceContext& dc, const Rect& rect) const;

 private:
  void DrawMetafile(DeviceContext& dc, const Rect& rect) const;

  const RichPicture* picture_;
  DeviceBitmap bitmap_;
  bool metafile_ = false;
  bool ok_ = false;
};

// A picture of its own for an image file of any format the image library reads, kept as PNG
// with its pixel size and shown at 96 pixels per inch; nothing when the file cannot be
// decoded.
std::optional<RichPicture> PictureFromImageFile(const std::string& path);

// The packed device-independent bitmap of a device-dependent one, whose rows come without
// header, top row first; empty when the sizes do not fit the data.
std::vector<uint8_t> DibOfDeviceBitmap(const RichPicture& picture);

}  // namespace vornel
