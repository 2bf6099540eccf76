#include "platform/draw/ScaledDevice.h"

#include <algorithm>

#include "platform/draw/MulDiv.h"

namespace vornel {

namespace {

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
  SetInkAnchor(target.GetInkAnchor());
  inkAnchors_ = target.inkAnchors_;
  const Point origin = target.GetViewportOrg();
  SetViewportOrg(origin.x, origin.y);
  if (std::optional<Rect> clip = target.GetClipBox()) {
    SelectClipRect(&*clip);
    clip->Offset(origin.x, origin.y);
    targetClip_ = clip;
  }
  // Its setting up is not the drawing: the log takes what is drawn from here on.
  tracing_ = target.tracing_;
}

ScaledDevice::~ScaledDevice() {
  target_.DoClip(targetClip_);
  // Anchors handed out here stay unique on the target.
  target_.inkAnchors_ = std::max(target_.inkAnchors_, inkAnchors_);
}

void ScaledDevice::DoFill(const PathData& path, const Brush& brush, bool evenOdd) {
  target_.DoFill(path, brush, evenOdd);
}

void ScaledDevice::DoStroke(const PathData& path, const Pen& pen) { target_.DoStroke(path, pen); }

void ScaledDevice::DoGlyphs(const GlyphRun& run) { target_.DoGlyphs(run); }

void ScaledDevice::DoBitmap(const DeviceBitmap& bitmap, const Rect& src, const Rect& dst,
                            std::optional<COLORREF> key) {
  target_.DoBitmap(bitmap, src, dst, key);
}

// Never wider than the target's own clip.
void ScaledDevice::DoClip(const std::optional<Rect>& clip) {
  if (!clip || !targetClip_) {
    target_.DoClip(clip ? clip : targetClip_);
    return;
  }
  Rect r = *clip;
  r.left = std::max(r.left, targetClip_->left);
  r.top = std::max(r.top, targetClip_->top);
  r.right = std::max(r.left, std::min(r.right, targetClip_->right));
  r.bottom = std::max(r.top, std::min(r.bottom, targetClip_->bottom));
  target_.DoClip(r);
}

void ScaledDevice::DoTrace(std::string_view line) { target_.DoTrace(line); }

}  // namespace vornel
