#include "view/draw/DrawContext.h"

namespace vornel {

DrawContext::DrawContext(DeviceContext& dc, const PageDrawSettings& settings, PictureCache* pictures)
    : dc_(dc), previous_(dc.SetAttachment(this)), settings_(settings), pictures_(pictures) {}

DrawContext::~DrawContext() { dc_.SetAttachment(previous_); }

DrawContext* DrawContextOf(const DeviceContext& dc) { return dynamic_cast<DrawContext*>(dc.GetAttachment()); }

const PageDrawSettings* PageSettingsOf(const DeviceContext& dc) {
  const DrawContext* context = DrawContextOf(dc);
  return context != nullptr ? &context->Settings() : nullptr;
}

}  // namespace vornel
