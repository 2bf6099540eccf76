#pragma once
// Browsers walk an element and its whole subtree depth-first and offer every element to their
// visitor: entering it (start calls in document order) and leaving it after its descendants.

#include <bitset>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "musicxml/factory/ElementTypes.h"
#include "musicxml/tree/xmlelement.h"
#include "musicxml/visitors/visitor.h"

namespace vornel::MusicXML2 {

template <typename T>
class browser {
 public:
  virtual ~browser() = default;
  virtual void browse(T& t) = 0;
};

template <typename T>
class tree_browser : public browser<T> {
 public:
  explicit tree_browser(basevisitor* v) : visitor_(v) {}
  ~tree_browser() override = default;

  // Walks without recursion, so a tree thousands of levels deep cannot exhaust the call stack;
  // enter and leave are called through the virtual table for every element of the subtree.
  // The walk takes no references: the children vectors keep the elements alive, and nothing
  // removes children from a tree.
  void browse(T& t) override {
    struct level {
      T* node;
      size_t next;
    };
    std::vector<level> path;
    enter(t);
    path.push_back({&t, 0});
    while (!path.empty()) {
      T* node = path.back().node;
      const size_t index = path.back().next;
      if (index < node->elements().size()) {
        path.back().next = index + 1;
        T* child = node->elements()[index].get();
        enter(*child);
        path.push_back({child, 0});
      } else {
        path.pop_back();
        leave(*node);
      }
    }
  }
  virtual void enter(T& t) { t.acceptIn(*visitor_); }
  virtual void leave(T& t) { t.acceptOut(*visitor_); }
  virtual void setVisitor(basevisitor* v) { visitor_ = v; }

 private:
  basevisitor* visitor_;
};

class xml_tree_browser : public tree_browser<xmlelement> {
 public:
  explicit xml_tree_browser(basevisitor* v) : tree_browser<xmlelement>(v) {}
};

// The element types a visitor has an interface for, found once per visitor class. Asking an
// element whether a visitor takes it costs a cast through the visitor's many bases; knowing
// the answer in advance spares that for every element it does not take.
class handled_types {
 public:
  explicit handled_types(basevisitor& v);
  // True for every type when the visitor takes plain elements.
  bool handles(int32_t type) const {
    return all_ || (type >= 0 && type <= kElementTypeCount && types_[static_cast<size_t>(type)]);
  }

 private:
  std::bitset<kElementTypeCount + 1> types_;
  bool all_ = false;
};

// A tree browser that offers its visitor only the elements of the types it handles (their
// children are browsed all the same): the same calls as xml_tree_browser, without the casts.
class handled_tree_browser : public xml_tree_browser {
 public:
  explicit handled_tree_browser(basevisitor* v) : xml_tree_browser(v), types_(*v) {}
  void enter(xmlelement& t) override {
    if (types_.handles(t.getType())) xml_tree_browser::enter(t);
  }
  void leave(xmlelement& t) override {
    if (types_.handles(t.getType())) xml_tree_browser::leave(t);
  }
  void setVisitor(basevisitor* v) override {
    xml_tree_browser::setVisitor(v);
    types_ = handled_types(*v);
  }

 private:
  handled_types types_;
};

}  // namespace vornel::MusicXML2
