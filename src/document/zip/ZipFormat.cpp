#include "document/zip/ZipFormat.h"

#include "platform/io/TemporaryFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace vornel {

namespace {

thread_local int32_t readerResult = 0;
thread_local int32_t writerResult = 0;

}  // namespace

int32_t ZipReaderLastResult() { return readerResult; }
int32_t ZipWriterLastResult() { return writerResult; }

namespace zip {

void SetReaderResult(int32_t result) { readerResult = result; }
void SetWriterResult(int32_t result) { writerResult = result; }

uint32_t DosDateTime(std::tm local) {
  int year = local.tm_year + 1900;
  if (year < 1980) {
    year = 1980;
    local.tm_mon = 0;
    local.tm_mday = 1;
  } else if (year > 2107) {
    year = 2107;
    local.tm_mon = 11;
    local.tm_mday = 31;
  }
  const uint32_t date = static_cast<uint32_t>(((year - 1980) << 9) | ((local.tm_mon + 1) << 5) | local.tm_mday);
  const uint32_t time =
      static_cast<uint32_t>((local.tm_hour << 11) | (local.tm_min << 5) | (std::min(local.tm_sec, 59) / 2));
  return (date << 16) | time;
}

int64_t UnixTimeFromDos(uint16_t date, uint16_t time) {
  std::tm local{};
  local.tm_year = (date >> 9) + 80;
  local.tm_mon = ((date >> 5) & 0x0F) - 1;
  local.tm_mday = date & 0x1F;
  local.tm_hour = time >> 11;
  local.tm_min = (time >> 5) & 0x3F;
  local.tm_sec = (time & 0x1F) * 2;
  local.tm_isdst = -1;
  return static_cast<int64_t>(std::mktime(&local));
}

uint32_t ExtraFieldTime(int64_t unixTime) {
  const std::time_t t = static_cast<std::time_t>(unixTime);
  std::tm local{};
  if (localtime_r(&t, &local) == nullptr) return 0;
  const int year = local.tm_year + 1900;
  if (year < 1970 || year > 2037) {
    local.tm_year = year < 1970 ? 70 : 137;
    local.tm_mon = year < 1970 ? 0 : 11;
    local.tm_mday = year < 1970 ? 1 : 31;
    local.tm_isdst = -1;
    unixTime = static_cast<int64_t>(std::mktime(&local));
  }
  // East of Greenwich the first hours of 1970 lie before the epoch.
  return static_cast<uint32_t>(std::clamp<int64_t>(unixTime, 0, INT32_MAX));
}

void FileDescriptor::Reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

bool FileDescriptor::Close() {
  if (fd_ < 0) return true;
  const int result = ::close(fd_);
  fd_ = -1;
  return result == 0;
}

bool ReadAt(int fd, uint64_t offset, void* data, size_t size) {
  auto* out = static_cast<uint8_t*>(data);
  while (size > 0) {
    const ssize_t n = ::pread(fd, out, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    out += n;
    offset += static_cast<uint64_t>(n);
    size -= static_cast<size_t>(n);
  }
  return true;
}

ssize_t ReadSome(int fd, void* data, size_t size) {
  for (;;) {
    const ssize_t n = ::read(fd, data, size);
    if (n >= 0 || errno != EINTR) return n;
  }
}

bool WriteAt(int fd, uint64_t offset, std::span<const uint8_t> data) {
  while (!data.empty()) {
    const ssize_t n = ::pwrite(fd, data.data(), data.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data = data.subspan(static_cast<size_t>(n));
    offset += static_cast<uint64_t>(n);
  }
  return true;
}

bool TemporaryOutput::Create(const std::string& target) {
  Discard();
  std::string name = TemporaryPatternBeside(target);
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return false;
  NoteTemporaryFile(name);
  fd_.Reset(fd);
  target_ = target;
  temporary_ = std::move(name);
  return true;
}

bool TemporaryOutput::Commit(unsigned mode, bool sync) {
  if (!fd_.valid()) return false;
  bool ok = ::fchmod(fd_.get(), static_cast<mode_t>(mode)) == 0;
  if (sync) ok = ::fsync(fd_.get()) == 0 && ok;
  ok = fd_.Close() && ok;
  if (ok) ok = ::rename(temporary_.c_str(), target_.c_str()) == 0;
  if (!ok) {
    Discard();
    return false;
  }
  ForgetTemporaryFile(temporary_);
  temporary_.clear();
  return true;
}

void TemporaryOutput::Discard() {
  fd_.Reset();
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    ForgetTemporaryFile(temporary_);
  }
  temporary_.clear();
}

}  // namespace zip
}  // namespace vornel
