// dump FILE: opens a document by the system's own open path and prints its stored content,
// one field per line, for tests and reviews.

#include <cstdio>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "document/DocumentDump.h"

namespace vornel::tool {

namespace {

int Dump(const CommandArguments& args) {
  if (args.size() != 1) return PrintUsage("dump");
  const std::unique_ptr<CVornelTabDoc> doc = OpenDocument(args[0]);
  if (doc == nullptr) return 1;
  const std::string text = DumpDocument(*doc);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

const ToolCommand registration("dump", "dump FILE", "print every stored field of a document", Dump);

}  // namespace

}  // namespace vornel::tool
