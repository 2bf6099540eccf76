#include "model/undo/CUndoSectionArray.h"

#include <algorithm>
#include <stdexcept>

#include "model/OwnedArrayRecords.h"
#include "model/instrument/CInstrumentDlg.h"
#include "model/undo/SystemsSnapshot.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"

namespace vornel {

namespace {

// Where a text was last laid out and drawn (its zoom, size and origin), which no record keeps;
// the copy's texts otherwise hold what the original's hold.
void CopyTextLayout(const CTrackText& from, CTrackText& to) {
  to.size = from.size;
  to.span = from.span;
  to.zoom = from.zoom;
  to.origin = from.origin;
  to.drawnRect = from.drawnRect;
  to.trackerStyle = from.trackerStyle;
  to.lastZoom = from.lastZoom;
}

// What bar cutting, numbering and the last layout computed for a system and its lines, taken
// from the original into its exact copy.
void CopySystemComputedState(const CStaveArray& original, CStaveArray& system) {
  system.positionWord = original.positionWord;
  system.bars = original.bars;
  system.firstBar = original.firstBar;
  system.nextBar = original.nextBar;
  system.key = original.key;
  if (const SystemCaption* caption = original.OwnCaption()) {
    SystemCaption& copy = system.EditCaption();
    CopyTextLayout(caption->captionText, copy.captionText);
    CopyTextLayout(caption->captionPicture, copy.captionPicture);
    copy.captionPicture.mode = caption->captionPicture.mode;
  }
  for (size_t l = 0; l < std::min(original.lines.size(), system.lines.size()); ++l) {
    if (original.lines.at(l) == nullptr || system.lines.at(l) == nullptr) continue;
    const CInstrument& originalLine = *original.lines.at(l);
    CInstrument& line = *system.lines.at(l);
    line.barPosition = originalLine.barPosition;
    // What the line holds while it is edited and drawn, which no record keeps.
    line.selectedVoice = originalLine.selectedVoice;
    line.rhythmPattern = originalLine.rhythmPattern;
    line.lastPitch = originalLine.lastPitch;
    line.columnCount = originalLine.columnCount;
    line.nameWidth = originalLine.nameWidth;
    line.lineRect = originalLine.lineRect;
    line.columnWidth = originalLine.columnWidth;
    line.firstVoice.CopyComputedState(originalLine.firstVoice);
    line.secondVoice.CopyComputedState(originalLine.secondVoice);
  }
}

// The state that bar cutting, numbering and the last layout computed, taken from the original
// into its exact copy: the copy is not re-barred, which could remake bar lines and status bits.
void CopyComputedState(const CSystemArray& from, CSystemArray& to) {
  to.excluded = from.excluded;
  CopyTextLayout(from.captionPicture, to.captionPicture);
  to.captionPicture.mode = from.captionPicture.mode;
  for (size_t t = 0; t < std::min(from.texts.size(), to.texts.size()); ++t) {
    if (from.texts.at(t) != nullptr && to.texts.at(t) != nullptr) CopyTextLayout(*from.texts.at(t), *to.texts.at(t));
  }
  for (size_t s = 0; s < std::min(from.systems.size(), to.systems.size()); ++s) {
    if (from.systems.at(s) != nullptr && to.systems.at(s) != nullptr) {
      CopySystemComputedState(*from.systems.at(s), *to.systems.at(s));
    }
  }
  // The stored form keeps no ornament row's type or kind (a load sets them from the row's
  // place); a copy keeps those of the original, so that an undo gives back what was there.
  const size_t definitions = std::min(from.definitions.size(), to.definitions.size());
  for (size_t d = 0; d < definitions; ++d) {
    const COrnamentTable& original = from.definitions.at(d)->ornaments.table;
    COrnamentTable& table = to.definitions.at(d)->ornaments.table;
    for (size_t i = 0; i < std::min(original.size(), table.size()); ++i) {
      if (original.at(i) == nullptr || table.at(i) == nullptr) continue;
      table.at(i)->type = original.at(i)->type;
      table.at(i)->kind = original.at(i)->kind;
    }
  }
}

// The records an exact copy writes: of a whole section, and of systems standing together.
std::vector<uint8_t> ExactRecord(const CSystemArray& section) {
  ArchiveWriter writer;
  writer.SetExactCopy(true);
  section.Store(writer);
  return writer.TakeBytes();
}

template <typename Systems>
std::vector<uint8_t> ExactRecord(const Systems& systems) {
  ArchiveWriter writer;
  writer.SetExactCopy(true);
  writer.WriteObjectArray(systems);
  return writer.TakeBytes();
}

// Systems [first, first + count) of the section, in order.
std::vector<const CStaveArray*> SystemRange(const CSystemArray& section, size_t first, size_t count) {
  std::vector<const CStaveArray*> range;
  for (size_t s = first; s < first + count; ++s) range.push_back(section.systems.at(s));
  return range;
}

}  // namespace

std::unique_ptr<CSystemArray> CopySection(const CSystemArray& section) {
  const std::vector<uint8_t> bytes = ExactRecord(section);
  ArchiveReader reader(bytes);
  reader.SetExactCopy(true);
  auto copy = std::make_unique<CSystemArray>();
  copy->Load(reader);
  CopyComputedState(section, *copy);
  return copy;
}

std::unique_ptr<CSystemArray> CopySystems(CSystemArray& section, size_t first, size_t count) {
  if (first > section.systems.size() || count > section.systems.size() - first) {
    throw std::out_of_range("systems to copy outside the section");
  }
  const std::vector<const CStaveArray*> originals = SystemRange(section, first, count);
  const std::vector<uint8_t> bytes = ExactRecord(originals);
  ArchiveReader reader(bytes);
  reader.SetExactCopy(true);
  auto held = std::make_unique<SystemsSnapshot>();
  held->first = first;
  held->sectionSystems = section.systems.size();
  LoadArrayOfParts(reader, held->systems);
  for (size_t i = 0; i < held->systems.size() && i < originals.size(); ++i) {
    CStaveArray& copy = *held->systems.at(i);
    section.BindCopiedSystem(copy);
    CopySystemComputedState(*originals[i], copy);
  }
  return std::make_unique<CSystemArray>(std::move(held));
}

std::unique_ptr<CSystemArray> ExchangeSystems(CSystemArray& section, CSystemArray& entry) {
  SystemsSnapshot* held = entry.systemsOnly.get();
  if (held == nullptr || held->sectionSystems != section.systems.size() ||
      held->first + held->systems.size() > section.systems.size()) {
    return nullptr;
  }
  auto live = std::make_unique<SystemsSnapshot>();
  live->first = held->first;
  live->sectionSystems = section.systems.size();
  for (size_t i = 0; i < held->systems.size(); ++i) {
    std::unique_ptr<CStaveArray> system = held->systems.replace(i, nullptr);
    // The definitions may be other objects now than when the copy was taken (an undo of a
    // whole section came between): the lines are bound to those of the section.
    section.BindCopiedSystem(*system);
    live->systems.push_back(section.systems.replace(held->first + i, std::move(system)));
  }
  held->systems.clear();
  // A copy of the whole section would have no gathered voices: none holds the chords let go.
  section.ClearGatheredVoices();
  return std::make_unique<CSystemArray>(std::move(live));
}

bool HoldsSnapshot(const CSystemArray& section, const CSystemArray& entry) {
  const SystemsSnapshot* held = entry.systemsOnly.get();
  if (held == nullptr) return ExactRecord(section) == ExactRecord(entry);
  if (held->sectionSystems != section.systems.size() || held->first + held->systems.size() > section.systems.size()) {
    return false;
  }
  return ExactRecord(SystemRange(section, held->first, held->systems.size())) == ExactRecord(held->systems.items());
}

int CUndoSectionArray::SaveSystemsSnapshot(CSystemArray& section, size_t first, size_t count, std::string label,
                                           uint64_t state) {
  PushFront(CopySystems(section, first, count), std::move(label), state);
  return 1;
}

int CUndoSectionArray::SaveSnapshot(const CSystemArray& section, std::string label, uint64_t state) {
  PushFront(CopySection(section), std::move(label), state);
  return 1;
}

void CUndoSectionArray::PushFront(std::unique_ptr<CSystemArray> section, std::string label, uint64_t state) {
  if (limit <= 0) return;
  // Names and states stay entry by entry even if entries came or went through the plain list.
  strings.resize(size());
  states_.resize(size());
  insert(0, std::move(section));
  ++pushes;
  strings.insert(strings.begin(), std::move(label));
  states_.insert(states_.begin(), state);
  Trim();
}

std::unique_ptr<CSystemArray> CUndoSectionArray::PopFront(std::string* label, uint64_t* state) {
  if (empty()) return nullptr;
  strings.resize(size());
  states_.resize(size());
  if (label != nullptr) *label = std::move(strings.front());
  if (state != nullptr) *state = states_.front();
  strings.erase(strings.begin());
  states_.erase(states_.begin());
  ++pops;
  return release(0);
}

void CUndoSectionArray::Trim() {
  const size_t keep = static_cast<size_t>(std::max<int32_t>(limit, 0));
  while (size() > keep) erase(size() - 1);
  strings.resize(size());
  states_.resize(size());
}

void CUndoSectionArray::clear() {
  CSectionArray::clear();
  strings.clear();
  states_.clear();
}

const std::string& CUndoSectionArray::Label(size_t index) const {
  static const std::string kNone;
  return index < strings.size() && index < size() ? strings[index] : kNone;
}

}  // namespace vornel
