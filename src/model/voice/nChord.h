#pragma once
// One timed event of a voice: a chord (a rest when it has no notes), a bar line or a special
// event (a change of time signature or clef, which takes no time). The low two bits of the
// status tell which.

#include <tinyxml2.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/BuildBudget.h"
#include "model/events/CMetaEventArray.h"
#include "model/voice/FretDiagram.h"
#include "model/voice/nNoteArray.h"
#include "platform/archive/Persistent.h"
#include "platform/text/CompactString.h"

namespace vornel {

class XmlSink;

class CTabInstrument;

// Shared ownership lets the one stave-break bar line of a section stand in many voices.
class nChord : public Persistent {
 public:
  static constexpr std::string_view kClassName = "nChord";
  // What one costs a reading under way (see BuildBudget): the event, its shared handle and its place in a voice.
  [[no_unique_address]] BuildCharge<128> buildCharge;

  // Kinds (status bits 0-1).
  static constexpr uint16_t kChord = 0;
  static constexpr uint16_t kBarLine = 1;
  static constexpr uint16_t kSpecialEvent = 2;
  // The status a blank (null) entry of a voice is written with, truncated to 16 bits.
  static constexpr uint16_t kBlankStatus = 0xFFFF;
  // Chord marks (status bits 8-11).
  static constexpr uint16_t kGreyedMark = 1;
  static constexpr uint16_t kRhythmMark = 4;  // rhythm only: a flag or alfabeto letter, no notes
  static constexpr uint16_t kGhostMark = 13;
  static constexpr uint16_t kTimelessMark = 15;
  // Special-event subtypes (status bits 4-11).
  static constexpr uint16_t kTimeSignatureChange = 0x01;
  static constexpr uint16_t kClefChange = 0x09;
  static constexpr uint16_t kStaticSpace = 0x0B;
  static constexpr uint16_t kSectionOwned = 0x18;
  // Bar-line rhythm word of a bar that the numbering skips.
  static constexpr uint16_t kSkipNumber = 128;
  // Rhythm word bit of the chord that takes its tuplet group's rounding remainder.
  static constexpr uint16_t kTakesRemainder = 0x1000;
  // Ticks of a whole note.
  static constexpr uint32_t kWholeTicks = 768;
  static constexpr uint32_t kBreveTicks = 1536;

  // Widest fields first, so that a voice's many events pack without padding.
  uint32_t position = 0;  // bar cutting: for a bar line, the ticks counted in the bar it closes
  uint32_t delta = 0;     // start in ticks, set by the tick update
  uint32_t number = 0;    // bar line: its bar number; chord: the bar it starts in
  uint32_t time = 0;      // start in ticks as bar cutting computed it
  uint16_t status = 0;
  uint16_t rhythm = 0;
  uint16_t dy = 0;
  uint8_t beamIndex = 0;  // bar cutting: index within the beam group
  uint8_t al = 0;
  CompactString name;     // chord name
  CMetaEventArray metaEvents;
  nNoteArray notes;

  nChord() = default;
  explicit nChord(uint16_t status_, uint16_t rhythm_ = 0) : status(status_), rhythm(rhythm_) {}
  // A deep copy; the beam index starts at 0.
  nChord(const nChord& other);
  nChord& operator=(const nChord& other);

  // The stored fields (status, rhythm, dy, al, name, notes and meta-events).
  bool operator==(const nChord& other) const;

  uint16_t Kind() const { return status & 3; }
  bool IsChord() const { return Kind() == kChord; }
  bool IsBarLine() const { return Kind() == kBarLine; }
  bool IsSpecialEvent() const { return Kind() == kSpecialEvent; }
  uint16_t ChordMark() const { return (status >> 8) & 0x0F; }
  uint16_t SpecialSubtype() const { return (status >> 4) & 0xFF; }
  // Status bits 2-3 of a bar line: 1 a change of time signature, 2 a change of clef.
  uint16_t BarChange() const { return (status >> 2) & 3; }
  // A bar line standing for a rest of several bars (both class bits, style 0x240).
  bool IsMultiBarRest() const { return IsBarLine() && (status & 12) == 12 && (status & 0xFF0) == 0x240; }
  // The section's stave-break bar line.
  bool IsStaveBreak() const { return IsBarLine() && (status & 0xFFF3) == 0x41; }
  // Events that one section shares between its voices: the stave break and the special
  // events of subtype 0x18. A voice drops them without deleting them.
  bool IsShared() const { return IsStaveBreak() || (IsSpecialEvent() && SpecialSubtype() == kSectionOwned); }

