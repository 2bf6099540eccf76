#include "image/codec/native/PLPSDDecoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "image/bitmap/PLByteOrder.h"

namespace vornel {

namespace {

constexpr uint16_t kResolutionInfo = 0x03ED;
constexpr uint16_t kBitmapMode = 0;

}  // namespace

void PLPSDDecoder::ReadHeader(PLDataSource& source) {
  std::memcpy(header_.signature.data(), source.ReadNBytes(4), 4);
  header_.version = source.ReadBE16();
  source.ReadNBytes(6);
  header_.channels = source.ReadBE16();
  header_.rows = source.ReadBE32();
  header_.columns = source.ReadBE32();
  header_.depth = source.ReadBE16();
  header_.mode = source.ReadBE16();
  if (std::memcmp(header_.signature.data(), "8BPS", 4) != 0) RaiseError(2, "PSD decoder: This isn't a photoshop file.");
}

void PLPSDDecoder::ReadColorModeData(PLDataSource& source) {
  // Indexed images keep 256 reds, 256 greens and 256 blues here. The whole section is
  // read, whatever its length, so that the sections after it are found.
  const uint32_t length = source.ReadBE32();
  const uint8_t* data = source.ReadNBytes(length);
  if (length >= 768) {
    for (int i = 0; i < 256; ++i) palette_[i] = PLPixel32::FromRgba(data[i], data[256 + i], data[512 + i]);
  }
}

void PLPSDDecoder::ReadImageResources(PLDataSource& source) {
  const int64_t length = source.ReadBE32();
  int64_t counted = 0;
  while (counted < length) {
    if (std::memcmp(source.ReadNBytes(4), "8BIM", 4) != 0) {
      RaiseError(2, "PSD decoder: Wrong signature in resource data block.");
    }
    const uint16_t id = source.ReadBE16();
    const int nameLength = source.ReadByte();
    const uint8_t* name = source.ReadNBytes(nameLength);
    Trace(2, "Reading resource:" + std::string(reinterpret_cast<const char*>(name), static_cast<size_t>(nameLength)) + "\n");
    // The name and its length byte together take an even number of bytes.
    const bool namePadding = nameLength % 2 == 0;
    if (namePadding) source.ReadByte();
    const int64_t size = source.ReadBE32();
    const uint8_t* data = source.ReadNBytes(size);
    if (id == kResolutionInfo && size >= 16) {
      // Horizontal and vertical resolution in 16.16 fixed point, each followed by two units.
      resolution_ = {static_cast<int32_t>(PLReadBE32(data)) / 65536, static_cast<int32_t>(PLReadBE32(data + 8)) / 65536};
    }
    if (size % 2 != 0) source.ReadByte();
    counted += 11 + nameLength + (namePadding ? 1 : 0) + size + size % 2;
  }
}

void PLPSDDecoder::ReadLayerSection(PLDataSource& source) {
  layerSectionLength_ = source.ReadBE32();
  layerSectionStart_ = source.GetBytesRead();
  if (layerSectionLength_ <= 0) return;
  const uint32_t infoLength = source.ReadBE32();
  if (infoLength > 0) {
    // A negative count says that the first alpha channel holds the merged transparency.
    layerCount_ = std::abs(static_cast<int16_t>(source.ReadBE16()));
    Trace(2, "Number of layers: " + std::to_string(layerCount_) + "\n");
    for (int i = 0; i < layerCount_; ++i) {
      PsdLayerRecord record;
      record.top = static_cast<int32_t>(source.ReadBE32());
      record.left = static_cast<int32_t>(source.ReadBE32());
      record.bottom = static_cast<int32_t>(source.ReadBE32());
      record.right = static_cast<int32_t>(source.ReadBE32());
      const uint16_t channels = source.ReadBE16();
      for (int c = 0; c < channels; ++c) {
        const auto channelId = static_cast<int16_t>(source.ReadBE16());
        record.channels.emplace_back(channelId, source.ReadBE32());
      }
      std::memcpy(record.blendSignature.data(), source.ReadNBytes(4), 4);
      std::memcpy(record.blendKey.data(), source.ReadNBytes(4), 4);
      record.opacity = source.ReadByte();
      record.clipping = source.ReadByte();
      record.flags = source.ReadByte();
      source.ReadByte();  // filler
      record.extraLength = source.ReadBE32();
      source.ReadNBytes(record.extraLength);
      layers_.push_back(std::move(record));
    }
  }
  // The layers' own pixel data is not needed: go on after the section. Records that ran
  // past its end make this a backwards skip, which the source refuses.
  source.ReadNBytes(layerSectionStart_ + layerSectionLength_ - source.GetBytesRead());
}

void PLPSDDecoder::CreateBitmap(PLBmp& bmp) {
  const int mode = header_.mode;
  if (mode != kBitmapMode && mode != 1 && mode != 2 && mode != 3) RaiseError(6, "This PSD color mode is not supported.");
  // Bitmap images have one bit per pixel, the others eight bits per channel.
  if (header_.depth != (mode == kBitmapMode ? 1 : 8)) RaiseError(6, "This PSD bit depth is not supported.");
  if (mode == kBitmapMode) {
    // A set bit is black.
    bmp.Create(header_.columns, header_.rows, 1, false, resolution_);
    const PLPixel32 whiteBlack[2] = {PLPixel32::FromRgba(255, 255, 255), PLPixel32::FromRgba(0, 0, 0)};
    bmp.SetPalette(whiteBlack);
    return;
  }
  if (mode == 1) {
    for (int i = 0; i < 256; ++i) palette_[i] = PLPixel32::FromRgba(uint8_t(i), uint8_t(i), uint8_t(i));
  }
  const int bits = mode == 3 ? 32 : 8;
  bmp.Create(header_.columns, header_.rows, bits, mode == 3 && header_.channels > 3, resolution_);
  if (bits == 8) bmp.SetPalette(palette_.data());
}

// Packed data (the one compression read) too short to fill the declared image, or no
// channels at all, is refused before the bitmap is made, so that a small file declaring a huge image allocates nothing;
// the full check follows in ReadImageData.
void PLPSDDecoder::RequireImageData(PLDataSource& source) const {
  // An image without channels has no data to fill it with.
  if (header_.channels == 0 && header_.rows > 0 && header_.columns > 0) PLDataSource::RaiseEndOfData();
  if (source.GetBytesLeft() < 2 || PLReadBE16(source.GetBufferPtr(2)) != 1) return;
  const int bits = header_.mode == kBitmapMode ? 1 : 8;
  const int64_t rowBytes = PLBmp::DataBytesPerLine(int64_t{header_.columns}, bits);
  RequireLines(source, 2 + 2 * ((rowBytes + 127) / 128), int64_t{header_.rows} * header_.channels);
}

void PLPSDDecoder::ReadImageData(PLBmp& bmp, PLDataSource& source) {
  const uint16_t compression = source.ReadBE16();
  switch (compression) {
    case 0:
      Trace(2, "No compression\n");
      break;
    case 1:
      Trace(2, "RLE compression\n");
      break;
    case 2:
      Trace(2, "ZIP compression, no prediction\n");
      break;
    case 3:
      Trace(2, "ZIP compression, prediction\n");
      break;
    default:
      RaiseError(2, "PSD decoder: Compression unknown.");
  }
  if (compression != 1) RaiseError(2, "PSD decoder: Compression type not supported.");

  const int rows = bmp.GetHeight();
  const int columns = bmp.GetWidth();
  const int channels = header_.channels;
  // The bytes of one row of one channel: eight pixels a byte in bitmap images.
  const auto rowBytes = static_cast<size_t>(PLBmp::DataBytesPerLine(columns, bmp.GetBitsPerPixel() == 1 ? 1 : 8));
  // Each row of each channel takes its 2-byte count and at least 2 bytes per 128 bytes
  // (a run): data too short for that cannot fill the image, however it is packed.
  RequireLines(source, 2 + 2 * ((int64_t(rowBytes) + 127) / 128), int64_t(rows) * channels);
  // The packed length of every row of every channel, channel by channel.
  const uint8_t* counts = source.ReadNBytes(int64_t(rows) * channels * 2);
  std::vector<uint8_t> row(rowBytes);
  PLBmpLock lock(bmp, false, true);
  const bool rgb = header_.mode == 3;
  // Channel c of an RGB image goes to red, green, blue, alpha.
  static constexpr int kRgbOffset[4] = {2, 1, 0, 3};
  if (rgb && channels < 4) {
    for (int y = 0; y < rows; ++y) {
      auto* pixels = reinterpret_cast<PLPixel32*>(bmp.GetLineArray()[y]);
      for (int x = 0; x < columns; ++x) pixels[x].a = 255;
    }
  }
  for (int c = 0; c < channels; ++c) {
    for (int y = 0; y < rows; ++y) {
      const size_t index = size_t(c) * size_t(rows) + size_t(y);
      const int packedBytes = PLReadBE16(counts + 2 * index);
      // A short row leaves zeros, not the previous row, in what it does not reach.
      std::fill(row.begin(), row.end(), 0);
      ExpandPackBits(row, {source.ReadNBytes(packedBytes), static_cast<size_t>(packedBytes)});
      uint8_t* line = bmp.GetLineArray()[y];
      if (!rgb) {
        if (c == 0) std::memcpy(line, row.data(), rowBytes);
      } else if (c < 4) {
        for (int x = 0; x < columns; ++x) line[4 * x + kRgbOffset[c]] = row[static_cast<size_t>(x)];
      }
    }
  }
}

void PLPSDDecoder::DoDecode(PLBmp& bmp, PLDataSource& source) {
  header_ = PsdHeader{};
  palette_.fill(PLPixel32{});
  resolution_ = {};
  layerSectionStart_ = layerSectionLength_ = 0;
  layerCount_ = 0;
  layers_.clear();

  ReadHeader(source);
  ReadColorModeData(source);
  ReadImageResources(source);
  ReadLayerSection(source);
  RequireImageData(source);
  CreateBitmap(bmp);
  ReadImageData(bmp, source);
  layers_.clear();
}

}  // namespace vornel
