#include "import/ImportedSection.h"

#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"

namespace vornel {

void FinishImportedSection(CSystemArray& section, size_t eventsPerSystem, ImportedVoices voices) {
  if (voices == ImportedVoices::kInDefinitions) {
    section.NewSystem(CSystemArray::kAppend);
    section.DistributeInstrumentVoices();
    section.RecalculateSection(false);
    section.ApplyCommandToActiveInstrument(ClearCommand::kClearForcedBarlines);
  }
  section.CopyFirstSystemStaves();
  section.RecalculateNotation();
  section.RecalculateSection(false);
  section.ReflowSystems(true, eventsPerSystem);
  section.ReflowSystems(false, eventsPerSystem);
  // Parts can disagree on where their bars fall, and the aligned layout step then leaves bar
  // lines that a document read back cuts again: finish as reading does.
  section.RecalculateSection(false);
}

void ShowPartNames(CSystemArray& section) {
  bool named = false;
  bool shortened = false;
  for (const auto& definition : section.definitions.items()) {
    if (definition == nullptr || definition->nameText.text.empty() || definition->nameText.flags == 0) continue;
    named = true;
    shortened = shortened || !definition->shortName.empty();
  }
  if (!named) return;
  bool first = true;
  for (const auto& system : section.systems.items()) {
    if (system->hidden != 0) continue;
    if (first || shortened) system->nameInstruments |= 1;
    first = false;
  }
}

}  // namespace vornel
