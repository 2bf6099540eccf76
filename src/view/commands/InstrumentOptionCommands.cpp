// Commands on the active instrument definition and its staves: transposition, flag styles and
// modes, drawing options, MIDI switches, tablature style, beams, clefs and shown voices, the
// notation mode; and the instrument and stave commands of the section (add, delete, swap,
// staves, blank systems).

#include <cstdlib>

#include "document/InstrumentChooser.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"
#include "model/voice/EntryForms.h"
#include "model/score/SectionTools.h"
#include "platform/UserPrompts.h"
#include "view/commands/ScoreCommandSupport.h"
#include "view/core/CBriotabView.h"

namespace vornel::view {

namespace {

constexpr int kTransposeFirst = 33430;  // "0" ... "1 Octave"
constexpr int kTransposeLast = 33442;
constexpr int kFlagStyleFirst = 33620;  // "English" ... "Tessamont"
constexpr int kFlagStyleLast = 33631;
constexpr int kFlagModeFirst = 34091;   // "Single flags" ... "English beams"
constexpr int kFlagModeLast = 34097;
constexpr int kCloseSystems = 34081;
constexpr int kShortSignatures = 34082;
constexpr int kShowOrnaments = 34083;
constexpr int kShowBarlines = 34084;
constexpr int kMidiSwitchFirst = CInstrumentDlg::kMuteCommand;
constexpr int kMidiSwitchLast = CInstrumentDlg::kMergeVoicesCommand;
constexpr int kMidiDefaults = 33987;
constexpr int kPlayRepeats = 33988;
constexpr int kGrandStaff = 34307;
constexpr int kMergedStaves = 34308;

constexpr int kToggleTablature = 33180;
constexpr int kFrenchTablature = 33183;
constexpr int kModernTablature = 33184;
constexpr int kItalianTablature = 33185;
constexpr int kSingleFlagBeams = 33186;
constexpr int kGuitarBeams = 33187;
constexpr int kTablatureAcrossLine = 33188;
constexpr int kClefFirst = 33202;  // G8, G, F, C
constexpr int kClefLast = 33205;
constexpr int kVoicesFirst = 33213;  // "High voice", "Low voice", "View both voices"
constexpr int kVoicesLast = 33215;

constexpr int kAddInstrument = 33288;
constexpr int kImportDefaultInstrument = 34172;
constexpr int kDeleteInstrument = 33289;
constexpr int kDeleteStaff = 33292;
constexpr int kAddNotationStaff = 33290;
constexpr int kSwapInstrumentWithNext = 33050;
constexpr int kClearInstrumentData = 33293;
constexpr int kDeleteBlankStaves = 33048;
constexpr int kRecalculateFingerings = 33052;
constexpr int kTransposeInstrument = 33051;

constexpr const char* kDeleteInstrumentQuestion = "Delete this instrument and all attached data?";
constexpr const char* kConfirmationCaption = "Confirmation needed";

// Each tablature-style command and the style it sets.
int32_t StyleOf(int id) {
  switch (id) {
    case kFrenchTablature: return CTabInstrument::kFrench;
    case kModernTablature: return CTabInstrument::kSpanish;
    default: return CTabInstrument::kItalian;
  }
}

int32_t MidiSwitch(const CInstrumentDlg& d, int id) {
  switch (id) {
    case CInstrumentDlg::kMuteCommand: return d.midi.mute;
    case CInstrumentDlg::kMonophonicCommand: return d.midi.monophonic;
    case CInstrumentDlg::kOrnamentsCommand: return d.midi.ornamentsPlayed;
    case CInstrumentDlg::kResonateCommand: return d.midi.holdPedal;
    case CInstrumentDlg::kEchoCommand: return d.midi.echoOn;
    case CInstrumentDlg::kOctaveCommand: return d.midi.octaveDoublingOn;
    default: return d.midi.mergeVoices;
  }
}

// Adds a definition to the active section: it needs a stave; systems per page follow.
void AddDefinition(CBriotabDoc& doc, std::unique_ptr<CInstrumentDlg> definition) {
  definition->EnsureStave();
  SnapshotEdit(doc, kHintRepaintAll, [&] {
    doc.GetActiveSection()->AddInstrument(std::move(definition));
    RecomputeSystemsPerPageOnScreen(doc);
  });
}

}  // namespace

void AddInstrumentOptionCommands(CommandTable& t, CBriotabView& view) {
  CBriotabDoc& doc = view.Document();
  const auto hasLine = [&view] { return HasActiveLine(view); };
  const auto lineId = [&view](int) { return HasActiveLine(view); };
  const auto tabId = [&view](int) { return InTablature(view); };
  const auto notationId = [&view](int) { return InNotation(view); };
  const auto definition = [&view]() -> CInstrumentDlg& { return *ActiveDefinitionOf(view); };
  // An option of the definition changed under a snapshot, then the common end.
  const auto edit = [&doc](int hint, std::function<void()> change) {
    return [&doc, hint, change](const CommandEvent&) { SnapshotEdit(doc, hint, change); };
  };
  const auto flip = [](int32_t& value) { value = value != 0 ? 0 : 1; };

  // --- transposition of the MIDI settings
  t.AddRange(kTransposeFirst, kTransposeLast,
             [&doc, definition](const CommandEvent& e) {
               SnapshotEdit(doc, kHintNothing, [&] {
                 int32_t& transpose = definition().midi.transpose;
                 const int32_t size = e.id - kTransposeFirst;
                 transpose = transpose < 0 ? -size : size;
               });
             },
             lineId, [&view](int id) {
               const CInstrumentDlg* d = ActiveDefinitionOf(view);
               return d != nullptr && std::abs(d->midi.transpose) == id - kTransposeFirst;
             });
  // "Down" (33964) is the MIDI controllers' command of note entry.

  // --- rhythm flags
  t.AddRange(kFlagStyleFirst, kFlagStyleLast,
             [&doc, definition](const CommandEvent& e) {
               SnapshotEdit(doc, kHintRepaintAll, [&] { definition().tabInstrument.flagStyle = e.id - kFlagStyleFirst; });
             },
             lineId, [&view](int id) {
               const CInstrumentDlg* d = ActiveDefinitionOf(view);
               return d != nullptr && d->tabInstrument.flagStyle == id - kFlagStyleFirst;
             });
  t.AddRange(kFlagModeFirst, kFlagModeLast,
             [&doc, definition](const CommandEvent& e) {
               SnapshotEdit(doc, kHintRepaintAll, [&] { definition().tabInstrument.SetFlagMode(e.id - kFlagModeFirst); });
             },
             lineId, [&view](int id) {
               const CInstrumentDlg* d = ActiveDefinitionOf(view);
               if (d == nullptr) return false;
               const int mode = id - kFlagModeFirst;
               const int32_t group = d->tabInstrument.flagGroup;
               return mode < 4 ? (group & 3) == mode && (group & 0x70) == 0 : ((group >> 4) & 7) == mode - 3;
             });

  // --- drawing options
  t.Add(kCloseSystems, edit(kHintRepaintSystem, [definition, flip] { flip(definition().closeSystems); }), hasLine,
        [&view] { return HasActiveLine(view) && ActiveDefinitionOf(view)->closeSystems != 0; });
  t.Add(kShortSignatures,
        edit(kHintRepaintSystem,
             [&doc, definition] { SetShortSignatures(*doc.GetActiveSection(), definition().shortSignatures == 0); }),
        hasLine, [&view] { return HasActiveLine(view) && ActiveDefinitionOf(view)->shortSignatures != 0; });
  // Checked while the ornaments show.
  t.Add(kShowOrnaments, edit(kHintRepaintSystem, [definition, flip] { flip(definition().hideOrnaments); }), hasLine,
        [&view] { return HasActiveLine(view) && ActiveDefinitionOf(view)->hideOrnaments == 0; });
  t.Add(kShowBarlines, edit(kHintRepaintSystem, [definition, flip] { flip(definition().showBarlines); }), hasLine,
        [&view] { return HasActiveLine(view) && ActiveDefinitionOf(view)->showBarlines != 0; });

  // --- MIDI switches of the definition
  t.AddRange(kMidiSwitchFirst, kMidiSwitchLast,
             [&doc, definition](const CommandEvent& e) {
               SnapshotEdit(doc, kHintNothing, [&] { definition().ToggleMidiOption(e.id); });
             },
             lineId, [&view](int id) {
               const CInstrumentDlg* d = ActiveDefinitionOf(view);
               return d != nullptr && MidiSwitch(*d, id) != 0;
             });
  t.Add(kMidiDefaults, edit(kHintNothing, [definition] { definition().midi.SetDefaults(); }), hasLine);
  t.Add(kPlayRepeats,
        [&doc](const CommandEvent&) {
          int32_t& repeats = doc.GetActiveSection()->repeats;
          repeats = repeats != 0 ? 0 : 1;
          doc.SetModifiedFlag(true);
        },
        [&view] { return view.ActiveSection() != nullptr; },
        [&view] { return view.ActiveSection() != nullptr && view.ActiveSection()->repeats != 0; });

  // --- notation presets (ribbon)
  t.Add(kGrandStaff,
        edit(kHintRepaintAll, [&doc] { SetActiveNotationType(*doc.GetActiveSection(), CInstrumentDlg::kGrandStaffPreset); }),
        [&view] { return InNotation(view) && view.ActiveStave()->enabledVoices == CClef::kBothVoices; });
  t.Add(kMergedStaves,
        edit(kHintRepaintAll, [&doc] { SetActiveNotationType(*doc.GetActiveSection(), CInstrumentDlg::kMergedStavesPreset); }),
        [&view] { return InNotation(view) && view.ActiveStave()->enabledVoices != CClef::kBothVoices; });

  // --- the active stave
  t.Add(kToggleTablature, edit(kHintRepaintAll, [&doc] { ToggleTablatureNotationMode(*doc.GetActiveSection()); }),
        [&view] { return view.ActiveStave() != nullptr; }, [&view] { return InTablature(view); });
  t.AddRange(kFrenchTablature, kItalianTablature,
             [&doc, definition](const CommandEvent& e) {
               SnapshotEdit(doc, kHintRepaintAll, [&] { definition().tabInstrument.tabStyle = StyleOf(e.id); });
             },
             tabId, [&view](int id) {
               const CInstrumentDlg* d = ActiveDefinitionOf(view);
               return d != nullptr && d->tabInstrument.tabStyle == StyleOf(id);
             });
  const auto beams = [&doc, definition](int32_t mode) {
    return [&doc, definition, mode](const CommandEvent&) {
      SnapshotEdit(doc, kHintRepaintAll, [&] {
        int32_t& beamMode = definition().beamMode;
        beamMode = beamMode == 0 ? mode : 0;
      });
    };
  };
  t.Add(kSingleFlagBeams, beams(1), [&view] { return InTablature(view); },
        [&view] { return InTablature(view) && ActiveDefinitionOf(view)->beamMode == 1; });
  t.Add(kGuitarBeams, beams(2), [&view] { return InTablature(view); },
        [&view] { return InTablature(view) && ActiveDefinitionOf(view)->beamMode == 2; });
  t.Add(kTablatureAcrossLine, edit(kHintRepaintAll, [definition, flip] { flip(definition().tabAcrossLine); }),
        [&view] { return InTablature(view); },
        [&view] { return InTablature(view) && ActiveDefinitionOf(view)->tabAcrossLine != 0; });
  t.AddRange(kClefFirst, kClefLast,
             [&doc](const CommandEvent& e) {
               SnapshotEdit(doc, kHintRepaintAll, [&] { SetActiveStaveClef(*doc.GetActiveSection(), e.id - kClefFirst); });
             },
             notationId, [&view](int id) { return InNotation(view) && view.ActiveStave()->clefId == id - kClefFirst; });
  t.AddRange(kVoicesFirst, kVoicesLast,
             [&doc](const CommandEvent& e) {
               SnapshotEdit(doc, kHintRepaintAll,
                            [&] { SetActiveStaveEnabledVoices(*doc.GetActiveSection(), e.id - kVoicesFirst); });
             },
             lineId, [&view](int id) {
               return view.ActiveStave() != nullptr && view.ActiveStave()->enabledVoices == id - kVoicesFirst;
             });

  // --- instruments and staves of the section
  t.Add(kAddInstrument,
        [&doc](const CommandEvent&) {
          auto chosen = std::make_unique<CInstrumentDlg>();
          if (!InstrumentChoosers().ChooseInstrumentDefinition(*chosen)) return;
          AddDefinition(doc, std::move(chosen));
        },
        [&view] { return view.ActiveSection() != nullptr; });
  t.Add(kImportDefaultInstrument,
        [&doc](const CommandEvent&) { AddDefinition(doc, std::make_unique<CInstrumentDlg>()); },
        [&view] { return view.ActiveSection() != nullptr; });
  t.Add(kDeleteInstrument,
        [&doc, &view](const CommandEvent&) {
          if (Prompts().Ask(kDeleteInstrumentQuestion, Buttons::kOkCancel, MessageKind::kQuestion, kConfirmationCaption) !=
              Answer::kOk) {
            return;
          }
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            CSystemArray& section = *doc.GetActiveSection();
            // The only instrument stays, emptied of its music.
            const bool several = section.ActiveSystem()->lines.size() > 1;
            section.RemoveInstrument(section.ActiveInstrumentIndex(), several);
            RecomputeSystemsPerPageOnScreen(doc);
          });
          view.ResetCursor();
        },
        hasLine);
  t.Add(kDeleteStaff,
        [&doc](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            if (doc.GetActiveSection()->RemoveActiveStave() != 0) RecomputeSystemsPerPageOnScreen(doc);
          });
        },
        [&view] { return HasActiveLine(view) && view.ActiveLine()->staves.size() > 1; });
  t.Add(kAddNotationStaff,
        [&doc](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            if (doc.GetActiveSection()->AddStaveToActiveInstrument() != 0) RecomputeSystemsPerPageOnScreen(doc);
          });
        },
        hasLine);
  t.Add(kSwapInstrumentWithNext,
        edit(kHintRepaintAll, [&doc] { doc.GetActiveSection()->MoveActiveInstrumentDown(); }),
        [&view] {
          return HasActiveLine(view) &&
                 view.ActiveSection()->ActiveInstrumentIndex() + 1 < view.ActiveSection()->definitions.size();
        });
  t.Add(kClearInstrumentData,
        edit(kHintRepaintAll,
             [&doc] {
               CSystemArray& section = *doc.GetActiveSection();
               section.ClearInstrumentData(section.ActiveInstrumentIndex(), true);
             }),
        hasLine);
  t.Add(kDeleteBlankStaves, edit(kHintRepaintAll, [&doc] { doc.GetActiveSection()->DeleteBlankSystems(); }),
        [&view] { return view.ActiveSection() != nullptr && !view.ActiveSection()->systems.empty(); });
  t.Add(kRecalculateFingerings, edit(kHintRepaintAll, [&doc] { doc.GetActiveSection()->RecalculateFingerings(); }),
        hasLine);
  // Every note of the active instrument by the chosen half steps; none leaves no undo step.
  t.Add(kTransposeInstrument,
        [&doc](const CommandEvent&) {
          const std::optional<TransposeChoice> choice = EntryFormsInForce().Transpose();
          if (!choice || choice->halfSteps == 0) return;
          SnapshotEdit(doc, kHintRepaintAll,
                       [&] { doc.GetActiveSection()->TransposeActiveInstrument(choice->halfSteps); });
        },
        [&view] { return HasActiveLine(view) && EntryFormsInForce().Has(EntryForm::kTranspose); });
}

}  // namespace vornel::view
