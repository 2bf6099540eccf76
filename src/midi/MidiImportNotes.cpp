#include "midi/MidiImportNotes.h"

#include <algorithm>

#include "midi/MidiTime.h"
#include "platform/draw/MulDiv.h"

namespace vornel {

uint32_t QuantizeMidiTime(uint32_t t, int level) {
  level = std::clamp(level, 0, kMidiMaxQuantizeLevel);
  const int32_t g = 6 << level;
  const uint32_t r = t % static_cast<uint32_t>(g);
  if (r == 0) return t;
  // A time on the triplet grid stays where it is.
  const uint32_t triplet = static_cast<uint32_t>(MulDiv(g, 2, 3));
  if (t % triplet == 0) return t;
  const uint32_t down = t - r;
  const uint32_t q = down % kMidiTicksPerQuarter;  // the place within the quarter note
  if (q == 0) return down;
  const uint32_t quarter = down - q;
  // The part of the quarter that q falls in: 12 ticks doubled as long as q halves above 12.
  int n = 0;
  for (uint32_t h = q / 2; h > 12; h /= 2) ++n;
  const int32_t s = 12 << n;
  const int32_t e = static_cast<int32_t>(q) - s + static_cast<int32_t>(r);
  if (e > MulDiv(s, 2, 3)) return quarter + static_cast<uint32_t>(2 * s);
  if (e > MulDiv(s, 4, 9)) return quarter + static_cast<uint32_t>(s);
  return quarter;
}

void QuantizeMidiBuffer(strMidiBuffer& buffer, int level) {
  for (strMidiNote& r : buffer) r.time = QuantizeMidiTime(r.time, level);
}

namespace {

// Every time from the file's division to 192 ticks per quarter; the records that land after
// the last time imported are dropped.
template <typename Record>
void RescaleTimes(std::vector<Record>& records, uint32_t division) {
  if (division == 0) division = kMidiTicksPerQuarter;
  for (Record& r : records) {
    const uint64_t t = MidiScale(r.time, kMidiTicksPerQuarter, division);
    r.time = t > kMidiMaxImportTicks ? UINT32_MAX : static_cast<uint32_t>(t);
  }
  records.erase(std::remove_if(records.begin(), records.end(), [](const Record& r) { return r.time == UINT32_MAX; }),
                records.end());
}

}  // namespace

void RescaleMidiBuffer(strMidiBuffer& buffer, uint32_t division) { RescaleTimes(buffer.records(), division); }

void RescaleMidiMetaRecords(std::vector<MidiMetaRecord>& records, uint32_t division) {
  RescaleTimes(records, division);
}

void PairMidiNotes(strMidiBuffer& buffer) {
  auto& records = buffer.records();
  // Note-ons still waiting for their note-off, oldest first, per channel and key. Taking the
  // oldest at each note-off pairs every note-on with the first free note-off after it.
  std::vector<std::vector<size_t>> waiting(16 * 128);
  std::vector<size_t> head(16 * 128, 0);
  std::vector<bool> removed(records.size(), false);
  for (size_t i = 0; i < records.size(); ++i) {
    strMidiNote& r = records[i];
    const size_t slot = static_cast<size_t>(r.channel & 0x0F) * 128 + (r.key & 0x7F);
    if (r.kind == strMidiNote::kImportNoteOn) {
      r.duration = 0;
      waiting[slot].push_back(i);
    } else if (r.kind == strMidiNote::kImportNoteOff && head[slot] < waiting[slot].size()) {
      strMidiNote& on = records[waiting[slot][head[slot]++]];
      on.duration = r.time >= on.time ? static_cast<int32_t>(r.time - on.time) : 0;
      removed[i] = true;
    }
  }
  size_t out = 0;
  for (size_t i = 0; i < records.size(); ++i) {
    if (removed[i] || records[i].kind != strMidiNote::kImportNoteOn) continue;
    if (out != i) records[out] = std::move(records[i]);
    ++out;
  }
  records.resize(out);
}

void CutMidiBufferAtBars(strMidiBuffer& buffer, uint32_t barTicks) {
  if (barTicks == 0 || buffer.empty()) return;
  strMidiBuffer::Records cut;
  cut.reserve(buffer.size() + buffer.size() / 4 + 1);
  uint32_t previous = 0;
  const auto mark = [&cut](uint64_t time, uint8_t channel) {
    strMidiNote& m = cut.emplace_back();
    m.kind = strMidiNote::kText;
    m.time = static_cast<uint32_t>(time);
    m.channel = channel;
  };
  for (strMidiNote& r : buffer) {
    // The first and the last bar line strictly between the previous record and this one: the
    // whole bars between them are rests that the voice makes of the gap by itself.
    const uint64_t first = (uint64_t{previous} / barTicks + 1) * barTicks;
    if (first < r.time) {
      mark(first, r.channel);
      const uint64_t last = (uint64_t{r.time} - 1) / barTicks * barTicks;
      if (last > first) mark(last, r.channel);
    }
    previous = r.time;
    cut.push_back(std::move(r));
  }
  buffer.records().swap(cut);
}

void PrepareImportedMidiNotes(strMidiBuffer& buffer, uint32_t division, int level, uint32_t barTicks) {
  RescaleMidiBuffer(buffer, division);
  QuantizeMidiBuffer(buffer, level);
  PairMidiNotes(buffer);
  // Quantising may have brought a later record before an earlier one.
  buffer.Sort();
  CutMidiBufferAtBars(buffer, barTicks);
  buffer.ToDeltas();
}

}  // namespace vornel
