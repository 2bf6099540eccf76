#pragma once
// Plays the records of a Windows metafile or an enhanced metafile onto a device of the
// drawing layer: the metafile's own mapping (window, viewport, map mode and, for enhanced
// metafiles, the world transform) is followed by the mapping of its frame onto the page.
// Drawing, objects, text, clipping, paths and device-independent bitmaps are played; records
// it does not know (palettes, raster operations other than copying, regions) are passed
// over. Every record is checked against its own length, and a record that does not fit ends
// playback.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class PLMetafilePlayer {
 public:
  // The logical rectangle a metafile is played into: a placeable metafile's box, or what a
  // plain one sets as its window.
  struct Frame {
    double left = 0;
    double top = 0;
    double width = 1;
    double height = 1;
  };

  // The reference device an enhanced metafile was recorded on.
  struct EmfReference {
    int32_t frameLeft = 0;  // hundredths of a millimetre
    int32_t frameTop = 0;
    int32_t frameRight = 0;
    int32_t frameBottom = 0;
    int32_t devicePixelsX = 0;
    int32_t devicePixelsY = 0;
    int32_t deviceMillimetresX = 0;
    int32_t deviceMillimetresY = 0;
  };

  // A metafile plays at most this many records; the rest are left out. Each record is a
  // drawing call, so a file of millions of tiny records cannot keep the player for minutes.
  static constexpr size_t kMaxRecords = size_t(1) << 20;

  explicit PLMetafilePlayer(DeviceContext& dc);
  ~PLMetafilePlayer();
  PLMetafilePlayer(const PLMetafilePlayer&) = delete;
  PLMetafilePlayer& operator=(const PLMetafilePlayer&) = delete;

  // `records` starts at the 18-byte metafile header; `frame` is played into the page of
  // `width` x `height` pixels.
  void PlayWmf(std::span<const uint8_t> records, const Frame& frame, int width, int height);
  // `records` starts at the header record.
  void PlayEmf(std::span<const uint8_t> records, const EmfReference& reference, int width, int height);

  // The window a plain metafile sets (its first SetWindowOrg and SetWindowExt), if any.
  static std::optional<Frame> FindWmfWindow(std::span<const uint8_t> records);

  // The 22-byte header of a placeable metafile: its box, its units per inch and the records
  // after it. Nothing when the data does not start with one (`truncated` is set when it
  // starts with the header's key but is too short for it).
  struct Placeable {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t unitsPerInch = 0;
    std::span<const uint8_t> records;
  };
  static std::optional<Placeable> ReadPlaceable(std::span<const uint8_t> data, bool* truncated = nullptr);
  // Whether the records start with a Windows metafile header.
  static bool IsWmfHeader(std::span<const uint8_t> records);
  // The reference device of an enhanced metafile's header; nothing when the data does not
  // start with one.
  static std::optional<EmfReference> ReadEmfReference(std::span<const uint8_t> data);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace vornel
