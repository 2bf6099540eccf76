#pragma once
// Intrusive reference counting: every shared object of the MusicXML tree lives exactly as long
// as at least one handle holds it. Counts are plain integers: the tree belongs to one thread.

#include <cstdint>

namespace vornel::MusicXML2 {

class smartable {
 public:
  void retain() { ++refCount_; }
  // Destroys the object in the call that takes the count to 0.
  void release() {
    if (--refCount_ == 0) delete this;
  }
  uint32_t refs() const { return refCount_; }

 protected:
  smartable() = default;
  // A copy is a new object: it starts without handles.
  smartable(const smartable&) : refCount_(0) {}
  smartable& operator=(const smartable&) { return *this; }
  virtual ~smartable() = default;

 private:
  uint32_t refCount_ = 0;
};

// A handle holding one reference to a smartable object (or nothing).
template <typename T>
class SMARTP {
 public:
  SMARTP() = default;
  SMARTP(T* p) : ptr_(p) {  // NOLINT: handles are made from raw pointers implicitly
    if (ptr_) ptr_->retain();
  }
  SMARTP(const SMARTP& other) : SMARTP(other.ptr_) {}
  SMARTP(SMARTP&& other) noexcept : ptr_(other.ptr_) { other.ptr_ = nullptr; }
  template <typename U>
  SMARTP(const SMARTP<U>& other) : SMARTP(static_cast<T*>(other.get())) {}  // NOLINT
  ~SMARTP() {
    if (ptr_) ptr_->release();
  }

  // The new object is retained before the old one is released, so assigning an object that
  // only the old one keeps alive (one of its children) is safe.
  SMARTP& operator=(T* p) {
    if (p == ptr_) return *this;
    if (p) p->retain();
    T* old = ptr_;
    ptr_ = p;
    if (old) old->release();
    return *this;
  }
  SMARTP& operator=(const SMARTP& other) { return *this = other.ptr_; }
  SMARTP& operator=(SMARTP&& other) noexcept {
    if (this != &other) {
      T* old = ptr_;
      ptr_ = other.ptr_;
      other.ptr_ = nullptr;
      if (old) old->release();
    }
    return *this;
  }
  template <typename U>
  SMARTP& operator=(const SMARTP<U>& other) {
    return *this = static_cast<T*>(other.get());
  }

  T* get() const { return ptr_; }
  operator T*() const { return ptr_; }  // NOLINT
  T* operator->() const { return ptr_; }
  T& operator*() const { return *ptr_; }

  friend bool operator==(const SMARTP& a, const SMARTP& b) { return a.ptr_ == b.ptr_; }
  friend bool operator==(const SMARTP& a, T* b) { return a.ptr_ == b; }

 private:
  T* ptr_ = nullptr;
};

}  // namespace vornel::MusicXML2
