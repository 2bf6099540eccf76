#pragma once
// The walk of the flat tag list: builds the voices of a section's instrument definitions (one
// per part, made first) from the list's staves, notes, chords, bars, clefs, meters, ties,
// slurs and marks, and sets the section's key, time signature and tempo.
//
// Each "staff" collects its events in a working voice, which "endstaff" merges into the
// definition's gathered voice (first or second, as its stave says). Two modes run side by
// side: inside or outside a chord ("chord" ... "endchord"), inside or outside a grace group
// ("grace" ... its "endgroup", whose notes are dropped). Ties, slurs, marks and chord names
// wait for the next note that is made.
//
// A chord (or rest) lasts what its first note's value says, exactly: a length that one value
// of the model does not hold is written, when the chord is done, as several values that add
// up to it, the later ones holding the notes; a length that no values make takes the nearest,
// but for a rest, which first takes in the rests after it. Each is reported to the import's
// warnings.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "import/musicxml/vornelelement.h"
#include "model/voice/RhythmValues.h"
#include "model/voice/nChordArray.h"

namespace vornel {

class CInstrumentDlg;
class CMetaEvent;
class CSystemArray;
class nChord;
class nNotes;

class MusicXMLTagWalk {
 public:
  static constexpr size_t kSlurSlots = 8;

  explicit MusicXMLTagWalk(CSystemArray& section);
  ~MusicXMLTagWalk();
  MusicXMLTagWalk(const MusicXMLTagWalk&) = delete;
  MusicXMLTagWalk& operator=(const MusicXMLTagWalk&) = delete;

  // Walks the children of `list` (the flat list's "Score" element) in order.
  void Walk(const vornelelement& list);

 private:
  // Where a slur's placement puts it: given above or below, or left to the notes.
  enum class SlurSide { kAbove, kBelow, kNotGiven };
  struct SlurSlot {
    int startIndex = 0;
    int startInterval = 0;
    int endIndex = 0;
    int endInterval = 0;
    bool active = false;
    SlurSide side = SlurSide::kNotGiven;
    nNotes* startNote = nullptr;
    nNotes* endNote = nullptr;
  };

  // Each takes the element and returns how many of the elements after it it took as well.
  size_t Tuning(const std::vector<Svornelelement>& list, size_t at);
  void Staff(const vornelelement& e);
  void SelectDefinition(int part, int staffCount, int voiceIndex);
  void EndStaff();
  // Counts the columns of the long slurs' marks again in the staff's voice.
  void RecountLongSlurs(const nChordArray& voice);
  // Gives the measures before the staff's first time signature hidden time signatures of
  // their own lengths, where these change.
  void TimeUntimedMeasures();
  void Clef(const vornelelement& e);
  void Note(const vornelelement& e);
  void Fret(const vornelelement& e);
  void SlurBegin(const vornelelement& e);
  void SlurEnd(const vornelelement& e);
  void FinishSlur(SlurSlot& slot);
  // Whether a slur between two notes goes above them: as its placement says, else above notes
  // that stand on or over the middle of the staff.
  bool SlurAbove(const SlurSlot& slot) const;
  // The legato mark of a slur longer than a slur word holds.
  std::unique_ptr<CMetaEvent> LongSlur(const SlurSlot& slot, bool above) const;
  void TieEnd();
  // A volta ending: an ending mark on the bar line that opens its measure (text "1.", value
  // the events it reaches over to the bar line after it, cx 1 for an ending left open), made
  // when the ending closes; its reach is counted at the end of the walk (ReachEndings).
  void Volta(const vornelelement& e);
  void EndVolta();
  void ReachEndings();
  nChord* AppendBar(uint16_t status);
  // The bar lines that opened the measure just read are left out of the numbering.
  void SkipNumber();
  void Transpose(const vornelelement& e);
  void Key(const vornelelement& e);
  // Gives `note` the spelling of the score's step (`writtenStep`, "c" to "b"), moved by the
  // part's transposition, where the key would spell it otherwise or the score alters it.
  void KeepWrittenSpelling(nNotes& note, const std::string& writtenStep, const CKey& key) const;
  void Meter(const vornelelement& e);
  void Tempo(const vornelelement& e);
  void FlipStem();
  CMetaEvent* AddPending(uint8_t kind, const std::string& text, int32_t cy = 0, uint32_t value = 0);
  // Whether a direction's tag was placed under the staff: a parameter "below" from `first` on
  // (after the text of words and dynamics).
  static bool Below(const vornelelement& e, size_t first = 1);
  void Dynamic(const vornelelement& e);
  // A mark over a span of chords (a hairpin, a pedal), open from its tag to its stop.
  struct OpenSpan {
    CMetaEvent* mark = nullptr;
    const nChord* chord = nullptr;  // the chord it went to, once one took it
  };
  void WedgeBegin(const vornelelement& e, bool crescendo);
  void Pedal(const vornelelement& e);
  // Ends an open mark: its span in chords reaches the chord after the last one made.
  void EndSpan(OpenSpan& span);
  // Appends an event to the current voice after finishing the chord before it.
  nChord* Append(std::unique_ptr<nChord> event);
  // Gives the last chord its values (see above).
  void FinishChord();
  // Adds `length` to the last chord when it is a rest that no values hold; false otherwise.
  bool JoinShortRest(TickLength length);
  void Warn(const std::string& text) const;
  // What a staff starts without: the chord, the last note, slurs, a waiting tie and marks. The
  // ties still open are kept for the next voice that goes into the same definition's voice.
  void ResetStaffState();

