#pragma once
// The clef changes a section's definitions record as its systems are drawn in order: a system
// starts with the clefs the changes before it left. A drawing that starts at a system brings
// the records there first, from the nearest state known at or before it (the definitions'
// own, or one kept as a checkpoint when a drawing passed that system), drawing on a measuring
// device only the systems between that hold a clef change.

#include <cstddef>

#include "platform/draw/DrawTypes.h"

namespace vornel {

class CPageDlg;
class CSystemArray;
class DeviceContext;

// How often a measuring of every system keeps the clefs a system starts with.
constexpr size_t kClefCheckpointEvery = 16;

// The definitions hold what was recorded before system `system` (the page's footnotes are not
// those systems'); that state is kept as a checkpoint.
void SyncRecordedClefs(CSystemArray& section, size_t system, DeviceContext& dc, CPageDlg& page, const Rect& printable);

// Nothing recorded: the definitions forget their clefs and the checkpoints go.
void ForgetClefRecords(CSystemArray& section);
// System `system` changed: what was recorded past it goes (the checkpoints after it, and the
// definitions' own records when they reach past it).
void ForgetClefRecordsAfter(CSystemArray& section, size_t system);

// Keeps what the definitions hold now as the state before system `system`.
void KeepClefCheckpoint(CSystemArray& section, size_t system);

}  // namespace vornel
