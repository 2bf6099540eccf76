#include "model/voice/nChordArray.h"

#include <algorithm>
#include <bit>
#include <stdexcept>
#include <string>
#include <utility>

#include "model/events/MetaEventEditor.h"
#include "platform/archive/ArchiveReader.h"
#include "platform/archive/ArchiveWriter.h"
#include "platform/xml/XmlHelpers.h"
#include "platform/xml/XmlSink.h"

namespace vornel {

namespace {

constexpr uint16_t kPlainBarLine = 1;

bool IsRepeat(const nChord& e) { return e.IsBarLine() && (e.status & 0x80); }
uint16_t RepeatType(const nChord& e) { return (e.status >> 4) & 7; }
// A bar line placed to close the bar before it, whatever its length: a fixed one, a double one
// or a repeat (the bar lines a file read in gives), rather than one the cutting makes.
bool ClosesItsBar(const nChord& bar) {
  const uint16_t style = bar.status & 0xFFF3;
  return style == 0x11 || style == 0x31 || (bar.status & 0x80) != 0;
}

}  // namespace

Meter Meter::From(int64_t numerator, int64_t denominator) {
  Meter m;
  if (numerator < 1 || numerator > 999 || denominator < 1 || denominator > 64 ||
      !std::has_single_bit(static_cast<uint64_t>(denominator))) {
    return m;  // 4/4
  }
  m.numerator = static_cast<uint32_t>(numerator);
  m.denominator = static_cast<uint32_t>(denominator);
  m.barLength = (nChord::kWholeTicks >> std::countr_zero(m.denominator)) * m.numerator;
  m.beat = m.denominator == 8 ? 288 : m.denominator == 2 ? 384 : 192;
  m.groupThreshold = m.denominator == 2 ? 3 : 4;
  return m;
}

// ---------------------------------------------------------------------------------------------
// The list

nChordArray::nChordArray(const nChordArray& other) : Persistent(other) { *this = other; }

nChordArray& nChordArray::operator=(const nChordArray& other) {
  if (this == &other) return *this;
  std::vector<Handle> copies;
  copies.reserve(other.events_.size());
  for (const Handle& e : other.events_) copies.push_back(CopyEntry(e));
  events_ = std::move(copies);
  currentTimeSignature_ = other.currentTimeSignature_;
  shortest_ = other.shortest_;
  longest_ = other.longest_;
  totalLength_ = other.totalLength_;
  cursor = other.cursor;
  searchIndex_ = 0;
  beat_ = other.beat_;
  return *this;
}

bool nChordArray::operator==(const nChordArray& other) const { return ElementsEqual(events_, other.events_); }

const nChordArray::Handle& nChordArray::Checked(size_t i) const {
  if (i >= events_.size()) throw std::out_of_range("event index " + std::to_string(i) + " out of range");
  return events_[i];
}

nChord* nChordArray::push_back(std::unique_ptr<nChord> event) { return push_back(Handle(std::move(event))); }

nChord* nChordArray::push_back(Handle event) {
  events_.push_back(std::move(event));
  return events_.back().get();
}

nChord* nChordArray::insert(size_t i, std::unique_ptr<nChord> event) { return insert(i, Handle(std::move(event))); }

nChord* nChordArray::insert(size_t i, Handle event) {
  if (i > events_.size()) throw std::out_of_range("event index " + std::to_string(i) + " out of range");
  return events_.insert(events_.begin() + static_cast<std::ptrdiff_t>(i), std::move(event))->get();
}

nChordArray::Handle nChordArray::release(size_t i) {
  Handle event = Checked(i);
  events_.erase(events_.begin() + static_cast<std::ptrdiff_t>(i));
  return event;
}

nChordArray::Handle nChordArray::CopyEntry(const Handle& entry) {
  return entry == nullptr || entry->IsShared() ? entry : std::make_shared<nChord>(*entry);
}

int nChordArray::IndexOf(const nChord* event) const {
  for (size_t i = 0; i < events_.size(); ++i) {
    if (events_[i].get() == event) return static_cast<int>(i);
  }
  return -1;
}

void nChordArray::InsertNulls(size_t at, size_t count) {
  if (at > events_.size()) throw std::out_of_range("event index " + std::to_string(at) + " out of range");
  events_.insert(events_.begin() + static_cast<std::ptrdiff_t>(at), count, nullptr);
}

void nChordArray::SpreadToTimes(const std::vector<uint32_t>& times) {
  std::vector<Handle> out;
  out.reserve(std::max(events_.size(), times.size()) + 1);
  size_t k = 0;
  size_t i = 0;
  for (; i < events_.size(); ++i) {
    const nChord* e = events_[i].get();
    if (e != nullptr && e->IsChord()) {
      const uint32_t t = e->time;
      if (t == 0xFFFFFFFFu) break;
      size_t below = 0;
      while (k < times.size() && times[k] < t) {
        ++below;
        ++k;
      }
      if (k < times.size()) ++k;
      if (below > 0) {
        size_t at = out.size();
        while (at > 0 && out[at - 1] != nullptr && out[at - 1]->time == t) --at;
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(at), below, nullptr);
      }
    }
    out.push_back(std::move(events_[i]));
  }
  for (; i < events_.size(); ++i) out.push_back(std::move(events_[i]));
  events_ = std::move(out);
}

