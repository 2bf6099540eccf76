#pragma once
// Reads the merged image of layered "8BPS" files: bitmap images of one bit per pixel, and
// greyscale, indexed and RGB images of 8 bits per channel, with run-length (PackBits)
// compressed image data. Bitmap images stay 1 bit per pixel (a set bit black), greyscale and
// indexed images become 8 bits per pixel, RGB images 32 bits (alpha from a fourth channel).

#include <array>
#include <utility>
#include <vector>

#include "image/codec/PLPicDecoder.h"

namespace vornel {

struct PsdHeader {
  std::array<uint8_t, 4> signature{};
  uint16_t version = 0;
  uint16_t channels = 0;
  uint32_t rows = 0;
  uint32_t columns = 0;
  uint16_t depth = 0;  // bits per channel
  uint16_t mode = 0;   // 0 bitmap, 1 greyscale, 2 indexed, 3 RGB
};

struct PsdLayerRecord {
  int32_t top = 0;
  int32_t left = 0;
  int32_t bottom = 0;
  int32_t right = 0;
  std::vector<std::pair<int16_t, uint32_t>> channels;  // identifier, data length
  std::array<uint8_t, 4> blendSignature{};
  std::array<uint8_t, 4> blendKey{};
  uint8_t opacity = 0;
  uint8_t clipping = 0;
  uint8_t flags = 0;
  uint32_t extraLength = 0;
};

class PLPSDDecoder : public PLPicDecoder {
 protected:
  void DoDecode(PLBmp& bmp, PLDataSource& source) override;

 private:
  void ReadHeader(PLDataSource& source);
  void ReadColorModeData(PLDataSource& source);
  void ReadImageResources(PLDataSource& source);
  void ReadLayerSection(PLDataSource& source);
  void RequireImageData(PLDataSource& source) const;
  void CreateBitmap(PLBmp& bmp);
  void ReadImageData(PLBmp& bmp, PLDataSource& source);

  PsdHeader header_;
  std::array<PLPixel32, 256> palette_{};
  PLPoint resolution_;
  int64_t layerSectionStart_ = 0;
  int64_t layerSectionLength_ = 0;
  int layerCount_ = 0;
  std::vector<PsdLayerRecord> layers_;
};

}  // namespace vornel
