#pragma once
// Collects one clef: cleared as the clef is entered, filled from its subelements. A derived
// visitor reads the fields at the end of the clef.

#include <cstdint>
#include <string>

#include "musicxml/visitors/typedefs.h"
#include "musicxml/visitors/visitor.h"

namespace vornel::MusicXML2 {

class clefvisitor : public visitor<Sclef>, public visitor<Ssign>, public visitor<Sline>,
                    public visitor<Sclef_octave_change> {
 public:
  clefvisitor() { reset(); }
  ~clefvisitor() override = default;

  void reset();

  void visitStart(Sclef& elt) override;
  void visitStart(Ssign& elt) override { sign = elt->getValue(); }
  void visitStart(Sline& elt) override { line = elt->getIntValue(); }
  void visitStart(Sclef_octave_change& elt) override { octaveChange = elt->getIntValue(); }

  std::string sign;
  int32_t line = 0;
  int32_t octaveChange = 0;
  int32_t staffNumber = -1;  // the clef's "number" attribute
};

// Collects one key signature in the same way.
class keysignvisitor : public visitor<Skey>, public visitor<Scancel>, public visitor<Sfifths>,
                       public visitor<Smode> {
 public:
  keysignvisitor() { reset(); }
  ~keysignvisitor() override = default;

  void reset();

  void visitStart(Skey&) override { reset(); }
  void visitStart(Scancel& elt) override { cancel = elt->getIntValue(); }
  void visitStart(Sfifths& elt) override { fifths = elt->getIntValue(); }
  void visitStart(Smode& elt) override { mode = elt->getValue(); }

  std::string mode;
  int32_t fifths = 0;
  int32_t cancel = 0;
};

}  // namespace vornel::MusicXML2
