// instruments FILE.btix|FILE.btbi [--to OUT.btix]: lists an instrument base (index, name,
// family, notation name, tuning, program) and, with --to, writes it in the XML form.

#include <cstdio>

#include "DocumentCommand.h"
#include "ToolCommand.h"
#include "document/instruments/CInstrumentTemplates.h"

namespace vornel::tool {

namespace {

int Instruments(const CommandArguments& args) {
  std::string out;
  if (args.size() == 3 && args[1] == "--to") {
    out = args[2];
  } else if (args.size() != 1) {
    return PrintUsage("instruments");
  }
  PrintedPrompts prompts;
  ScopedPrompts scoped(prompts);
  CInstrumentTemplates base;
  // Read as an import is: into a base other than the configured one, so nothing is saved.
  CInstrumentTemplates owner;
  CInstrumentTemplates& xmlTarget = args[0].ends_with(".btix") ? base : owner;
  const auto result = CInstrumentTemplates::LoadBaseFile(args[0], base, xmlTarget);
  switch (result) {
    case CInstrumentTemplates::LoadResult::kUnopened:
      std::fprintf(stderr, "%s: cannot be opened\n", args[0].c_str());
      return 1;
    case CInstrumentTemplates::LoadResult::kIgnored:
      std::fprintf(stderr, "%s: not an instrument base (.btix or .btbi)\n", args[0].c_str());
      return 2;
    default:
      break;
  }
  for (size_t i = 0; i < base.instruments.size(); ++i) {
    CInstrumentDlg& definition = *base.instruments.at(i);
    std::printf("%zu\t%s\t%s\t%s\t%s\t%d\n", i, definition.nameText.text.c_str(),
                std::string(definition.GetFamilyName()).c_str(), definition.GetNotationName().c_str(),
                definition.tabInstrument.tuning.GetTuningText().c_str(), definition.midi.patch + 1);
  }
  if (!out.empty() && !base.SaveInstrumentBaseAs(out)) return 1;
  return result == CInstrumentTemplates::LoadResult::kRead ? 0 : 1;
}

const ToolCommand registration("instruments", "instruments FILE.btix|FILE.btbi [--to OUT.btix]",
                               "list an instrument base and convert it to the XML form", Instruments);

}  // namespace

}  // namespace vornel::tool
