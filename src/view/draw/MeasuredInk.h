#pragma once
// What a drawing covers, found without drawing it: the drawing is made on a measuring device
// made like the drawing device (its resolution, text engine and page), whose ink is gathered;
// and the boxes of what a drawing puts on the page, gathered as it draws, for what is placed
// after it to keep clear of. Boxes are in the drawing's coordinates.

#include <functional>
#include <vector>

#include "platform/draw/DeviceContext.h"
#include "platform/draw/Ink.h"

namespace vornel {

// What `draw` covers when it draws on a device made like `dc`; empty when it draws nothing.
Rect MeasuredInk(DeviceContext& dc, const std::function<void(DeviceContext&)>& draw);

// While it lives, keeps the box of every item drawn on `dc` that `keep` accepts (told the
// item's source and box), and passes every item on to the observer `dc` had.
class InkBoxes : public InkObserver {
 public:
  InkBoxes(DeviceContext& dc, std::function<bool(InkSource, const Rect&)> keep);
  ~InkBoxes() override;
  InkBoxes(const InkBoxes&) = delete;
  InkBoxes& operator=(const InkBoxes&) = delete;
  void OnInk(const InkItem& item) override;
  const std::vector<Rect>& Boxes() const { return boxes_; }

 private:
  DeviceContext& dc_;
  std::function<bool(InkSource, const Rect&)> keep_;
  InkObserver* next_;
  std::vector<Rect> boxes_;
};

}  // namespace vornel
