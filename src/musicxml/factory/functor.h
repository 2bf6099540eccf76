#pragma once
// The creation functors of the element factory: one object per element type, each creating
// elements of its own class.

#include <cstdint>

#include "musicxml/factory/musicxml.h"

namespace vornel::MusicXML2 {

template <typename R>
class functor {
 public:
  virtual ~functor() = default;
  virtual R operator()() = 0;
};

template <int32_t N>
class newElementFunctor : public functor<Sxmlelement> {
 public:
  // The result holds the new element's only reference.
  Sxmlelement operator()() override {
    Sxmlelement result = musicxml<N>::new_musicxml();
    return result;
  }
};

}  // namespace vornel::MusicXML2
