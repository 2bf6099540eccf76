#pragma once
// What measuring a system found (its reach, and the clefs its staves leave recorded for the
// system after it), kept between drawings so that a page is not measured again when only a
// strip of it is repainted. An entry is found by everything the measurement depends on: the
// system's own stored content, the section's instrument definitions and time signature, the
// page settings and the drawing context's, the device (resolution, printing, zoom), where on
// the page the system stands and the clefs it starts with. Any edit of those gives another
// key, so nothing needs telling when the document changes (contents are compared by 64-bit
// fingerprints: two that differ share one with a chance of one in 2^64).

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

#include "platform/draw/DeviceContext.h"
#include "view/render/pages/SectionPages.h"

namespace vornel {

class CPageDlg;
class CStaveArray;
class CSystemArray;

// The clef each stave of the section's definitions has recorded, and its step offset, in the
// order of the definitions and their staves.
using RecordedClefState = std::vector<std::pair<int32_t, int32_t>>;
RecordedClefState ReadRecordedClefs(const CSystemArray& section);
// Puts a state read from the same definitions back; false (nothing changed) when the
// definitions have another number of staves now.
bool WriteRecordedClefs(CSystemArray& section, const RecordedClefState& state);

// What a system's measurement depends on besides its content, the same for every system of
// the section on one drawing.
struct ReachContext {
  uint64_t section = 0;  // the definitions, the time signature and the page settings
  Rect printable;
  int32_t dpiX = 0;
  int32_t dpiY = 0;
  int32_t attributeDpiY = 0;
  Size screenDpi;
  bool printing = false;
  int32_t pageZoom = 0;
  int32_t applicationZoom = 0;
  bool highlighting = false;
  bool operator==(const ReachContext&) const = default;
};
ReachContext ReachContextOf(const CSystemArray& section, const CPageDlg& page, const DeviceContext& dc,
                            const Rect& printable);

// A 64-bit fingerprint of the system's stored content but its area (where it was drawn last),
// of what the section numbered and keyed it with, and of which of the section's definitions
// its lines use.
uint64_t SystemFingerprint(const CSystemArray& section, CStaveArray& system);

// Systems of the same content measured in the same context and with the same clefs reach as
// far: a copy of a section (as an undo gives back) finds what the original's systems were
// measured at.
struct ReachKey {
  uint64_t content = 0;
  uint32_t placement = 0;
  ReachContext context;
  RecordedClefState clefs;  // what the definitions recorded before the system
  bool operator==(const ReachKey&) const = default;
};

struct MeasuredReach {
  SystemReach reach;
  RecordedClefState clefsAfter;  // what the definitions recorded after the system
};

// The measurements kept for the process, a bounded number of them; safe to use from any thread.
std::optional<MeasuredReach> FindMeasuredReach(const ReachKey& key);
void KeepMeasuredReach(const ReachKey& key, const MeasuredReach& measured);
void ForgetMeasuredReaches();

}  // namespace vornel
