#include "image/codec/io/PLFileSource.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vornel {

namespace {

int OpenErrorCode(int error) {
  switch (error) {
    case ENOTDIR:
      return 3;
    case ENOENT:
      return 4;  // told from a missing folder by the caller
    case EACCES:
    case EPERM:
    case ETXTBSY:
      return 5;
    default:
      return 4;
  }
}

bool FolderExists(const std::string& fileName) {
  const size_t slash = fileName.find_last_of('/');
  if (slash == std::string::npos) return true;
  struct stat info {};
  return ::stat(slash == 0 ? "/" : fileName.substr(0, slash).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

PLFileSource::~PLFileSource() {
  if (IsOpen()) PLFileSource::Close();
}

int PLFileSource::Open(const std::string& fileName) {
  if (IsOpen()) Close();
  // Without O_NONBLOCK a named pipe would wait for a writer before it is found not to be a file.
  const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    const int error = errno;
    if (error == ENOENT && !FolderExists(fileName)) return 3;
    return OpenErrorCode(error);
  }
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return 4;
  }
  const auto size = static_cast<size_t>(info.st_size);
  void* view = nullptr;
  if (size > 0) {
    view = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (view == MAP_FAILED) {
      ::close(fd);
      return 5;
    }
  }
  // The mapping stays valid without the descriptor.
  ::close(fd);
  view_ = view;
  viewSize_ = size;
  PLDataSource::Open(fileName, static_cast<const uint8_t*>(view), static_cast<int64_t>(size));
  return 0;
}

void PLFileSource::Close() {
  PLDataSource::Close();
  if (view_ != nullptr) ::munmap(view_, viewSize_);
  view_ = nullptr;
  viewSize_ = 0;
}

}  // namespace vornel
