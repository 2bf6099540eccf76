#include "image/codec/io/PLFileSink.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

#include "image/bitmap/PLTextException.h"

namespace vornel {

PLFileSink::~PLFileSink() {
  if (fd_ >= 0) {
    try {
      Close();
    } catch (const PLTextException&) {
      // A destructor cannot report; the old file is still there.
    }
  }
}

int PLFileSink::Open(const std::string& path, int64_t maxSize) {
  if (fd_ >= 0 || maxSize < 0) return -1;
  std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[static_cast<size_t>(maxSize > 0 ? maxSize : 1)]);
  if (!buffer) return -1;
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) return -1;
  buffer_ = std::move(buffer);
  path_ = path;
  tempPath_ = temp;
  fd_ = fd;
  PLDataSink::Open(path, buffer_.get(), maxSize);
  return 0;
}

void PLFileSink::Discard() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(tempPath_.c_str());
    fd_ = -1;
  }
  buffer_.reset();
  PLDataSink::Close();
}

void PLFileSink::Close() {
  if (fd_ < 0) {
    PLDataSink::Close();
    return;
  }
  const uint8_t* data = GetBufferStart();
  const auto size = static_cast<size_t>(GetBytesWritten());
  size_t done = 0;
  bool ok = true;
  while (done < size) {
    const ssize_t n = ::write(fd_, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ok = false;
      break;
    }
    done += static_cast<size_t>(n);
  }
  // Keep the permissions of a file being replaced, or the usual ones for a new file.
  struct stat old {};
  ::fchmod(fd_, ::stat(path_.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644);
  ok = ::fsync(fd_) == 0 && ok;
  ok = ::close(fd_) == 0 && ok;
  fd_ = -1;
  ok = ok && ::rename(tempPath_.c_str(), path_.c_str()) == 0;
  if (!ok) ::unlink(tempPath_.c_str());
  buffer_.reset();
  PLDataSink::Close();
  if (!ok) throw PLTextException(kPLErrOutputFile, "Can't write file.");
}

}  // namespace vornel