  CSystemArray& section_;
  nChordArray working_;                 // the events of the staff being read
  nChordArray* currentVoice_ = nullptr;  // the working voice once a staff started
  CInstrumentDlg* definition_ = nullptr;
  nChordArray* targetVoice_ = nullptr;  // the definition's voice that the staff goes into
  std::array<SlurSlot, kSlurSlots> slots_{};
  // A slur whose number a new slur took at the note where the new one starts: the end given
  // after that note is this one's.
  std::array<SlurSlot, kSlurSlots> endingSlots_{};
  // The legato marks of long slurs with the events they join: the staff's bar lines come in
  // between once it ends, and the marks' spans in columns are counted again then.
  struct LongSlurMark {
    const nChord* start;
    const nChord* end;
    CMetaEvent* mark;
  };
  std::vector<LongSlurMark> longSlurs_;
  int staffOffset_ = 0;
  int previousStaffIndex_ = 0;
  int previousPart_ = 0;
  int currentPart_ = 0;
  bool clefSeen_ = false;
  bool meterSeen_ = false;         // in this staff
  bool barOffsetSet_ = false;      // the first part's first measure numbered the section's bars
  bool sectionMeterSet_ = false;   // the first meter of the import sets the section's
  nChord* chord_ = nullptr;
  // The chord whose values wait until it is done, and its length.
  nChord* unfinished_ = nullptr;
  TickLength unfinishedLength_;
  int joinedRests_ = 1;  // the rests of the source the unfinished rest stands for
  int measure_ = 1;  // of the staff, counted by its bar lines, for the warnings
  nNotes* lastNote_ = nullptr;
  bool inChord_ = false;
  bool grace_ = false;
  bool tiePending_ = false;
  bool slurPending_ = false;
  size_t pendingSlot_ = 0;
  std::vector<std::unique_ptr<CMetaEvent>> pendingMarks_;
  OpenSpan wedge_;
  OpenSpan pedal_;
  int32_t lastLevel_ = 100;  // the expression of the staff's last dynamic
  std::vector<int> openTies_;  // pitches of the notes whose ties wait for their end
  std::string pendingChordName_;
  nChord* voltaBar_ = nullptr;  // the bar line of the ending being read
  size_t voltaStart_ = 0;        // its place in the working voice
  std::string voltaText_;
  bool voltaOpen_ = false;
  struct PendingEnding {
    CMetaEvent* mark;
    uint64_t ticks;  // the ending's length
  };
  std::vector<PendingEnding> staffEndings_;                       // of the staff being read
  std::vector<std::pair<nChordArray*, PendingEnding>> endings_;  // in the definitions' voices
  // The transposition in force in the staff: sounding less written pitch, in semitones and in
  // diatonic steps; and the parts whose definitions took theirs (the first each part gives).
  int transposeSemitones_ = 0;
  int transposeSteps_ = 0;
  std::vector<bool> transposedParts_;
};

// The name of a flat-list element with its leading and trailing "\" taken off.
std::string_view TagName(std::string_view name);
std::string_view TagName(const vornelelement& element);

}  // namespace vornel
