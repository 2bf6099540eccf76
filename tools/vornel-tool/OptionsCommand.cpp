// options FILE: the fields of an option file ("BrioTabProfile.ini") as the editor reads them.

#include <cstdio>
#include <string>

#include "ToolCommand.h"
#include "platform/UserPrompts.h"
#include "platform/io/FileIO.h"
#include "shell/app/CSessionOptionsDlg.h"

namespace vornel::tool {

namespace {

// Passes messages on and remembers that one came.
class NotingPrompts : public ForwardingPrompts {
 public:
  using ForwardingPrompts::ForwardingPrompts;
  void ShowMessage(std::string_view text, MessageKind kind, std::string_view caption) override {
    failed = true;
    ForwardingPrompts::ShowMessage(text, kind, caption);
  }
  bool failed = false;
};

int Options(const CommandArguments& args) {
  if (args.size() != 1) return PrintUsage("options");
  const auto bytes = ReadFileBytes(args[0], size_t(16) << 20);
  if (!bytes) {
    std::fprintf(stderr, "cannot read %s\n", args[0].c_str());
    return 1;
  }
  NotingPrompts prompts(Prompts());
  const ScopedPrompts scope(prompts);
  CSessionOptionsDlg options;
  options.Load(*bytes);
  std::printf("format %u\n", options.formatNumber);
  std::printf("open last document %d\n", options.openLastDocument);
  std::printf("use texture %d\n", options.useTexture);
  std::printf("MIDI port %u\n", options.midiPort);
  std::printf("reserved %u\n", options.reserved);
  std::printf("texture \"%s\"\n", options.textureFile.c_str());
  std::printf("default instrument \"%s\", %zu stave(s)\n", options.DefaultInstrumentName().c_str(),
              options.defaultInstrument ? options.defaultInstrument->staves.size() : size_t(0));
  std::printf("title font %s\n", options.titleFont.GetDescription().c_str());
  std::printf("maximum undo %u\n", options.maximumUndo);
  return prompts.failed ? 1 : 0;
}

const ToolCommand registration("options", "options FILE", "print the fields of an option file", Options);

}  // namespace

}  // namespace vornel::tool
