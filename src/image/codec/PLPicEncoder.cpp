#include "image/codec/PLPicEncoder.h"

#include "image/codec/io/PLFileSink.h"
#include "image/codec/PLPicDecoder.h"

namespace vornel {

int64_t PLPicEncoder::SinkSizeFor(const PLBmp& bmp) {
  const auto used = static_cast<int64_t>(bmp.GetMemUsed());
  return used < 20000 ? used + 4096 : static_cast<int64_t>(static_cast<double>(used) * 1.2);
}

void PLPicEncoder::MakeFileFromBmp(const std::string& fileName, PLBmp& bmp) {
  PLPicDecoder::Trace(1, "--- Encoding file " + fileName + ". ---\n");
  PLFileSink sink;
  if (const int result = sink.Open(fileName, SinkSizeFor(bmp)); result != 0) {
    PLPicDecoder::RaiseError(result, "Opening " + fileName + " failed");
  }
  try {
    SaveBmp(bmp, sink);
  } catch (...) {
    sink.Discard();
    throw;
  }
  sink.Close();
}

void PLPicEncoder::SaveBmp(PLBmp& bmp, PLDataSink& sink) { DoEncode(bmp, sink); }

}  // namespace vornel
