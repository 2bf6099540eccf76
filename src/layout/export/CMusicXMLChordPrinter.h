#pragma once
// Writes the "part" of one staff of one instrument: its measures, the attributes of the
// first one, notes and rests with their lyrics, and bar lines. It is walked over the first
// voice of the instrument in each system (a "staff" element of the document's XML, whose
// "event" children are chords, bar lines and special events).
//
// A measure is opened only when something goes into it, so a system that ends with a bar
// line adds no empty measure; the "print" that starts a new system stands at the head of the
// next measure. A bar line's style and backward repeat end the measure it closes; a forward
// repeat is a left bar line at the head of the next. A measure without a bar number of its
// own takes the last number with "X" and a count, and is marked implicit. A change of time
// signature stands in the attributes of the measure it starts.
//
// Measures are numbered from the section's first bar number on, as the bar lines number
// them; the first measure's time signature is the one the part's music opens with (a hidden
// one, where the score gave none, written without print), else the section's. A bar line with
// a volta ending starts the ending in the measure it opens; the ending stops at the bar line
// its reach ends on, at a backward repeat or before the next ending.
//
// A note's pitch is its step and octave from its spelled name and the alteration that makes
// its pitch; a transposing instrument (its key's transposition) is written at written pitch
// with its "transpose". Each note and rest carries its value ("type", "dot", and
// "time-modification" in a tuplet), and a note held from the chord before it ends a tie that
// the held note starts. Durations are the values' exact lengths counted from the start of the
// part, so that the rounding of tuplets never adds up within a measure.

#include <tinyxml2.h>

#include <cstdint>
#include <optional>
#include <string>
#include <set>
#include <utility>

#include "layout/export/MusicXmlPrinterBase.h"
#include "model/voice/RhythmValues.h"

namespace vornel::musicxml_export {

class CMusicXMLChordPrinter : public MusicXmlPrinterBase {
 public:
  // Pitches and durations are written in 96 divisions to the quarter note.
  static constexpr int kDivisions = 96;

  explicit CMusicXMLChordPrinter(std::string& out);

  // A time signature: beats, beat type, and whether it shows.
  struct Time {
    int beats = 0;
    int beatType = 0;
    bool shown = true;
    bool operator==(const Time&) const = default;
  };
  // How a part opens: the number of its first measure and the time signature its music starts
  // with, when it starts with one.
  struct Opening {
    int32_t firstNumber = 1;
    std::optional<Time> time;
  };

  // Opens the part of staff `staff` of instrument `instrument` and its first measure with the
  // section's key, tempo, the opening's time (else the section's) and the staff's clef.
  void BeginStaff(const tinyxml2::XMLElement* sectionSettings, const tinyxml2::XMLElement* definition,
                  int instrument, int staff, const Opening& opening);
  // The voice of system `system` (from 1) is walked next.
  void SetSystem(int system) { system_ = system; }
  // A "note" element held from the chord before it (slur type 8 in bits 8-11 of its slur word).
  static bool IsHeldNote(const tinyxml2::XMLElement& note);
  static bool IsHeldSlur(uint32_t slur) { return ((slur >> 8) & 0x0F) == 8; }

  // The note of `pitch` in chord event `chord` starts a tie: a later chord holds it on.
  void StartTie(const tinyxml2::XMLElement& chord, int pitch) { tieStarts_.insert({&chord, pitch}); }
  // Drops the ties started so far (their chords' elements are about to be freed).
  void ForgetTies() { tieStarts_.clear(); }
  // Closes the open measure and the part.
  void EndStaff();

  bool VisitEnter(const tinyxml2::XMLElement& element, const tinyxml2::XMLAttribute* attribute) override;
  bool VisitExit(const tinyxml2::XMLElement& element) override;

 private:
  void WriteMeasureStart();
  void WriteClef(const tinyxml2::XMLElement* definition, int staff);
  void WriteChord(const tinyxml2::XMLElement& event);
  void WriteNote(const tinyxml2::XMLElement& note);
  // "type", "dot" and "time-modification" of the chord's value.
  void WriteValue();
  // A time signature among the event's meta-events becomes the next measure's when it
  // differs from the one in force.
  void TakeTimeSignature();
  void WriteTime();
  // Closes the open ending in the measure that ends here, in a bar line of `style` with
  // `repeat`; true when there was one.
  bool StopEnding(const char* style, const char* repeat);
  const tinyxml2::XMLElement* FindLyric() const;
  void WriteBar(const tinyxml2::XMLElement& event);
  // The pitch, step and octave written for a note of `pitch` spelled by `name`.
  void WritePitch(int pitch, uint16_t name);
  // The first meta-event of `kind` of the current event, or null.
  const tinyxml2::XMLElement* FindMark(int kind) const;
  // A volta ending on the bar line `event`, started in the measure it opens.
  void TakeEnding(const tinyxml2::XMLElement& event);
  // The left bar line of the measure opened: a forward repeat, an ending's start.
  void WriteLeftBarline();
  // Opens the measure that waits for content, with the system break and left bar line
  // that wait for it.
  void EnsureMeasureOpen();
  void CloseMeasure();
  // A bar line; an ending in it goes before the repeat, as MusicXML orders them.
  struct Ending {
    std::string number;  // "1", "1, 2"
    std::string text;    // what it shows, "1."
    const char* type;    // "start", "stop" or "discontinue"
  };
  // A bar line; its style is left out where `style` is null.
  void WriteBarline(const char* location, const char* style, const char* repeat, const Ending* ending = nullptr);

  const tinyxml2::XMLElement* sectionSettings_ = nullptr;
  const tinyxml2::XMLElement* definition_ = nullptr;
  int instrument_ = 0;
  int staff_ = 0;
  bool firstStaff_ = false;
  int system_ = 1;
  const tinyxml2::XMLElement* metaEvents_ = nullptr;
  std::set<std::pair<const tinyxml2::XMLElement*, int>> tieStarts_;
  // The chord whose notes are being written.
  const tinyxml2::XMLElement* chord_ = nullptr;
  uint16_t rhythm_ = 0;
  int duration_ = 0;
  int notesWritten_ = 0;
  TickLength ticks_;  // where the next chord starts, from the start of the part
  // The time signature written last, and one waiting for the next measure.
  Time time_;
  std::optional<Time> pendingTime_;
  // Written less sounding pitch of the instrument, and the diatonic steps of that interval.
  int transpose_ = 0;
  int transposeSteps_ = 0;
  // The ending waiting for its measure, and the one open with the events left to its end.
  std::optional<Ending> pendingEnding_;
  std::optional<Ending> openEnding_;
  int endingEventsLeft_ = 0;
  bool endingOpenEnd_ = false;  // it stops without a hook ("discontinue")

  bool measureOpen_ = false;
  bool measureEmpty_ = true;  // nothing written in the open measure after its attributes
  // The bar number of the measure to open next; none for a measure the bars do not number.
  std::optional<int32_t> nextNumber_;
  int32_t lastNumber_ = 0;
  int implicitCount_ = 0;
  bool newSystemPending_ = false;
  bool forwardRepeatPending_ = false;
};

}  // namespace vornel::musicxml_export
