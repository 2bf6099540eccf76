#pragma once
// Reads the binary archive form. Every length and count is checked against the bytes that
// remain before anything is allocated; a bad record ends the read with an ArchiveError.
// The reading version that the record gates compare with belongs to the reader.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/archive/ArchiveError.h"
#include "platform/archive/Persistent.h"
#include "platform/archive/VersionText.h"

namespace vornel {

class ArchiveReader {
 public:
  ArchiveReader(std::span<const uint8_t> data, std::string version = std::string(kCurrentFormatVersion));
  // The reader does not own its data: a temporary buffer would die before the first read.
  ArchiveReader(std::vector<uint8_t>&&, std::string = {}) = delete;
  ~ArchiveReader();
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  // The version text of the archive being read, and the record gates on it.
  const std::string& Version() const { return version_; }
  void SetVersion(std::string version) { version_ = std::move(version); }
  // Reading an exact in-memory copy (an undo snapshot): records keep what was written and skip
  // the normalising a file gets when it is opened.
  void SetExactCopy(bool exact) { exactCopy_ = exact; }
  bool ExactCopy() const { return exactCopy_; }
  bool VersionAbove(std::string_view literal) const { return vornel::VersionAbove(version_, literal); }
  bool VersionAtLeast(std::string_view literal) const { return vornel::VersionAtLeast(version_, literal); }
  bool VersionBelow(std::string_view literal) const { return vornel::VersionBelow(version_, literal); }
  bool VersionAtMost(std::string_view literal) const { return vornel::VersionAtMost(version_, literal); }

  uint8_t ReadU8();
  uint16_t ReadU16();
  uint32_t ReadU32();
  int32_t ReadI32() { return static_cast<int32_t>(ReadU32()); }
  double ReadDouble();
  bool ReadBool32() { return ReadU32() != 0; }
  std::vector<uint8_t> ReadBytes(size_t count);
  std::string ReadRaw(size_t count);

  // A count; it must leave at least `minBytesEach` bytes for every element.
  size_t ReadCount(size_t minBytesEach = 1);

  // A text: UTF-16 after the 0xFF 0xFFFE mark, otherwise 8-bit text (UTF-8 when valid, else
  // Windows-1252). Returned as UTF-8.
  std::string ReadText();

  // A reference that must be null or a new object of class T (or derived): back references are
  // refused, so an owning container can never receive an object it shares with another.
  template <typename T>
  std::unique_ptr<T> ReadOwnedObject() {
    const Tag tag = ReadTag();
    if (tag.kind == Tag::kObject) {
      if (tag.index != 0) Fail(ArchiveErrorCode::kBadIndex, "shared object where an owned one belongs");
      return nullptr;
    }
    return CreateAndLoad<T>(tag);
  }

  // Any reference: a new object (handed over in `created`), an object read earlier in this
  // archive (returned, `created` stays empty) or null.
  template <typename T>
  T* ReadObject(std::unique_ptr<T>& created) {
    created.reset();
    const Tag tag = ReadTag();
    if (tag.kind == Tag::kObject) {
      if (tag.index == 0) return nullptr;
      T* typed = dynamic_cast<T*>(LoadedObject(tag.index));
      if (typed == nullptr) Fail(ArchiveErrorCode::kBadClass, "reference to an object of another class");
      return typed;
    }
    created = CreateAndLoad<T>(tag);
    return created.get();
  }

  // Objects that stand in several owners through shared handles: the owner that reads one
  // first hands its handle over, and an owner that meets a reference to it later takes the
  // same handle (null when the object was not handed over or is gone).
  void KeepSharedHandle(const std::shared_ptr<Persistent>& handle);
  std::shared_ptr<Persistent> SharedHandleOf(const Persistent* object) const;

  // Count followed by owned references (null entries kept).
  template <typename T, typename Vector>
  void ReadOwnedObjectArray(Vector& out) {
    const size_t count = ReadCount(2);
    out.clear();
    out.reserve(count);
    for (size_t i = 0; i < count; ++i) out.push_back(ReadOwnedObject<T>());
  }

  // What a read builds is charged to a budget that grows with the archive: 48 MiB and 48 bytes
  // for every byte of it. The reader charges each object it creates; records charge what they
  // build beyond what they read (default entries, copies). A charge beyond the budget ends the
  // read with kOverBudget.
  static constexpr size_t kBaseBuildBudget = size_t(48) << 20;
  static constexpr size_t kBuildBudgetPerByte = 48;
  void ChargeBuilt(size_t bytes);
  // What building one T costs: its declared weight (for classes whose default holds much more
  // than the object itself), else its size.
  template <typename T>
  static constexpr size_t BuildWeight() {
    if constexpr (requires { T::kBuildWeight; }) {
      return T::kBuildWeight;
    } else {
      return sizeof(T);
    }
  }

  size_t Remaining() const { return data_.size() - pos_; }
  size_t Position() const { return pos_; }
  bool AtEnd() const { return pos_ == data_.size(); }

  [[noreturn]] void Fail(ArchiveErrorCode code, const std::string& detail) const;

 private:
  struct Tag {
    enum Kind { kObject, kNewClass, kOldClass } kind;
    uint32_t index;         // object number, or class number for kOldClass
    std::string className;  // for kNewClass
  };
  // An object read, or (classIndex at least 0) a class, by its number in the archive.
  struct Entry {
    Persistent* object = nullptr;
    int32_t classIndex = -1;
  };
  class DepthGuard {
   public:
    explicit DepthGuard(ArchiveReader& r);
    ~DepthGuard() { --reader_.depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

   private:
    ArchiveReader& reader_;
  };

  template <typename T>
  std::unique_ptr<T> CreateAndLoad(const Tag& tag) {
    const std::string& name = ClassNameOf(tag);
    ChargeBuilt(BuildWeight<T>());
    std::unique_ptr<T> created = CreatePersistentByName<T>(name);
    if (!created) Fail(ArchiveErrorCode::kBadClass, "unexpected class " + name);
    const DepthGuard guard(*this);
    RememberObject(created.get());
    created->Load(*this);
    return created;
  }

  void Need(size_t count) const;
  Tag ReadTag();
  const std::string& ClassNameOf(const Tag& tag);
  Persistent* LoadedObject(uint32_t index) const;
  void RememberObject(Persistent* object);
  friend class Persistent;
  // Called by every Persistent that dies while this reader is reading, so that a later
  // reference to it is refused instead of reaching freed memory.
  void ForgetObject(const Persistent* object);

  std::span<const uint8_t> data_;
  size_t pos_ = 0;
  std::string version_;
  bool exactCopy_ = false;
  // Index 0 stands for no object; classes and objects take the next numbers in reading order.
  std::vector<Entry> loaded_{Entry{}};
  std::vector<std::string> classNames_;
  // Handles kept by KeepSharedHandle, by object number.
  std::unordered_map<uint32_t, std::weak_ptr<Persistent>> sharedHandles_;
  int depth_ = 0;
  size_t buildBudget_;
  ArchiveReader* outerReader_;  // readers nest (a record may read another archive)
};

}  // namespace vornel
