// Instrument commands of the score view that reach beyond the active section: the
// application's instrument clipboard (copy an instrument or a voice, paste it as a new
// instrument, into the line or into the voice, copy a range of bars), the instrument base
// (replace the active definition by a library entry, edit an entry), the templates dialog,
// and the settings and tablature font passed to every section.

#include <memory>
#include <string>

#include "layout/dialogs/SmallDialogs.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSectionArray.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/score/SectionEditor.h"
#include "model/score/SectionTools.h"
#include "platform/UserPrompts.h"
#include "view/commands/ScoreCommandSupport.h"
#include "view/commands/ScoreDialogs.h"
#include "view/core/CBriotabView.h"
#include "view/draw/FontChooser.h"
#include "view/entry/ChordClipboard.h"

namespace vornel::view {

namespace {

constexpr int kCopyInstrument = 32980;
constexpr int kCopyVoice = 32981;
constexpr int kCopyBarRange = 32982;
constexpr int kPasteInstrumentAsNew = 32984;
constexpr int kPasteInstrumentData = 32985;
constexpr int kPasteVoice = 32986;
constexpr int kInstrumentDatabase = 33010;
constexpr int kResetAllTablatureFonts = 33176;
constexpr int kApplySettingsToAllSections = 33633;

// A pasted voice longer than this is laid out again, this many bars to a system.
constexpr size_t kLongPastedVoice = 50;
constexpr size_t kPastedVoiceBarsPerSystem = 20;

constexpr const char* kEmptyClipboard = "The instrument clipboard is empty: copy an instrument or a voice first.";
constexpr const char* kNoBars = "The active instrument has no bars to copy.";

// A copy of the active definition holding copies of both voices of its line in every system.
std::unique_ptr<CInstrumentDlg> CopyActiveInstrument(CSystemArray& section) {
  CInstrumentDlg& active = *section.Definition(section.GatherActiveInstrumentVoices());
  auto copy = active.Clone();
  for (size_t v = 0; v < copy->gathered.size(); ++v) copy->gathered[v] = nChordArray(active.gathered[v]);
  active.ReleaseGatheredVoices();
  return copy;
}

}  // namespace

std::unique_ptr<CInstrumentDlg>& InstrumentClipboard() {
  static std::unique_ptr<CInstrumentDlg> held;
  return held;
}

void AddInstrumentClipboardCommands(CommandTable& t, CBriotabView& view) {
  CBriotabDoc& doc = view.Document();
  const auto hasLine = [&view] { return HasActiveLine(view); };
  const auto holding = [&view] { return HasActiveLine(view) && InstrumentClipboard() != nullptr; };
  const auto section = [&doc]() -> CSystemArray& { return *doc.GetActiveSection(); };

  t.Add(kCopyInstrument, [section](const CommandEvent&) { InstrumentClipboard() = CopyActiveInstrument(section()); },
        hasLine);
  t.Add(kCopyVoice,
        [&view, section](const CommandEvent&) {
          CInstrument& line = *view.ActiveLine();
          auto copy = CopyActiveInstrument(section());
          const size_t kept = line.selectedVoice != 0 ? 1 : 0;
          copy->gathered[1 - kept] = nChordArray();
          copy->DeleteStaves();
          copy->AddStave()->CopySettingsFrom(*line.GetCurrentStave());
          copy->currentStave = 0;
          copy->LinkStaves();
          InstrumentClipboard() = std::move(copy);
        },
        hasLine);
  t.Add(kCopyBarRange,
        [section](const CommandEvent&) {
          CBarRangeDlg dialog;
          dialog.barCount = CountActiveInstrumentBars(section());
          if (dialog.barCount < 1) {
            Prompts().ShowMessage(kNoBars, MessageKind::kInformation);
            return;
          }
          dialog.Open();
          if (!ScoreCommandDialogs().ChooseBarRange(dialog)) return;
          nChordArray chords;
          if (CopyBarRange(section(), chords, dialog.begin, dialog.end) > 0) ChordClipboards().Put(chords);
        },
        hasLine);
  t.Add(kPasteInstrumentAsNew,
        [&doc, section](const CommandEvent&) {
          if (InstrumentClipboard() == nullptr) {
            Prompts().ShowMessage(kEmptyClipboard, MessageKind::kInformation);
            return;
          }
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            section().AddInstrumentWithVoices(std::move(InstrumentClipboard()));
            RecomputeSystemsPerPageOnScreen(doc);
          });
        },
        [&view] { return view.ActiveSection() != nullptr && !view.ActiveSection()->systems.empty(); });
  t.Add(kPasteInstrumentData,
        [&doc, section](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            const std::unique_ptr<CInstrumentDlg> copied = std::move(InstrumentClipboard());
            section().PasteInstrumentDataAtCursor(*copied);
          });
        },
        holding);
  t.Add(kPasteVoice,
        [&doc, &view, section](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            CInstrument& line = *view.ActiveLine();
            nChordArray& voice = line.GetSelectedVoice();
            nChordArray& from = InstrumentClipboard()->gathered[line.selectedVoice != 0 ? 1 : 0];
            const size_t before = voice.size();
            size_t at = std::min(static_cast<size_t>(std::max(line.GetCurrentStave()->cursorColumn, 0)), voice.size());
            // The chords now belong to the score; the system breaks of the copy stay behind.
            for (const auto& handle : from) {
              if (handle != nullptr && !handle->IsStaveBreak()) voice.insert(at++, handle);
            }
            from = nChordArray();
            section().RecalculateSection(true);
            if (before > kLongPastedVoice) {
              section().ReflowSystems(true, kPastedVoiceBarsPerSystem);
              section().ReflowSystems(false, kPastedVoiceBarsPerSystem);
            }
          });
        },
        holding);

  t.Add(kInstrumentDatabase,
        [&doc, &view, section](const CommandEvent&) {
          std::unique_ptr<CInstrumentDlg> chosen = ScoreCommandDialogs().ChooseFromTemplates(*ActiveDefinitionOf(view));
          if (chosen == nullptr) return;
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            const size_t i = section().ActiveInstrumentIndex();
            CInstrumentDlg& definition = *section().Definition(i);
            definition.CopyFrom(*chosen);
            section().ApplyInstrumentDefinition(definition, i);
          });
        },
        hasLine);
  t.Add(kResetAllTablatureFonts,
        [&doc, &view](const CommandEvent&) {
          dfLogFont font = ActiveDefinitionOf(view)->tabInstrument.tabFont;
          if (!ChooseFont(font)) return;
          EverySectionEdit(doc, kHintRepaintAll, [&] {
            for (const auto& each : doc.sections.items()) each->ResetTablatureFonts(font);
          });
        },
        hasLine);
  t.Add(kApplySettingsToAllSections,
        [&doc, section](const CommandEvent&) {
          const size_t j = section().ActiveInstrumentIndex();
          const CInstrumentDlg& source = *section().Definition(j);
          // Only the other sections change; one undo gives them back.
          EverySectionEdit(doc, kHintRepaintAll, [&] {
            for (const auto& other : doc.sections.items()) {
              if (other.get() == &section() || other->definitions.size() <= j) continue;
              CInstrumentDlg& target = *other->Definition(j);
              target.ApplySettingsFrom(source);
              SetShortSignatures(*other, source.tabInstrument.shortSignature != 0);
              other->ApplyInstrumentDefinition(target, j);
            }
          });
        },
        hasLine);
}

