#include "image/bitmap/PLAnyBmp.h"

#include <cstdlib>

#include "image/bitmap/PLTextException.h"

namespace vornel {

PLAnyBmp::PLAnyBmp() { PLAnyBmp::InternalCreate(16, 16, 8, false); }

PLAnyBmp::~PLAnyBmp() = default;

size_t PLAnyBmp::GetBytesPerLine() const { return static_cast<size_t>(DataBytesPerLine(GetWidth(), GetBitsPerPixel())); }

size_t PLAnyBmp::GetMemUsed() const {
  size_t used = sizeof(*this) + GetBytesPerLine() * static_cast<size_t>(GetHeight()) + lineArray_.size() * sizeof(uint8_t*);
  if (palette_ != nullptr) used += static_cast<size_t>(GetNumColors()) * sizeof(PLPixel32);
  return used;
}

void PLAnyBmp::InternalCreate(int width, int height, int bitsPerPixel, bool hasAlpha) {
  const int64_t bytes = DataBytesPerLine(width, bitsPerPixel) * height;
  CheckAllocation(bytes);
  pixels_.reset(static_cast<uint8_t*>(std::calloc(static_cast<size_t>(bytes), 1)));
  if (!pixels_) throw PLTextException(kPLErrNoMemory, "Out of memory creating bitmap.");
  if (bitsPerPixel <= 8) {
    paletteStore_ = std::make_unique<PLPixel32[]>(size_t(1) << bitsPerPixel);
    palette_ = paletteStore_.get();
  }
  InitLocals(width, height, bitsPerPixel, hasAlpha);
}

void PLAnyBmp::FreeMembers() {
  lineArray_.clear();
  pixels_.reset();
  paletteStore_.reset();
  palette_ = nullptr;
}

void PLAnyBmp::InitLineArray() {
  const size_t stride = GetBytesPerLine();
  lineArray_.resize(static_cast<size_t>(GetHeight()));
  for (size_t y = 0; y < lineArray_.size(); ++y) lineArray_[y] = pixels_.get() + y * stride;
}

}  // namespace vornel
