#include "model/events/GraceNoteEvent.h"

#include <algorithm>
#include <cstdlib>

#include "model/events/CMetaEvent.h"
#include "model/voice/nChord.h"

namespace vornel {

int ReadSignedNibble(uint32_t nibble) {
  const int magnitude = static_cast<int>(nibble & 7);
  return (nibble & 8) != 0 ? -magnitude : magnitude;
}

uint32_t MakeSignedNibble(int number) {
  const uint32_t magnitude = static_cast<uint32_t>(std::min(std::abs(number), 7));
  return number < 0 ? (8 | magnitude) : magnitude;
}

uint8_t GraceNotePitch(const CMetaEvent& event) { return static_cast<uint8_t>((event.value >> 16) & 0xFF); }

const nNotes* GraceNoteOf(const CMetaEvent& event, const nChord& chord) {
  const uint8_t pitch = GraceNotePitch(event);
  const nNotes* first = nullptr;
  for (const auto& n : chord.notes) {
    if (n == nullptr) continue;
    if (n->pitch == pitch) return n.get();
    if (first == nullptr) first = n.get();
  }
  return first;
}

const CMetaEvent* GraceEventOf(const nChord& chord, const nNotes& note) {
  for (const auto& e : chord.metaEvents) {
    if (e != nullptr && e->kind == CMetaEvent::kGraceNote && GraceNoteOf(*e, chord) == &note) return e.get();
  }
  return nullptr;
}

int GraceValueCode(uint32_t flags) { return std::clamp(2 + ReadSignedNibble(flags >> 16), 0, 7); }
int GraceRotations(uint32_t flags) { return ReadSignedNibble(flags >> 24); }
int GraceStartOffset(uint32_t flags) { return ReadSignedNibble(flags >> 28); }

CKey GraceKey(const CKey& key, uint32_t flags) {
  const int rotations = GraceRotations(flags);
  if (rotations == 0) return key;
  const int count = key.alterations <= 7 ? static_cast<int>(key.alterations) : 0;
  const int fifths = key.bemol != 0 ? -count : count;
  CKey turned = key;
  turned.SetSignature(std::clamp(fifths + rotations, -7, 7), (key.mode & CKey::kMinorBit) != 0);
  return turned;
}

}  // namespace vornel
