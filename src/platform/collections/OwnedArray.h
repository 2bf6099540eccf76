#pragma once
// An array that owns its elements, with null entries allowed (voices keep empty slots).
// Copying copies every element; elements of a class hierarchy copy through Clone().

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/collections/PtrArray.h"

namespace vornel {

// Two ranges of (smart) pointers hold equal elements in the same order; null entries match
// null entries only.
template <typename RangeA, typename RangeB>
bool ElementsEqual(const RangeA& a, const RangeB& b) {
  return std::equal(std::begin(a), std::end(a), std::begin(b), std::end(b), [](const auto& x, const auto& y) {
    return (x == nullptr || y == nullptr) ? x == y : *x == *y;
  });
}

// `InlineFirst` keeps a single non-null element inside the array itself (see PtrArray): for
// arrays that nearly always hold exactly one element.
template <typename T, bool InlineFirst = false>
class OwnedArray {
 public:
  using Items = PtrArray<T, InlineFirst>;

  OwnedArray() = default;
  OwnedArray(OwnedArray&&) noexcept = default;
  OwnedArray& operator=(OwnedArray&&) noexcept = default;
  OwnedArray(const OwnedArray& other) { CopyFrom(other); }
  OwnedArray& operator=(const OwnedArray& other) {
    if (this != &other) {
      OwnedArray copy(other);
      items_.swap(copy.items_);
    }
    return *this;
  }
  ~OwnedArray() = default;

  size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }

  // Checked access: an index out of range raises std::out_of_range.
  T* at(size_t i) const { return items_.at(i).get(); }
  T* operator[](size_t i) const { return at(i); }
  T* front() const { return at(0); }
  T* back() const { return at(items_.size() - 1); }

  T* push_back(std::unique_ptr<T> item) { return items_.emplace_back(std::move(item)).get(); }
  T* insert(size_t i, std::unique_ptr<T> item) {
    if (i > items_.size()) ThrowIndexOutOfRange(i);
    return items_.insert(items_.begin() + i, std::move(item))->get();
  }
  // Takes the element out without deleting it.
  std::unique_ptr<T> release(size_t i) {
    if (i >= items_.size()) ThrowIndexOutOfRange(i);
    return items_.take(i);
  }
  void erase(size_t i) { release(i); }
  std::unique_ptr<T> replace(size_t i, std::unique_ptr<T> item) {
    if (i >= items_.size()) ThrowIndexOutOfRange(i);
    return items_.exchange(i, std::move(item));
  }
  void clear() { items_.clear(); }
  void reserve(size_t n) { items_.reserve(n); }
  // Deletes the elements that satisfy `pred`; returns how many.
  template <typename Pred>
  size_t RemoveIf(Pred pred) {
    return erase_if(items_, pred);
  }

  int IndexOf(const T* item) const {
    for (size_t i = 0; i < items_.size(); ++i) {
      if (items_[i].get() == item) return static_cast<int>(i);
    }
    return -1;
  }

  auto begin() { return items_.begin(); }
  auto end() { return items_.end(); }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  Items& items() { return items_; }
  const Items& items() const { return items_; }

 private:
  void CopyFrom(const OwnedArray& other) {
    items_.reserve(other.items_.size());
    for (const auto& item : other.items_) items_.push_back(item ? CloneItem(*item) : nullptr);
  }
  static std::unique_ptr<T> CloneItem(const T& item) {
    if constexpr (requires { item.Clone(); }) {
      return item.Clone();
    } else {
      return std::make_unique<T>(item);
    }
  }
  Items items_;
};

}  // namespace vornel
