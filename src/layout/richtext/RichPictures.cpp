#include "layout/richtext/RichPictures.h"

#include <cstring>
#include <exception>

#include "image/bitmap/DeviceBitmapOf.h"
#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLWinBmp.h"
#include "image/codec/PLAnyPicDecoder.h"
#include "image/codec/native/PLMetafilePlayer.h"
#include "platform/draw/CairoDevice.h"

namespace vornel {

namespace {

void PutLE32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void PutLE16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

}  // namespace

std::vector<uint8_t> DibOfDeviceBitmap(const RichPicture& p) {
  const int64_t bits = p.bitsPerPixel > 0 ? p.bitsPerPixel : 1;
  if (p.width <= 0 || p.height <= 0 || (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)) return {};
  const int64_t rowBytes = p.widthBytes > 0 ? p.widthBytes : (p.width * bits + 15) / 16 * 2;
  if (rowBytes < (p.width * bits + 7) / 8 || rowBytes * p.height > static_cast<int64_t>(p.data.size())) return {};
  const int64_t dibRow = PLWinBmp::PaddedBytesPerLine(p.width, static_cast<int>(bits));
  std::vector<uint8_t> dib;
  dib.reserve(static_cast<size_t>(40 + (bits <= 8 ? 4 << bits : 0) + dibRow * p.height));
  PutLE32(dib, 40);
  PutLE32(dib, static_cast<uint32_t>(p.width));
  PutLE32(dib, static_cast<uint32_t>(-p.height));  // top-down rows, as the data holds them
  PutLE16(dib, 1);
  PutLE16(dib, static_cast<uint16_t>(bits));
  for (int i = 0; i < 6; ++i) PutLE32(dib, 0);
  if (bits <= 8) {
    // Without a palette of its own: black and white for one bit, greys for more.
    const int entries = 1 << bits;
    for (int i = 0; i < entries; ++i) {
      const uint8_t v = static_cast<uint8_t>(i * 255 / (entries - 1));
      dib.insert(dib.end(), {v, v, v, 0});
    }
  }
  for (int64_t y = 0; y < p.height; ++y) {
    const uint8_t* row = p.data.data() + y * rowBytes;
    const int64_t copy = std::min(rowBytes, dibRow);
    dib.insert(dib.end(), row, row + copy);
    dib.insert(dib.end(), static_cast<size_t>(dibRow - copy), 0);
  }
  return dib;
}

std::optional<RichPicture> PictureFromImageFile(const std::string& path) {
  constexpr int32_t kTwipsPerPixel = 15;
  try {
    PLAnyBmp bmp;
    PLAnyPicDecoder decoder;
    decoder.MakeBmpFromFile(path, bmp);
    const DeviceBitmap bitmap = DeviceBitmapOf(bmp);
    std::string png;
    if (bitmap.IsEmpty() || !EncodePng(bitmap, png)) return std::nullopt;
    RichPicture picture;
    picture.format = RichPicture::Format::kPng;
    picture.width = bitmap.Width();
    picture.height = bitmap.Height();
    picture.goalWidth = bitmap.Width() * kTwipsPerPixel;
    picture.goalHeight = bitmap.Height() * kTwipsPerPixel;
    picture.data.assign(png.begin(), png.end());
    return picture;
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

PreparedPicture::PreparedPicture(const RichPicture& picture) : picture_(&picture) {
  using F = RichPicture::Format;
  const std::span<const uint8_t> data(picture.data);
  switch (picture.format) {
    case F::kWmf: {
      const auto placeable = PLMetafilePlayer::ReadPlaceable(data);
      metafile_ = true;
      ok_ = PLMetafilePlayer::IsWmfHeader(placeable ? placeable->records : data);
      return;
    }
    case F::kEmf:
      metafile_ = true;
      ok_ = PLMetafilePlayer::ReadEmfReference(data).has_value();
      return;
    case F::kOther:
      return;
    default:
      break;
  }
  try {
    PLAnyBmp decoded;
    if (picture.format == F::kDib) {
      PLWinBmp dib;
      dib.CreateFromDIB(data);
      bitmap_ = DeviceBitmapOf(dib);
    } else if (picture.format == F::kDdb) {
      const std::vector<uint8_t> dibBytes = DibOfDeviceBitmap(picture);
      if (dibBytes.empty()) return;
      PLWinBmp dib;
      dib.CreateFromDIB(dibBytes);
      bitmap_ = DeviceBitmapOf(dib);
    } else {
      PLAnyPicDecoder decoder;
      decoder.MakeBmpFromMemory(data, decoded);
      bitmap_ = DeviceBitmapOf(decoded);
    }
    ok_ = !bitmap_.IsEmpty();
  } catch (const std::exception&) {
    ok_ = false;
  }
}

void PreparedPicture::Draw(DeviceContext& dc, const Rect& rect) const {
  if (rect.IsEmpty()) return;
  if (!ok_) {
    dc.FrameRect(rect, Brush::Solid(RGB(128, 128, 128)));
    return;
  }
  if (metafile_) {
    DrawMetafile(dc, rect);
    return;
  }
  dc.StretchBlt(rect, bitmap_, Rect{0, 0, bitmap_.Width(), bitmap_.Height()});
}

void PreparedPicture::DrawMetafile(DeviceContext& dc, const Rect& rect) const {
  const std::span<const uint8_t> data(picture_->data);
  const int saved = dc.SaveDC();
  const Point origin = dc.GetViewportOrg();
  dc.SetViewportOrg(origin.x + rect.left, origin.y + rect.top);
  dc.IntersectClipRect(Rect{0, 0, rect.Width(), rect.Height()});
  PLMetafilePlayer player(dc);
  if (picture_->format == RichPicture::Format::kEmf) {
    player.PlayEmf(data, *PLMetafilePlayer::ReadEmfReference(data), rect.Width(), rect.Height());
  } else {
    std::span<const uint8_t> records = data;
    PLMetafilePlayer::Frame frame{0, 0, double(std::max(1, picture_->width)), double(std::max(1, picture_->height))};
    if (const auto placeable = PLMetafilePlayer::ReadPlaceable(data)) {
      frame = {double(placeable->left), double(placeable->top), double(placeable->right - placeable->left),
               double(placeable->bottom - placeable->top)};
      records = placeable->records;
    } else if (const auto window = PLMetafilePlayer::FindWmfWindow(records)) {
      frame = *window;
    }
    if (frame.width == 0 || frame.height == 0) frame = {0, 0, 1, 1};
    player.PlayWmf(records, frame, rect.Width(), rect.Height());
  }
  dc.RestoreDC(saved);
}

}  // namespace vornel
