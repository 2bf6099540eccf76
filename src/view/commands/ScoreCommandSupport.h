#pragma once
// What the score commands of the section, voice, instrument, stave, chord and layout families
// share: the active definition of the view's line, the enable rules, the snapshot-and-notify
// frame of an edit, and the systems per page worked out again on a screen-like device.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "document/CBriotabDoc.h"
#include "view/commands/CommandTable.h"

namespace vornel {

class CClef;
class CInstrumentDlg;
class CMetaEvent;
class nChord;

namespace view {

class CBriotabView;

// The definition of the view's active line; null without one.
CInstrumentDlg* ActiveDefinitionOf(const CBriotabView& view);
// The chord at the active stave's cursor in the selected voice; null without one.
nChord* CursorChordOf(const CBriotabView& view);
bool HasActiveLine(const CBriotabView& view);
// The active stave is a tablature (false without one).
bool InTablature(const CBriotabView& view);
bool InNotation(const CBriotabView& view);

// Snapshot of the active section, the edit, then the common end with `hint`.
void SnapshotEdit(CBriotabDoc& doc, int hint, const std::function<void()>& edit);
// The same for an edit that may find nothing to do (a cancelled dialog, nothing that moved):
// when it returns false its snapshot is taken back and nothing is told. Returns what it did.
bool SnapshotEditIf(CBriotabDoc& doc, int hint, const std::function<bool()>& edit);
// The same two for an edit of every section: one undo gives the whole document back.
void EverySectionEdit(CBriotabDoc& doc, int hint, const std::function<void()>& edit);
bool EverySectionEditIf(CBriotabDoc& doc, int hint, const std::function<bool()>& edit);
// Reformatting the active section: with `snapshot` a snapshot first; the music reflowed into
// systems of the columns that fit across the paper; the modified flag set (no view update).
void ReformatActiveSection(CBriotabDoc& doc, bool snapshot);
// Every section with systems reflowed as ReformatActiveSection does, without an undo step of
// its own; the modified flag set.
void ReflowAllSections(CBriotabDoc& doc);
// "Page formatting" on the document's page settings, the sliders starting from its systems per
// page and average spacing. On OK: with "Reformat staves" the sliders go into the page
// settings and the active section (with a snapshot) or, with "Reformat all sections", every
// section is reflowed and takes the staves per page; then every section's title, author and
// comments are placed across the page by the three alignments, at the heights of the active
// section's. Cancel changes nothing. Returns whether OK was chosen.
bool ReformatSectionsWithDialog(CBriotabDoc& doc);
// The active section's systems per page for its paper, on a device of screen resolution.
void RecomputeSystemsPerPageOnScreen(CBriotabDoc& doc);
// Places the active section's title, author and comments across the printable width by the
// three alignments (left, right, centre), measured as on paper; marks the document modified.
void PositionSectionTitles(CBriotabDoc& doc, const std::array<int, 3>& modes);

// What a hyperlink event opens: its text before the first "|" (the whole text without one),
// when that is an http, https or mailto address or a file inside the document's folder.
std::optional<std::string> HyperlinkTarget(const CMetaEvent& event, const std::string& documentFolder);

// Follows a hyperlink event: an internal link jumps to its section and bar; any other opens
// its target (HyperlinkTarget) with the desktop's program after asking, or says it cannot.
void FollowHyperlink(CBriotabView& view, const CMetaEvent& event);

// "Send...": a zipped copy of the saved document file in a temporary folder, offered to the
// desktop's mail program as an attachment (or, without one, named in a message). The zip's
// path; nothing when the document has no saved file or the zip could not be written.
std::optional<std::string> SendDocumentByMail(const CBriotabDoc& doc);
void AddMailCommand(CommandTable& table, CBriotabDoc& doc);

// The families of commands, each entered into the view's table.
void AddSectionToolCommands(CommandTable& table, CBriotabView& view);
void AddInstrumentOptionCommands(CommandTable& table, CBriotabView& view);
void AddVoiceToolCommands(CommandTable& table, CBriotabView& view);
void AddChordEventCommands(CommandTable& table, CBriotabView& view);
void AddLayoutToolCommands(CommandTable& table, CBriotabView& view);
void AddInstrumentClipboardCommands(CommandTable& table, CBriotabView& view);
void AddTuningCommands(CommandTable& table, CBriotabView& view);
void AddScoreDialogCommands(CommandTable& table, CBriotabView& view);
void AddRichTextCommands(CommandTable& table, CBriotabView& view);

// The application's instrument clipboard: a definition with copies of its line's voices in
// its gathered lists ("Copy instrument", "Copy voice"); empty (null) after a paste takes it.
std::unique_ptr<CInstrumentDlg>& InstrumentClipboard();

// The instrument base's entry `index` replaces the active line's definition, after asking;
// a negative index does nothing, one outside the base says so. True when replaced.
bool ReplaceInstrumentFromLibrary(CBriotabView& view, int index);
// The property sheet on the base's entry `index`; a change is saved with the base. True when
// the entry changed; an index outside the base does nothing.
bool EditLibraryInstrument(int index);

}  // namespace view
}  // namespace vornel
