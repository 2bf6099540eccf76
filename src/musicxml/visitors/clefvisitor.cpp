#include "musicxml/visitors/clefvisitor.h"

namespace vornel::MusicXML2 {

void clefvisitor::reset() {
  line = 0;
  octaveChange = 0;
  staffNumber = -1;
  sign.clear();
}

void clefvisitor::visitStart(Sclef& elt) {
  reset();
  staffNumber = elt->getAttributeIntValue("number", -1);
}

void keysignvisitor::reset() {
  fifths = 0;
  cancel = 0;
  mode.clear();
}

}  // namespace vornel::MusicXML2