void nChordArray::DeleteChords() {
  events_.clear();
  currentTimeSignature_.reset();
}

size_t nChordArray::Compact() {
  std::erase(events_, nullptr);
  cursor = 0;
  return events_.size();
}

void nChordArray::SetCurrentTimeSignature(const CMetaEvent* event) {
  if (event != nullptr && event->kind == CMetaEvent::kTimeSignature) {
    currentTimeSignature_ = std::make_shared<const CMetaEvent>(*event);
  } else {
    currentTimeSignature_.reset();
  }
}

Meter nChordArray::MeterInForce(int32_t numerator, int32_t denominator) const {
  if (currentTimeSignature_) return Meter::From(currentTimeSignature_->cx, currentTimeSignature_->cy);
  return Meter::From(numerator, denominator);
}

// ---------------------------------------------------------------------------------------------
// Time

void nChordArray::UpdateTickPositions(int32_t numerator, int32_t denominator) {
  const Meter meter = MeterInForce(numerator, denominator);
  uint32_t t = 0;
  for (const Handle& e : events_) {
    if (e == nullptr) continue;
    e->delta = t;
    if (e->IsChord()) {
      e->number = t / meter.barLength;
      t += e->GetDurationTicks();
    }
  }
}

uint8_t nChordArray::JoinBeatGroup(uint32_t tuplet, uint16_t code, const Meter& meter) {
  BeatState& b = beat_;
  if (b.remainder != 0 && b.timeInGroup + 1 < b.groupLength && b.previousDuration + 1 < meter.beat &&
      tuplet == b.groupTuplet) {
    return ++b.groupIndex;
  }
  b.groupIndex = 0;
  if (b.groupLength != 0) b.timeInGroup %= b.groupLength;
  b.groupTuplet = tuplet;
  uint32_t length = std::max<uint32_t>(nChord::kBreveTicks >> code, 192);
  if (meter.denominator == 8) length = length * 3 / 2;
  if (meter.denominator == 2) length *= 2;
  b.groupLength = length;
  return 0;
}

void nChordArray::AdvanceBeat(uint32_t duration, const Meter& meter) {
  BeatState& b = beat_;
  int64_t d = duration;
  if (b.groupTuplet > 2) {
    // A tuplet group that ends within its rounding ends on the group boundary.
    const int64_t distance = static_cast<int64_t>(b.groupLength) - (static_cast<int64_t>(b.timeInGroup) + d);
    if (distance > -static_cast<int64_t>(b.groupTuplet) && distance < static_cast<int64_t>(b.groupTuplet)) {
      d = std::max<int64_t>(0, d + distance);
    }
  }
  b.timeInBar += static_cast<uint32_t>(d);
  b.timeInGroup += static_cast<uint32_t>(d);
  b.remainder = b.groupLength != 0 ? b.timeInBar % b.groupLength : b.timeInBar % meter.beat;
}

