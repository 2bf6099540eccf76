#include "midi/strMidiNote.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "midi/MidiTime.h"

namespace vornel {

int MidiRecordRank(const strMidiNote& record) {
  switch (record.kind) {
    case strMidiNote::kNoteOff:
    case strMidiNote::kImportNoteOff:
      return 0;
    case strMidiNote::kRepeatSign:
      return 1;
    case strMidiNote::kNoteOn:
    case strMidiNote::kImportNoteOn:
      return 3;
    case strMidiNote::kBarMarker:
      return 4;
    default:
      return 2;
  }
}

bool MidiRecordBefore(const strMidiNote& a, const strMidiNote& b) {
  if (a.time != b.time) return a.time < b.time;
  return MidiRecordRank(a) < MidiRecordRank(b);
}

strMidiNote& strMidiBuffer::AddNote(uint32_t time, uint8_t key, uint8_t velocity, int32_t duration, uint8_t ch,
                                    uint8_t string, uint8_t flag) {
  strMidiNote& r = AddRecord(strMidiNote::kNoteOn, time, key, velocity, ch);
  r.duration = duration;
  r.string = string;
  r.flag = flag;
  return r;
}

strMidiNote& strMidiBuffer::AddRecord(uint8_t kind, uint32_t time, uint8_t key, uint8_t value, uint8_t ch) {
  strMidiNote& r = records_.emplace_back();
  r.kind = kind;
  r.time = time;
  r.key = key;
  r.velocity = value;
  r.channel = ch;
  return r;
}

strMidiNote& strMidiBuffer::AddText(uint32_t time, std::string text, uint8_t ch) {
  strMidiNote& r = records_.emplace_back();
  r.kind = strMidiNote::kText;
  r.time = time;
  r.channel = ch;
  r.text = std::move(text);
  return r;
}

void strMidiBuffer::Sort() { std::stable_sort(records_.begin(), records_.end(), MidiRecordBefore); }

void strMidiBuffer::Merge(strMidiBuffer&& other) {
  if (other.records_.empty()) return;
  if (records_.empty()) {
    records_.swap(other.records_);
    return;
  }
  Records merged;
  merged.reserve(records_.size() + other.records_.size());
  std::merge(std::make_move_iterator(records_.begin()), std::make_move_iterator(records_.end()),
             std::make_move_iterator(other.records_.begin()), std::make_move_iterator(other.records_.end()),
             std::back_inserter(merged), MidiRecordBefore);
  records_.swap(merged);
  other.records_.clear();
}

void strMidiBuffer::AddNoteOffs() {
  strMidiBuffer offs;
  offs.reserve(records_.size());
  for (const strMidiNote& r : records_) {
    if (r.kind != strMidiNote::kNoteOn) continue;
    const uint64_t end = uint64_t{r.time} + static_cast<uint64_t>(std::max(r.duration, 1));
    strMidiNote& off = offs.AddRecord(strMidiNote::kNoteOff, static_cast<uint32_t>(std::min<uint64_t>(end, kMidiMaxTicks)),
                                      r.key, 0, r.channel);
    off.string = r.string;
  }
  offs.Sort();
  Merge(std::move(offs));
}

void strMidiBuffer::CopyRange(size_t first, size_t last, Records& out) const {
  last = std::min(last, records_.size());
  for (size_t i = first; i < last; ++i) {
    if (records_[i].kind != strMidiNote::kRepeatSign) out.push_back(records_[i]);
  }
}

void strMidiBuffer::ToDeltas() {
  uint32_t previous = 0;
  for (strMidiNote& r : records_) {
    const uint32_t t = r.time;
    r.time = t >= previous ? t - previous : 0;
    previous = std::max(previous, t);
  }
}

void strMidiBuffer::ToAbsolute() {
  uint64_t t = 0;
  for (strMidiNote& r : records_) {
    t = std::min<uint64_t>(t + r.time, kMidiMaxTicks);
    r.time = static_cast<uint32_t>(t);
  }
}

void strMidiBuffer::DropBefore(uint32_t start) {
  if (start == 0) return;
  const auto first = std::find_if(records_.begin(), records_.end(),
                                  [start](const strMidiNote& r) { return r.IsNoteOn() && r.time >= start; });
  if (first == records_.end()) {
    records_.clear();
    return;
  }
  const uint32_t origin = first->time;
  Records kept;
  kept.reserve(static_cast<size_t>(records_.end() - first) + 16);
  for (auto it = records_.begin(); it != first; ++it) {
    if (it->kind == strMidiNote::kController || it->kind == strMidiNote::kDynamics) {
      kept.push_back(*it);
      kept.back().time = 0;
    }
  }
  for (auto it = first; it != records_.end(); ++it) {
    kept.push_back(*it);
    kept.back().time = it->time >= origin ? it->time - origin : 0;
  }
  records_.swap(kept);
}

}  // namespace vornel
