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
// own takes the last number with "X" and a count, and is marked implicit.

#include <tinyxml2.h>

#include <cstdint>
#include <optional>
#include <string>

#include "layout/export/MusicXmlPrinterBase.h"

namespace vornel::musicxml_export {

class CMusicXMLChordPrinter : public MusicXmlPrinterBase {
 public:
  // Pitches and durations are written in 96 divisions to the quarter note.
  static constexpr int kDivisions = 96;

  explicit CMusicXMLChordPrinter(std::string& out);

  // Opens the part of staff `staff` of instrument `instrument` and its first measure with the
  // section's key, time and tempo and the staff's clef.
  void BeginStaff(const tinyxml2::XMLElement* sectionSettings, const tinyxml2::XMLElement* definition,
                  int instrument, int staff);
  // The voice of system `system` (from 1) is walked next.
  void SetSystem(int system) { system_ = system; }
  // Closes the open measure and the part.
  void EndStaff();

  bool VisitEnter(const tinyxml2::XMLElement& element, const tinyxml2::XMLAttribute* attribute) override;
  bool VisitExit(const tinyxml2::XMLElement& element) override;

 private:
  void WriteMeasureStart();
  void WriteClef(const tinyxml2::XMLElement* definition, int staff);
  void WriteChord(const tinyxml2::XMLElement& event);
  void WriteNote(const tinyxml2::XMLElement& note);
  const tinyxml2::XMLElement* FindLyric() const;
  void WriteBar(const tinyxml2::XMLElement& event);
  // Opens the measure that waits for content, with the system break and left bar line
  // that wait for it.
  void EnsureMeasureOpen();
  void CloseMeasure();
  void WriteBarline(const char* location, const char* style, const char* repeat);

  const tinyxml2::XMLElement* sectionSettings_ = nullptr;
  const tinyxml2::XMLElement* definition_ = nullptr;
  int instrument_ = 0;
  int staff_ = 0;
  bool firstStaff_ = false;
  int system_ = 1;
  const tinyxml2::XMLElement* metaEvents_ = nullptr;
  // The chord whose notes are being written.
  int duration_ = 0;
  bool dotted_ = false;
  int notesWritten_ = 0;

  bool measureOpen_ = false;
  // The bar number of the measure to open next; none for a measure the bars do not number.
  std::optional<int32_t> nextNumber_;
  int32_t lastNumber_ = 0;
  int implicitCount_ = 0;
  bool newSystemPending_ = false;
  bool forwardRepeatPending_ = false;
};

}  // namespace vornel::musicxml_export
