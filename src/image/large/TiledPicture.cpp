#include "image/large/TiledPicture.h"

#include <algorithm>
#include <cmath>

#include "image/bitmap/DeviceBitmapOf.h"
#include "image/bitmap/PLAnyBmp.h"
#include "platform/draw/DeviceContext.h"

namespace vornel {

TiledPicture::TiledPicture(std::unique_ptr<LargeImageSource> source, int32_t overviewWidth, int32_t overviewHeight,
                           uint64_t cacheBytes, IProgressNotification* progress)
    : source_(std::move(source)), cacheBytes_(cacheBytes) {
  const double fit = std::min(double(std::max(overviewWidth, 1)) / source_->Width(),
                              double(std::max(overviewHeight, 1)) / source_->Height());
  overviewFactor_ = ReductionForScale(fit);
  // The overview must fit the devices' bitmaps whatever the canvas said.
  while (!DeviceBitmap::ValidSize((source_->Width() + overviewFactor_ - 1) / overviewFactor_,
                                  (source_->Height() + overviewFactor_ - 1) / overviewFactor_) &&
         overviewFactor_ < LargeImageSource::kMaxFactor) {
    overviewFactor_ *= 2;
  }
  PLAnyBmp bmp;
  source_->Read({0, 0, source_->Width(), source_->Height()}, overviewFactor_, bmp, progress);
  overview_ = DeviceBitmapOf(bmp);
}

Rect TiledPicture::TileSpan(const Rect& visible, int factor) {
  const int64_t side = int64_t(kTileSize) * factor;
  return Rect{static_cast<int32_t>(std::max(0, visible.left) / side),
              static_cast<int32_t>(std::max(0, visible.top) / side),
              static_cast<int32_t>(std::max(0, visible.right - 1) / side),
              static_cast<int32_t>(std::max(0, visible.bottom - 1) / side)};
}

int TiledPicture::Prepare(const Rect& wanted, double scale, IProgressNotification* progress) {
  const Rect visible{std::max(0, wanted.left), std::max(0, wanted.top), std::min(Width(), wanted.right),
                     std::min(Height(), wanted.bottom)};
  const int factor = ReductionForScale(scale);
  if (factor >= overviewFactor_ || visible.right <= visible.left || visible.bottom <= visible.top) return 0;
  const Rect span = TileSpan(visible, factor);
  const int64_t side = int64_t(kTileSize) * factor;
  // The missing tiles are read together as one region: a JPEG is then entropy-decoded once.
  Rect missing{INT32_MAX, INT32_MAX, -1, -1};
  for (int32_t ty = span.top; ty <= span.bottom; ++ty) {
    for (int32_t tx = span.left; tx <= span.right; ++tx) {
      const auto found = tiles_.find({factor, tx, ty});
      if (found != tiles_.end()) {
        uses_.splice(uses_.begin(), uses_, found->second.use);
        continue;
      }
      missing = Rect{std::min(missing.left, tx), std::min(missing.top, ty), std::max(missing.right, tx),
                     std::max(missing.bottom, ty)};
    }
  }
  if (missing.right < 0) return 0;
  const ImageRegion region{static_cast<int32_t>(missing.left * side), static_cast<int32_t>(missing.top * side),
                           static_cast<int32_t>(std::min<int64_t>((missing.right + 1) * side, Width()) - missing.left * side),
                           static_cast<int32_t>(std::min<int64_t>((missing.bottom + 1) * side, Height()) - missing.top * side)};
  PLAnyBmp bmp;
  source_->Read(region, factor, bmp, progress);
  int made = 0;
  for (int32_t ty = missing.top; ty <= missing.bottom; ++ty) {
    for (int32_t tx = missing.left; tx <= missing.right; ++tx) {
      if (tiles_.contains({factor, tx, ty})) continue;
      const int32_t x0 = (tx - missing.left) * kTileSize;
      const int32_t y0 = (ty - missing.top) * kTileSize;
      const int32_t w = std::min(kTileSize, bmp.GetWidth() - x0);
      const int32_t h = std::min(kTileSize, bmp.GetHeight() - y0);
      if (w <= 0 || h <= 0) continue;
      DeviceBitmap tile = DeviceBitmapOf(bmp, x0, y0, w, h);
      uses_.push_front({factor, tx, ty});
      cachedBytes_ += uint64_t(w) * uint64_t(h) * 4;
      tiles_.emplace(Key{factor, tx, ty}, Tile{std::move(tile), uses_.begin()});
      ++made;
    }
  }
  Evict();
  return made;
}

void TiledPicture::Evict() {
  while (cachedBytes_ > cacheBytes_ && !uses_.empty()) {
    const auto found = tiles_.find(uses_.back());
    cachedBytes_ -= uint64_t(found->second.bitmap.Width()) * uint64_t(found->second.bitmap.Height()) * 4;
    tiles_.erase(found);
    uses_.pop_back();
  }
}

void TiledPicture::DrawPiece(DeviceContext& dc, const Rect& dst, const Rect& src, const DeviceBitmap& bitmap,
                             int factor, int32_t originX, int32_t originY) const {
  // The part of `src` this bitmap covers, in picture pixels.
  const int32_t left = std::max(src.left, originX);
  const int32_t top = std::max(src.top, originY);
  const int32_t right = std::min<int64_t>(src.right, originX + int64_t(bitmap.Width()) * factor);
  const int32_t bottom = std::min<int64_t>(src.bottom, originY + int64_t(bitmap.Height()) * factor);
  if (right <= left || bottom <= top) return;
  const double sx = double(dst.Width()) / src.Width();
  const double sy = double(dst.Height()) / src.Height();
  const auto devX = [&](int32_t x) { return dst.left + static_cast<int32_t>(std::lround((x - src.left) * sx)); };
  const auto devY = [&](int32_t y) { return dst.top + static_cast<int32_t>(std::lround((y - src.top) * sy)); };
  const Rect piece{(left - originX) / factor, (top - originY) / factor,
                   static_cast<int32_t>((right - originX + factor - 1) / factor),
                   static_cast<int32_t>((bottom - originY + factor - 1) / factor)};
  dc.StretchBlt(Rect{devX(left), devY(top), devX(right), devY(bottom)}, bitmap, piece);
}

void TiledPicture::Draw(DeviceContext& dc, const Rect& dst, const Rect& src) const {
  if (src.Width() <= 0 || src.Height() <= 0 || dst.Width() <= 0 || dst.Height() <= 0) return;
  const double scale = double(dst.Width()) / src.Width();
  const int factor = ReductionForScale(scale);
  if (factor >= overviewFactor_) {
    DrawPiece(dc, dst, src, overview_, overviewFactor_, 0, 0);
    return;
  }
  const Rect span = TileSpan(src, factor);
  const int64_t side = int64_t(kTileSize) * factor;
  for (int32_t ty = span.top; ty <= span.bottom; ++ty) {
    for (int32_t tx = span.left; tx <= span.right; ++tx) {
      const auto found = tiles_.find({factor, tx, ty});
      const Rect cell{static_cast<int32_t>(tx * side), static_cast<int32_t>(ty * side),
                      static_cast<int32_t>(std::min<int64_t>((tx + 1) * side, Width())),
                      static_cast<int32_t>(std::min<int64_t>((ty + 1) * side, Height()))};
      const Rect part{std::max(cell.left, src.left), std::max(cell.top, src.top), std::min(cell.right, src.right),
                      std::min(cell.bottom, src.bottom)};
      if (part.right <= part.left || part.bottom <= part.top) continue;
      const double sx = double(dst.Width()) / src.Width();
      const double sy = double(dst.Height()) / src.Height();
      const Rect partDst{dst.left + static_cast<int32_t>(std::lround((part.left - src.left) * sx)),
                         dst.top + static_cast<int32_t>(std::lround((part.top - src.top) * sy)),
                         dst.left + static_cast<int32_t>(std::lround((part.right - src.left) * sx)),
                         dst.top + static_cast<int32_t>(std::lround((part.bottom - src.top) * sy))};
      if (found != tiles_.end()) {
        DrawPiece(dc, partDst, part, found->second.bitmap, factor, cell.left, cell.top);
      } else {
        DrawPiece(dc, partDst, part, overview_, overviewFactor_, 0, 0);  // until the tile is decoded
      }
    }
  }
}

}  // namespace vornel
