#pragma once
// Where decoders read an encoded image from: the whole image lies in memory, and every read
// is counted against its size, so that running past the end is an exception and progress
// can be reported.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "image/bitmap/PLObject.h"

namespace vornel {

// Told how far a decoding has come, and asked whether it should go on.
class IProgressNotification {
 public:
  virtual ~IProgressNotification() = default;
  // `part` runs from 0 to 1.
  virtual void OnProgress(double part) = 0;
  // Asked between rows, strips and tiles (and by libjpeg between its steps): true stops the
  // decoding, which then fails with kPLErrCancelled and kPLCancelledText and hands back
  // nothing it made.
  virtual bool CancelRequested() { return false; }
};

// A listener made of one function that gets the part done and returns false to cancel; once
// cancelled it stays so. A function that throws cancels too (nothing may leave through the
// decoding libraries' frames).
class PLProgressCallback : public IProgressNotification {
 public:
  explicit PLProgressCallback(std::function<bool(double part)> report) : report_(std::move(report)) {}
  void OnProgress(double part) override;
  bool CancelRequested() override { return cancelled_; }

 private:
  std::function<bool(double)> report_;
  bool cancelled_ = false;
};

// The failure of a cancelled decoding.
[[noreturn]] void RaiseDecodeCancelled();
// Reports `part` to `notification` (none: nothing) and raises the cancel failure when it asks
// to stop. Only for our own frames, never inside a C library's callback.
void ReportDecodeProgress(IProgressNotification* notification, double part);

class PLDataSource : public PLObject {
 public:
  explicit PLDataSource(IProgressNotification* notification = nullptr) : notification_(notification) {}
  PLDataSource(const PLDataSource&) = delete;
  PLDataSource& operator=(const PLDataSource&) = delete;
  ~PLDataSource() override = default;

  // Reports progress 1.0 when a notification is set and forgets the data.
  virtual void Close();

  // The unread data; all of it can be read there, but callers stay within GetBytesLeft.
  virtual const uint8_t* GetBufferPtr(int64_t minBytes);
  virtual const uint8_t* ReadEverything();
  // Consumes `count` bytes and returns a pointer to them. Past the end: code 11 "End of
  // file reached while decoding.\n"; a negative count (a length or offset that points
  // backwards): code 2. Nothing is consumed when it throws.
  virtual const uint8_t* ReadNBytes(int64_t count);

  // Throws the end-of-data error: for decoders that can tell early that the data cannot
  // hold what the header promises.
  [[noreturn]] static void RaiseEndOfData();

  const std::string& GetName() const { return name_; }
  int64_t GetFileSize() const { return fileSize_; }
  int64_t GetBytesRead() const { return bytesRead_; }
  int64_t GetBytesLeft() const { return fileSize_ - bytesRead_; }
  bool IsOpen() const { return data_ != nullptr; }
  // Told how far decoding has come; null when no one listens.
  IProgressNotification* GetNotification() const { return notification_; }

  // Little-endian and big-endian numbers, consumed from the source.
  uint8_t ReadByte() { return *ReadNBytes(1); }
  uint16_t ReadLE16();
  uint32_t ReadLE32();
  uint16_t ReadBE16();
  uint32_t ReadBE32();

 protected:
  // The base part of every Open: the name, the data and its size; nothing read yet.
  void Open(std::string_view name, const uint8_t* data, int64_t fileSize);

 private:
  std::string name_;
  const uint8_t* data_ = nullptr;
  int64_t fileSize_ = 0;
  int64_t bytesRead_ = 0;
  IProgressNotification* notification_;
};

}  // namespace vornel