void nChordArray::UpdateBeamGroups(int32_t numerator, int32_t denominator) {
  Meter meter = MeterInForce(numerator, denominator);
  beat_ = BeatState{};
  for (const Handle& handle : events_) {
    nChord* e = handle.get();
    if (e == nullptr) continue;
    const bool meterChange = (e->IsSpecialEvent() && e->SpecialSubtype() == nChord::kTimeSignatureChange) ||
                             (e->IsBarLine() && e->BarChange() == 1);
    if (meterChange) {
      beat_ = BeatState{};
      if (const CMetaEvent* signature = e->metaEvents.Find(CMetaEvent::kTimeSignature)) {
        meter = Meter::From(signature->cx, signature->cy);
      }
    }
    if (e->IsBarLine()) {
      beat_.timeInBar = 0;
      beat_.timeInGroup = 0;
      beat_.remainder = 0;
      continue;
    }
    if (!e->IsChord() || e->ChordMark() == nChord::kTimelessMark) continue;
    const uint16_t code = e->rhythm & 7;
    e->beamIndex = JoinBeatGroup(e->GetTupletNumber(), code, meter);
    if (beat_.timeInBar >= meter.barLength) beat_.timeInBar %= meter.barLength;
    const uint32_t d = e->GetDurationTicks();
    if (code < meter.groupThreshold) e->beamIndex = 0;
    AdvanceBeat(d, meter);
    beat_.previousDuration = d;
  }
}

namespace {

// The entries of a voice being cut into bars, written over the list they are read from: an
// entry kept moves down to the next free place, a new one takes a place an entry left free
// (a removed bar line's), and when none is free the entries so far and all that follow go to
// a new list, made once with room for the rest and a bar line in four.
class CutList {
 public:
  explicit CutList(std::vector<nChordArray::Handle>& events) : events_(events) {}
  // The next entry read is `r`.
  void Read(size_t r) { read_ = r; }
  void push_back(nChordArray::Handle entry) {
    if (!grown_) {
      events_[write_++] = std::move(entry);  // never past the entry read
      return;
    }
    list_.push_back(std::move(entry));
  }
  // A new entry before the one read.
  void Insert(nChordArray::Handle entry) {
    if (!grown_ && write_ < read_) {
      events_[write_++] = std::move(entry);
      return;
    }
    if (!grown_) Grow();
    list_.push_back(std::move(entry));
  }
  nChord* Back() const {
    if (grown_) return list_.empty() ? nullptr : list_.back().get();
    return write_ == 0 ? nullptr : events_[write_ - 1].get();
  }
  void Finish() {
    if (grown_) {
      events_ = std::move(list_);
    } else {
      events_.resize(write_);
    }
  }

 private:
  void Grow() {
    grown_ = true;
    const size_t rest = events_.size() - read_;
    list_.reserve(write_ + rest + rest / 4 + 1);
    for (size_t i = 0; i < write_; ++i) list_.push_back(std::move(events_[i]));
  }

  std::vector<nChordArray::Handle>& events_;
  std::vector<nChordArray::Handle> list_;
  size_t read_ = 0;
  size_t write_ = 0;
  bool grown_ = false;
};

}  // namespace