// --- the instrument base

namespace {
constexpr const char* kInvalidSelection = "Invalid instrument selection";
constexpr const char* kReplaceQuestion = "Replace current instrument definition?";
constexpr const char* kBaseNotSaved = "The instrument base could not be saved: the changes to the instrument are kept until the program closes.";

const CInstrumentDlg* LibraryEntry(int index) {
  const CInstrumentArray* base = ScoreCommandDialogs().InstrumentBase();
  if (base == nullptr || index < 0 || static_cast<size_t>(index) >= base->size()) return nullptr;
  return base->at(static_cast<size_t>(index));
}
}  // namespace

bool ReplaceInstrumentFromLibrary(CBriotabView& view, int index) {
  if (index < 0) return false;
  const CInstrumentDlg* entry = LibraryEntry(index);
  if (entry == nullptr || view.ActiveLine() == nullptr) {
    Prompts().ShowMessage(kInvalidSelection, MessageKind::kWarning);
    return false;
  }
  if (Prompts().Ask(kReplaceQuestion, Buttons::kYesNo, MessageKind::kQuestion, {}) != Answer::kYes) return false;
  CBriotabDoc& doc = view.Document();
  SnapshotEdit(doc, kHintRepaintAll, [&] {
    CSystemArray& section = *doc.GetActiveSection();
    const size_t i = section.ActiveInstrumentIndex();
    CInstrumentDlg& definition = *section.Definition(i);
    definition.CopyFrom(*entry);
    section.ApplyInstrumentDefinition(definition, i);
  });
  return true;
}

bool EditLibraryInstrument(int index) {
  CInstrumentArray* base = ScoreCommandDialogs().InstrumentBase();
  if (base == nullptr || index < 0 || static_cast<size_t>(index) >= base->size()) return false;
  CInstrumentDlg* entry = base->at(static_cast<size_t>(index));
  if (entry == nullptr) return false;
  CInstrumentDlg edited(*entry);
  if (!SectionEditors().EditInstrument(edited)) return false;
  entry->CopyFrom(edited);
  if (!ScoreCommandDialogs().SaveInstrumentBase()) Prompts().ShowMessage(kBaseNotSaved, MessageKind::kWarning);
  return true;
}

}  // namespace vornel::view
