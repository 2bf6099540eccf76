// The two splits of a voice: a tablature voice into two notation voices, and a voice into an
// upper and a lower voice by pitch.

#include <algorithm>
#include <bit>

#include "model/score/CVoicesArray.h"
#include "model/voice/nChordArray.h"

namespace vornel {

namespace {

constexpr uint32_t kTie = 0x800;

// The copy of `source` for one notation voice: a chord keeps the notes of its voice (upper:
// flags bit 7 clear), without their stem marks; one left without notes rests with `restDy`.
nChordArray::Handle NotationCopy(const nChordArray::Handle& source, bool lower, uint16_t restDy) {
  if (source == nullptr || source->IsShared()) return source;
  auto copy = std::make_shared<nChord>(*source);
  if (!copy->IsChord() || copy->notes.empty()) return copy;
  copy->notes.RemoveIf([lower](const auto& n) {
    return n == nullptr || ((n->flags & nNotes::kLowerVoiceFlag) != 0) != lower;
  });
  for (const auto& n : copy->notes) n->flags &= 0x00FC;
  if (copy->notes.empty()) copy->dy = restDy;
  return copy;
}

void Tie(nChord& chord) {
  for (const auto& n : chord.notes) n->slur = kTie;
}

}  // namespace

int nChordArray::SplitIntoNotationVoices(CVoicesArray& targets, int32_t numerator, int32_t denominator) const {
  nChordArray& upper = *targets.at(0);
  nChordArray& lower = *targets.at(1);
  const Meter passed = Meter::From(numerator, denominator);
  const uint32_t barLength = MeterInForce(numerator, denominator).barLength;
  const uint32_t beat = std::max<uint32_t>(1, barLength / passed.numerator);

  for (const Handle& e : events_) {
    upper.push_back(NotationCopy(e, false, 5));
    lower.push_back(NotationCopy(e, true, static_cast<uint16_t>(-5)));
  }
  upper.RebarVoice(numerator, denominator);
  lower.RebarVoice(numerator, denominator);
  upper.JoinRestsAlongBeat(barLength, beat);
  lower.JoinRestsAlongBeat(barLength, beat);
  return 1;
}

void nChordArray::JoinRestsAlongBeat(uint32_t barLength, uint32_t beat) {
  std::vector<Handle> out;
  out.reserve(events_.size() + events_.size() / 4);
  uint32_t p = 0;  // ticks into the beat
  for (size_t i = 0; i < events_.size(); ++i) {
    Handle chord = std::move(events_[i]);
    if (chord == nullptr || !chord->IsChord()) {
      out.push_back(std::move(chord));
      continue;
    }
    uint32_t s = chord->GetDurationTicks();
    p += s;
    // The rests (and ghost chords) of the same tuplet that follow join the chord, up to a bar.
    bool absorbed = false;
    for (size_t j = i + 1; j < events_.size() && s < barLength; ++j) {
      const nChord* e = events_[j].get();
      if (e == nullptr) continue;
      if (!(e->IsRest() || e->IsGhost()) || e->GetTupletNumber() != chord->GetTupletNumber()) break;
      const uint32_t d = e->GetDurationTicks();
      s += d;
      p += d;
      events_[j].reset();
      absorbed = true;
    }
    p %= beat;
    if (!absorbed) {
      out.push_back(std::move(chord));
      continue;
    }
    Handle whole;
    // A chord that starts a beam group is never split; others are tied across the beat.
    if (chord->beamIndex != 0) {
      const uint32_t r = s % beat;
      const uint32_t q = s - r;
      if (r != 0 && p == 0 && q != 0) {
        whole = std::make_shared<nChord>(*chord);
        whole->SetRhythmFromTicks(q);
        Tie(*whole);
        s = r;
      }
      if (p != 0 && s > p) {
        auto before = std::make_shared<nChord>(*chord);
        before->SetRhythmFromTicks(s - p);
        Tie(*chord);
        out.push_back(std::move(before));
        s = p;
      }
    }
    // The chord, then what it could not hold, then the tied whole beats.
    const uint32_t left = ExpandInto(out, std::move(chord), s);
    if (left >= 12) {
      auto rest = std::make_shared<nChord>();
      rest->SetRhythmFromTicks(left);
      out.push_back(std::move(rest));
    }
    if (whole != nullptr) out.push_back(std::move(whole));
  }
  events_ = std::move(out);
}

void nChordArray::SplitByPitch(int32_t denominator, int split, int highRange) {
  ClearItems(ClearCommand::kVoicingCues);

  const int P = split;
  int upperLowest = P - 5;
  int lowerHighest = P - 8;
  size_t previousCount = 0;
  nNoteArray::SplitCounts previous;
  int course = -1;
  for (const Handle& e : events_) {
    if (e == nullptr) continue;
    if (!e->IsChord()) {
      upperLowest = P;
      lowerHighest = P - 8;
      continue;
    }
    const size_t n = e->notes.size();
    if (n == 0) {
      previousCount = 0;
      previous = {};
      continue;
    }
    int hi = e->notes.HighestPitch();
    int lo = e->notes.LowestPitch();
    if (hi == lo) {
      hi = upperLowest;
      lo = lowerHighest;
    }
    int s;
    if (n >= 2) {
      s = hi - (n > 2 ? 4 : 2) - highRange;
    } else {
      s = lowerHighest + 3;
      if (previousCount == 1) s = previous.upper > 0 ? upperLowest - 3 : lowerHighest + 3;
      if (e->notes[0]->pitch == upperLowest) --s;
    }
    if (n == 1 && previousCount == 1) {
      // A run of single notes on one course stays in one voice.
      const nNotes* note = e->notes[0];
      if (note->string == course) s = previous.lower > 0 ? upperLowest + 2 : lowerHighest - 2;
      course = note->string;
    } else {
      course = -1;
      s = std::clamp(s, P - 5, P + 5);
    }
    previous = e->notes.SplitByPitch(s, upperLowest, lowerHighest);
    previousCount = n;
  }

  // Stem marks of lower-voice notes that begin beamed groups.
  const uint32_t shortest = denominator < 2 ? 1 : 1 + static_cast<uint32_t>(std::bit_width(static_cast<uint32_t>(denominator)) - 1);
  cursor = 0;
  while (cursor < events_.size()) {
    nChord* e = events_[cursor].get();
    const bool starts = e != nullptr && e->IsChord() && e->beamIndex == 0 && (e->rhythm & 7u) >= shortest &&
                        std::any_of(e->notes.begin(), e->notes.end(),
                                    [](const auto& n) { return (n->flags & nNotes::kLowerVoiceFlag) != 0; });
    if (!starts) {
      ++cursor;
      continue;
    }
    const uint32_t group = RestOfBeamGroup();
    if (group == 0) {
      ++cursor;
      continue;
    }
    const uint32_t value = nChord::PlainTicks(e->rhythm);
    uint32_t count = 0;
    bool half = false;
    if (group == 2 * value) {
      count = 1;
      half = true;
    } else {
      for (uint32_t g = group; g >= value && value != 0; g /= 2) ++count;
    }
    if (count > 0) e->notes.SetStemAndVoiceMarks(static_cast<uint16_t>(count & 3), half);
  }
}

}  // namespace vornel
