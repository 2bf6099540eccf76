// new TEMPLATE OUT: makes what File > New makes from a template (an untitled document with
// the template's contents), without the dialog steps, and saves it as OUT.

#include <cstdio>
#include <filesystem>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "document/instruments/ShippedInstrumentData.h"

namespace vornel::tool {

namespace {

int New(const CommandArguments& args) {
  if (args.size() != 2) return PrintUsage("new");
  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  std::error_code ec;
  const std::string path = std::filesystem::absolute(args[0], ec).string();
  const std::unique_ptr<CVornelTabDoc> doc = OpenTemplateUntitled(ec ? args[0] : path);
  if (doc == nullptr) return 1;
  return SaveDocumentFile(*doc, args[1]) ? 0 : 1;
}

const ToolCommand registration("new", "new TEMPLATE OUT.btz", "make a new document from a template and save it",
                               New);

}  // namespace

}  // namespace vornel::tool
