#pragma once
// The tuning commands of the active instrument: 33189 "Instrument tuning" (the tuning dialog on
// the active line's definition) and 33015 "Change course tuning" (one course retuned, the
// notes on it moved with it, in the active section or in every section).

#include "view/commands/CommandTable.h"

namespace vornel {

class CBriotabDoc;
class nTuning;
struct CBourdonTuningDlg;

namespace view {

inline constexpr int kInstrumentTuningCommand = 33189;
inline constexpr int kChangeCourseTuningCommand = 33015;
inline constexpr std::string_view kNoChangesMessage = "No changes ...";

// "Instrument tuning": true when the tuning was changed.
bool EditActiveTuning(CBriotabDoc& doc);
// "Change course tuning" with the dialog's answer (course, new pitch, all sections).
bool ChangeCourseTuning(CBriotabDoc& doc, const CBourdonTuningDlg& choice);

// `doc` must outlive the table's use of these entries.
void RegisterTuningCommands(CommandTable& table, CBriotabDoc& doc);

}  // namespace view

}  // namespace vornel
