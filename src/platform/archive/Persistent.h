#pragma once
// Base of every class that is kept in the binary archive form. The class name is part of the
// file format: it is written before the first object of its class in every archive.

#include <cstdint>
#include <memory>
#include <string_view>

namespace vornel {

class ArchiveWriter;
class ArchiveReader;

class Persistent {
 public:
  virtual ~Persistent();
  virtual std::string_view ClassName() const = 0;
  virtual void Store(ArchiveWriter& ar) const = 0;
  virtual void Load(ArchiveReader& ar) = 0;

 protected:
  Persistent() = default;
  // A copy is a new object: it has no number in any archive.
  Persistent(const Persistent&) {}
  Persistent& operator=(const Persistent&) { return *this; }

 private:
  friend class ArchiveReader;
  // The number the reader that created this object gave it; the reader checks that its entry
  // of that number is this object before it trusts the number.
  uint32_t readNumber_ = 0;
};

// How an archive reader creates an object of class T (or of a class derived from T) from the
// class name in the file. A class with subclasses provides
//   static std::unique_ptr<T> CreateByClassName(std::string_view name);
// every other class provides `static constexpr std::string_view kClassName`.
template <typename T>
std::unique_ptr<T> CreatePersistentByName(std::string_view name) {
  if constexpr (requires { T::CreateByClassName(name); }) {
    return T::CreateByClassName(name);
  } else {
    if (name == T::kClassName) return std::make_unique<T>();
    return nullptr;
  }
}

}  // namespace vornel
