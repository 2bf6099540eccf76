#pragma once
// A reference-counted list, handed out by handle.

#include <vector>

#include "musicxml/tree/smartable.h"

namespace vornel::MusicXML2 {

template <typename T, typename C = std::vector<T>>
class smartlist : public smartable, public C {
 public:
  static SMARTP<smartlist> create() { return new smartlist; }

 protected:
  smartlist() = default;
};

}  // namespace vornel::MusicXML2
