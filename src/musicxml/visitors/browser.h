#pragma once
// Browsers walk an element and its whole subtree depth-first and offer every element to their
// visitor: entering it (start calls in document order) and leaving it after its descendants.

#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <typeinfo>
#include <utility>
#include <vector>

#include "musicxml/factory/musicxml.h"
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

// A tree browser for a visitor whose class is V itself: which of V's interfaces takes an
// element is settled at compile time from V's bases, so a browse makes none of the casts that
// dominate it for a visitor of many bases. The calls are those of xml_tree_browser (an element
// of type N is always a musicxml<N>, the one class that gives elements a type); a visitor of a
// class derived from V is browsed by xml_tree_browser instead.
template <typename V>
class typed_tree_browser : public xml_tree_browser {
 public:
  explicit typed_tree_browser(V* v) : xml_tree_browser(v), visitor_(v), exact_(typeid(*v) == typeid(V)) {}
  void enter(xmlelement& t) override {
    if (exact_) {
      Dispatch(t, true);
    } else {
      xml_tree_browser::enter(t);
    }
  }
  void leave(xmlelement& t) override {
    if (exact_) {
      Dispatch(t, false);
    } else {
      xml_tree_browser::leave(t);
    }
  }
  void setVisitor(basevisitor*) override {}  // the visitor is fixed by its class

 private:
  using Call = void (*)(V&, xmlelement&, bool);

  // An element no interface of V takes: the generic interface, when V has one.
  static void CallPlain(V& v, xmlelement& e, bool start) {
    if constexpr (std::is_convertible_v<V*, visitor<Sxmlelement>*>) {
      visitor<Sxmlelement>& typed = v;
      Sxmlelement handle(&e);
      start ? typed.visitStart(handle) : typed.visitEnd(handle);
    }
  }
  template <int32_t N>
  static void CallFor(V& v, xmlelement& e, bool start) {
    using H = SMARTP<musicxml<N>>;
    if constexpr (std::is_convertible_v<V*, visitor<H>*>) {
      visitor<H>& typed = v;
      H handle(static_cast<musicxml<N>*>(&e));
      start ? typed.visitStart(handle) : typed.visitEnd(handle);
    } else {
      CallPlain(v, e, start);
    }
  }
  template <int32_t... I>
  static constexpr std::array<Call, kElementTypeCount + 1> MakeTable(std::integer_sequence<int32_t, I...>) {
    return {&CallPlain, &CallFor<I + 1>...};
  }
  void Dispatch(xmlelement& t, bool start) {
    static constexpr std::array<Call, kElementTypeCount + 1> kTable =
        MakeTable(std::make_integer_sequence<int32_t, kElementTypeCount>{});
    const int32_t type = t.getType();
    const Call call = type >= 0 && type <= kElementTypeCount ? kTable[static_cast<size_t>(type)] : &CallPlain;
    call(*visitor_, t, start);
  }

  V* visitor_;
  bool exact_;
};

}  // namespace vornel::MusicXML2
