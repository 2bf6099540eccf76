#pragma once
// Whole-file reading and writing. Writes go to a temporary file beside the target that is
// renamed into place, so a failed save leaves the old file as it was.

#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vornel {

// The bytes of a regular file, or nothing when it cannot be read. Files above `maxBytes` are
// refused, and so are folders, pipes and devices (without waiting on them). `error` (when
// given) says why nothing was read, in the system's words where the system refused.
std::optional<std::vector<uint8_t>> ReadFileBytes(const std::string& path, size_t maxBytes = size_t(1) << 31,
                                                  std::string* error = nullptr);

// The same as text, for readers that walk it as characters.
std::optional<std::string> ReadFileText(const std::string& path, size_t maxBytes = size_t(1) << 31,
                                        std::string* error = nullptr);

// A regular file of at most `maxBytes` open for reading as a stream, or null with `error`
// (when given) saying why, as ReadFileBytes refuses. The caller closes it.
std::FILE* OpenRegularFileForReading(const std::string& path, size_t maxBytes, std::string* error = nullptr);

// A file open for reading as a stream, or null. Pipes, sockets and devices are refused without
// waiting on them; a folder opens, and its first read fails. The caller closes it.
std::FILE* OpenFileForReading(const std::string& path);

// The file `path` names: the end of its chain of symbolic links (a relative link read from the
// link's folder), or `path` itself when it is no link. A save writes there, so that a link
// stays a link and the file it points to gets the new content. A chain of more than 40 links
// (a loop) gives `path`.
std::string FinalLinkTarget(const std::string& path);

// True when `path` names an existing file whose permissions allow no one to write it, or that
// this process may not write: a read-only document.
bool IsReadOnlyFile(const std::string& path);

// A file written in pieces through a temporary file beside the file `path` names (through its
// symbolic links), renamed onto that file by Commit. Dropped without Commit, it leaves the
// file as it was and removes the temporary file.
class AtomicFile {
 public:
  AtomicFile() = default;
  ~AtomicFile();
  AtomicFile(const AtomicFile&) = delete;
  AtomicFile& operator=(const AtomicFile&) = delete;

  bool Open(const std::string& path, std::string* error = nullptr);
  bool Write(std::span<const uint8_t> bytes, std::string* error = nullptr);
  bool Write(std::string_view text, std::string* error = nullptr);
  // Flushes the file to the disk and puts it in place, keeping the permissions of the file it
  // replaces.
  bool Commit(std::string* error = nullptr);

 private:
  void Discard();
  std::string path_;
  std::string temp_;
  int fd_ = -1;
};

// Writes `bytes` to `path` through a temporary file; on failure the temporary file is removed,
// `path` is untouched and `error` (when given) says why.
bool WriteFileAtomically(const std::string& path, std::span<const uint8_t> bytes, std::string* error = nullptr);
bool WriteFileAtomically(const std::string& path, std::string_view text, std::string* error = nullptr);

}  // namespace vornel
