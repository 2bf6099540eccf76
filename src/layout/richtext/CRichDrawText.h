#pragma once
// The rich-text host of the page drawing: an RTF string (or plain text) loaded once, measured
// for a width and drawn at a zoom into a rectangle of any device (window, print preview,
// printer, PDF, PNG, recording). Building one is cheap: the text and its layouts come from
// the shared cache, so a host may be made for every drawing.
//
//   CRichDrawText text(rtf);
//   Rect r{left, top, right, 0};
//   text.MeasureHeight(dc, r);   // r.bottom = r.top + the height the text needs
//   text.Draw(dc, r, zoom);      // the text in r, at zoom percent
//
// Unset attributes take the RTF defaults: 12 pt, the \deff font, black.

#include <cstdint>
#include <memory>
#include <string_view>

#include "layout/richtext/RichTextCache.h"
#include "platform/draw/DeviceContext.h"

namespace vornel {

class CRichDrawText {
 public:
  explicit CRichDrawText(std::string_view rtf, RichTextCache& cache = RichTextCache::Shared());

  // Sets `rect.bottom` to `rect.top` plus the height the text needs at the rectangle's width
  // on `dc` (device units, zoom 100). A text without content needs no height.
  void MeasureHeight(DeviceContext& dc, Rect& rect) const;
  // Draws the text into `rect` at `zoomPercent`: the text is laid out for the rectangle's
  // width at that zoom (so at 50 it is half as large in the same rectangle) and clipped to it.
  void Draw(DeviceContext& dc, const Rect& rect, int32_t zoomPercent = 100) const;

  // The layout the text has at `widthTwips` on the engine of `dc`.
  std::shared_ptr<const RichTextLayout> LayoutFor(DeviceContext& dc, int32_t widthTwips) const;

  const RichDocument& Document() const { return content_->Document(); }
  // A limit ended the reading of the text; what came before it is shown.
  bool ReadStopped() const { return content_->ReadStopped(); }

 private:
  RichTextCache& cache_;
  std::shared_ptr<const RichTextContent> content_;
};

}  // namespace vornel
