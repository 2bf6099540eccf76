// The document readers on hostile bytes: the binary document (and template) and the XML
// document. The first byte picks the form (even: binary, odd: XML); the rest is the file.
// The XML document is read from its text a part at a time, as files are. A document that opens is then used as the tools and the editor use it: dumped, written in
// both forms and read back, and put through undo and redo.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "SilentPrompts.h"
#include "document/CBriotabDoc.h"
#include "document/DocumentDump.h"
#include "platform/UserPrompts.h"
#include "platform/xml/XMLWriter.h"

namespace {

using namespace vornel;

void Use(CBriotabDoc& doc) {
  DumpDocument(doc);
  const std::vector<uint8_t> bytes = doc.StoreBinary();
  CBriotabDoc fromBinary;
  fromBinary.LoadBinary(bytes);
  XMLWriter writer;
  doc.BuildXml(writer);
  CBriotabDoc fromXml;
  fromXml.ReadXmlText(writer.ToXmlText());
  doc.SaveSnapshot();
  doc.OnEditUndo();
  doc.OnEditRedo();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  vornel::fuzzing::SilentPrompts silent;
  const ScopedPrompts scope(silent);
  const std::span<const uint8_t> rest(data + 1, size - 1);
  CBriotabDoc doc;
  bool opened = false;
  if ((data[0] & 1) == 0) {
    opened = doc.LoadBinary(rest);
  } else {
    opened = doc.ReadXmlText(std::string_view(reinterpret_cast<const char*>(rest.data()), rest.size()));
  }
  if (opened) Use(doc);
  return 0;
}
