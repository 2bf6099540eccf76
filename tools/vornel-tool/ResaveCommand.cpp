// resave IN OUT: opens IN by the system's own open path and saves it as OUT, in the form
// OUT's extension names (".btb", ".btxml", ".btz", ".bttx"; a ".btt" name is written as
// ".bttx").

#include <cstdio>

#include "ToolCommand.h"
#include "document/DocumentFiles.h"

namespace vornel::tool {

namespace {

int Resave(const CommandArguments& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "usage: vornel-tool resave IN OUT\n");
    return 2;
  }
  const OpenedDocument opened = OpenDocumentFile(args[0]);
  if (!opened.message.empty()) std::fprintf(stderr, "%s\n", opened.message.c_str());
  if (opened.document == nullptr) return 1;
  return SaveDocumentFile(*opened.document, args[1]) ? 0 : 1;
}

const ToolCommand registration("resave", "resave IN OUT", "open a document and save it in the form OUT names",
                               Resave);

}  // namespace

}  // namespace vornel::tool
