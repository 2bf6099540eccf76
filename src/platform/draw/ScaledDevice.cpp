#include "platform/draw/ScaledDevice.h"

#include <algorithm>

#include "platform/draw/MulDiv.h"

namespace vornel {

namespace {

// The backend of another device: its protected drawing calls, reached through a pointer to
// the base's member (never made; it only names them).
class Backend : public DeviceContext {
 public:
  static void Fill(DeviceContext& d, const PathData& path, const Brush& brush, bool evenOdd) {
    (d.*&Backend::DoFill)(path, brush, evenOdd);
  }
  static void Stroke(DeviceContext& d, const PathData& path, const Pen& pen) { (d.*&Backend::DoStroke)(path, pen); }
  static void Glyphs(DeviceContext& d, const GlyphRun& run) { (d.*&Backend::DoGlyphs)(run); }
  static void Bitmap(DeviceContext& d, const DeviceBitmap& bitmap, const Rect& src, const Rect& dst,
                     std::optional<COLORREF> key) {
    (d.*&Backend::DoBitmap)(bitmap, src, dst, key);
  }
  static void Clip(DeviceContext& d, const std::optional<Rect>& clip) { (d.*&Backend::DoClip)(clip); }
  static void Trace(DeviceContext& d, std::string_view line) { (d.*&Backend::DoTrace)(line); }
  static bool Tracing(const DeviceContext& d) { return d.*&Backend::tracing_; }
};

int32_t Positive(int32_t value) { return std::max(value, 1); }

}  // namespace

ScaledDevice::ScaledDevice(DeviceContext& target, int32_t dpiY)
    : DeviceContext(Positive(MulDiv(target.LogPixelsX(), Positive(dpiY), target.LogPixelsY())), Positive(dpiY),
                    target.IsPrinting(), target.GetTextEngine()),
      target_(target) {
  SetAttributeResolution(Positive(MulDiv(target.AttributeLogPixelsX(), LogPixelsY(), target.LogPixelsY())),
                         Positive(MulDiv(target.AttributeLogPixelsY(), LogPixelsY(), target.LogPixelsY())));
  SetAttachment(target.GetAttachment());
  SetInkObserver(target.GetInkObserver());
  SetInkSource(target.GetInkSource());
  SetInkGroup(target.GetInkGroup());
  const Point origin = target.GetViewportOrg();
  SetViewportOrg(origin.x, origin.y);
  if (std::optional<Rect> clip = target.GetClipBox()) {
    SelectClipRect(&*clip);
    clip->Offset(origin.x, origin.y);
    targetClip_ = clip;
  }
  // Its setting up is not the drawing: the log takes what is drawn from here on.
  tracing_ = Backend::Tracing(target);
}

ScaledDevice::~ScaledDevice() { Backend::Clip(target_, targetClip_); }

void ScaledDevice::DoFill(const PathData& path, const Brush& brush, bool evenOdd) {
  Backend::Fill(target_, path, brush, evenOdd);
}

void ScaledDevice::DoStroke(const PathData& path, const Pen& pen) { Backend::Stroke(target_, path, pen); }

void ScaledDevice::DoGlyphs(const GlyphRun& run) { Backend::Glyphs(target_, run); }

void ScaledDevice::DoBitmap(const DeviceBitmap& bitmap, const Rect& src, const Rect& dst,
                            std::optional<COLORREF> key) {
  Backend::Bitmap(target_, bitmap, src, dst, key);
}

// Never wider than the target's own clip.
void ScaledDevice::DoClip(const std::optional<Rect>& clip) {
  if (!clip || !targetClip_) {
    Backend::Clip(target_, clip ? clip : targetClip_);
    return;
  }
  Rect r = *clip;
  r.left = std::max(r.left, targetClip_->left);
  r.top = std::max(r.top, targetClip_->top);
  r.right = std::max(r.left, std::min(r.right, targetClip_->right));
  r.bottom = std::max(r.top, std::min(r.bottom, targetClip_->bottom));
  Backend::Clip(target_, r);
}

void ScaledDevice::DoTrace(std::string_view line) { Backend::Trace(target_, line); }

}  // namespace vornel
