// The score view's entries in its command table, and its two context menus.

#include <algorithm>
#include <filesystem>

#include "document/CPageDlg.h"
#include "document/SectionWizard.h"
#include "midi/MidiDialogs.h"
#include "midi/MidiSection.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSystemArray.h"
#include "platform/UserPrompts.h"
#include "platform/io/ProgramLauncher.h"
#include "view/FramePanes.h"
#include "view/commands/ScoreCommandSupport.h"
#include "view/core/CBriotabView.h"
#include "view/core/ViewIds.h"
#include "view/entry/KeyInput.h"
#include "view/entry/NoteEntry.h"

namespace vornel::view {

namespace {

constexpr const char* kResetBarsTitle = "Reset bars per staff";
constexpr long kMostBarsPerStave = 24;
constexpr long kDefaultBarsPerStave = 4;
constexpr const char* kDeleteSectionQuestion = "OK to delete this entire section?";
constexpr const char* kDeleteSectionCaption = "This data will be lost!";

std::string DocumentFolder(const CBriotabDoc& doc) {
  const std::string& path = doc.GetPathName();
  return path.empty() ? std::string() : std::filesystem::path(path).parent_path().string();
}

bool Toggle(int32_t& flag) {
  flag = flag != 0 ? 0 : 1;
  return flag != 0;
}

}  // namespace

void CBriotabView::AddCommands() {
  CommandTable& t = commands_;
  const auto hasSection = [this] { return ActiveSection() != nullptr; };
  const auto hasSystems = [this] { return ActiveSection() != nullptr && !ActiveSection()->systems.empty(); };
  const auto idle = [this, hasSection] { return hasSection() && !IsPlaying(); };
  CPageDlg& page = doc_.settings.pageSettings;

  // --- printing
  t.Add(kPrint, [this](const CommandEvent&) { Window().RunPrint(false, true); }, hasSection);
  t.Add(kQuickPrint, [this](const CommandEvent&) { Window().RunPrint(false, false); }, hasSection);
  t.Add(kPrintPreview, [this](const CommandEvent&) { Window().RunPrint(true, false); }, hasSection);
  // The printer's paper and orientation become the document's.
  t.Add(kPrintSetup, [this, &page](const CommandEvent&) {
    const CPageDlg before = page;
    if (!Window().RunPrintSetup(page)) return;
    if (page.paperFormat == before.paperFormat && page.landscape == before.landscape) return;
    doc_.SetModifiedFlag(true);
    doc_.UpdateAllViews(kHintRepaintAll);
  });

  // --- pages, systems and sections
  const auto pageUp = [this](const CommandEvent&) { PageUp(); };
  const auto pageDown = [this](const CommandEvent&) { PageDown(); };
  const auto canPageUp = [this] { return CanPageUp(); };
  const auto canPageDown = [this] { return CanPageDown(); };
  t.Add(kPageUp, pageUp, canPageUp);
  t.Add(kPageDown, pageDown, canPageDown);
  t.Add(kNavigatePageUp, pageUp, canPageUp);
  t.Add(kNavigatePageDown, pageDown, canPageDown);
  t.Add(kBeginningOfPiece, [this](const CommandEvent&) { ResetCursor(); }, hasSystems);
  t.Add(kEndOfPiece,
        [this](const CommandEvent&) {
          Window().Invalidate();
          entry_->HandleEditKey(KeyEvent{keys::kEnd});
        },
        hasSystems);

  // --- editing by id, as the keys do it
  const auto hasLine = [this] { return HasActiveLine(*this); };
  t.Add(kFormatSystem,
        [this](const CommandEvent&) {
          SnapshotEdit(doc_, kHintRepaintAll, [this] { doc_.ReflowActiveSystem(false); });
          UpdateCaret();
        },
        hasLine);
  t.Add(kDeleteChord, [this](const CommandEvent&) { entry_->HandleEditKey(KeyEvent{keys::kDelete, false, true}); },
        hasLine);
  t.Add(kInsertDynamicSpace, [this](const CommandEvent&) { entry_->HandleEditKey(KeyEvent{keys::kInsert}); }, hasLine);
  t.Add(kCursorStepRight, [this](const CommandEvent&) { entry_->HandleEditKey(KeyEvent{keys::kRight}); }, hasLine);
  t.Add(kCursorStepBack, [this](const CommandEvent&) { entry_->HandleEditKey(KeyEvent{keys::kLeft}); }, hasLine);
  t.Add(kIncreaseFlagValue,
        [this](const CommandEvent&) {
          if (state_.noteValue > 0) commands_.Execute(CommandEvent{kFirstNoteValue + state_.noteValue - 1, std::nullopt, {}});
        },
        hasLine);
  t.Add(kDecreaseFlagValue,
        [this](const CommandEvent&) {
          if (state_.noteValue < 7) commands_.Execute(CommandEvent{kFirstNoteValue + state_.noteValue + 1, std::nullopt, {}});
          if (state_.autoAdvance) entry_->HandleEditKey(KeyEvent{keys::kRight});
        },
        hasLine);
  t.Add(kPreviousSection, [this](const CommandEvent&) { PreviousSection(); },
        [this, idle] { return idle() && doc_.sections.activeSection != 0; });
  t.Add(kNextSection, [this](const CommandEvent&) { NextSection(); },
        [this, idle] { return idle() && static_cast<size_t>(doc_.sections.activeSection) + 1 < doc_.sections.size(); });
  t.Add(kFindBar, [this](const CommandEvent&) { FindBar(); }, hasSystems);
  t.Add(kPreviousSystem, [this](const CommandEvent&) { GoToSystem(ActiveSection()->activeSystem - 1); },
        [this, idle] { return idle() && ActiveSection()->activeSystem > 0; });
  t.Add(kNextSystem, [this](const CommandEvent&) { GoToSystem(ActiveSection()->activeSystem + 1); },
        [this, idle] {
          return idle() && static_cast<size_t>(ActiveSection()->activeSystem) + 1 < ActiveSection()->systems.size();
        });
  t.Add(kSectionsListDoubleClick,
        [this](const CommandEvent& e) { OnSectionListDoubleClick(e.value ? static_cast<int>(*e.value) : -1); },
        hasSection);
  t.Add(kAddNewPage, [this](const CommandEvent&) { doc_.AddNewPage(); }, hasSection);
  const auto newSystem = [this](int mode) {
    return [this, mode](const CommandEvent&) {
      CSystemArray& section = *ActiveSection();
      if (section.systems.empty()) return;
      doc_.SaveSnapshot();
      section.NewSystem(mode);
      doc_.SetModifiedFlag(true);
      doc_.UpdateAllViews(kHintRepaintAll);
    };
  };
  t.Add(kInsertSystemAfter, newSystem(CSystemArray::kInsertAfterActive), hasSection);
  t.Add(kInsertSystemBefore, newSystem(CSystemArray::kInsertAtActive), hasSection);
  t.Add(kDeleteSystem,
        [this](const CommandEvent&) {
          doc_.SaveSnapshot();
          ActiveSection()->DeleteActiveSystem();
          doc_.SetModifiedFlag(true);
          doc_.UpdateAllViews(kHintRepaintAll);
        },
        hasSystems);
  t.Add(kResetBarsPerStave,
        [this](const CommandEvent&) {
          const std::optional<long> bars =
              Prompts().PromptNumber(kResetBarsTitle, kResetBarsTitle, 1, kMostBarsPerStave, kDefaultBarsPerStave);
          if (bars && *bars >= 1 && *bars <= kMostBarsPerStave) doc_.ResetBarsPerStave(static_cast<int>(*bars));
        },
        hasSystems);
  t.Add(kAutoAdvanceToNextSystem,
        [this](const CommandEvent&) { state_.autoAdvanceToNextSystem = !state_.autoAdvanceToNextSystem; }, {},
        [this] { return state_.autoAdvanceToNextSystem; });
  // After the section list changed: the active section's first page, nothing selected.
  const auto ShowSectionsChanged = [this] {
    ClearSelection();
    doc_.UpdateSectionList();
    state_.pageIndex = 0;
    UpdateScrollSizes();
    ScrollTo({0, 0});
    Window().Invalidate();
  };
  t.Add(kDeleteSection,
        [this, ShowSectionsChanged](const CommandEvent&) {
          // The only section stays, without a question.
          if (doc_.sections.size() < 2) return;
          if (Prompts().Ask(kDeleteSectionQuestion, Buttons::kYesNo, MessageKind::kWarning, kDeleteSectionCaption) !=
              Answer::kYes) {
            return;
          }
          StopPlaying();
          if (doc_.sections.DeleteSection(static_cast<size_t>(doc_.sections.activeSection)) == 0) return;
          // The snapshots were of the deleted section: none may come back into another one.
          doc_.undoStack.clear();
          doc_.redoStack.clear();
          ShowSectionsChanged();
        },
        hasSection);
  t.Add(kViewSectionsTree, [this](const CommandEvent&) { Panes().ShowSectionTree(doc_); }, hasSection);
  t.Add(kAddSection, [this, ShowSectionsChanged](const CommandEvent&) {
    StopPlaying();
    if (AddSectionWithWizard(doc_) != nullptr) ShowSectionsChanged();
  });
  t.Add(kLinearMode, [this](const CommandEvent&) { ToggleLinearMode(); }, hasSystems,
        [this] { return doc_.settings.linearMode != 0; });

  // --- entry modes and display toggles
  t.Add(kOverwriteMode, [this](const CommandEvent&) { state_.overwriteMode = !state_.overwriteMode; }, {},
        [this] { return state_.overwriteMode; });
  t.Add(kCursorAutoAdvance,
        [this](const CommandEvent&) {
          state_.autoAdvance = !state_.autoAdvance;
          UpdateCaret();
        },
        {}, [this] { return state_.autoAdvance; });
  t.Add(kEchoOnUpdate, [this](const CommandEvent&) { state_.echoOnUpdate = !state_.echoOnUpdate; }, {},
        [this] { return state_.echoOnUpdate; });
  const auto display = [this](int32_t& flag) {
    return [this, &flag](const CommandEvent&) {
      Toggle(flag);
      Window().Invalidate();
    };
  };
  t.Add(kColorSyntax, display(page.coloredSyntax), {}, [&page] { return page.coloredSyntax != 0; });
  t.Add(kColoredVoices,
        [this, &page](const CommandEvent&) {
          page.coloredVoices = page.coloredVoices != 0 ? 0 : 1;
          Window().Invalidate();
        },
        {}, [&page] { return page.coloredVoices != 0; });
  t.Add(kSystemTrackers, display(page.showMetaEventFrames), {}, [&page] { return page.showMetaEventFrames != 0; });
  // Shown checked from the same flag; no command of its own.
  t.Add(kMetaEventsTracing, {}, {}, [&page] { return page.showMetaEventFrames != 0; });

  // --- playback
  t.Add(kPause, [this](const CommandEvent&) { TogglePause(); }, [this] { return IsPlaying(); },
        [this] { return state_.paused; });
  t.Add(kTempo, [this](const CommandEvent&) { ChangeTempo(); }, hasSection);
  t.Add(kMidiPatch,
        [this](const CommandEvent&) {
          CSystemArray& section = *ActiveSection();
          CInstrumentDlg& definition = *section.ActiveDefinition();
          int program = definition.midi.patch;
          std::string name;
          if (!ChooseGMPatch(program, name, player_.get(), PatchChooserChannel(definition))) return;
          definition.midi.patch = static_cast<uint8_t>(std::clamp(program, 0, 127));
          doc_.SetModifiedFlag(true);
        },
        hasSystems);
  t.Add(kPlayMidiFile, [this](const CommandEvent&) {
    if (services_.playMidiFile) {
      services_.playMidiFile();
      return;
    }
    const std::optional<std::string> path = Prompts().PromptOpenFile("Play a MIDI file", "*.mid", DocumentFolder(doc_));
    if (path) Programs().OpenWithDefault(*path);
  });

  // Section, voice, instrument, stave, chord and layout tools (view/commands/).
  AddSectionToolCommands(t, *this);
  AddInstrumentOptionCommands(t, *this);
  AddVoiceToolCommands(t, *this);
  AddChordEventCommands(t, *this);
  AddInstrumentClipboardCommands(t, *this);
  AddTuningCommands(t, *this);
  AddScoreDialogCommands(t, *this);
  AddRichTextCommands(t, *this);
  AddMailCommand(t, doc_);
  AddLayoutToolCommands(t, *this);
}

const std::vector<MenuItem>& CBriotabView::ContextMenu(int menuId) {
  // The selection menu: what the selection commands do with the chords it holds.
  static const std::vector<MenuItem> selection = {
      {57635, "Cu&t\tCtrl+X", {}},
      {57634, "&Copy\tCtrl+C", {}},
      {57637, "&Paste\tCtrl+V", {}},
      {0, {}, {}},
      {33250, "Clone selection", {}},
      {33251, "Copy rhythm ", {}},
      {33253, "Transform selection", {}},
      {33218, "Transpose selection - half steps", {}},
      {33259, "Transpose selection - intervals", {}},
  };
  // The score menu.
  static const std::vector<MenuItem> score = {
      {0, "Properties", {{33181, "Instrument properties", {}}, {33297, "Section settings", {}}, {33028, "System options", {}}}},
      {0, "Insert event",
       {{33201, "Insert clef", {}},
        {33240, "Insert time signature", {}},
        {33506, "Insert key signature", {}},
        {33400, "Dynamics", {}},
        {33347, "Tempo change", {}},
        {33345, "Lyric\tControl+L", {}},
        {33346, "Add footnote", {}},
        {33348, "Add hyperlink", {}}}},
      {0, "Add ", {{33290, "Add notation staff", {}}, {kInsertSystemAfter, "Insert system after", {}},
                   {kInsertSystemBefore, "Insert system before", {}}, {kAddNewPage, "Add new page", {}}}},
      {0, "Delete", {{33360, "Delete meta-event", {}}, {kDeleteSystem, "Delete system", {}},
                     {33292, "Delete staff", {}}, {33289, "Delete instrument", {}}}},
      {0, "Clear", {{32999, "Clear rests", {}}, {33160, "Delete pedal events", {}}}},
  };
  static const std::vector<MenuItem> none;
  if (menuId == kSelectionMenu) return selection;
  if (menuId == kScoreMenu) return score;
  return none;
}

}  // namespace vornel::view