uint32_t nChordArray::RebarVoice(int32_t numerator, int32_t denominator, uint32_t startInBar) {
  Meter meter = MeterInForce(numerator, denominator);
  shortest_ = 65535;
  longest_ = 0;
  beat_ = BeatState{};
  beat_.timeInBar = startInBar;
  uint32_t t = 0;
  uint32_t previousTuplet = 0;
  uint32_t inTuplet = 0;
  bool stopped = false;
  // A plain bar line was just taken out: the bar it ended is made again where it ends, even
  // before a placed bar line (a freed fixed bar line would otherwise join two bars into one).
  bool plainTakenOut = false;

  // The cut voice is written over the one read, so that inserting and removing bar lines stays
  // linear without a second list: kept entries move down into the room that removed bar lines
  // leave, and only a bar line that finds no room there sends the rest to a new list.
  CutList out(events_);
  // A bar that a placed bar line closes keeps whatever length it has: the bar lines of a file
  // read in are data.
  // The first bar line or meter change from some entry on, found once for the entries before it.
  size_t ahead = 0;
  bool aheadSearched = false;
  bool aheadPlaced = false;
  const auto placedBarAhead = [&](size_t from) {
    if (!aheadSearched || from > ahead) {
      aheadSearched = true;
      ahead = from;
      while (ahead < events_.size()) {
        const nChord* a = events_[ahead].get();
        if (a != nullptr && (a->IsBarLine() || (a->IsSpecialEvent() && a->SpecialSubtype() == nChord::kTimeSignatureChange))) {
          break;
        }
        ++ahead;
      }
      const nChord* a = ahead < events_.size() ? events_[ahead].get() : nullptr;
      aheadPlaced = a != nullptr && a->IsBarLine() && a->BarChange() != 1 && ClosesItsBar(*a);
    }
    return aheadPlaced;
  };
  for (size_t r = 0; r < events_.size(); ++r) {
    out.Read(r);
    Handle& handle = events_[r];
    nChord* e = handle.get();
    if (stopped || e == nullptr) {
      out.push_back(std::move(handle));
      continue;
    }
    e->position = 0;
    if (!e->IsChord()) e->time = t;  // the end of the last chord before it

    const bool meterChange = (e->IsSpecialEvent() && e->SpecialSubtype() == nChord::kTimeSignatureChange) ||
                             (e->IsBarLine() && e->BarChange() == 1);
    if (meterChange) {
      // A change of time signature standing where a bar is full ends that bar.
      const nChord* previous = out.Back();
      if (e->IsSpecialEvent() && t > 0 && beat_.timeInBar >= meter.barLength &&
          (previous == nullptr || !previous->IsBarLine())) {
        auto bar = std::make_shared<nChord>(kPlainBarLine, static_cast<uint16_t>(beat_.timeInBar % meter.barLength));
        bar->time = t;
        out.Insert(std::move(bar));
      }
      beat_ = BeatState{};
      const CMetaEvent* signature = e->metaEvents.Find(CMetaEvent::kTimeSignature);
      if (signature == nullptr) {
        stopped = true;  // a change without its signature ends the cutting
        out.push_back(std::move(handle));
        continue;
      }
      SetCurrentTimeSignature(signature);
      meter = Meter::From(signature->cx, signature->cy);
    }

    if (e->ChordMark() == nChord::kTimelessMark || !(e->IsChord() || e->IsBarLine())) {
      e->time = t;
      out.push_back(std::move(handle));
      continue;
    }

    if (e->IsChord()) {
      const uint32_t tuplet = e->GetTupletNumber();
      if (tuplet != previousTuplet || inTuplet == tuplet) {
        e->rhythm |= nChord::kTakesRemainder;
        inTuplet = 0;
      } else {
        e->rhythm &= static_cast<uint16_t>(~nChord::kTakesRemainder);
      }
      ++inTuplet;
      previousTuplet = tuplet;
      e->status &= static_cast<uint16_t>(~0x0Bu);
      const uint16_t code = e->rhythm & 7;
      e->beamIndex = JoinBeatGroup(tuplet, code, meter);
      const bool barEndedHere = std::exchange(plainTakenOut, false);
      if (beat_.timeInBar >= meter.barLength && (barEndedHere || !placedBarAhead(r + 1))) {
        beat_.timeInBar %= meter.barLength;
        auto bar = std::make_shared<nChord>(kPlainBarLine, static_cast<uint16_t>(beat_.timeInBar));
        bar->time = t;
        out.Insert(std::move(bar));
      }
      e->time = t;
      const uint32_t d = e->GetDurationTicks();
      t += d;
      shortest_ = std::min(shortest_, d);
      longest_ = std::max(longest_, d);
      if (code < meter.groupThreshold) e->beamIndex = 0;
      AdvanceBeat(d, meter);
      beat_.previousDuration = d;
      if (beat_.remainder == 0) e->status |= 8;
      out.push_back(std::move(handle));
      continue;
    }

    // A bar line. Two repeat signs in a row make one repeat on both sides.
    nChord* previous = out.Back();
    if (previous != nullptr && IsRepeat(*e) && IsRepeat(*previous)) {
      const uint16_t here = RepeatType(*e);
      const uint16_t before = RepeatType(*previous);
      if ((here == 1 && before == 0) || (here == 0 && before == 1)) {
        previous->status = static_cast<uint16_t>((previous->status & 0xFFAF) | 0xA0);
        e->status &= static_cast<uint16_t>(~0xF0u);
      }
    }
    if (!e->metaEvents.empty() && e->metaEvents.front()->kind == CMetaEvent::kDynamics) {
      e->metaEvents.front()->kind = CMetaEvent::kEnding;
      e->metaEvents.front()->cy = 0;
    }
    if ((e->status & 0x0FFC) == 0x24C) {
      if (CMetaEvent* pause = e->metaEvents.Find(CMetaEvent::kBarPause)) {
        pause->value = static_cast<uint32_t>(pause->cx) * meter.barLength;
        pause->cy = static_cast<int32_t>((meter.denominator << 4) | meter.numerator);
      }
    }
    // Plain bar lines are made again where bars end; one that carries meta-events (an ending,
    // say) is kept so that they are not lost.
    if (e->status == kPlainBarLine && e->metaEvents.empty()) {
      handle.reset();
      plainTakenOut = true;
      continue;
    }
    plainTakenOut = false;
    e->position = beat_.timeInBar % meter.barLength;
    beat_.timeInBar = 0;
    beat_.timeInGroup = 0;
    beat_.remainder = 0;
    out.push_back(std::move(handle));
  }
  out.Finish();
  // The room kept for bar lines that were not needed is given back: a section holds many
  // voices, each cut again on every change.
  if (events_.capacity() - events_.size() > events_.size() / 8 + 2) events_.shrink_to_fit();
  totalLength_ = t;
  return meter.barLength;
}

