#pragma once
// What the MusicXML commands share: the one file argument, read through the MusicXML reader.

#include <cstdio>
#include <functional>
#include <set>
#include <string>
#include <string_view>

#include "ToolCommand.h"
#include "musicxml/factory/factory.h"
#include "musicxml/reader/xmlreader.h"

namespace vornel::tool {

// Reads the file named by the single argument and runs `use` on its root element (null when
// the file has none). A wrong argument count prints the usage (exit 2); a file the reader
// refuses leaves the reader's message on the standard error stream (exit 1).
inline int RunOnMusicXml(const CommandArguments& args, const char* command,
                         const std::function<int(const MusicXML2::Sxmlelement& root)>& use) {
  if (args.size() != 1) return PrintUsage(command);
  // Each unknown element name is told once, however often the file uses it.
  struct ReportOnce {
    std::set<std::string, std::less<>> told;
    ReportOnce() {
      MusicXML2::factory::SetUnknownElementReporter([this](std::string_view name) {
        if (told.emplace(name).second) MusicXML2::factory::ReportUnknownElement(name);
      });
    }
    ~ReportOnce() { MusicXML2::factory::SetUnknownElementReporter({}); }
  } reportOnce;
  MusicXML2::xmlreader reader;
  const MusicXML2::STXMLFile file = reader.readFile(args[0].c_str());
  if (!file) return 1;
  return use(file->getRoot());
}

}  // namespace vornel::tool
