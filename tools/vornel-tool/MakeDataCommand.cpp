// make-data DIR: writes the shipped instrument data (the default instrument base and one
// document template per built-in instrument) into DIR/Templates, and the help pages made from
// the program's tables of keys into DIR/Documentation.

#include <cstdio>

#include "ToolCommand.h"
#include "document/instruments/ShippedInstrumentData.h"
#include "shell/commands/HelpPages.h"

namespace vornel::tool {

namespace {

int MakeData(const CommandArguments& args) {
  if (args.size() != 1) return PrintUsage("make-data");
  std::string error;
  const auto written = WriteShippedInstrumentData(args[0], &error);
  if (!written) {
    std::fprintf(stderr, "make-data: %s\n", error.c_str());
    return 1;
  }
  for (const std::string& path : *written) std::printf("%s\n", path.c_str());
  const auto pages = WriteGeneratedHelpPages(args[0] + "/Documentation", &error);
  if (!pages) {
    std::fprintf(stderr, "make-data: %s\n", error.c_str());
    return 1;
  }
  for (const std::string& path : *pages) std::printf("%s\n", path.c_str());
  return 0;
}

const ToolCommand registration("make-data", "make-data DIR",
                               "write the shipped instrument base and instrument templates into DIR/Templates and "
                               "the help pages of the keys into DIR/Documentation",
                               MakeData);

}  // namespace

}  // namespace vornel::tool
