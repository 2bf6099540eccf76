#include "view/draw/MeasuredInk.h"

#include <cmath>
#include <memory>

#include "model/score/StaveRenderer.h"

namespace vornel {

Rect MeasuredInk(DeviceContext& dc, const std::function<void(DeviceContext&)>& draw) {
  const std::unique_ptr<DeviceContext> measuring = CreateMeasuringDevice(&dc);
  InkExtent extent;
  measuring->SetInkObserver(&extent);
  draw(*measuring);
  if (extent.Empty()) return {};
  return {static_cast<int32_t>(std::floor(extent.Left())), static_cast<int32_t>(std::floor(extent.Top())),
          static_cast<int32_t>(std::ceil(extent.Right())), static_cast<int32_t>(std::ceil(extent.Bottom()))};
}

InkBoxes::InkBoxes(DeviceContext& dc, std::function<bool(InkSource, const Rect&)> keep)
    : dc_(dc), keep_(std::move(keep)), next_(dc.SetInkObserver(this)) {}

InkBoxes::~InkBoxes() { dc_.SetInkObserver(next_); }

void InkBoxes::OnInk(const InkItem& item) {
  if (next_ != nullptr) next_->OnInk(item);
  if (item.source == InkSource::kScreenMark) return;
  // Ink is told in device pixels: a scrolled window's viewport moves it.
  const Point origin = dc_.GetViewportOrg();
  const Rect box{static_cast<int32_t>(std::floor(item.left)) - origin.x,
                 static_cast<int32_t>(std::floor(item.top)) - origin.y,
                 static_cast<int32_t>(std::ceil(item.right)) - origin.x,
                 static_cast<int32_t>(std::ceil(item.bottom)) - origin.y};
  if (keep_(item.source, box)) boxes_.push_back(box);
}

}  // namespace vornel
