// xmlcheck FILE: loads an XML document and runs the structural check before reading.

#include <cstdio>

#include "ToolCommand.h"
#include "document/XmlDocumentCheck.h"
#include "platform/UserPrompts.h"
#include "platform/xml/XMLWriter.h"

namespace vornel::tool {

namespace {

// Prints the system's messages on standard output, where the check's verdict goes.
class PrintedPrompts : public ConsolePrompts {
 public:
  void ShowMessage(std::string_view text, MessageKind, std::string_view) override {
    std::printf("%.*s\n", static_cast<int>(text.size()), text.data());
  }
};

int XmlCheck(const CommandArguments& args) {
  if (args.size() != 1) return PrintUsage("xmlcheck");
  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  XMLWriter writer;
  writer.SetPath(args[0]);
  if (!ParseXmlFile(writer)) return 1;
  std::printf("OK\n");
  return 0;
}

const ToolCommand registration("xmlcheck", "xmlcheck FILE", "check the structure of an XML document", XmlCheck);

}  // namespace

}  // namespace vornel::tool
