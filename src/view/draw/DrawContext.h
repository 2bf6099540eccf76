#pragma once
// The context of one drawing: the page settings it draws with, the decoded pictures of the
// document drawn and what the notes leave for the marks drawn after them. Whoever starts a
// drawing (the page drawer, the editor's views, the tools) makes one and attaches it to the
// device for its lifetime; everything drawn on that device, and on the devices made to
// measure like it, finds it there. Nothing of it is process-wide, so what a page looks like
// does not depend on what was drawn before and two documents can be drawn side by side.
// Without a context, drawing takes the zoom as 100, every option as off and decodes pictures
// afresh.

#include "platform/draw/DeviceContext.h"
#include "view/draw/PageDrawSettings.h"

namespace vornel {

class PictureCache;

class DrawContext : public DeviceAttachment {
 public:
  // Attaches itself to `dc` until destroyed, then puts back what was attached before.
  // `settings` and `pictures` (none: no cache) must outlive the context.
  DrawContext(DeviceContext& dc, const PageDrawSettings& settings, PictureCache* pictures = nullptr);
  ~DrawContext() override;
  DrawContext(const DrawContext&) = delete;
  DrawContext& operator=(const DrawContext&) = delete;

  const PageDrawSettings& Settings() const { return settings_; }
  PictureCache* Pictures() const { return pictures_; }

  // The string of the last tablature note drawn (or of the course a slur ran to).
  int lastString = 0;

 private:
  DeviceContext& dc_;
  DeviceAttachment* previous_;
  const PageDrawSettings& settings_;
  PictureCache* pictures_;
};

// The context attached to `dc`; null when there is none.
DrawContext* DrawContextOf(const DeviceContext& dc);
// The page settings of that context; null when there is none.
const PageDrawSettings* PageSettingsOf(const DeviceContext& dc);

}  // namespace vornel
