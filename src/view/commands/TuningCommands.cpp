// Tuning commands of the score view: the tuning dialog on the active definition, one course
// retuned (in the active section or in every section), the whole tuning raised or lowered
// with the sounding notes, and the notes beyond a limit moved by an octave.

#include <string>

#include "layout/dialogs/SmallDialogs.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSectionArray.h"
#include "model/score/CSystemArray.h"
#include "model/score/SectionTools.h"
#include "model/instrument/nTuning.h"
#include "platform/UserPrompts.h"
#include "view/commands/ScoreCommandSupport.h"
#include "view/commands/ScoreDialogs.h"
#include "view/core/CBriotabView.h"

namespace vornel::view {

namespace {

constexpr int kInstrumentTuning = 33189;
constexpr int kChangeCourseTuning = 33015;
constexpr int kAlterInstrumentTuning = 34275;
constexpr int kTransposeNoteRange = 32947;

constexpr const char* kNoChanges = "No changes ...";
constexpr const char* kAlterTuningQuestion =
    "This will raise or lower the instrument tuning by the amount selected,\nwithout altering the tablature "
    "fingerings. Do you want to proceed?";
constexpr int kMostTuningShift = 12;

}  // namespace

void AddTuningCommands(CommandTable& t, CBriotabView& view) {
  CBriotabDoc& doc = view.Document();
  const auto hasLine = [&view] { return HasActiveLine(view); };
  const auto section = [&doc]() -> CSystemArray& { return *doc.GetActiveSection(); };

  t.Add(kInstrumentTuning,
        [&doc, section](const CommandEvent&) {
          const size_t i = section().ActiveInstrumentIndex();
          CInstrumentDlg edited(*section().Definition(i));
          if (!ScoreCommandDialogs().EditTuning(edited)) return;
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            CInstrumentDlg& definition = *section().Definition(i);
            definition.tabInstrument.tuning.CopyFrom(edited.tabInstrument.tuning);
            definition.tabInstrument.tuningText = edited.tabInstrument.tuningText;
            section().ApplyInstrumentDefinition(definition, i);
          });
        },
        hasLine);
  t.Add(kChangeCourseTuning,
        [&doc, &view, section](const CommandEvent&) {
          CourseTuningChoice choice;
          if (!ScoreCommandDialogs().ChooseCourseTuning(*ActiveDefinitionOf(view), choice)) return;
          if (choice.pitch < 0) {
            Prompts().ShowMessage(kNoChanges, MessageKind::kInformation);
            return;
          }
          if (!choice.allSections) {
            SnapshotEdit(doc, kHintRepaintAll, [&] {
              ChangeCourseTuning(section(), section().ActiveInstrumentIndex(), choice.course, choice.pitch);
            });
            return;
          }
          // Every section's first definition; one undo gives them all back.
          doc.BeginEverySectionEdit();
          std::string skipped;
          for (const auto& each : doc.sections.items()) {
            if (each->definitions.empty()) {
              skipped += "\n" + each->Title().text;
              continue;
            }
            if (choice.course >= each->Definition(0)->tabInstrument.CoursesInUse()) {
              skipped += "\n" + each->Title().text;
              continue;
            }
            ChangeCourseTuning(*each, 0, choice.course, choice.pitch);
          }
          doc.NotifyChanged(kHintRepaintAll);
          if (!skipped.empty()) {
            Prompts().ShowMessage("These sections have no instrument with that course and were left as they were:" +
                                      skipped,
                                  MessageKind::kInformation);
          }
        },
        hasLine);
  t.Add(kAlterInstrumentTuning,
        [&doc, section](const CommandEvent&) {
          int shift = 0;
          if (!ScoreCommandDialogs().ChooseGlobalTuningShift(shift)) return;
          if (shift < -kMostTuningShift || shift > kMostTuningShift || shift == 0) {
            Prompts().ShowMessage(kNoChanges, MessageKind::kInformation);
            return;
          }
          if (Prompts().Ask(kAlterTuningQuestion, Buttons::kOkCancel, MessageKind::kQuestion, {}) != Answer::kOk) return;
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            CSystemArray& active = section();
            CTabInstrument& tab = active.ActiveDefinition()->tabInstrument;
            tab.TransposeTuning(shift);
            for (int course = 0; course < tab.CoursesInUse(); ++course) {
              active.ShiftCoursePitch(static_cast<uint8_t>(course), shift);
            }
            active.RecalculateNotation();
          });
        },
        hasLine);
  t.Add(kTransposeNoteRange,
        [&doc, section](const CommandEvent&) {
          COctaveDlg dialog;
          if (!ScoreCommandDialogs().ChooseOctaveLimit(dialog)) return;
          // Nothing moved: no undo step either.
          if (!SnapshotEditIf(doc, kHintRepaintAll, [&] {
                return section().TransposeNotesBeyondLimit(dialog.limitPitch, dialog.direction != 0) != 0;
              })) {
            Prompts().ShowMessage(kNoChanges, MessageKind::kInformation);
          }
        },
        hasLine);
}

}  // namespace vornel::view
