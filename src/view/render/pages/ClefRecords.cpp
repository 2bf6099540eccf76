#include "view/render/pages/ClefRecords.h"

#include <iterator>
#include <memory>
#include <string>

#include "document/CPageDlg.h"
#include "model/events/CMetaEvent.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/score/StaveRenderer.h"
#include "platform/draw/DeviceContext.h"
#include "view/render/pages/SystemDrawing.h"
#include "view/render/pages/SystemReachCache.h"

namespace vornel {

namespace {

// Enough for a checkpoint on every page of a long section; past it they start again.
constexpr size_t kMostCheckpoints = 4096;

// Only a clef change records anything: a system without one leaves the records as they are.
bool HoldsClefChange(const CStaveArray& system) {
  for (const auto& line : system.lines.items()) {
    if (line == nullptr) continue;
    for (const nChordArray* voice : line->Voices()) {
      if (voice == nullptr) continue;
      for (const auto& e : *voice) {
        if (e != nullptr && e->metaEvents.Find(CMetaEvent::kClef) != nullptr) return true;
      }
    }
  }
  return false;
}

void ForgetDefinitionClefs(CSystemArray& section) {
  for (const auto& definition : section.definitions.items()) {
    if (definition != nullptr) definition->ForgetRecordedClefs();
  }
  section.clefsRecordedThrough = 0;
}

}  // namespace

void ForgetClefRecords(CSystemArray& section) {
  ForgetDefinitionClefs(section);
  section.clefCheckpoints.clear();
}

void ForgetClefRecordsAfter(CSystemArray& section, size_t system) {
  auto& kept = section.clefCheckpoints;
  kept.erase(kept.upper_bound(system), kept.end());
  if (section.clefsRecordedThrough > system) ForgetDefinitionClefs(section);
}

void KeepClefCheckpoint(CSystemArray& section, size_t system) {
  auto& kept = section.clefCheckpoints;
  if (kept.size() >= kMostCheckpoints && kept.find(system) == kept.end()) kept.clear();
  kept.insert_or_assign(system, ReadRecordedClefs(section));
}

void SyncRecordedClefs(CSystemArray& section, size_t system, DeviceContext& dc, CPageDlg& page, const Rect& printable) {
  if (section.clefsRecordedThrough == system) return;
  // The nearest state known at or before the system: a checkpoint, when the definitions'
  // own records are past the system or further from it.
  const auto& kept = section.clefCheckpoints;
  if (auto after = kept.upper_bound(system); after != kept.begin()) {
    const auto& [at, state] = *std::prev(after);
    const size_t through = section.clefsRecordedThrough;
    if ((through > system || at > through) && WriteRecordedClefs(section, state)) section.clefsRecordedThrough = at;
  }
  if (section.clefsRecordedThrough > system) ForgetDefinitionClefs(section);
  if (section.clefsRecordedThrough == system) return;
  const int32_t counter = page.footnoteCounter;
  const std::string footnotes = page.footnoteText;
  std::unique_ptr<DeviceContext> measuring;
  for (size_t s = section.clefsRecordedThrough; s < system; ++s) {
    CStaveArray* earlier = section.systems.at(s);
    if (earlier == nullptr || earlier->hidden != 0 || !HoldsClefChange(*earlier)) continue;
    if (measuring == nullptr) measuring = CreateMeasuringDevice(&dc);
    PrepareSystemVoices(*earlier, section);
    DrawSystem(*earlier, *measuring, page, 0, printable.left, printable.top, printable.right, printable.bottom);
  }
  section.clefsRecordedThrough = system;
  KeepClefCheckpoint(section, system);
  page.footnoteCounter = counter;
  page.footnoteText = footnotes;
}

}  // namespace vornel
