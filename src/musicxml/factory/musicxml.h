#pragma once
// One element class per element type: musicxml<N> differs from its siblings only in its type
// number, and its visiting hooks offer it to the visitor's interface for exactly that type.

#include <cstdint>

#include "musicxml/factory/ElementTypes.h"
#include "musicxml/tree/xmlelement.h"
#include "musicxml/visitors/visitor.h"

namespace vornel::MusicXML2 {

template <int32_t N>
class musicxml : public xmlelement {
  static_assert(N >= 1 && N <= kElementTypeCount, "element types are numbered 1 to 390");

 public:
  using handle = SMARTP<musicxml<N>>;

  // The element's name stays empty: the factory sets it.
  static handle new_musicxml() { return new musicxml<N>; }

  void acceptIn(basevisitor& v) override {
    if (!offerToVisitor<handle, musicxml<N>, true>(this, v)) xmlelement::acceptIn(v);
  }
  void acceptOut(basevisitor& v) override {
    if (!offerToVisitor<handle, musicxml<N>, false>(this, v)) xmlelement::acceptOut(v);
  }

 protected:
  musicxml() : xmlelement(N) {}
};

// The handle of the element class of type N, the argument of its typed visitor operations.
template <int32_t N>
using Smusicxml = SMARTP<musicxml<N>>;

}  // namespace vornel::MusicXML2
