#include "image/bitmap/PLFilter.h"

#include "image/bitmap/PLAnyBmp.h"

namespace vornel {

PLFilter::~PLFilter() = default;

void PLFilter::ApplyInPlace(PLBmp& bmp) {
  PLAnyBmp result;
  Apply(bmp, result);
  bmp.CreateCopy(result, 0);
}

void PLFilter::Apply(const PLBmp& source, PLBmp& destination) {
  if (&source != &destination) destination.CreateCopy(source, 0);
  ApplyInPlace(destination);
}

}  // namespace vornel
