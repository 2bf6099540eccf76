#pragma once
// A bitmap in plain memory: lines top-down, no padding, palette in its own array.

#include <memory>

#include "image/bitmap/PLBmp.h"

namespace vornel {

class PLAnyBmp : public PLBmp {
 public:
  // A fresh bitmap is already a valid 16 x 16 image of 8 bits per pixel.
  PLAnyBmp();
  ~PLAnyBmp() override;

  size_t GetMemUsed() const override;
  // The data bytes of a line: (width x bits + 7) / 8.
  size_t GetBytesPerLine() const override;

 protected:
  void InternalCreate(int width, int height, int bitsPerPixel, bool hasAlpha) override;
  void FreeMembers() override;
  void InitLineArray() override;

 private:
  std::unique_ptr<uint8_t[], PLFreeDeleter> pixels_;
  std::unique_ptr<PLPixel32[]> paletteStore_;
};

}  // namespace vornel
