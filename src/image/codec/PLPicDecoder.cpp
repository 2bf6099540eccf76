#include "image/codec/PLPicDecoder.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "image/bitmap/PLAnyBmp.h"
#include "image/bitmap/PLTextException.h"
#include "image/codec/io/PLFileSource.h"
#include "image/codec/io/PLMemSource.h"

namespace vornel {

namespace {

struct TraceConfig {
  int level = 0;
  std::string fileName;
};

TraceConfig& Tracing() {
  static TraceConfig config;
  return config;
}

}  // namespace

PLPicDecoder::~PLPicDecoder() = default;

void PLPicDecoder::SetTraceConfig(int level, std::string fileName) {
  Tracing().level = level;
  Tracing().fileName = std::move(fileName);
}

void PLPicDecoder::Trace(int level, std::string_view text) {
  const TraceConfig& config = Tracing();
  if (level > config.level || config.fileName.empty()) return;
  if (std::FILE* file = std::fopen(config.fileName.c_str(), "a")) {
    std::fwrite(text.data(), 1, text.size(), file);
    std::fclose(file);
  }
}

void PLPicDecoder::RaiseError(int code, std::string_view text) {
  std::string message = "Decoder error: ";
  message += text;
  message += '\n';
  Trace(0, message);
  throw PLTextException(code, message);
}

void PLPicDecoder::MakeBmpFromFile(const std::string& fileName, PLBmp& bmp, int wantedBitsPerPixel,
                                   IProgressNotification* notification) {
  Trace(1, "--- Decoding file " + fileName + ". ---\n");
  auto source = std::make_unique<PLFileSource>(notification);
  if (const int result = source->Open(fileName); result != 0) RaiseError(result, "Opening " + fileName + " failed");
  DecodeFrom(std::move(source), bmp, wantedBitsPerPixel);
}

void PLPicDecoder::MakeBmpFromMemory(std::span<const uint8_t> data, PLBmp& bmp, int wantedBitsPerPixel) {
  char address[32];
  std::snprintf(address, sizeof address, "%p", static_cast<const void*>(data.data()));
  Trace(1, std::string("--- Decoding from memory at ") + address + ". ---\n");
  auto source = std::make_unique<PLMemSource>();
  if (const int result = source->Open(data.data(), static_cast<int64_t>(data.size())); result != 0) {
    RaiseError(result, std::string("Reading from memory at ") + address + " failed");
  }
  DecodeFrom(std::move(source), bmp, wantedBitsPerPixel);
}

void PLPicDecoder::DecodeFrom(std::unique_ptr<PLDataSource> source, PLBmp& bmp, int wantedBitsPerPixel) {
  source_ = std::move(source);
  try {
    MakeBmp(*source_, bmp, wantedBitsPerPixel);
  } catch (...) {
    source_.reset();
    throw;
  }
  Close();
}

void PLPicDecoder::MakeBmp(PLDataSource& source, PLBmp& bmp, int wantedBitsPerPixel) {
  DoDecode(bmp, source);
  // Decoders without steps of their own to stop at still fail once they are done.
  if (IProgressNotification* notification = source.GetNotification(); notification != nullptr && notification->CancelRequested()) {
    RaiseDecodeCancelled();
  }
  if (wantedBitsPerPixel == 0) return;
  if (wantedBitsPerPixel > bmp.GetBitsPerPixel()) {
    PLAnyBmp widened;
    widened.CreateCopy(bmp, wantedBitsPerPixel);
    bmp.CreateCopy(widened, 0);
  } else if (wantedBitsPerPixel < bmp.GetBitsPerPixel()) {
    throw PLTextException(kPLErrFormatNotSupported, "Image bit depth doesn't match request.");
  }
}

void PLPicDecoder::Close() {
  if (source_) source_->Close();
  source_.reset();
}

void PLPicDecoder::DoDecode(PLBmp&, PLDataSource&) {}

void PLPicDecoder::RequireLines(const PLDataSource& source, int64_t lineBytes, int64_t lines) {
  // Divided rather than multiplied: the product of two header fields may overflow.
  if (lines > 0 && lineBytes > source.GetBytesLeft() / lines) PLDataSource::RaiseEndOfData();
}

void PLPicDecoder::RequirePixels(int64_t bytes, int64_t width, int64_t height, int64_t pixelsPerByte) {
  if (width <= 0 || height <= 0) return;
  const int64_t pixels = width > INT64_MAX / height ? INT64_MAX : width * height;
  const int64_t producible =
      kPixelsWithoutData + std::clamp<int64_t>(bytes, 0, INT64_MAX / 2 / pixelsPerByte) * pixelsPerByte;
  if (pixels > producible) PLDataSource::RaiseEndOfData();
}

size_t PLPicDecoder::ExpandPackBits(std::span<uint8_t> dest, std::span<const uint8_t> packed) {
  size_t out = 0;
  size_t in = 0;
  while (in < packed.size() && out < dest.size()) {
    const int n = static_cast<int8_t>(packed[in++]);
    if (n >= 0) {
      const size_t count = std::min({size_t(n) + 1, packed.size() - in, dest.size() - out});
      std::memcpy(dest.data() + out, packed.data() + in, count);
      in += size_t(n) + 1;
      out += count;
    } else if (n != -128) {
      if (in >= packed.size()) break;
      const size_t count = std::min(size_t(1 - n), dest.size() - out);
      std::memset(dest.data() + out, packed[in++], count);
      out += count;
    }
  }
  return out;
}

const uint8_t* PLPicDecoder::UnpackPackBits(uint8_t* dest, PLDataSource& source, int64_t rowBytes,
                                            int64_t packedBytes) {
  if (rowBytes < 8) return source.ReadNBytes(rowBytes);
  const uint8_t* packed = source.ReadNBytes(packedBytes);
  ExpandPackBits({dest, static_cast<size_t>(rowBytes)}, {packed, static_cast<size_t>(packedBytes)});
  return dest;
}

}  // namespace vornel
