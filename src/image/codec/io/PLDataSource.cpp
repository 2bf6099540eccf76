#include "image/codec/io/PLDataSource.h"

#include "image/bitmap/PLByteOrder.h"
#include "image/bitmap/PLTextException.h"

namespace vornel {

namespace {
// A single byte that stands for the data of an empty source, so that its pointer is never null.
const uint8_t kNoData = 0;
}  // namespace

void PLDataSource::Open(std::string_view name, const uint8_t* data, int64_t fileSize) {
  name_ = name;
  data_ = data != nullptr ? data : &kNoData;
  fileSize_ = fileSize;
  bytesRead_ = 0;
}

void PLDataSource::Close() {
  if (notification_ != nullptr && data_ != nullptr) notification_->OnProgress(1.0);
  name_.clear();
  data_ = nullptr;
}

const uint8_t* PLDataSource::GetBufferPtr(int64_t) { return data_ + bytesRead_; }

const uint8_t* PLDataSource::ReadEverything() { return data_ + bytesRead_; }

const uint8_t* PLDataSource::ReadNBytes(int64_t count) {
  if (count < 0) throw PLTextException(kPLErrFormatUnknown, "Negative length or offset while decoding.\n");
  if (count > fileSize_ - bytesRead_) RaiseEndOfData();
  const uint8_t* start = data_ + bytesRead_;
  const int64_t oldKiB = bytesRead_ / 1024;
  bytesRead_ += count;
  if (notification_ != nullptr && bytesRead_ / 1024 > oldKiB) {
    notification_->OnProgress(static_cast<double>(bytesRead_) / static_cast<double>(fileSize_));
  }
  return start;
}

void PLProgressCallback::OnProgress(double part) {
  if (cancelled_ || !report_) return;
  try {
    cancelled_ = !report_(part);
  } catch (...) {
    cancelled_ = true;
  }
}

void RaiseDecodeCancelled() { throw PLTextException(kPLErrCancelled, kPLCancelledText); }

void ReportDecodeProgress(IProgressNotification* notification, double part) {
  if (notification == nullptr) return;
  notification->OnProgress(part);
  if (notification->CancelRequested()) RaiseDecodeCancelled();
}

void PLDataSource::RaiseEndOfData() {
  throw PLTextException(kPLErrEndOfData, "End of file reached while decoding.\n");
}

uint16_t PLDataSource::ReadLE16() { return PLReadLE16(ReadNBytes(2)); }

uint32_t PLDataSource::ReadLE32() { return PLReadLE32(ReadNBytes(4)); }

uint16_t PLDataSource::ReadBE16() { return PLReadBE16(ReadNBytes(2)); }

uint32_t PLDataSource::ReadBE32() { return PLReadBE32(ReadNBytes(4)); }

}  // namespace vornel
