#pragma once
// The voices of an instrument line (or any list of voices), not owned.

#include <cstdint>
#include <utility>
#include <vector>

#include "model/voice/nChordArray.h"

namespace vornel {

class CVoicesArray {
 public:
  int32_t largestBarCount = 0;  // set by MeasureVoices
  uint32_t barLength = 0;       // kept by SetTimeSignatureAndRebar

  void push_back(nChordArray* voice) { voices_.push_back(voice); }
  size_t size() const { return voices_.size(); }
  nChordArray* at(size_t i) const { return voices_.at(i); }
  auto begin() const { return voices_.begin(); }
  auto end() const { return voices_.end(); }

  // Deletes the events of every voice.
  void DeleteAllChords();
  // Makes `timeSignature` the signature in force of every voice and cuts their bars; keeps
  // and returns the bar length.
  uint32_t SetTimeSignatureAndRebar(const CMetaEvent* timeSignature, int32_t numerator, int32_t denominator);
  // Re-bars every voice and frees its fixed bar lines.
  void RebarAll(int32_t numerator, int32_t denominator);
  // Smallest shortest and largest longest chord duration (65535 and 0 without voices).
  std::pair<uint32_t, uint32_t> ShortestAndLongest() const;
  // The largest event count, a voice whose last event is not a chord counting one less.
  size_t LongestVoice() const;
  // Removes the null entries of every voice.
  void Compact();
  // Pads the voices with null entries so that chords starting at the same time stand at the
  // same index in every voice. The voices must have been re-barred to bars of `length`.
  void AlignVoices(uint32_t length);
  // The largest total length of the voices; stores the largest number of bars.
  uint32_t MeasureVoices();
  // The largest count of bar lines and special events of a voice.
  size_t GetMaxEventCount() const;
  // Applies one of the "Remove all..." commands to every voice.
  void ClearItems(ClearCommand command);
  // Respells every chord of every voice in the key, keeping the notes' spelling marks, then
  // marks the accidentals bar by bar.
  void RespellVoices(const CKey& key);

 private:
  std::vector<nChordArray*> voices_;
};

}  // namespace vornel
