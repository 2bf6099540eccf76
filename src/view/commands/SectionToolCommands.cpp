// Commands on the section list and the page layout of the active section, and the
// "Remove all..." family.

#include <algorithm>

#include "model/instrument/CInstrument.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "platform/UserPrompts.h"
#include "view/commands/ScoreCommandSupport.h"
#include "view/core/CBriotabView.h"

namespace vornel::view {

namespace {

constexpr int kMoveSection = 33172;
constexpr int kSpaceOutStaves = 1175;
constexpr int kMoreStaves = 1176;
constexpr int kGlobalStavesPerPage = 33047;
constexpr int kShiftLastBarsDown = 33004;
constexpr int kShiftFirstBarsUp = 33005;
constexpr int kMoveFirstBarUp = 33006;
constexpr int kMoveLastBarDown = 33007;
constexpr int kInsertSpaceAcrossSystem = 32787;
constexpr int kInsertRightSpaceAcrossSystem = 32788;
constexpr int kShowHiddenStaves = 33254;
constexpr int kSpaceAtTop = 33255;
constexpr int kInitialTimeSignature = 33295;
constexpr int kResetMetaEventPositions = 33283;
constexpr int kMetaEventsTracing = 33284;
constexpr int kProportionalSpacing = 33115;
constexpr int kClearForcedBarlines = 33105;

constexpr int32_t kMostStavesPerPage = 15;
constexpr long kMostGlobalStaves = 24;

constexpr ClearCommand kRemoveAll[] = {
    ClearCommand::kFingerings,   ClearCommand::kOrnaments,    ClearCommand::kLinks,
    ClearCommand::kVoicingCues,  ClearCommand::kLyrics,       ClearCommand::kStaticSpaces,
    ClearCommand::kSectionNotes, ClearCommand::kDanglingFloatingOrnaments,
    ClearCommand::kNoteBeamFormatting, ClearCommand::kMetaEvents,
};

}  // namespace

void AddSectionToolCommands(CommandTable& t, CBriotabView& view) {
  CBriotabDoc& doc = view.Document();
  const auto hasSection = [&view] { return view.ActiveSection() != nullptr; };
  const auto hasSystems = [&view] { return view.ActiveSection() != nullptr && !view.ActiveSection()->systems.empty(); };
  const auto hasLine = [&view] { return HasActiveLine(view); };
  CPageDlg& page = doc.settings.pageSettings;

  t.Add(kMoveSection,
        [&doc](const CommandEvent&) {
          const long count = static_cast<long>(doc.sections.size());
          const long active = doc.sections.activeSection;
          const std::optional<long> to = Prompts().PromptNumber("Move section", "Move section:", 1, count, active + 1);
          if (!to || *to < 1 || *to > count) return;
          // Snapshots name sections by place: none may come back once the places change.
          doc.undoStack.clear();
          doc.redoStack.clear();
          doc.sections.MoveSection(static_cast<size_t>(active), static_cast<size_t>(*to - 1));
          doc.sections.activeSection = static_cast<int32_t>(*to - 1);
          doc.UpdateSectionList();
          doc.UpdateAllViews(kHintRepaintAll);
        },
        hasSection);
  // Both start from the document's default, so pressing either twice gives the same value.
  t.Add(kSpaceOutStaves,
        [&doc, &page](const CommandEvent&) {
          const int32_t defaultCount = static_cast<int32_t>(page.systemsPerPage);
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            doc.GetActiveSection()->stavesPerPage = defaultCount > 1 ? defaultCount - 1 : defaultCount;
          });
        },
        hasSection);
  t.Add(kMoreStaves,
        [&doc, &page](const CommandEvent&) {
          const int32_t defaultCount = static_cast<int32_t>(page.systemsPerPage);
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            doc.GetActiveSection()->stavesPerPage = defaultCount < kMostStavesPerPage ? defaultCount + 1 : defaultCount;
          });
        },
        hasSection);
  t.Add(kGlobalStavesPerPage,
        [&doc](const CommandEvent&) {
          const std::optional<long> count =
              Prompts().PromptNumber("Global reset staves per page", "Set number of staves per page for the document", 1,
                                     kMostGlobalStaves, doc.GetActiveSection()->stavesPerPage);
          if (!count || *count < 1 || *count > kMostGlobalStaves) return;
          doc.BeginEverySectionEdit();
          for (const auto& section : doc.sections.items()) section->stavesPerPage = static_cast<int32_t>(*count);
          doc.SetModifiedFlag(true);
          doc.UpdateAllViews(kHintRepaintAll, doc.GetActiveSystem());
        },
        hasSection);
  const auto shift = [&doc](int direction) {
    return [&doc, direction](const CommandEvent&) {
      SnapshotEdit(doc, kHintRepaintAll, [&] { doc.GetActiveSection()->ShiftSystemBars(direction); });
    };
  };
  t.Add(kShiftLastBarsDown, shift(1), hasLine);
  t.Add(kShiftFirstBarsUp, shift(0), hasLine);
  // The active line alone, its selected voice only; the first system has nothing above it.
  const auto moveBar = [&doc](int direction) {
    return [&doc, direction](const CommandEvent&) {
      SnapshotEdit(doc, kHintRepaintAll, [&] {
        CSystemArray& section = *doc.GetActiveSection();
        if (section.MoveLineBarAcrossSystems(static_cast<size_t>(section.activeSystem), section.ActiveInstrumentIndex(),
                                             direction, true) != 0) {
          section.RecalculateSection(true);
        }
      });
    };
  };
  t.Add(kMoveFirstBarUp, moveBar(0),
        [&view] { return HasActiveLine(view) && view.ActiveSection()->activeSystem > 0; });
  t.Add(kMoveLastBarDown, moveBar(1), hasLine);
  const auto spaceAcross = [&doc](bool rightSpace) {
    return [&doc, rightSpace](const CommandEvent&) {
      doc.SaveSnapshot();
      if (doc.GetActiveSection()->InsertSpecialEventColumnAtCursor(rightSpace) != 0) doc.NotifyChanged(kHintRepaintSystem);
    };
  };
  t.Add(kInsertSpaceAcrossSystem, spaceAcross(false), hasLine);
  t.Add(kInsertRightSpaceAcrossSystem, spaceAcross(true), hasLine);
  t.Add(kShowHiddenStaves,
        [&doc](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            for (const auto& system : doc.GetActiveSection()->systems.items()) system->hidden = 0;
          });
        },
        hasSection);
  t.Add(kSpaceAtTop,
        [&doc](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            CSystemArray& section = *doc.GetActiveSection();
            section.activeSystem = 0;
            if (CStaveArray* added = section.NewSystem(CSystemArray::kInsertAtActive)) added->hidden = 1;
          });
        },
        hasSection);
  t.Add(kInitialTimeSignature,
        [&doc](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintAll, [&] { doc.GetActiveSection()->InsertInitialTimeSignature(); });
        },
        hasSystems);
  t.Add(kResetMetaEventPositions,
        [&doc](const CommandEvent&) {
          doc.SaveSnapshot();
          for (const auto& system : doc.GetActiveSection()->systems.items()) {
            for (const auto& line : system->lines.items()) {
              line->firstVoice.ResetMetaEventLocations();
              line->secondVoice.ResetMetaEventLocations();
            }
          }
          doc.SetModifiedFlag(true);
          doc.UpdateAllViews(kHintRepaintAll, doc.GetActiveSystem());
        },
        hasSystems);
  t.Add(kMetaEventsTracing,
        [&doc, &page](const CommandEvent&) {
          page.showMetaEventFrames = page.showMetaEventFrames != 0 ? 0 : 1;
          doc.NotifyChanged(kHintRepaintAll);
        },
        {}, [&page] { return page.showMetaEventFrames != 0; });
  t.Add(kProportionalSpacing,
        [&doc, &page](const CommandEvent&) {
          page.proportionalSpacing = page.proportionalSpacing != 0 ? 0 : 1;
          doc.UpdateAllViews(kHintRepaintAll);
        },
        {}, [&page] { return page.proportionalSpacing != 0; });

  // --- "Remove all..."
  for (const ClearCommand command : kRemoveAll) {
    t.Add(static_cast<int>(command),
          [&doc, command](const CommandEvent&) {
            SnapshotEdit(doc, kHintRepaintAll, [&] { doc.GetActiveSection()->ApplyCommandToActiveInstrument(command); });
          },
          hasLine);
  }
  t.Add(kClearForcedBarlines,
        [&doc](const CommandEvent&) {
          // One snapshot for the clearing and the reformatting that follows it.
          doc.SaveSnapshot();
          doc.GetActiveSection()->ApplyCommandToActiveInstrument(ClearCommand::kClearForcedBarlines);
          ReformatActiveSection(doc, false);
          doc.UpdateAllViews(kHintRepaintAll);
        },
        hasLine);
}

}  // namespace vornel::view
