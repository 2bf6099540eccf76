// mxnotes FILE: the note visitor's description of every note of a MusicXML file, one a line.

#include <iostream>

#include "MusicXmlCommand.h"
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
  return RunOnMusicXml(args, "mxnotes", [](const Sxmlelement& root) {
    NotePrinter printer;
    if (root) xml_tree_browser(&printer).browse(*root);
    std::cout.flush();
    return 0;
  });
}

const ToolCommand registration("mxnotes", "mxnotes FILE", "describe every note of a MusicXML file", MxNotes);

}  // namespace

}  // namespace vornel::tool