void nChordArray::CopyComputedState(const nChordArray& from) {
  currentTimeSignature_ = from.currentTimeSignature_;
  shortest_ = from.shortest_;
  longest_ = from.longest_;
  totalLength_ = from.totalLength_;
  beat_ = from.beat_;
  for (size_t i = 0; i < std::min(events_.size(), from.events_.size()); ++i) {
    nChord* to = events_[i].get();
    const nChord* original = from.events_[i].get();
    if (to == nullptr || original == nullptr) continue;
    to->position = original->position;
    to->beamIndex = original->beamIndex;
    to->delta = original->delta;
    to->number = original->number;
    to->time = original->time;
    // The spelled names come from the key, not from the record.
    for (size_t n = 0; n < std::min(to->notes.size(), original->notes.size()); ++n) {
      if (to->notes.at(n) != nullptr && original->notes.at(n) != nullptr) to->notes.at(n)->name = original->notes.at(n)->name;
    }
  }
}

uint32_t nChordArray::NumberBars(uint32_t firstNumber, CBarArray& bars) {
  uint32_t running = firstNumber + 1;
  CBar* record = bars.GetOrCreateBar(0);
  size_t recordIndex = 0;
  record->elementIndex = 0;
  record->tickPosition = 0;
  record->statusWord = 0;
  record->barNumber = static_cast<int32_t>(firstNumber);
  record->items.clear();
  int32_t count = 0;
  uint32_t end = 0;

  for (size_t i = 0; i < events_.size(); ++i) {
    nChord* e = events_[i].get();
    if (e == nullptr || !e->IsBarLine()) {
      ++count;
      if (e != nullptr && e->IsChord()) end = e->time + e->GetDurationTicks();
      continue;
    }
    record->eventCount = std::max(record->eventCount, count);
    count = 0;
    if (const CMetaEvent* pause = e->metaEvents.Find(CMetaEvent::kBarPause)) {
      running += static_cast<uint32_t>(pause->cx);
    }
    if (i == 0) {
      e->rhythm = 0;
    } else if (e->rhythm != nChord::kSkipNumber) {
      e->number = running++;
    }
    // Two bar lines at one time make one bar record.
    if (e->time == 0 || e->time != record->tickPosition) record = bars.GetOrCreateBar(++recordIndex);
    record->elementIndex = static_cast<int32_t>(i);
    record->tickPosition = e->time;
    record->statusWord = (static_cast<uint32_t>(e->rhythm) << 8) | e->status;
    record->barStatus = e->status;
    record->barRhythm = e->rhythm;
    record->barNumber = static_cast<int32_t>(e->number);
    record->items = e->metaEvents;
  }
  record->eventCount = std::max(record->eventCount, count);
  totalLength_ = end;
  bars.largestElementCount = std::max(bars.largestElementCount, static_cast<int32_t>(events_.size()));
  bars.largestTickLength = std::max(bars.largestTickLength, totalLength_);
  if (!events_.empty() && events_.back() != nullptr && events_.back()->IsBarLine()) {
    if (events_.back()->rhythm == nChord::kSkipNumber) {
      events_.back()->rhythm = 0;
    } else {
      --running;
    }
  }
  return running;
}

