#pragma once
// A large picture as the viewer draws it: a reduced copy of the whole (the overview) and tiles
// of 512 x 512 device-sized pixels at the reduction the zoom calls for, decoded on demand and
// kept in a cache bounded in bytes (least recently used go first). Prepare decodes what a view
// needs and is called outside painting; Draw only draws what is at hand, the overview standing
// in for tiles not yet decoded, so a paint never waits for a decoder.

#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <tuple>

#include "image/large/LargeImageSource.h"
#include "platform/draw/DeviceBitmap.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

class DeviceContext;

class TiledPicture {
 public:
  static constexpr int32_t kTileSize = 512;
  static constexpr uint64_t kDefaultCacheBytes = uint64_t(256) << 20;

  // Reads the overview, reduced so that it is at least `overviewWidth` x `overviewHeight`
  // device pixels fitted (the canvas the picture first opens in). `progress` hears how far the
  // read has come and may cancel it: the construction then throws kPLErrCancelled.
  TiledPicture(std::unique_ptr<LargeImageSource> source, int32_t overviewWidth, int32_t overviewHeight,
               uint64_t cacheBytes = kDefaultCacheBytes, IProgressNotification* progress = nullptr);

  int32_t Width() const { return source_->Width(); }
  int32_t Height() const { return source_->Height(); }
  int OverviewFactor() const { return overviewFactor_; }
  // The file behind the picture, for reads at other sizes (printing, copying).
  LargeImageSource& Source() const { return *source_; }

  // Decodes the tiles that drawing `visible` (picture pixels) at `scale` device pixels per
  // picture pixel needs; returns how many it decoded. A cancelled read (through `progress`)
  // throws kPLErrCancelled and adds no tile.
  int Prepare(const Rect& visible, double scale, IProgressNotification* progress = nullptr);
  // Draws picture rectangle `src` into device rectangle `dst`.
  void Draw(DeviceContext& dc, const Rect& dst, const Rect& src) const;

  uint64_t CachedBytes() const { return cachedBytes_; }
  size_t CachedTiles() const { return tiles_.size(); }

 private:
  using Key = std::tuple<int, int32_t, int32_t>;  // reduction, tile column, tile row
  struct Tile {
    DeviceBitmap bitmap;
    std::list<Key>::iterator use;
  };

  // The tiles of reduction `factor` that meet `visible`: columns and rows [first, last].
  static Rect TileSpan(const Rect& visible, int factor);
  void DrawPiece(DeviceContext& dc, const Rect& dst, const Rect& src, const DeviceBitmap& bitmap, int factor,
                 int32_t originX, int32_t originY) const;
  void Evict();

  std::unique_ptr<LargeImageSource> source_;
  int overviewFactor_ = 1;
  DeviceBitmap overview_;
  uint64_t cacheBytes_;
  uint64_t cachedBytes_ = 0;
  std::map<Key, Tile> tiles_;
  std::list<Key> uses_;  // most recent first
};

}  // namespace vornel
