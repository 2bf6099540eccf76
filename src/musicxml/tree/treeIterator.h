#pragma once
// Depth-first, document-order iteration over the subtree below an element, without recursion:
// the iterator keeps a stack of the levels it has entered. The element it starts from is never
// visited itself.

#include <cstddef>
#include <iterator>
#include <type_traits>
#include <utility>
#include <vector>

#include "musicxml/tree/ctree.h"

namespace vornel::MusicXML2 {

template <typename T>
class treeIterator {
 public:
  using element_type = std::remove_pointer_t<decltype(std::declval<T>().get())>;
  using iterator_category = std::input_iterator_tag;
  using value_type = T;
  using difference_type = std::ptrdiff_t;
  using pointer = T*;
  using reference = T;

  treeIterator(const T& root, bool end = false) : root_(root) {  // NOLINT
    if (end) {
      current_ = root_->elements().size();
    } else {
      descend(root_);
    }
  }
  treeIterator(const treeIterator&) = default;
  treeIterator& operator=(const treeIterator&) = default;
  virtual ~treeIterator() = default;

  T operator*() const { return getParent()->elements()[current_]; }
  T operator->() const { return **this; }

  T getParent() const { return stack_.empty() ? root_ : stack_.back().element; }

  friend bool operator==(const treeIterator& a, const treeIterator& b) {
    return a.getParent().get() == b.getParent().get() && a.current_ == b.current_;
  }

  treeIterator& forward() {
    const T element = **this;
    if (element->size() != 0) {
      descend(element);
    } else {
      climb();
    }
    return *this;
  }
  treeIterator& operator++() { return forward(); }
  treeIterator operator++(int) {
    treeIterator before = *this;
    forward();
    return before;
  }

 protected:
  struct state {
    size_t next;  // the next sibling still to visit at this level
    T element;    // the parent whose children this level walks
  };

  virtual void descend(const T& element) {
    current_ = 0;
    if (!element->elements().empty()) stack_.push_back({1, element});
  }

  void climb() {
    while (!stack_.empty()) {
      state top = std::move(stack_.back());
      stack_.pop_back();
      current_ = top.next;
      if (current_ != top.element->elements().size()) {
        stack_.push_back({current_ + 1, std::move(top.element)});
        return;
      }
    }
  }

 private:
  std::vector<state> stack_;
  T root_;
  size_t current_ = 0;
};

template <typename T>
treeIterator<SMARTP<T>> ctree<T>::begin() {
  return treeIterator<SMARTP<T>>(SMARTP<T>(dynamic_cast<T*>(this)));
}

template <typename T>
treeIterator<SMARTP<T>> ctree<T>::end() {
  return treeIterator<SMARTP<T>>(SMARTP<T>(dynamic_cast<T*>(this)), true);
}

}  // namespace vornel::MusicXML2
