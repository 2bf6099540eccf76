// mxnotes FILE: the note visitor's description of every note of a MusicXML file, one a line.

#include <cstdio>
#include <iostream>

#include "ToolCommand.h"
#include "musicxml/reader/xmlreader.h"
#include "musicxml/visitors/browser.h"
#include "musicxml/visitors/notevisitor.h"

namespace vornel::tool {

namespace {

using namespace MusicXML2;

class NotePrinter : public notevisitor {
 public:
  void visitEnd(Snote&) override {
    print(std::cout);
    std::cout << '\n';
  }
};

int MxNotes(const CommandArguments& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: vornel-tool mxnotes FILE\n");
    return 2;
  }
  xmlreader reader;
  const STXMLFile file = reader.readFile(args[0].c_str());
  if (!file) return 1;
  if (const Sxmlelement root = file->getRoot()) {
    NotePrinter printer;
    xml_tree_browser(&printer).browse(*root);
  }
  std::cout.flush();
  return 0;
}

const ToolCommand registration("mxnotes", "mxnotes FILE", "describe every note of a MusicXML file", MxNotes);

}  // namespace

}  // namespace vornel::tool
