// Layout commands of the score view: reformatting, space below a stave, merging a system
// into the one above, the commands that show nothing, and following hyperlinks.

#include <algorithm>
#include <filesystem>
#include <string>

#include "layout/dialogs/SectionDialogs.h"
#include "model/instrument/CClef.h"
#include "model/instrument/CInstrument.h"
#include "model/events/CMetaEvent.h"
#include "model/score/CSystemArray.h"
#include "model/events/MetaEventEditor.h"
#include "platform/UserPrompts.h"
#include "platform/io/ProgramLauncher.h"
#include "view/commands/ScoreCommandSupport.h"
#include "view/core/CBriotabView.h"
#include "view/core/ViewIds.h"

namespace vornel::view {

namespace {

constexpr int kReformatSection = 33411;
constexpr int kReformatAllSections = 33412;
constexpr int kResetTitlesPosition = 33065;
constexpr int kReformatAllSectionStaves = 33171;
constexpr int kAddSpaceBelow = 32769;
constexpr int kCloseSpaceBelow = 32770;
constexpr int kMergeSystemAbove = 32771;
constexpr int kVoiceSplitLocation = 33421;
// Buttons that would open a floating tool bar which no tool bar here matches.
constexpr int kFloatingBars[] = {33737, 33746, 33754, 33759, 33777, 33784, 33800, 33813, 33815, 33816, 33644};
constexpr int kFloatBarsFirst = 33090;
constexpr int kFloatBarsLast = 33099;

constexpr const char* kDeprecated = "Deprecated function";

}  // namespace

void AddLayoutToolCommands(CommandTable& t, CBriotabView& view) {
  CBriotabDoc& doc = view.Document();
  const auto hasSystems = [&view] { return view.ActiveSection() != nullptr && !view.ActiveSection()->systems.empty(); };

  t.Add(kReformatSection,
        [&doc](const CommandEvent&) {
          ReformatActiveSection(doc, true);
          doc.UpdateAllViews(kHintRepaintAll);
        },
        hasSystems);
  // "Page formatting": the page's staves and spacing, the sections reflowed and their
  // headings placed; undo holds one section, so its step gives back the active section alone.
  const auto pageFormatting = [&doc](const CommandEvent&) {
    if (ReformatSectionsWithDialog(doc)) doc.UpdateAllViews(kHintRepaintAll);
  };
  t.Add(kReformatAllSections, pageFormatting, hasSystems);
  t.Add(kResetTitlesPosition, pageFormatting, hasSystems);
  // The headings as the page formatting places them by default: title centred, author right,
  // comments left; then the view at 100 percent on the start of the section.
  t.Add(kPositionTitles,
        [&doc, &view](const CommandEvent&) {
          const CReformatPageDlg defaults;
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            PositionSectionTitles(doc, {defaults.titleAlignment, defaults.authorAlignment, defaults.commentsAlignment});
          });
          view.SetZoomKeepingPosition(100);
          view.ResetCursor();
        },
        hasSystems);
  t.Add(kReformatAllSectionStaves,
        [&doc](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintAll, [&] { doc.GetActiveSection()->RecalculateSection(true); });
        },
        hasSystems);
  const auto spaceBelow = [&doc, &view](bool add) {
    return [&doc, &view, add](const CommandEvent&) {
      if (view.ActiveLine() == nullptr) {
        Prompts().Beep(BeepKind::kExclamation);
        return;
      }
      SnapshotEdit(doc, kHintRepaintAll, [&] { doc.GetActiveSection()->ChangeActiveStaveSpaceBelow(add); });
    };
  };
  t.Add(kAddSpaceBelow, spaceBelow(true), hasSystems);
  t.Add(kCloseSpaceBelow, spaceBelow(false), hasSystems);
  t.Add(kMergeSystemAbove,
        [&doc](const CommandEvent&) {
          SnapshotEdit(doc, kHintRepaintAll, [&] {
            CSystemArray& section = *doc.GetActiveSection();
            section.MergeSystemIntoPrevious(static_cast<size_t>(section.activeSystem));
            section.RecalculateSection(true);
          });
        },
        [&view] { return view.ActiveSection() != nullptr && view.ActiveSection()->activeSystem > 0; });
  t.Add(kVoiceSplitLocation, [](const CommandEvent&) { Prompts().ShowMessage(kDeprecated, MessageKind::kWarning); });
  for (const int id : kFloatingBars) t.Add(id, [](const CommandEvent&) {});
  t.AddRange(kFloatBarsFirst, kFloatBarsLast, [](const CommandEvent&) {});
}

// --- hyperlinks

namespace {

bool WebTarget(const std::string& target) {
  for (const char* scheme : {"http://", "https://", "mailto:"}) {
    if (target.rfind(scheme, 0) == 0) return true;
  }
  return false;
}

}  // namespace

std::optional<std::string> HyperlinkTarget(const CMetaEvent& event, const std::string& documentFolder) {
  const size_t bar = event.text.find('|');
  // A text without "|" is its own target.
  std::string target = bar == std::string::npos ? event.text : event.text.substr(0, bar);
  if (target.empty()) return std::nullopt;
  if (WebTarget(target)) return target;
  if (documentFolder.empty()) return std::nullopt;
  // A file only when it exists in the document's folder.
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::weakly_canonical(documentFolder, error);
  const std::filesystem::path file = std::filesystem::weakly_canonical(folder / target, error);
  if (error || file.parent_path() != folder || !std::filesystem::is_regular_file(file, error)) return std::nullopt;
  return file.string();
}

void FollowHyperlink(CBriotabView& view, const CMetaEvent& event) {
  // An internal link holds its section in the low byte of cx and its bar in the next.
  if (event.cy == 0) {
    const int section = event.cx & 0xFF;
    const int bar = (event.cx >> 8) & 0xFF;
    view.GoToBar(std::max(bar, 1), std::max(section, 1));
    view.Window().Invalidate();
    return;
  }
  const std::string& path = view.Document().GetPathName();
  const std::string folder = path.empty() ? std::string() : std::filesystem::path(path).parent_path().string();
  const std::optional<std::string> target = HyperlinkTarget(event, folder);
  if (!target) {
    Prompts().ShowMessage("This link cannot be opened: only web and mail addresses and files beside the document are.",
                          MessageKind::kWarning);
    return;
  }
  if (Prompts().Ask("Open " + *target + "?", Buttons::kYesNo, MessageKind::kQuestion, {}) != Answer::kYes) return;
  if (!Programs().OpenWithDefault(*target)) {
    Prompts().ShowMessage("Cannot open " + *target, MessageKind::kError);
  }
}

}  // namespace vornel::view
