#pragma once
// The child list of a tree node. Children are held by handles; nothing points back up.

#include <cstdint>
#include <utility>
#include <vector>

#include "musicxml/tree/smartable.h"

namespace vornel::MusicXML2 {

template <typename T>
class treeIterator;

template <typename T>
class ctree : public virtual smartable {
 public:
  using treePtr = SMARTP<T>;
  using branchs = std::vector<treePtr>;
  using iterator = treeIterator<treePtr>;

  virtual void push(const treePtr& child) { elements_.push_back(child); }
  virtual int32_t size() const { return static_cast<int32_t>(elements_.size()); }
  virtual bool empty() const { return elements_.empty(); }

  branchs& elements() { return elements_; }
  const branchs& elements() const { return elements_; }

  iterator begin();
  iterator end();

 protected:
  ctree() = default;
  // Releasing a tree must not recurse once per level: a file (or a program) may build a chain
  // thousands of levels deep. The outermost destruction collects the children that lose their
  // last handle and releases them one by one; nested destructions only hand theirs over.
  ~ctree() override {
    if (pending_) {
      for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) pending_->push_back(std::move(*it));
      return;
    }
    branchs work;
    work.reserve(elements_.size());
    for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) work.push_back(std::move(*it));
    pending_ = &work;
    while (!work.empty()) {
      treePtr next = std::move(work.back());
      work.pop_back();
      next = nullptr;  // may destroy it, which appends its children to `work`
    }
    pending_ = nullptr;
  }

 private:
  branchs elements_;
  static inline thread_local branchs* pending_ = nullptr;
};

}  // namespace vornel::MusicXML2
