#pragma once
// A device of a lower resolution than another whose output lands on that other device, pixel
// for pixel: whatever is drawn on it, sized from its resolution (staves, letters, pens, gaps),
// comes out smaller by the ratio of the two resolutions, in the other device's coordinates.
// It takes the other device's viewport, clip, printing flag, attachment and ink observer, and
// writes its calls into the other's log when that one logs.

#include <optional>
#include <string_view>

#include "platform/draw/DeviceContext.h"

namespace vornel {

class ScaledDevice : public DeviceContext {
 public:
  // Drawing on it takes `dpiY` where `target` has its own (at least 1); the horizontal
  // resolution keeps the target's proportion.
  ScaledDevice(DeviceContext& target, int32_t dpiY);
  ~ScaledDevice() override;

 protected:
  void DoFill(const PathData& path, const Brush& brush, bool evenOdd) override;
  void DoStroke(const PathData& path, const Pen& pen) override;
  void DoGlyphs(const GlyphRun& run) override;
  void DoBitmap(const DeviceBitmap& bitmap, const Rect& src, const Rect& dst, std::optional<COLORREF> key) override;
  void DoClip(const std::optional<Rect>& clip) override;
  void DoTrace(std::string_view line) override;

 private:
  DeviceContext& target_;
  std::optional<Rect> targetClip_;  // device pixels
};

}  // namespace vornel
