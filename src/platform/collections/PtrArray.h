#pragma once
// A contiguous array of unique_ptr in one pointer: the size, the capacity and the elements stand
// in one heap block, and an empty array holds no block at all. With `InlineFirst` the array
// also holds one element in itself, so that an array of one non-null element (a chord's one
// note) allocates nothing; a second element, or a null one, moves every element to the block.
//
// It offers the operations of std::vector that the owned arrays' users need; iterators are
// plain pointers. As with std::vector, insertion invalidates iterators, capacity never
// shrinks unless asked (shrink_to_fit), and elements beyond the size are raw storage. Unlike
// std::vector, swap and move move the inline element, so iterators into it do not follow.
// Writing null into the inline element through an iterator empties the array: replace the
// element through the owner (OwnedArray::replace) to keep a null entry.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

namespace vornel {

namespace ptr_array_detail {
struct NoInline {};
}  // namespace ptr_array_detail

// The error of a checked access out of range.
[[noreturn]] inline void ThrowIndexOutOfRange(size_t i) {
  throw std::out_of_range("index " + std::to_string(i) + " out of range");
}

template <typename T, bool InlineFirst = false>
class PtrArray {
 public:
  using value_type = std::unique_ptr<T>;
  using size_type = size_t;
  using difference_type = std::ptrdiff_t;
  using reference = value_type&;
  using const_reference = const value_type&;
  using pointer = value_type*;
  using const_pointer = const value_type*;
  using iterator = value_type*;
  using const_iterator = const value_type*;

  PtrArray() noexcept = default;
  PtrArray(PtrArray&& other) noexcept : block_(std::exchange(other.block_, nullptr)) {
    if constexpr (InlineFirst) first_ = std::move(other.first_);
  }
  PtrArray& operator=(PtrArray&& other) noexcept {
    if (this != &other) {
      PtrArray gone(std::move(*this));
      swap(other);
    }
    return *this;
  }
  PtrArray(const PtrArray&) = delete;
  PtrArray& operator=(const PtrArray&) = delete;
  ~PtrArray() { Free(); }

  size_t size() const noexcept {
    if (block_ != nullptr) return block_->size;
    if constexpr (InlineFirst) return first_ != nullptr ? 1 : 0;
    return 0;
  }
  bool empty() const noexcept { return size() == 0; }
  size_t capacity() const noexcept {
    if (block_ != nullptr) return block_->capacity;
    return InlineFirst ? 1 : 0;
  }
  static constexpr size_t max_size() noexcept { return UINT32_MAX; }

  iterator begin() noexcept { return data(); }
  iterator end() noexcept { return data() + size(); }
  const_iterator begin() const noexcept { return data(); }
  const_iterator end() const noexcept { return data() + size(); }
  const_iterator cbegin() const noexcept { return begin(); }
  const_iterator cend() const noexcept { return end(); }
  value_type* data() noexcept {
    if (block_ != nullptr) return Elements(block_);
    if constexpr (InlineFirst) return &first_;
    return nullptr;
  }
  const value_type* data() const noexcept { return const_cast<PtrArray*>(this)->data(); }

  value_type& operator[](size_t i) noexcept { return data()[i]; }
  const value_type& operator[](size_t i) const noexcept { return data()[i]; }
  value_type& at(size_t i) {
    if (i >= size()) ThrowIndexOutOfRange(i);
    return data()[i];
  }
  const value_type& at(size_t i) const {
    if (i >= size()) ThrowIndexOutOfRange(i);
    return data()[i];
  }
  value_type& front() noexcept { return *begin(); }
  const value_type& front() const noexcept { return *begin(); }
  value_type& back() noexcept { return end()[-1]; }
  const value_type& back() const noexcept { return end()[-1]; }

  void reserve(size_t n) {
    if (n > capacity()) Reallocate(n);
  }
  // Gives back the capacity beyond the size; an array with the inline element moves a single
  // non-null element back into itself.
  void shrink_to_fit() {
    if (block_ == nullptr) return;
    const size_t n = block_->size;
    if (n == 0) {
      Free();
    } else if (InlineFirst && n == 1 && Elements(block_)[0] != nullptr) {
      value_type only = std::move(Elements(block_)[0]);
      Free();
      if constexpr (InlineFirst) first_ = std::move(only);
    } else if (n + n % 2 < block_->capacity) {
      Reallocate(n);
    }
  }

  void push_back(value_type item) { emplace_back(std::move(item)); }
  template <typename... Args>
  value_type& emplace_back(Args&&... args) {
    value_type item(std::forward<Args>(args)...);
    if constexpr (InlineFirst) {
      if (block_ == nullptr && first_ == nullptr && item != nullptr) {
        first_ = std::move(item);
        return first_;
      }
    }
    const size_t n = size();
    if (block_ == nullptr || n == block_->capacity) Reallocate(Grown(n + 1));
    value_type* slot = ::new (static_cast<void*>(Elements(block_) + n)) value_type(std::move(item));
    ++block_->size;
    return *slot;
  }
  void pop_back() noexcept { erase(end() - 1); }

