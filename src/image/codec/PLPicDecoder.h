#pragma once
// Base of every image decoder: turns a file or a memory block into a data source, lets the
// subclass decode it into a bitmap (DoDecode), widens the result to a wanted bit depth and
// reports every failure as a PLTextException.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "image/bitmap/PLBmp.h"
#include "image/codec/io/PLDataSource.h"

namespace vornel {

class PLPicDecoder : public PLObject {
 public:
  PLPicDecoder() = default;
  PLPicDecoder(const PLPicDecoder&) = delete;
  PLPicDecoder& operator=(const PLPicDecoder&) = delete;
  ~PLPicDecoder() override;

  // Decodes a file. A file that cannot be opened throws with the source's code (3, 4, 5)
  // and "Decoder error: Opening NAME failed\n".
  virtual void MakeBmpFromFile(const std::string& fileName, PLBmp& bmp, int wantedBitsPerPixel = 0,
                               IProgressNotification* notification = nullptr);
  virtual void MakeBmpFromMemory(std::span<const uint8_t> data, PLBmp& bmp, int wantedBitsPerPixel = 0);
  // Decodes, then widens to `wantedBitsPerPixel` (0 keeps the decoded depth); asking for
  // fewer bits than the image has throws code 6.
  virtual void MakeBmp(PLDataSource& source, PLBmp& bmp, int wantedBitsPerPixel);
  // Closes and forgets the source of the file being decoded.
  virtual void Close();

  // Trace messages up to `level` are appended to `fileName`; an empty name (the default)
  // writes nothing. Shared by all decoders.
  static void SetTraceConfig(int level, std::string fileName);

  // Helpers of the format decoders (static, so that their readers can call them too).
  static void Trace(int level, std::string_view text);
  // Throws PLTextException with `code` and "Decoder error: TEXT\n".
  [[noreturn]] static void RaiseError(int code, std::string_view text);

  // For data that holds every line in full: throws the end-of-data error, before a bitmap
  // is made for them, when what remains of `source` cannot hold `lines` lines of
  // `lineBytes` each.
  static void RequireLines(const PLDataSource& source, int64_t lineBytes, int64_t lines);
  // For compressed data: throws the end-of-data error, before a bitmap is made for them, when
  // `width` × `height` pixels are more than `bytes` of data can produce at `pixelsPerByte`,
  // the densest coding of the format. Pictures of up to kPixelsWithoutData pixels always
  // pass. A few bytes that declare a huge picture thus never fill one.
  static constexpr int64_t kPixelsWithoutData = int64_t(1) << 22;
  static void RequirePixels(int64_t bytes, int64_t width, int64_t height, int64_t pixelsPerByte);

  // One PackBits row: rows of fewer than 8 bytes are stored unpacked and come back as a
  // pointer into the source; longer ones consume `packedBytes` and are expanded into
  // `dest`, which the function returns.
  static const uint8_t* UnpackPackBits(uint8_t* dest, PLDataSource& source, int64_t rowBytes, int64_t packedBytes);
  // Expands PackBits data into `dest`: a control byte n of 0..127 copies n + 1 bytes,
  // 129..255 repeats the next byte 257 - n times, 128 is skipped. Output beyond `dest` is
  // dropped and a run cut short by the end of `packed` ends the row; the number of bytes
  // written is returned.
  static size_t ExpandPackBits(std::span<uint8_t> dest, std::span<const uint8_t> packed);

 protected:
  // Reads the encoded image from `source` into `bmp`; the base does nothing.
  virtual void DoDecode(PLBmp& bmp, PLDataSource& source);

 private:
  void DecodeFrom(std::unique_ptr<PLDataSource> source, PLBmp& bmp, int wantedBitsPerPixel);

  std::unique_ptr<PLDataSource> source_;
};

}  // namespace vornel
