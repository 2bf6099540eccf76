// Score commands that open a dialog on the section, the active system, the active definition
// or the document: section settings, instrument properties, system options, the fonts of the
// instrument, of the end texts and of the document, the ornament table, the MIDI echo and
// the paper texture. Each edit of the section is one undo step; a cancelled dialog leaves
// none.

#include <string>

#include "layout/dialogs/SectionDialogs.h"
#include "midi/MidiDialogs.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CSectionArray.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/score/SectionEditor.h"
#include "platform/UserPrompts.h"
#include "view/commands/ScoreCommandSupport.h"
#include "view/commands/ScoreDialogs.h"
#include "view/core/CBriotabView.h"
#include "view/draw/FontChooser.h"

namespace vornel::view {

namespace {

constexpr int kInstrumentProperties = 33181;
constexpr int kSectionSettings = 33297;
constexpr int kSystemOptions = 33028;
constexpr int kChooseFont = 33182;
constexpr int kBitmapBackground = 33064;
constexpr int kTextureOn = 34254;
constexpr int kChordChart = 32793;
constexpr int kDocumentFonts = 33407;
constexpr int kResetEndTextFont = 33192;
constexpr int kCustomizeOrnaments = 34074;
constexpr int kMidiEcho = 33986;
constexpr int kEditSectionEndText = 34089;

// Binary documents older than this are saved before their instrument is edited.
constexpr const char* kFirstCurrentBinaryVersion = "6.5";
constexpr const char* kSaveOldDocumentQuestion =
    "This document was written by an older version. It is saved in the current form before its instrument is "
    "edited.\nSave it now?";

}  // namespace

void AddScoreDialogCommands(CommandTable& t, CBriotabView& view) {
  CBriotabDoc& doc = view.Document();
  const auto hasLine = [&view] { return HasActiveLine(view); };
  const auto hasSystems = [&view] { return view.ActiveSection() != nullptr && !view.ActiveSection()->systems.empty(); };
  const auto section = [&doc]() -> CSystemArray& { return *doc.GetActiveSection(); };

  t.Add(kSectionSettings,
        [&doc, section](const CommandEvent&) {
          // The section's heading fonts go to every section (and its offset, when asked).
          const bool changed = EverySectionEditIf(doc, kHintRepaintAll, [&] {
            bool resetOffsets = false;
            // "Global" gives every section the author at once; undo gives back this one.
            const auto applyAuthor = [&doc](const std::string& author) {
              if (!ApplyAuthorToAllSections(doc.sections, author)) return false;
              doc.SetModifiedFlag();
              return true;
            };
            if (EditSectionProperties(section(), &resetOffsets, applyAuthor) == 0) return false;
            // "Reset all sections offsets": every section takes this section's left offset.
            if (resetOffsets) {
              for (const auto& each : doc.sections.items()) each->leftOffset = section().leftOffset;
            }
            doc.ApplySectionFonts(0);
            doc.ApplySectionFonts(1);
            return true;
          });
          if (changed) doc.UpdateSectionList();
        },
        [&view] { return view.ActiveSection() != nullptr; });
  t.Add(kInstrumentProperties,
        [&doc, section](const CommandEvent&) {
          // A binary document of an older version is saved first, after asking.
          if (doc.xmlFlag == 0 && !doc.GetPathName().empty() && doc.binaryFileVersion() < kFirstCurrentBinaryVersion) {
            const Answer answer = Prompts().Ask(kSaveOldDocumentQuestion, Buttons::kYesNoCancel, MessageKind::kQuestion, {});
            if (answer == Answer::kCancel) return;
            if (answer == Answer::kYes && !doc.SaveBinary(doc.GetPathName())) return;
          }
          SnapshotEditIf(doc, kHintRepaintAll, [&] {
            if (section().EditActiveInstrument() == 0) return false;
            RecomputeSystemsPerPageOnScreen(doc);
            return true;
          });
        },
        hasLine);
  t.Add(kSystemOptions,
        [&doc, section](const CommandEvent&) {
          SnapshotEditIf(doc, kHintRepaintAll, [&] { return EditSystemOptions(*section().ActiveSystem()); });
        },
        hasSystems);
  t.Add(kChooseFont,
        [&doc, &view](const CommandEvent&) {
          CInstrumentDlg& definition = *ActiveDefinitionOf(view);
          const bool tablature = InTablature(view);
          if (SnapshotEditIf(doc, kHintRepaintAll, [&] {
                return tablature ? ChooseFont(definition.tabInstrument.tabFont) : ChooseFont(definition.notationFont);
              })) {
            view.UpdateCaret();
          }
        },
        hasLine);
  t.Add(kCustomizeOrnaments,
        [&doc, &view](const CommandEvent&) {
          SnapshotEditIf(doc, kHintRepaintAll,
                         [&] { return ScoreCommandDialogs().CustomizeOrnaments(*ActiveDefinitionOf(view)); });
        },
        hasLine);
  t.Add(kEditSectionEndText,
        [&doc, section](const CommandEvent&) {
          SnapshotEditIf(doc, kHintRepaintAll, [&] { return SectionEditors().EditTrackText(section().EndText()); });
        },
        [&view] { return view.ActiveSection() != nullptr; });
  t.Add(kMidiEcho,
        [&doc, &view](const CommandEvent&) {
          SnapshotEditIf(doc, kHintNothing, [&] { return EditControllers(ActiveDefinitionOf(view)->midi); });
        },
        hasLine);

  // Changes of every section: one undo gives them all back.
  t.Add(kDocumentFonts,
        [&doc](const CommandEvent&) {
          EverySectionEditIf(doc, kHintRepaintAll, [&doc] {
            if (!ScoreCommandDialogs().EditDocumentFonts(doc)) return false;
            doc.ApplySectionFonts(1);
            return true;
          });
        },
        [&view] { return view.ActiveSection() != nullptr; });
  t.Add(kResetEndTextFont,
        [&doc](const CommandEvent&) {
          dfLogFont font;
          if (!ChooseFont(font)) return;
          EverySectionEdit(doc, kHintRepaintAll, [&] {
            for (const auto& each : doc.sections.items()) each->EndText().font = font;
          });
        },
        [&view] { return view.ActiveSection() != nullptr; });
  t.Add(kBitmapBackground, [&view](const CommandEvent&) {
    if (ScoreCommandDialogs().ChooseTextureBitmap()) view.Window().Invalidate();
  });
  t.Add(kChordChart,
        [&view](const CommandEvent&) {
          if (const CInstrumentDlg* definition = ActiveDefinitionOf(view)) {
            ScoreCommandDialogs().ToggleChordChart(definition->tabInstrument);
          }
        },
        [&view] { return ActiveDefinitionOf(view) != nullptr; });
  t.Add(kTextureOn, [&view](const CommandEvent&) { view.Window().Invalidate(); }, {},
        [] { return ScoreCommandDialogs().TextureOn(); });
}

}  // namespace vornel::view