  iterator insert(const_iterator pos, value_type item) {
    const size_t index = static_cast<size_t>(pos - begin());
    const size_t n = size();
    if (index == n) return &emplace_back(std::move(item));
    if (block_ == nullptr || n == block_->capacity) Reallocate(Grown(n + 1));
    value_type* elements = Elements(block_);
    ::new (static_cast<void*>(elements + n)) value_type(std::move(elements[n - 1]));
    ++block_->size;
    std::move_backward(elements + index, elements + n - 1, elements + n);
    elements[index] = std::move(item);
    return elements + index;
  }

  iterator erase(const_iterator pos) noexcept { return erase(pos, pos + 1); }
  iterator erase(const_iterator first, const_iterator last) noexcept {
    value_type* from = begin() + (first - cbegin());
    if (first == last) return from;
    if (block_ == nullptr) {
      // At most the inline element, perhaps already moved out by the caller.
      clear();
      return data();
    }
    value_type* stop = end();
    value_type* newEnd = std::move(begin() + (last - cbegin()), stop, from);
    Shrink(static_cast<size_t>(newEnd - begin()));
    return from;
  }
  void clear() noexcept { Shrink(0); }
  // Grows with null entries or drops the elements beyond `n`.
  void resize(size_t n) {
    const size_t old = size();
    if (n <= old) {
      Shrink(n);
      return;
    }
    if (block_ == nullptr || n > block_->capacity) Reallocate(Grown(n));
    value_type* elements = Elements(block_);
    for (size_t i = old; i < n; ++i) ::new (static_cast<void*>(elements + i)) value_type();
    block_->size = static_cast<uint32_t>(n);
  }

  // Takes element `i` out of the array (no bounds check).
  value_type take(size_t i) noexcept {
    value_type item = std::move(data()[i]);
    erase(begin() + i);
    return item;
  }
  // Puts `item` in place of element `i` and returns the element that stood there (no bounds
  // check). A null entry never stands inline: it moves the element to the block first.
  value_type exchange(size_t i, value_type item) {
    if constexpr (InlineFirst) {
      if (block_ == nullptr && item == nullptr) Reallocate(2);
    }
    data()[i].swap(item);
    return item;
  }

  void swap(PtrArray& other) noexcept {
    std::swap(block_, other.block_);
    if constexpr (InlineFirst) first_.swap(other.first_);
  }
  friend void swap(PtrArray& a, PtrArray& b) noexcept { a.swap(b); }

 private:
  struct Block {
    uint32_t size;
    uint32_t capacity;
  };
  static_assert(sizeof(Block) % alignof(value_type) == 0);

  static value_type* Elements(Block* block) noexcept { return reinterpret_cast<value_type*>(block + 1); }

  // Geometric growth.
  size_t Grown(size_t needed) const {
    const size_t cap = capacity();
    return std::min(std::max({needed, cap + cap / 2, size_t(2)}), std::max(needed, max_size()));
  }

  // Moves the elements (the inline one included) into a new block of at least `capacity`
  // elements: an even count of pointers after the 8-byte header fills an allocator chunk.
  void Reallocate(size_t capacity) {
    if (capacity > max_size()) throw std::length_error("array too long");
    if (capacity % 2 != 0 && capacity < max_size()) ++capacity;
    const size_t n = size();
    Block* block = static_cast<Block*>(::operator new(sizeof(Block) + capacity * sizeof(value_type)));
    block->size = static_cast<uint32_t>(n);
    block->capacity = static_cast<uint32_t>(capacity);
    value_type* to = Elements(block);
    value_type* from = data();
    // The inline element, once moved, is a null member again.
    for (size_t i = 0; i < n; ++i) ::new (static_cast<void*>(to + i)) value_type(std::move(from[i]));
    if (block_ != nullptr) {
      for (size_t i = 0; i < n; ++i) from[i].~value_type();
      ::operator delete(block_);
    }
    block_ = block;
  }

  // Destroys the elements from index `n` on; keeps the block.
  void Shrink(size_t n) noexcept {
    if (block_ == nullptr) {
      if constexpr (InlineFirst) {
        if (n == 0) first_.reset();
      }
      return;
    }
    value_type* elements = Elements(block_);
    // Taken out first: deleting an element may reach this array again.
    for (size_t i = block_->size; i > n; --i) {
      value_type gone = std::move(elements[i - 1]);
      elements[i - 1].~value_type();
      block_->size = static_cast<uint32_t>(i - 1);
    }
  }

  void Free() noexcept {
    if (block_ != nullptr) {
      Shrink(0);
      ::operator delete(block_);
      block_ = nullptr;
    }
    if constexpr (InlineFirst) first_.reset();
  }

  Block* block_ = nullptr;
  [[no_unique_address]] std::conditional_t<InlineFirst, value_type, ptr_array_detail::NoInline> first_;
};

// Removes the elements that satisfy `pred`, keeping the order of the others; returns how many
// went.
template <typename T, bool InlineFirst, typename Pred>
size_t erase_if(PtrArray<T, InlineFirst>& items, Pred pred) {
  auto gone = std::remove_if(items.begin(), items.end(), pred);
  const size_t count = static_cast<size_t>(items.end() - gone);
  items.erase(gone, items.end());
  return count;
}

}  // namespace vornel
