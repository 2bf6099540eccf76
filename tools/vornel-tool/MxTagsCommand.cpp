// mx2tags FILE [--part N] [--voice V] [--warnings]: the flat tag list that the MusicXML import
// walks, one element per line ("name p0 p1 ..."). --part keeps the tuning and the staves of part
// N and --voice the staves of voice position V within its part, both counted from 0 as the
// "staff" lines print them (p4 and p3). --warnings prints the converters' warnings on the
// standard error stream.

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>

#include "ToolCommand.h"
#include "import/musicxml/ImportWarnings.h"
#include "import/musicxml/MusicXMLImport.h"
#include "import/musicxml/MusicXMLImportDriver.h"
#include "import/musicxml/MusicXMLTagWalk.h"
#include "import/musicxml/TagListText.h"

namespace vornel::tool {

namespace {

int MxTags(const CommandArguments& args) {
  std::optional<long> part;
  std::optional<long> voice;
  std::string file;
  bool warnings = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--warnings") {
      warnings = true;
    } else if (args[i] == "--part" && i + 1 < args.size()) {
      part = std::strtol(args[++i].c_str(), nullptr, 10);
    } else if (args[i] == "--voice" && i + 1 < args.size()) {
      voice = std::strtol(args[++i].c_str(), nullptr, 10);
    } else if (file.empty()) {
      file = args[i];
    } else {
      return PrintUsage("mx2tags");
    }
  }
  if (file.empty()) return PrintUsage("mx2tags");
  std::ostream nowhere(nullptr);
  ScopedImportWarnings quiet(warnings ? ImportWarnings() : nowhere);
  MusicXMLImportDriver driver;
  if (!driver.read(file)) {
    std::fprintf(stderr, "%s\n%s:\n%s\n", std::string(MusicXMLImport::kUnreadableMessage).c_str(), file.c_str(),
                 driver.failure().c_str());
    return 1;
  }
  const Svornelelement list = driver.convert();
  // A "staff" or "tuning" element opens the stretch of the list that belongs to its part; the
  // closing "endgroup" of the "Score" belongs to the whole list.
  const bool all = !part && !voice;
  bool shown = all;
  const auto number = [](const Svornelelement& e, size_t i) { return std::strtol(e->param(i).c_str(), nullptr, 10); };
  for (const Svornelelement& e : list->elements()) {
    const std::string_view name = TagName(*e);
    if (name == "staff") {
      shown = (!part || number(e, 4) == *part) && (!voice || number(e, 3) == *voice);
    } else if (name == "tuning") {
      shown = !voice && (!part || number(e, 0) == *part);
    } else if (name == "endgroup" && e->param(0) == "Score") {
      shown = all;
    }
    if (shown) std::printf("%s\n", TagLineText(*e).c_str());
  }
  return 0;
}

const ToolCommand registration("mx2tags", "mx2tags FILE [--part N] [--voice V] [--warnings]",
                               "the flat tag list the MusicXML import walks", MxTags);

}  // namespace

}  // namespace vornel::tool
