// resave IN OUT: opens IN by the system's own open path and saves it as OUT, in the form
// OUT's extension names (".btb", ".btxml", ".btz", ".bttx"; a ".btt" name is written as
// ".bttx").

#include <cstdio>

#include "DocumentCommand.h"
#include "ToolCommand.h"

namespace vornel::tool {

namespace {

int Resave(const CommandArguments& args) {
  if (args.size() != 2) return PrintUsage("resave");
  const std::unique_ptr<CVornelTabDoc> doc = OpenDocument(args[0]);
  if (doc == nullptr) return 1;
  return SaveDocumentFile(*doc, args[1]) ? 0 : 1;
}

const ToolCommand registration("resave", "resave IN OUT", "open a document and save it in the form OUT names",
                               Resave);

}  // namespace

}  // namespace vornel::tool
