#include "import/ImportedSection.h"

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

}  // namespace vornel
