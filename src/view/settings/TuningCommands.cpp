#include "view/settings/TuningCommands.h"

#include "document/CBriotabDoc.h"
#include "model/score/CSystemArray.h"
#include "model/dialogs/TuningDialogs.h"
#include "platform/UserPrompts.h"
#include "view/settings/SettingsCommands.h"

namespace vornel::view {

namespace {

constexpr int kRedrawHint = 0;

CInstrumentDlg& ActiveDefinition(CSystemArray& section) {
  return *section.definitions.at(section.ActiveInstrumentIndex());
}

// The course takes the new pitch and the notes on it move by the same step.
void RetuneCourse(CSystemArray& section, int course, int newPitch) {
  nTuning& tuning = ActiveDefinition(section).tabInstrument.tuning;
  if (course < 0 || course >= static_cast<int>(tuning.CoursesInUse())) return;
  const int oldPitch = tuning.courses[static_cast<size_t>(course)].pitch + kCoursePitchOffset;
  tuning.SetCoursePitch(course, newPitch);
  ActiveDefinition(section).tabInstrument.tuningText = tuning.GetTuningText();
  section.ShiftCoursePitch(static_cast<uint8_t>(course), newPitch - oldPitch);
}

}  // namespace

bool EditActiveTuning(CBriotabDoc& doc) {
  CSystemArray& section = *doc.GetActiveSection();
  const size_t index = section.ActiveInstrumentIndex();
  CInstrumentDlg& definition = *section.definitions.at(index);
  nTuning tuning;
  tuning.CopyFrom(definition.tabInstrument.tuning);
  if (!tuning.EditTuning()) return false;
  doc.BeginSectionEdit();
  definition.tabInstrument.tuning.CopyFrom(tuning);
  definition.tabInstrument.tuningText = tuning.GetTuningText();
  section.ApplyInstrumentDefinition(definition, index);
  doc.NotifyChanged(kRedrawHint);
  return true;
}

bool ChangeCourseTuning(CBriotabDoc& doc, const CBourdonTuningDlg& choice) {
  CSystemArray& active = *doc.GetActiveSection();
  const nTuning& tuning = ActiveDefinition(active).tabInstrument.tuning;
  if (choice.courseIndex < 0 || choice.courseIndex >= static_cast<int>(tuning.CoursesInUse()) ||
      tuning.courses[static_cast<size_t>(choice.courseIndex)].pitch + kCoursePitchOffset == choice.newPitch) {
    Prompts().ShowMessage(kNoChangesMessage);
    return false;
  }
  if (choice.applyToAll) {
    doc.BeginEverySectionEdit();
  } else {
    doc.BeginSectionEdit();
  }
  if (!choice.applyToAll) {
    RetuneCourse(active, choice.courseIndex, choice.newPitch);
  } else {
    for (size_t s = 0; s < doc.sections.size(); ++s) {
      CSystemArray& section = *doc.sections.at(s);
      if (section.definitions.empty() || section.systems.empty()) continue;
      RetuneCourse(section, choice.courseIndex, choice.newPitch);
    }
  }
  doc.NotifyChanged(kRedrawHint);
  return true;
}

void RegisterTuningCommands(CommandTable& table, CBriotabDoc& doc) {
  table.Add(kInstrumentTuningCommand, [&doc](const CommandEvent&) { EditActiveTuning(doc); });
  table.Add(kChangeCourseTuningCommand, [&doc](const CommandEvent&) {
    const nTuning& tuning = ActiveDefinition(*doc.GetActiveSection()).tabInstrument.tuning;
    CBourdonTuningDlg choice;
    choice.Load(tuning);
    if (CurrentSettingsDialogs().ChangeCourseTuning(tuning, choice)) ChangeCourseTuning(doc, choice);
  });
}

}  // namespace vornel::view
