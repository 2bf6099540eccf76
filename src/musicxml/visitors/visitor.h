#pragma once
// Double dispatch over the element tree. A visitor declares the element types it handles by
// deriving from visitor<SMARTP<musicxml<N>>> for each type N, all over one virtual basevisitor;
// an element asks at run time whether the visitor has the interface of its own type.

namespace vornel::MusicXML2 {

class basevisitor {
 public:
  virtual ~basevisitor() = default;
};

template <typename T>
class visitor : public virtual basevisitor {
 public:
  ~visitor() override = default;
  virtual void visitStart(T&) {}
  virtual void visitEnd(T&) {}
};

// Offers `element` to `v` through the interface for handles of type H when `v` has it, holding
// a reference for the length of the call. Returns false when `v` lacks the interface.
template <typename H, typename E, bool kStart>
bool offerToVisitor(E* element, basevisitor& v) {
  auto* typed = dynamic_cast<visitor<H>*>(&v);
  if (!typed) return false;
  H handle(element);
  if constexpr (kStart) {
    typed->visitStart(handle);
  } else {
    typed->visitEnd(handle);
  }
  return true;
}

}  // namespace vornel::MusicXML2
