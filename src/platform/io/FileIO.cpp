#include "platform/io/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include "platform/io/TemporaryFiles.h"

namespace vornel {

namespace {

// Without O_NONBLOCK, opening a named pipe would wait for a writer that may never come; the
// flag changes nothing for the regular files that are read. The descriptor with its status, or
// -1 when the file cannot be opened.
int OpenWithoutWaiting(const std::string& path, struct stat& info) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  if (::fstat(fd, &info) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// A regular file of at most `maxBytes` opened for reading, or -1 with `error` (when given)
// saying why not.
int OpenRegular(const std::string& path, size_t maxBytes, struct stat& info, std::string* error) {
  const auto refuse = [&](std::string why) {
    if (error != nullptr) *error = std::move(why);
    return -1;
  };
  const int fd = OpenWithoutWaiting(path, info);
  if (fd < 0) return refuse(std::strerror(errno));
  if (!S_ISREG(info.st_mode)) {
    ::close(fd);
    return refuse(S_ISDIR(info.st_mode) ? std::strerror(EISDIR) : "Not a regular file");
  }
  if (static_cast<size_t>(info.st_size) > maxBytes) {
    ::close(fd);
    return refuse(std::string(std::strerror(EFBIG)) + ": " + std::to_string(info.st_size) + " bytes, more than the " +
                  std::to_string(maxBytes) + " bytes it may have");
  }
  return fd;
}

}  // namespace

namespace {

// The whole of a regular file of at most `maxBytes` into a container of bytes or characters.
template <typename Container>
std::optional<Container> ReadWhole(const std::string& path, size_t maxBytes, std::string* error) {
  struct stat info {};
  const int fd = OpenRegular(path, maxBytes, info, error);
  if (fd < 0) return std::nullopt;
  Container bytes(static_cast<size_t>(info.st_size), 0);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int failure = errno;
      ::close(fd);
      if (error != nullptr) *error = std::strerror(failure);
      return std::nullopt;
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  return bytes;
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes, std::string* error) {
  return ReadWhole<std::vector<uint8_t>>(path, maxBytes, error);
}

std::optional<std::string> ReadFileText(const std::string& path, size_t maxBytes, std::string* error) {
  return ReadWhole<std::string>(path, maxBytes, error);
}

std::FILE* OpenRegularFileForReading(const std::string& path, size_t maxBytes, std::string* error) {
  struct stat info {};
  const int fd = OpenRegular(path, maxBytes, info, error);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fcntl(fd, F_SETFL, 0) == 0 ? ::fdopen(fd, "rb") : nullptr;
  if (file == nullptr) {
    if (error != nullptr) *error = std::strerror(errno);
    ::close(fd);
  }
  return file;
}

std::FILE* OpenFileForReading(const std::string& path) {
  struct stat info {};
  const int fd = OpenWithoutWaiting(path, info);
  if (fd < 0) return nullptr;
  // Reads block as usual once the file is known not to be a pipe or a device.
  if ((!S_ISREG(info.st_mode) && !S_ISDIR(info.st_mode)) || ::fcntl(fd, F_SETFL, 0) != 0) {
    ::close(fd);
    return nullptr;
  }
  std::FILE* file = ::fdopen(fd, "rb");
  if (file == nullptr) ::close(fd);
  return file;
}

namespace {

bool Fail(std::string* error, const char* what) {
  if (error != nullptr) *error = std::string(what) + ": " + std::strerror(errno);
  return false;
}

}  // namespace

std::string FinalLinkTarget(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path current(path);
  for (int step = 0; step < 40; ++step) {
    std::error_code error;
    if (!fs::is_symlink(fs::symlink_status(current, error)) || error) return current.string();
    const fs::path target = fs::read_symlink(current, error);
    if (error) return current.string();
    current = target.is_absolute() ? target : current.parent_path() / target;
  }
  return path;
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
  return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
}

AtomicFile::~AtomicFile() { Discard(); }

void AtomicFile::Discard() {
  if (fd_ >= 0) {
    const int saved = errno;
    ::close(fd_);
    ::unlink(temp_.c_str());
    ForgetTemporaryFile(temp_);
    errno = saved;
  }
  fd_ = -1;
}

bool AtomicFile::Open(const std::string& path, std::string* error) {
  Discard();
  path_ = FinalLinkTarget(path);
  temp_ = TemporaryPatternBeside(path_);
  fd_ = ::mkstemp(temp_.data());
  if (fd_ < 0) return Fail(error, "cannot create a temporary file");
  NoteTemporaryFile(temp_);
  return true;
}

bool AtomicFile::Write(std::span<const uint8_t> bytes, std::string* error) {
  if (fd_ < 0) {
    errno = EBADF;
    return Fail(error, "cannot write");
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const bool failed = Fail(error, "cannot write");
      Discard();
      return failed;
    }
    done += static_cast<size_t>(n);
  }
  return true;
}

bool AtomicFile::Write(std::string_view text, std::string* error) {
  return Write(std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), error);
}

bool AtomicFile::Commit(std::string* error) {
  if (fd_ < 0) {
    errno = EBADF;
    return Fail(error, "cannot write");
  }
  // Keep the permissions of the file being replaced, or the usual ones for a new file.
  struct stat old {};
  const mode_t mode = ::stat(path_.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  ::fchmod(fd_, mode);
  const int fd = fd_;
  fd_ = -1;
  const bool synced = ::fsync(fd) == 0;
  const int syncError = errno;
  const bool closed = ::close(fd) == 0;
  if (!synced || !closed) {
    if (!synced) errno = syncError;
    const bool failed = Fail(error, "cannot write");
    ::unlink(temp_.c_str());
    ForgetTemporaryFile(temp_);
    return failed;
  }
  if (::rename(temp_.c_str(), path_.c_str()) != 0) {
    const bool failed = Fail(error, "cannot replace the file");
    ::unlink(temp_.c_str());
    ForgetTemporaryFile(temp_);
    return failed;
  }
  ForgetTemporaryFile(temp_);
  return true;
}

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, std::string* error) {
  AtomicFile file;
  return file.Open(path, error) && file.Write(bytes, error) && file.Commit(error);
}

bool WriteFileAtomically(const std::string& path, std::string_view text, std::string* error) {
  return WriteFileAtomically(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), error);
}

}  // namespace vornel
