#include "platform/io/FileIO.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace vornel {

std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || static_cast<size_t>(info.st_size) > maxBytes) {
    ::close(fd);
    return std::nullopt;
  }
  std::vector<uint8_t> bytes(static_cast<size_t>(info.st_size));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  bytes.resize(done);
  return bytes;
}

bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, std::string* error) {
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  const auto fail = [&](const char* what) {
    if (error != nullptr) *error = std::string(what) + ": " + std::strerror(errno);
    return false;
  };
  if (fd < 0) return fail("cannot create a temporary file");
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      const int saved = errno;
      ::close(fd);
      ::unlink(temp.c_str());
      errno = saved;
      return fail("cannot write");
    }
    done += static_cast<size_t>(n);
  }
  // Keep the permissions of the file being replaced, or the usual ones for a new file.
  struct stat old {};
  const mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
  ::fchmod(fd, mode);
  if (::fsync(fd) != 0 || ::close(fd) != 0) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    return fail("cannot write");
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    const int saved = errno;
    ::unlink(temp.c_str());
    errno = saved;
    return fail("cannot replace the file");
  }
  return true;
}

bool WriteFileAtomically(const std::string& path, std::string_view text, std::string* error) {
  return WriteFileAtomically(path, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()), error);
}

}  // namespace vornel
