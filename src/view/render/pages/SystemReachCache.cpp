#include "view/render/pages/SystemReachCache.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>

#include "document/CPageDlg.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/score/CStaveArray.h"
#include "model/score/CSystemArray.h"
#include "model/score/StaveRenderer.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/text/Fnv1a.h"
#include "view/draw/DrawContext.h"
#include "view/draw/PageDrawSettings.h"
#include "view/render/pages/TrackTextDrawing.h"

namespace vornel {

namespace {

template <typename Stored>
uint64_t MixStored(uint64_t hash, const Stored& stored) {
  ArchiveWriter writer;
  writer.SetExactCopy(true);
  stored.Store(writer);
  return Fnv1a(hash, writer.Bytes());
}

// Enough for every system of a long document at a few placements and zooms; past it the
// measurements start again.
constexpr size_t kMostKept = 8192;

struct KeptReach {
  ReachKey key;
  MeasuredReach measured;
};

struct ReachStore {
  std::mutex mutex;
  std::unordered_map<uint64_t, KeptReach> kept;
};

ReachStore& Measurements() {
  static ReachStore store;
  return store;
}

uint64_t Slot(const ReachKey& key) {
  uint64_t hash = Fnv1aValue(kFnv1aOffset, key.content);
  hash = Fnv1aValue(hash, key.placement);
  hash = Fnv1aValue(hash, key.context.section);
  return Fnv1aValue(hash, key.context.printing ? 1 : 0);
}

}  // namespace

RecordedClefState ReadRecordedClefs(const CSystemArray& section) {
  RecordedClefState state;
  for (const auto& definition : section.definitions.items()) {
    if (definition == nullptr) continue;
    for (const auto& stave : definition->staves.items()) {
      if (stave != nullptr) state.emplace_back(stave->recordedClef, stave->recordedStepOffset);
    }
  }
  return state;
}

bool WriteRecordedClefs(CSystemArray& section, const RecordedClefState& state) {
  if (ReadRecordedClefs(section).size() != state.size()) return false;
  size_t i = 0;
  for (const auto& definition : section.definitions.items()) {
    if (definition == nullptr) continue;
    for (const auto& stave : definition->staves.items()) {
      if (stave == nullptr) continue;
      stave->recordedClef = state[i].first;
      stave->recordedStepOffset = state[i].second;
      ++i;
    }
  }
  return true;
}

ReachContext ReachContextOf(const CSystemArray& section, const CPageDlg& page, const DeviceContext& dc,
                            const Rect& printable) {
  ReachContext context;
  uint64_t hash = MixStored(kFnv1aOffset, page);
  for (const auto& definition : section.definitions.items()) {
    if (definition == nullptr) {
      hash = Fnv1aValue(hash, 0);
      continue;
    }
    hash = MixStored(hash, *definition);
    // Shown or not is kept with the section, not with the definition.
    hash = Fnv1aValue(hash, static_cast<uint32_t>(definition->visible));
  }
  hash = Fnv1aValue(hash, static_cast<uint32_t>(section.numerator));
  hash = Fnv1aValue(hash, static_cast<uint32_t>(section.denominator));
  // What the drawing context hands the staves besides the page settings.
  if (const PageDrawSettings* drawn = PageSettingsOf(dc)) {
    for (const int64_t v : {int64_t{drawn->zoom}, int64_t{drawn->screenDpiX}, int64_t{drawn->screenDpiY},
                            int64_t{drawn->colourOn}, int64_t{drawn->showMarkers},
                            static_cast<int64_t>(reinterpret_cast<uintptr_t>(drawn->fonts)),
                            int64_t{drawn->timeProportional}, int64_t{drawn->barWidth},
                            int64_t{drawn->staffLineThickness}, int64_t{drawn->greyInactive}, int64_t{drawn->barNumbers},
                            int64_t{drawn->barNumberHeight}, int64_t{drawn->outlineBarNumbers},
                            int64_t{drawn->centerLyrics}, int64_t{drawn->showMetaEventFrames}}) {
      hash = Fnv1aValue(hash, static_cast<uint64_t>(v));
    }
  } else {
    hash = Fnv1aValue(hash, ~0ull);
  }
  context.section = hash;
  context.printable = printable;
  context.dpiX = dc.LogPixelsX();
  context.dpiY = dc.LogPixelsY();
  context.attributeDpiY = dc.AttributeLogPixelsY();
  context.screenDpi = RecordedScreenDpi(dc);
  context.printing = dc.IsPrinting();
  context.pageZoom = page.zoom;
  const StaveRenderer& renderer = StaveRenderers();
  context.applicationZoom = renderer.ApplicationZoom(dc).value_or(0);
  context.highlighting = renderer.HighlightingOn();
  return context;
}

uint64_t SystemFingerprint(const CSystemArray& section, CStaveArray& system) {
  // The area is left out: a drawing sets it wherever the system stands, and measuring does
  // not read it.
  const Rect area = system.area;
  system.area = {};
  uint64_t hash = MixStored(kFnv1aOffset, system);
  system.area = area;
  // What the section works out for the system from the systems before it.
  hash = MixStored(hash, system.key);
  hash = Fnv1aValue(hash, system.firstBar);
  hash = Fnv1aValue(hash, system.nextBar);
  // Which of the section's definitions each line is drawn with (their content is the context's).
  const auto& definitions = section.definitions.items();
  for (const auto& line : system.lines.items()) {
    const auto found = std::find_if(definitions.begin(), definitions.end(), [&](const auto& definition) {
      return line != nullptr && definition.get() == line->definition;
    });
    hash = Fnv1aValue(hash, found != definitions.end() ? static_cast<uint64_t>(found - definitions.begin()) : ~0ull);
  }
  return hash;
}

std::optional<MeasuredReach> FindMeasuredReach(const ReachKey& key) {
  ReachStore& store = Measurements();
  const std::lock_guard lock(store.mutex);
  const auto found = store.kept.find(Slot(key));
  if (found == store.kept.end() || !(found->second.key == key)) return std::nullopt;
  return found->second.measured;
}

void KeepMeasuredReach(const ReachKey& key, const MeasuredReach& measured) {
  ReachStore& store = Measurements();
  const std::lock_guard lock(store.mutex);
  if (store.kept.size() >= kMostKept) store.kept.clear();
  store.kept.insert_or_assign(Slot(key), KeptReach{key, measured});
}

void ForgetMeasuredReaches() {
  ReachStore& store = Measurements();
  const std::lock_guard lock(store.mutex);
  store.kept.clear();
}

}  // namespace vornel