  // Rhythm arithmetic. Tuplet selectors beyond the table read as the plain value.
  static uint32_t TupletNumber(uint16_t rhythmWord);
  static uint32_t DurationTicks(uint16_t rhythmWord);
  uint32_t GetTupletNumber() const { return TupletNumber(rhythm); }
  uint32_t GetDurationTicks() const { return DurationTicks(rhythm); }
  // Length of the value and its dot, without the tuplet.
  static uint32_t PlainTicks(uint16_t rhythmWord);
  // Sets the rhythm word for a length; returns the ticks the word could not take.
  uint32_t SetRhythmFromTicks(uint32_t length);

  // Marks the status for a meta-event placed on the event: a time signature or a clef on a
  // bar line, or the bar-line kinds of captions, graphic ornaments and bar pauses.
  void MarkForMetaEvent(uint8_t kind);

  // Inserts a note before the first note of lower pitch; returns its index, or -1 (and the
  // note is dropped) when the chord already holds its most notes.
  int AddNote(std::unique_ptr<nNotes> note);

  // A chord without notes is a rest.
  bool IsRest() const { return IsChord() && notes.empty(); }
  bool IsGhost() const { return IsChord() && ChordMark() == kGhostMark; }
  // A ghost chord loses the mark and its notes; any other chord gets the mark.
  void ToggleGhost();
  // A legato from course `course`: on the note of the course above it (else of the course
  // itself) as its slur word, else as the chord's legato meta-event.
  bool AddLegato(int course, uint32_t length, bool flag);
  // The lyric of a chord (kind 0); other events take none.
  void SetLyric(std::string_view text);
  // Asks for a new chord name, prefilled with the chord's; true when the user answered.
  bool PromptChordName();
  // The first ending meta-event whose cy is `value`, or null.
  CMetaEvent* FindEnding(int32_t value) const;

  // --- chords from chord symbols
  // Semitones above the bass of the tones placed on the courses above it: third, fifth and
  // octave in two octaves and a last third, changed by the chord kind (0 none, 1 "4", 2 "6",
  // 3 "7m", 4 "9", 5 "7M", 6 "9-", 7 "4+6", 8 "5+", 9 "sus", 10 "4s").
  static std::array<int, 7> ChordToneTable(bool minor, int kind);
  // Builds the chord on the instrument: the bass of pitch class `bassClass` (from A = 0) on
  // the instrument's bass course for it, the tones of the table from `startIndex` on the
  // courses above. False, with a message, when the instrument has no course for the bass.
  bool PlaceOnInstrument(int bassClass, const CTabInstrument& instrument, bool minor, int kind, int startIndex);
  // The chord as a fret diagram in the box (left, top, width, height) for a device of the
  // given dots per inch. Nothing (an empty rectangle) for a rest or fewer than three lines.
  FretDiagram LayoutFretDiagram(const CTabInstrument& instrument, int32_t left, int32_t top, int32_t width,
                                int32_t height, int32_t dpiX, int32_t dpiY) const;

  // The chord as one line of TAB text (rhythm sign or "x", the courses' frets with their
  // ornament marks, the bourdon), ending in a line feed.
  std::string GetTabLine(const CTabInstrument& instrument, bool withRhythm) const;

  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // The "event" element; a voice adds the event's place in it, "i", after the other attributes.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  void WriteXml(XmlSink& out, std::optional<int32_t> position = std::nullopt) const;
  // The "event" element of a null entry of a voice.
  static tinyxml2::XMLElement* WriteBlankXml(tinyxml2::XMLDocument& doc);
  static void WriteBlankXml(XmlSink& out, std::optional<int32_t> position = std::nullopt);
  // Reads an "event" element and returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

 private:
  void ConvertLegacyDynamics();
  void ConvertOldFields(const ArchiveReader& ar);
};

}  // namespace vornel