nChord* nChordArray::NextEvent(bool chordsOnly) {
  for (; cursor < events_.size(); ++cursor) {
    nChord* e = events_[cursor].get();
    if (e == nullptr || e->IsSpecialEvent()) continue;
    if (chordsOnly && !e->IsChord()) continue;
    return e;
  }
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Bar lines around re-barring

void nChordArray::BarsToSpecialEvents() {
  std::erase_if(events_, [](const Handle& e) {
    if (e == nullptr || !e->IsBarLine()) return false;
    switch (e->status & 12) {
      case 8:
        e->status = 0x92;  // clef change
        return false;
      case 4:
        e->status = 0x12;  // time-signature change
        return false;
      default:
        return true;
    }
  });
}

size_t nChordArray::RestoreBarLines(const CBarArray& bars) {
  // reach[i]: the latest time of the elements up to i that can stand after a bar line. The
  // first element at or after a time is where reach first gets there.
  const auto canFollow = [this](size_t i) {
    const nChord* e = events_[i].get();
    return e != nullptr && !(e->IsSpecialEvent() && e->SpecialSubtype() == nChord::kStaticSpace);
  };
  std::vector<uint32_t> reach(events_.size());
  bool any = false;
  uint32_t latest = 0;
  for (size_t i = 0; i < events_.size(); ++i) {
    const nChord* e = events_[i].get();
    if (canFollow(i)) {
      latest = any ? std::max(latest, e->time) : e->time;
      any = true;
    }
    reach[i] = any ? latest : 0;
  }
  struct Placement {
    size_t at;
    Handle bar;
  };
  std::vector<Placement> placements;
  size_t missing = 0;
  for (size_t r = 1; r < bars.size(); ++r) {
    const CBar* record = bars[r];
    if (record == nullptr) continue;
    size_t at = events_.size();
    if (any) {
      const auto found = std::lower_bound(reach.begin(), reach.end(), record->tickPosition);
      at = static_cast<size_t>(found - reach.begin());
      // Leading entries that cannot stand after a bar line read as time 0.
      while (at < events_.size() && !(canFollow(at) && events_[at]->time >= record->tickPosition)) ++at;
    }
    // A bar line after the last element (the final bar line) is appended rather than lost.
    if (at == events_.size()) ++missing;
    auto bar = std::make_shared<nChord>(record->barStatus, record->barRhythm);
    bar->time = record->tickPosition;
    bar->number = static_cast<uint32_t>(record->barNumber);
    bar->metaEvents = record->items;
    placements.push_back({at, std::move(bar)});
  }
  std::stable_sort(placements.begin(), placements.end(),
                   [](const Placement& a, const Placement& b) { return a.at < b.at; });
  std::vector<Handle> out;
  out.reserve(events_.size() + placements.size());
  size_t next = 0;
  for (size_t i = 0; i <= events_.size(); ++i) {
    while (next < placements.size() && placements[next].at == i) out.push_back(std::move(placements[next++].bar));
    if (i < events_.size()) out.push_back(std::move(events_[i]));
  }
  events_ = std::move(out);
  return missing;
}

void nChordArray::FoldSpecialEventsIntoBars() {
  std::vector<Handle> out;
  out.reserve(events_.size());
  for (Handle& handle : events_) {
    nChord* bar = out.empty() ? nullptr : out.back().get();
    const nChord* special = handle.get();
    if (bar != nullptr && bar->IsBarLine() && special != nullptr && special->IsSpecialEvent()) {
      const uint16_t kindBits = special->status & 0xFFF0;
      const uint8_t kind = kindBits == 0x90   ? CMetaEvent::kClef
                           : kindBits == 0x10 ? CMetaEvent::kTimeSignature
                                              : CMetaEvent::kDeleteMe;
      // A change without its event has nothing to carry: it stays where it is.
      if (const CMetaEvent* source = kind != CMetaEvent::kDeleteMe ? special->metaEvents.Find(kind) : nullptr) {
        CMetaEvent* copy = bar->metaEvents.Find(kind);
        if (copy != nullptr) {
          *copy = *source;
        } else {
          copy = bar->metaEvents.push_back(std::make_unique<CMetaEvent>(*source));
        }
        if (kind == CMetaEvent::kTimeSignature) copy->value |= 0x80;
        bar->MarkForMetaEvent(kind);
        bar->rhythm = special->rhythm;
        continue;
      }
    }
    out.push_back(std::move(handle));
  }
  events_ = std::move(out);
}

uint32_t nChordArray::RebarAndFreeFixedBars(int32_t numerator, int32_t denominator) {
  const uint32_t barLength = RebarVoice(numerator, denominator);
  for (const Handle& e : events_) {
    // A bar that the numbering skips stays fixed: freed, it would be made again numbered.
    if (e != nullptr && e->IsBarLine() && (e->status & 0xFFF3) == 0x11 && e->metaEvents.empty() && e->position == 0 &&
        e->rhythm != nChord::kSkipNumber) {
      e->status = kPlainBarLine;
    }
  }
  return barLength;
}

nChord* nChordArray::AppendBarLine(int code) {
  static constexpr uint16_t kStyles[12] = {0x11, 0x81, 0x91, 0xA1, 0x31, 0xC1, 0xD1, 0x21, 0xE1, 0x51, 0xB1, 0xF1};
  const uint16_t status = code >= 0 && code < 12 ? kStyles[code] : 0;
  return push_back(std::make_unique<nChord>(status));
}

nChord* nChordArray::AppendTimeSignature(int32_t numerator, int32_t denominator) {
  auto event = std::make_unique<nChord>(0x12);
  event->metaEvents.push_back(
      std::make_unique<CMetaEvent>(CMetaEvent::kTimeSignature, "true", 1, numerator, denominator));
  return push_back(std::move(event));
}

size_t nChordArray::CountBarsAndEvents() const {
  size_t count = 0;
  for (size_t i = 0; i + 1 < events_.size(); ++i) {
    const nChord* e = events_[i].get();
    if (e == nullptr || e->IsChord()) continue;
    if (e->IsBarLine() || e->IsSpecialEvent()) ++count;
    if ((e->status & 12) == 12 && (e->status & 0xFF0) == 0x240) ++count;  // special events too
  }
  return count;
}

size_t nChordArray::CountSpecialBars() const {
  size_t count = 0;
  for (size_t i = 0; i + 1 < events_.size(); ++i) {
    const nChord* e = events_[i].get();
    if (e != nullptr && e->IsMultiBarRest()) ++count;
  }
  return count;
}

size_t nChordArray::CountClefBars() const {
  return static_cast<size_t>(std::count_if(events_.begin(), events_.end(), [](const Handle& e) {
    return e != nullptr && e->IsBarLine() && (e->status & 12) == 8;
  }));
}

bool nChordArray::RemarkBarLine(size_t index) {
  nChord* e = at(index);
  if (e == nullptr || !e->IsBarLine() || (e->status & 12) == 0 || e->metaEvents.empty()) return false;
  uint8_t kind;
  switch (e->status & 12) {
    case 4: kind = CMetaEvent::kTimeSignature; break;
    case 8: kind = CMetaEvent::kClef; break;
    default: kind = static_cast<uint8_t>(e->status >> 4); break;
  }
  if (e->metaEvents.Find(kind) == nullptr) return false;
  e->MarkForMetaEvent(kind);
  return true;
}

void nChordArray::MarkFixedBarsUnnumbered() {
  for (const Handle& e : events_) {
    if (e != nullptr && e->IsBarLine() && (e->status & 0xFFF3) == 0x11) e->rhythm |= nChord::kSkipNumber;
  }
}

// ---------------------------------------------------------------------------------------------
// Meta-events of the voice

void nChordArray::ResetMetaEventLocations() {
  for (const Handle& e : events_) {
    if (e == nullptr) continue;
    for (const auto& meta : e->metaEvents) meta->ResetLocation();
  }
}

bool nChordArray::EditMetaEventAt(int32_t x, int32_t y, bool tablature) {
  const int view = tablature ? EventLocation::kTablature : EventLocation::kNotation;
  for (; searchIndex_ < events_.size(); ++searchIndex_) {
    const Handle holder = events_[searchIndex_];  // kept alive while its editor runs
    nChord* e = holder.get();
    if (e == nullptr) continue;
    for (size_t m = 0; m < e->metaEvents.size(); ++m) {
      CMetaEvent* meta = e->metaEvents[m];
      if (!meta->location.Rect(view).Contains(Point{x, y})) continue;
      if (meta->kind == CMetaEvent::kHyperlink) {
        MetaEventEditors().FollowHyperlink(*meta);
      } else {
        meta->Edit(view);
        if (meta->kind == CMetaEvent::kDeleteMe) e->metaEvents.erase(m);
      }
      if (e->metaEvents.empty()) {
        if (e->IsSpecialEvent()) {
          erase(searchIndex_);
        } else if (e->IsBarLine()) {
          e->status &= static_cast<uint16_t>(~0x0Cu);
        }
      }
      return true;
    }
  }
  searchIndex_ = 0;
  return false;
}

// ---------------------------------------------------------------------------------------------
// Stored forms

tinyxml2::XMLElement* nChordArray::WriteXml(tinyxml2::XMLDocument& doc) const {
  return BuildXmlElement(doc, [&](XmlSink& out) { WriteXml(out); });
}

void nChordArray::WriteXml(XmlSink& out) const {
  out.Open("staff");
  out.Int("count", static_cast<int32_t>(events_.size()));
  for (size_t i = 0; i < events_.size(); ++i) {
    const auto position = static_cast<int32_t>(i + 1);
    if (events_[i] != nullptr) {
      events_[i]->WriteXml(out, position);
    } else {
      nChord::WriteBlankXml(out, position);
    }
  }
  out.Close();
}

const tinyxml2::XMLElement* nChordArray::ReadXml(const tinyxml2::XMLElement* element) {
  element = ExpectChildElement(element, "staff");
  events_.clear();
  const int32_t count = ReadIntAttribute(element, "count");
  const tinyxml2::XMLElement* child = element->FirstChildElement();
  for (int32_t i = 0; i < count && child != nullptr; ++i) {
    // Made shared at once: the event and its handle's count in one block.
    auto event = std::make_shared<nChord>();
    child = event->ReadXml(child);
    if (event->status == nChord::kBlankStatus) event.reset();
    push_back(std::move(event));
  }
  return element->NextSiblingElement();
}

void nChordArray::Store(ArchiveWriter& ar) const { ar.WriteObjectArray(events_); }

void nChordArray::Load(ArchiveReader& ar) {
  const size_t count = ar.ReadCount(2);
  std::vector<Handle> loaded;
  loaded.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    std::unique_ptr<nChord> created;
    nChord* event = ar.ReadObject<nChord>(created);
    if (created != nullptr) {
      loaded.emplace_back(std::move(created));
      if (loaded.back()->IsShared()) ar.KeepSharedHandle(loaded.back());
    } else if (event == nullptr) {
      loaded.emplace_back();
    } else {
      // A back reference: only the events a section shares may stand in two places.
      Handle shared = std::static_pointer_cast<nChord>(ar.SharedHandleOf(event));
      if (!event->IsShared() || shared == nullptr) {
        ar.Fail(ArchiveErrorCode::kBadIndex, "an event that is not shared stands twice");
      }
      loaded.push_back(std::move(shared));
    }
  }
  events_ = std::move(loaded);
}

}  // namespace vornel
