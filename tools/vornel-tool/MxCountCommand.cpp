// mxcount FILE: the number of elements of each name in a parsed MusicXML file.

#include <cstdio>
#include <map>
#include <string>

#include "MusicXmlCommand.h"
#include "musicxml/factory/ElementTypes.h"

namespace vornel::tool {

namespace {

int MxCount(const CommandArguments& args) {
  return RunOnMusicXml(args, "mxcount", [](const MusicXML2::Sxmlelement& root) {
    std::map<std::string, long> counts;
    long total = 0;
    auto count = [&](const MusicXML2::Sxmlelement& e) {
      // Comments and processing instructions are no elements.
      if (e->getType() == MusicXML2::ElementType("comment") || e->getType() == MusicXML2::ElementType("pi")) return;
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
  });
}

const ToolCommand registration("mxcount", "mxcount FILE", "count the elements of a MusicXML file by name", MxCount);

}  // namespace

}  // namespace vornel::tool
