#include "shell/commands/InstrumentBaseCommands.h"

#include "document/instruments/CInstrumentTemplates.h"
#include "shell/app/CVornelTabApp.h"

namespace vornel {

namespace {

CInstrumentDlg* At(CInstrumentTemplates& base, int index) {
  return index >= 0 && static_cast<size_t>(index) < base.instruments.size() ? base.instruments.at(static_cast<size_t>(index))
                                                                           : nullptr;
}

}  // namespace

std::vector<std::string> InstrumentBaseNames() {
  CInstrumentTemplates base;
  base.OpenConfiguredBase();
  std::vector<std::string> names;
  for (const auto& definition : base.instruments.items()) names.push_back(definition->nameText.text);
  return names;
}

void AddToCurrentSection(CVornelTabApp& app, const CInstrumentDlg& definition, const std::function<void(int)>& send) {
  if (app.options.defaultInstrument == nullptr) app.options.ResetDefaultInstrument();
  app.options.defaultInstrument->CopyFrom(definition);
  app.options.defaultInstrument->EnsureStave();
  app.SaveSessionOptions();
  if (send) send(kImportDefaultInstrumentCommand);
}

bool AddBaseInstrumentToSection(CVornelTabApp& app, int index, const std::function<void(int)>& send) {
  CInstrumentTemplates base;
  base.OpenConfiguredBase();
  const CInstrumentDlg* definition = At(base, index);
  if (definition == nullptr) return false;
  AddToCurrentSection(app, *definition, send);
  return true;
}

bool DeleteBaseInstrument(int index) {
  CInstrumentTemplates base;
  base.OpenConfiguredBase();
  return base.DeleteDefinition(At(base, index)) && base.SaveDatabase();
}

}  // namespace vornel
