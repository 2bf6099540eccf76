// dump FILE: opens a document by the system's own open path and prints its stored content,
// one field per line, for tests and reviews.

#include <cstdio>

#include "ToolCommand.h"
#include "document/DocumentDump.h"
#include "document/DocumentFiles.h"

namespace vornel::tool {

namespace {

int Dump(const CommandArguments& args) {
  if (args.size() != 1) {
    std::fprintf(stderr, "usage: vornel-tool dump FILE\n");
    return 2;
  }
  const OpenedDocument opened = OpenDocumentFile(args[0]);
  if (!opened.message.empty()) std::fprintf(stderr, "%s\n", opened.message.c_str());
  if (opened.document == nullptr) return 1;
  const std::string text = DumpDocument(*opened.document);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

const ToolCommand registration("dump", "dump FILE", "print every stored field of a document", Dump);

}  // namespace

}  // namespace vornel::tool
