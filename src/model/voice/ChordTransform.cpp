// The stages of the chord transformations, run over a working copy of the selected chords.

#include <algorithm>
#include <cstdlib>

#include "model/instrument/CKey.h"
#include "model/voice/nChordArray.h"

namespace vornel {

namespace {

using Handle = nChordArray::Handle;

// A transformation that would make the working set larger than this fails instead.
constexpr size_t kMaxWorkingEvents = 1 << 20;

bool Clone(std::vector<Handle>& chords, int times) {
  if (times <= 0) return true;
  const size_t n = chords.size();
  if (n * (static_cast<size_t>(times) + 1) > kMaxWorkingEvents) return false;
  chords.reserve(n * (static_cast<size_t>(times) + 1));
  for (int r = 0; r < times; ++r) {
    for (size_t i = 0; i < n; ++i) chords.push_back(nChordArray::CopyEntry(chords[i]));
  }
  return true;
}

void Rotate(std::vector<Handle>& chords, int operand) {
  if (chords.empty()) return;
  const size_t k = static_cast<size_t>(std::abs(static_cast<long long>(operand)) % static_cast<long long>(chords.size()));
  if (operand >= 0) {
    std::rotate(chords.begin(), chords.end() - static_cast<std::ptrdiff_t>(k), chords.end());
  } else {
    std::rotate(chords.begin(), chords.begin() + static_cast<std::ptrdiff_t>(k), chords.end());
  }
}

void Shift(std::vector<Handle>& chords, int operand) {
  if (chords.empty()) return;
  const size_t k = static_cast<size_t>(std::abs(static_cast<long long>(operand)) % static_cast<long long>(chords.size()));
  if (operand >= 0) {
    chords.erase(chords.end() - static_cast<std::ptrdiff_t>(k), chords.end());
  } else {
    chords.erase(chords.begin(), chords.begin() + static_cast<std::ptrdiff_t>(k));
  }
}

bool Tremoloize(std::vector<Handle>& chords, int operand) {
  if (operand < 1 || operand > 6) return true;
  if (chords.size() * static_cast<size_t>(operand + 1) > kMaxWorkingEvents) return false;
  std::vector<Handle> out;
  out.reserve(chords.size() * static_cast<size_t>(operand + 1));
  for (const Handle& e : chords) {
    if (e == nullptr || !e->IsChord()) {
      out.push_back(e);
      continue;
    }
    const int code = (e->rhythm & 7) - ((e->rhythm & 8) ? 1 : 0) + operand;
    for (int r = 0; r <= operand; ++r) {
      auto copy = std::make_shared<nChord>(*e);
      copy->rhythm = static_cast<uint16_t>(std::clamp(code, 0, 7));
      out.push_back(std::move(copy));
    }
  }
  chords = std::move(out);
  return true;
}

bool RotateFlags(std::vector<Handle>& chords, int operand) {
  for (const Handle& e : chords) {
    if (e == nullptr || !e->IsChord()) continue;
    const int code = (e->rhythm & 7) + operand;
    if (code < 0 || code > 7) return false;
    e->rhythm = static_cast<uint16_t>((e->rhythm & 0xF0) | code);
  }
  return true;
}

bool Arpeggiate(std::vector<Handle>& chords, int code, int times) {
  const bool ascending = code == ChordOperation::kArpeggiateUp || code == ChordOperation::kArpeggiateUpDown;
  const bool andBack = code == ChordOperation::kArpeggiateUpDown || code == ChordOperation::kArpeggiateDownUp;
  std::vector<Handle> out;
  for (const Handle& e : chords) {
    std::vector<const nNotes*> sequence;
    if (e != nullptr && e->IsChord()) {
      for (const auto& n : e->notes) {
        if (n != nullptr) sequence.push_back(n.get());
      }
    }
    // A rest (or a chord of empty note entries) has nothing to spread: it keeps its place and
    // value. The way back below needs at least one note.
    if (sequence.empty()) {
      out.push_back(e);
      continue;
    }
    std::stable_sort(sequence.begin(), sequence.end(), [ascending](const nNotes* a, const nNotes* b) {
      return ascending ? a->pitch < b->pitch : a->pitch > b->pitch;
    });
    if (andBack) {
      for (size_t j = sequence.size() - 1; j-- > 1;) sequence.push_back(sequence[j]);
    }
    for (int r = 0; r < times; ++r) {
      if (out.size() + sequence.size() > kMaxWorkingEvents) return false;
      for (const nNotes* note : sequence) {
        auto single = std::make_shared<nChord>(nChord::kChord, static_cast<uint16_t>(e->rhythm & 7));
        single->notes.push_back(std::make_unique<nNotes>(*note));
        out.push_back(std::move(single));
      }
    }
  }
  chords = std::move(out);
  return true;
}

}  // namespace

bool nChordArray::TransformChords(const std::vector<ChordOperation>& stages, const CKey& key) {
  // The working set: copies of the selected events, which leave the selection.
  std::vector<Handle> working;
  working.reserve(events_.size());
  for (const Handle& e : events_) {
    if (e != nullptr) working.push_back(nChordArray::CopyEntry(e));
  }
  DeleteChords();

  bool ok = true;
  for (const ChordOperation& stage : stages) {
    switch (stage.code) {
      case ChordOperation::kClone: ok &= Clone(working, stage.operand); break;
      case ChordOperation::kRepeat: ok &= Clone(working, 1); break;
      case ChordOperation::kMirror: std::reverse(working.begin(), working.end()); break;
      case ChordOperation::kRotate: Rotate(working, stage.operand); break;
      case ChordOperation::kShift: Shift(working, stage.operand); break;
      case ChordOperation::kTremoloize: ok &= Tremoloize(working, stage.operand); break;
      case ChordOperation::kRotateFlags: ok &= RotateFlags(working, stage.operand); break;
      case ChordOperation::kTransposeScale:
      case ChordOperation::kTransposeSemitones:
        for (const Handle& e : working) {
          if (e != nullptr && e->IsChord()) {
            e->notes.Transpose(stage.operand, key, stage.code == ChordOperation::kTransposeScale);
          }
        }
        break;
      case ChordOperation::kDotFlags: {
        events_ = std::move(working);
        DotPairs(0, events_.size(), false);
        working = std::move(events_);
        events_.clear();
        break;
      }
      case ChordOperation::kArpeggiateUp:
      case ChordOperation::kArpeggiateDown:
      case ChordOperation::kArpeggiateUpDown:
      case ChordOperation::kArpeggiateDownUp: ok &= Arpeggiate(working, stage.code, stage.operand); break;
      default: break;  // nothing, flip, cascade and amplify change nothing
    }
  }
  events_ = std::move(working);
  return ok;
}

}  // namespace vornel
