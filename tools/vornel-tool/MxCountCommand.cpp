// mxcount FILE: the number of elements of each name in a parsed MusicXML file.

#include <cstdio>
#include <map>
#include <string>

#include "ToolCommand.h"
#include "musicxml/factory/ElementTypes.h"
#include "musicxml/reader/xmlreader.h"

namespace vornel::tool {

namespace {

int MxCount(const CommandArguments& args) {
  using namespace MusicXML2;
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: vornel-tool mxcount FILE\n");
    return 2;
  }
  xmlreader reader;
  const STXMLFile file = reader.readFile(args[0].c_str());
  if (!file) return 1;
  std::map<std::string, long> counts;
  long total = 0;
  const Sxmlelement root = file->getRoot();
  auto count = [&](const Sxmlelement& e) {
    // Comments and processing instructions are no elements.
    if (e->getType() == ElementType("comment") || e->getType() == ElementType("pi")) return;
    ++counts[e->getName()];
    ++total;
  };
  if (root) {
    count(root);
    for (auto it = root->begin(); it != root->end(); ++it) count(*it);
  }
  for (const auto& [name, n] : counts) std::printf("%s %ld\n", name.c_str(), n);
  std::printf("total %ld\n", total);
  return 0;
}

const ToolCommand registration("mxcount", "mxcount FILE", "count the elements of a MusicXML file by name", MxCount);

}  // namespace

}  // namespace vornel::tool
