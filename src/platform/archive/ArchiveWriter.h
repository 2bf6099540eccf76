#pragma once
// Writes the binary archive form: little-endian fixed-width fields, counts, UTF-16 texts and
// numbered object references.

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/archive/ObjectNumbers.h"
#include "platform/archive/Persistent.h"
#include "platform/archive/VersionText.h"

namespace vornel {

class ArchiveWriter {
 public:
  // Records are written in their newest form; the few gates that also act on storing compare
  // with this version, so that a record is read back with the fields it was written with.
  explicit ArchiveWriter(std::string version = std::string(kCurrentFormatVersion)) : version_(std::move(version)) {}
  ArchiveWriter(const ArchiveWriter&) = delete;
  ArchiveWriter& operator=(const ArchiveWriter&) = delete;

  void WriteU8(uint8_t v) { bytes_.push_back(v); }
  void WriteU16(uint16_t v);
  void WriteU32(uint32_t v);
  void WriteI32(int32_t v) { WriteU32(static_cast<uint32_t>(v)); }
  void WriteDouble(double v);
  void WriteBool32(bool v) { WriteU32(v ? 1u : 0u); }
  void WriteBytes(std::span<const uint8_t> data);
  // Raw 8-bit characters without a length (magic words of file headers).
  void WriteRaw(std::string_view chars);

  // A count below 0xFFFF as a u16, otherwise 0xFFFF and a u32.
  void WriteCount(size_t count);

  // A text as UTF-16 with its 0xFF 0xFFFE mark and length.
  void WriteText(std::string_view utf8);

  // An object reference: null, a new object (with its class on first use) or one already written.
  // An object that nothing else can refer to (`onlyHere`) is written without being remembered.
  void WriteObject(const Persistent* object, bool onlyHere = false);

  // Count followed by one reference per element; elements are pointers or smart pointers. An
  // element a unique_ptr owns, or a shared_ptr alone, can stand nowhere else in the archive.
  template <typename Range>
  void WriteObjectArray(const Range& elements) {
    WriteCount(std::size(elements));
    for (const auto& element : elements) WriteObject(ToPointer(element), HeldOnlyHere(element));
  }

  // Hands the bytes written so far to `flush` whenever a megabyte has gathered after an object,
  // so that a large archive never stands whole in memory; Flush hands over the rest.
  void SetFlush(std::function<void(std::span<const uint8_t>)> flush) { flush_ = std::move(flush); }
  void Flush();

  const std::string& Version() const { return version_; }
  // An exact in-memory copy (an undo snapshot) rather than a file: records write what they
  // hold as it is, without the forms a file gives them for readers.
  void SetExactCopy(bool exact) { exactCopy_ = exact; }
  bool ExactCopy() const { return exactCopy_; }
  bool VersionAbove(std::string_view literal) const { return vornel::VersionAbove(version_, literal); }

  const std::vector<uint8_t>& Bytes() const { return bytes_; }
  std::vector<uint8_t> TakeBytes() { return std::move(bytes_); }

 private:
  template <typename P>
  static bool HeldOnlyHere(const P& p) {
    if constexpr (requires { p.use_count(); }) {
      return p.use_count() == 1;
    } else if constexpr (requires { p.get(); }) {
      return true;  // a unique_ptr
    } else {
      return false;
    }
  }
  template <typename P>
  static const Persistent* ToPointer(const P& p) {
    if constexpr (requires { p.get(); }) {
      return p.get();
    } else {
      return p;
    }
  }
  void WriteTag(uint32_t index, bool isClass);

  std::string version_;
  bool exactCopy_ = false;
  std::vector<uint8_t> bytes_;
  // Numbers given to classes and objects in the order of writing; 0 stands for no object.
  ObjectNumbers objectNumbers_;
  std::unordered_map<std::string, uint32_t> classNumbers_;
  uint32_t nextNumber_ = 1;
  std::function<void(std::span<const uint8_t>)> flush_;
};

}  // namespace vornel
