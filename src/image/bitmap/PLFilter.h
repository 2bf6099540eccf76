#pragma once
// Base of the operations that turn one bitmap into another. Each of the two operations is by
// default written in terms of the other, so a filter overrides at least one.

#include "image/bitmap/PLBmp.h"

namespace vornel {

class PLFilter : public PLObject {
 public:
  ~PLFilter() override = 0;

  // Apply into a temporary bitmap, then copy the result back.
  virtual void ApplyInPlace(PLBmp& bmp);
  // Copy the source into the destination, then ApplyInPlace there.
  virtual void Apply(const PLBmp& source, PLBmp& destination);
};

}  // namespace vornel
