#pragma once
// What bitmaps need of the system clipboard. The window-system layer implements it; tests
// script it.

#include <cstdint>
#include <optional>
#include <vector>

namespace vornel {

class PLClipboard {
 public:
  // Clipboard format numbers as documents and peers know them.
  static constexpr int kFormatBitmap = 2;
  static constexpr int kFormatDib = 8;
  static constexpr int kFormatPalette = 9;

  virtual ~PLClipboard() = default;
  virtual bool Open() = 0;
  virtual void Close() = 0;
  virtual void Empty() = 0;
  virtual bool IsFormatAvailable(int format) const = 0;
  // kFormatBitmap and kFormatDib come and go as a packed device-independent bitmap (header,
  // palette, bits); kFormatPalette as a logical palette: version (u16), entry count (u16),
  // then red, green, blue and flags per entry.
  virtual std::optional<std::vector<uint8_t>> GetData(int format) = 0;
  virtual bool SetData(int format, std::vector<uint8_t> data) = 0;
};

}  // namespace vornel
