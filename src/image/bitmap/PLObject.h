#pragma once
// Root of the image classes: bitmaps, sources, sinks, decoders and their errors.

namespace vornel {

class PLObject {
 public:
  PLObject() = default;
  PLObject(const PLObject&) = default;
  PLObject& operator=(const PLObject&) = default;
  virtual ~PLObject() = default;
  // Diagnostic hook every image class inherits; checks nothing here.
  virtual void AssertValid() const {}
};

}  // namespace vornel
