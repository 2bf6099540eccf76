// The MusicXML parser and reader on hostile bytes, then every walk the import makes over what
// was read: the note, part, clef, key, time and metronome visitors and the tree iterator.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <sstream>

#include "musicxml/reader/xmlreader.h"
#include "musicxml/visitors/browser.h"
#include "musicxml/visitors/clefvisitor.h"
#include "musicxml/visitors/partsummary.h"
#include "musicxml/visitors/timesignvisitor.h"

namespace {

using namespace vornel::MusicXML2;

class Everything : public partsummary,
                   public clefvisitor,
                   public keysignvisitor,
                   public timesignvisitor,
                   public metronomevisitor {
 public:
  std::ostringstream out;
  void visitEnd(Snote& elt) override {
    partsummary::visitEnd(elt);
    print(out);
  }
  void visitEnd(Stime&) override {
    for (uint32_t i = 0; i <= timeSigns.size(); ++i) out << getTimeSign(i).toString();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static char empty = 0;
  FILE* input = size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : fmemopen(&empty, 1, "rb");
  if (!input) return 0;
  if (size == 0) std::fgetc(input);
  xmlreader reader;
  const STXMLFile file = reader.readStream(input);
  std::fclose(input);
  if (!file || !file->getRoot()) return 0;
  const Sxmlelement root = file->getRoot();
  Everything v;
  xml_tree_browser(&v).browse(*root);
  const auto voices = v.getVoices();
  for (const int voice : *voices) (void)v.getMainStaff(voice);
  long steps = 0;
  for (auto it = root->begin(); it != root->end(); ++it) steps += (*it)->getIntValue() & 1;
  (void)root->find(ElementType("note"));
  return static_cast<int>(steps & 0);
}
