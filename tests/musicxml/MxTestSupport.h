#pragma once
// Helpers of the MusicXML tests: documents held in temporary streams and read through the
// reader, with what went to the standard error stream.

#include <gtest/gtest.h>

#include <pthread.h>

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "musicxml/reader/xmlreader.h"

namespace vornel::MusicXML2::testing {

// An anonymous temporary file holding `bytes`, positioned at its start.
class MemoryFile {
 public:
  explicit MemoryFile(std::string_view bytes) : file_(std::tmpfile()) {
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file_);
    std::rewind(file_);
  }
  ~MemoryFile() { std::fclose(file_); }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  FILE* get() const { return file_; }

 private:
  FILE* file_;
};

struct ReadResult {
  STXMLFile file;
  std::string errors;  // the standard error stream during the read
  Sxmlelement root() const { return file ? file->getRoot() : Sxmlelement(); }
};

inline ReadResult Read(std::string_view bytes) {
  MemoryFile input(bytes);
  xmlreader reader;
  ::testing::internal::CaptureStderr();
  ReadResult result;
  result.file = reader.readStream(input.get());
  result.errors = ::testing::internal::GetCapturedStderr();
  return result;
}

inline constexpr std::string_view kDocType =
    "<!DOCTYPE score-partwise PUBLIC \"-//Recordare//DTD MusicXML 2.0 Partwise//EN\" "
    "\"http://www.musicxml.org/dtds/partwise.dtd\">\n";

// A document of the declaration, the document type and `body`.
inline std::string Document(std::string_view body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + std::string(kDocType) + std::string(body) + "\n";
}

// Runs `work` on a thread with a stack of 1 MB, so that code that recursed once per level of a
// deep tree would overflow it for certain.
inline void RunOnSmallStack(const std::function<void()>& work) {
  pthread_attr_t attributes;
  pthread_attr_init(&attributes);
  pthread_attr_setstacksize(&attributes, size_t(1) << 20);
  pthread_t thread;
  auto run = [](void* argument) -> void* {
    (*static_cast<const std::function<void()>*>(argument))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attributes, run, const_cast<std::function<void()>*>(&work)), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attributes);
}

}  // namespace vornel::MusicXML2::testing
