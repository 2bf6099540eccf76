// Tools that rework the voices of the active section: key analysis, voice split, merge,
// transfer and deletion, clearing, ghosts, rests, notation recalculation, auto-dot, the
// voice analysis, and the copy and paste of a system.

#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSectionArray.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/score/SectionTools.h"
#include "platform/UserPrompts.h"
#include "view/commands/ScoreCommandSupport.h"
#include "view/core/CBriotabView.h"

namespace vornel::view {

namespace {

constexpr int kKeyAnalysis = 33804;
constexpr int kSplitVoices = 34247;
constexpr int kMergeVoices = 34261;
constexpr int kIndividualNoteValues = 34263;
constexpr int kCenterRests = 34214;
constexpr int kClearVoice = 32995;
constexpr int kClearStaff = 32996;
constexpr int kGhostsToRests = 32997;
constexpr int kClearNotes = 32998;
constexpr int kCopySystem = 32989;
constexpr int kPasteSystem = 32990;
constexpr int kHideStave = 34085;
constexpr int kDeleteVoice = 33405;
constexpr int kTransferVoice = 33200;
constexpr int kRecalculateNotation = 33194;
constexpr int kAutoDot = 33937;
constexpr int kGlobalFingerings = 33902;
constexpr int kCreatePolyphony = 33211;
constexpr int kRecalculateSplitPoint = 33422;
constexpr int kChangeActiveVoice = 33210;
constexpr int kSwitchNoteToOtherVoice = 33212;
constexpr int kGuitarNotation = 33809;
constexpr int kGrandStaffNotation = 33811;
constexpr int kVoicingGallery = 34020;
constexpr int kFormatAlterations = 33193;
constexpr int kRemoveVoicingCues = 33103;

constexpr const char* kNotationQuestion =
    "If you have not run the voice analysis tool first, one staff might be empty.\nDo you want to proceed?";
constexpr const char* kNoTablatureNotes = "The active instrument holds no notes to write in staff notation.";
// The voicing gallery's items, in order.
constexpr int kGalleryCommands[] = {kGuitarNotation, kGrandStaffNotation, kRecalculateNotation,
                                    kKeyAnalysis,    kCreatePolyphony,    kRemoveVoicingCues};

constexpr const char* kKeyAnalysisQuestion =
    "This tool will analyse the key signature. It is not full proof and it will override manual settings if they "
    "exist.\nClick OK to process all sections or No to process only the current section.";
constexpr const char* kNoSecondVoice = "The active instrument has no second voice.";

// A system as "Copy system" keeps it: for each line its selected-voice flag and copies of both
// voices, so that deleting the system later leaves the copy whole.
struct CopiedSystem {
  struct Line {
    int32_t selectedVoice = 0;
    nChordArray first;
    nChordArray second;
  };
  std::vector<Line> lines;
};

bool SecondVoiceEmpty(CSystemArray& section) {
  const size_t i = section.ActiveInstrumentIndex();
  for (const auto& system : section.systems.items()) {
    if (!system->Line(i)->secondVoice.empty()) return false;
  }
  return true;
}

}  // namespace

void AddVoiceToolCommands(CommandTable& t, CBriotabView& view) {
  CBriotabDoc& doc = view.Document();
  const auto hasLine = [&view] { return HasActiveLine(view); };
  const auto edit = [&doc](int hint, std::function<void()> change) {
    return [&doc, hint, change](const CommandEvent&) { SnapshotEdit(doc, hint, change); };
  };
  const auto section = [&doc]() -> CSystemArray& { return *doc.GetActiveSection(); };

  t.Add(kKeyAnalysis,
        [&doc](const CommandEvent&) {
          const Answer answer = Prompts().Ask(kKeyAnalysisQuestion, Buttons::kYesNoCancel, MessageKind::kQuestion, {});
          if (answer == Answer::kCancel) return;
          if (answer == Answer::kYes) {
            doc.BeginEverySectionEdit();
            for (const auto& each : doc.sections.items()) {
              if (!each->systems.empty()) AnalyzeKey(*each);
            }
          } else {
            doc.SaveSnapshot();
            AnalyzeKey(*doc.GetActiveSection());
          }
          doc.NotifyChanged(kHintRepaintAll);
        },
        hasLine);
  const auto needsSecondVoice = [&doc](int (*tool)(CSystemArray&), bool recompute) {
    return [&doc, tool, recompute](const CommandEvent&) {
      CSystemArray& active = *doc.GetActiveSection();
      if (SecondVoiceEmpty(active)) {
        Prompts().ShowMessage(kNoSecondVoice, MessageKind::kInformation);
        return;
      }
      SnapshotEdit(doc, kHintRepaintAll, [&] {
        tool(active);
        if (recompute) RecomputeSystemsPerPageOnScreen(doc);
      });
      if (recompute) doc.UpdateSectionList();
    };
  };
  t.Add(kSplitVoices, needsSecondVoice(&SplitInstrumentVoices, true), hasLine);
  t.Add(kMergeVoices, needsSecondVoice(&MergeInstrumentVoices, false), hasLine);
  t.Add(kIndividualNoteValues,
        edit(kHintRepaintAll, [section] { section().ApplyCommandToActiveInstrument(ClearCommand::kNoteValues); }),
        hasLine);
  t.Add(kCenterRests, edit(kHintRepaintAll, [section] { section().CenterRests(); }), hasLine);
  t.Add(kClearVoice, edit(kHintRepaintAll, [section] { ClearVoice(section()); }), hasLine);
  t.Add(kClearStaff, edit(kHintRepaintAll, [&view] { view.ActiveLine()->GetSelectedVoice().DeleteChords(); }), hasLine);
  t.Add(kGhostsToRests, edit(kHintRepaintAll, [&view] { view.ActiveLine()->GetSelectedVoice().GhostsToRests(); }),
        hasLine);
  t.Add(kClearNotes, edit(kHintRepaintAll, [section] { ClearAllNotes(section()); }), hasLine);
  t.Add(kHideStave, edit(kHintRepaintAll, [section] { section().ActiveSystem()->hidden = 1; }), hasLine);
  t.Add(kDeleteVoice,
        edit(kHintRepaintAll,
             [&doc, section] {
               DeleteActiveVoice(section());
               RecomputeSystemsPerPageOnScreen(doc);
             }),
        hasLine);
  t.Add(kTransferVoice, edit(kHintRepaintAll, [section] { TransferVoiceToNewInstrument(section()); }), hasLine);
  t.Add(kRecalculateNotation, edit(kHintRepaintAll, [section] { section().RecalculateNotation(); }), hasLine);
  const auto autoDot = edit(kHintRepaintAll, [section] { AutoDotActiveVoice(section()); });
  t.Add(kAutoDot, autoDot, hasLine);
  t.Add(kGlobalFingerings, autoDot, hasLine);
  // The voice analysis runs its dialog; a cancelled dialog leaves an unchanged section.
  const auto analyzeVoices = [&doc](bool colourVoices) {
    return [&doc, colourVoices](const CommandEvent&) {
      SnapshotEditIf(doc, kHintRepaintAll, [&] {
        if (doc.GetActiveSection()->AnalyzeVoices() == 0) return false;
        if (colourVoices) doc.settings.pageSettings.coloredVoices = 1;
        return true;
      });
    };
  };
  t.Add(kCreatePolyphony, analyzeVoices(true), hasLine);
  t.Add(kRecalculateSplitPoint, analyzeVoices(false), hasLine);
  t.Add(kChangeActiveVoice,
        [&view](const CommandEvent&) {
          CInstrument& line = *view.ActiveLine();
          CClef& stave = *view.ActiveStave();
          if (stave.enabledVoices == CClef::kBothVoices) {
            line.selectedVoice = line.selectedVoice != 0 ? 0 : 1;
            stave.currentVoice = line.selectedVoice;
          }
          view.Window().Invalidate();
        },
        [&view] { return InNotation(view); },
        [&view] { return InNotation(view) && view.ActiveLine()->selectedVoice != 0; });
  t.Add(kSwitchNoteToOtherVoice,
        [&doc, &view](const CommandEvent&) {
          SnapshotEditIf(doc, kHintRepaintSystem,
                         [&view] { return view.ActiveLine()->SwitchCursorNoteToOtherVoice() != 0; });
        },
        hasLine);

  // --- staff notation from the tablature line
  const auto notation = [&doc](bool grandStaff) {
    return [&doc, grandStaff](const CommandEvent&) {
      if (Prompts().Ask(kNotationQuestion, Buttons::kOkCancel, MessageKind::kQuestion, {}) != Answer::kOk) return;
      const bool made = SnapshotEditIf(doc, kHintRepaintAll, [&] {
        if (CreateNotationFromTablature(*doc.GetActiveSection(), grandStaff) == 0) return false;
        RecomputeSystemsPerPageOnScreen(doc);
        ReformatActiveSection(doc, false);
        return true;
      });
      if (!made) Prompts().ShowMessage(kNoTablatureNotes, MessageKind::kInformation);
    };
  };
  t.Add(kGuitarNotation, notation(false), [&view] { return InTablature(view); });
  t.Add(kGrandStaffNotation, notation(true), [&view] { return InTablature(view); });
  // The gallery sends the item chosen last as the event's value.
  t.Add(kVoicingGallery,
        [&t](const CommandEvent& event) {
          const long item = event.value.value_or(-1);
          if (item < 0 || item >= static_cast<long>(std::size(kGalleryCommands))) return;
          t.Execute(CommandEvent{kGalleryCommands[item], std::nullopt, {}});
          Prompts().ShowMessage("Change Style " + std::to_string(item), MessageKind::kInformation);
        },
        hasLine);
  t.Add(kFormatAlterations, edit(kHintRepaintAll, [section] { FormatAlterations(section()); }), hasLine);

  // --- copy and paste of a system
  auto copied = std::make_shared<std::unique_ptr<CopiedSystem>>();
  t.Add(kCopySystem,
        [&doc, copied](const CommandEvent&) {
          CSystemArray& active = *doc.GetActiveSection();
          if (active.systems.empty()) {
            copied->reset();
            return;
          }
          auto copy = std::make_unique<CopiedSystem>();
          for (const auto& line : active.ActiveSystem()->lines.items()) {
            copy->lines.push_back({line->selectedVoice, line->firstVoice, line->secondVoice});
          }
          *copied = std::move(copy);
        },
        [&view] { return view.ActiveSection() != nullptr; });
  t.Add(kPasteSystem,
        [&doc, copied](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            CSystemArray& active = *doc.GetActiveSection();
            CStaveArray& system = *active.NewSystem(CSystemArray::kAppend);
            const size_t lines = std::min(system.lines.size(), (*copied)->lines.size());
            for (size_t k = 0; k < lines; ++k) {
              const CopiedSystem::Line& from = (*copied)->lines[k];
              CInstrument& to = *system.Line(k);
              to.selectedVoice = from.selectedVoice;
              to.firstVoice = from.first;
              to.secondVoice = from.second;
            }
          });
        },
        [&view, copied] { return view.ActiveSection() != nullptr && *copied != nullptr; });
}

}  // namespace vornel::view
