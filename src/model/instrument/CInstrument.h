#pragma once
// What one instrument plays in one system: the staves it is shown on, top to bottom (a
// tablature, a staff, a grand staff) and its music in two voices. A line is built from its
// instrument definition and points back to it; the section owns the definitions. The staves
// are not kept in the XML form: the system reader attaches them from the definitions.

#include <tinyxml2.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/BuildBudget.h"
#include "model/instrument/CClef.h"
#include "model/score/CVoicesArray.h"
#include "model/voice/nChordArray.h"
#include "platform/archive/Persistent.h"
#include "platform/collections/OwnedArray.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

class XmlSink;

class CInstrumentDlg;
class DeviceContext;
class nNotes;

class CInstrument : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CInstrument";
  // What one costs a reading under way (see BuildBudget).
  [[no_unique_address]] BuildCharge<360> buildCharge;
  // Flags of LayoutAndDraw.
  static constexpr uint32_t kDrawName = 0x1;
  static constexpr uint32_t kDrawTuning = 0x2;
  // The line stands in a system after the first: its name is the shortened one, where the
  // definition has one.
  static constexpr uint32_t kShortName = 0x4;
  // How far the names end left of the staves' lines, in hundredths of a millimetre: clear of
  // the bracket and the brace that join the lines.
  static constexpr int32_t kNameGapHundredths = 400;
  static constexpr uint32_t kFullSize = 0x1000;  // zoom 100, no highlighting
  // A stave's position code keeps (staves - 1) * 16 + its index in one byte: a line, and the
  // definition it is built from, have at most 16 staves.
  static constexpr size_t kMaxStaves = 16;

  int32_t activeStave = 0;  // first, so that it packs against the base class
  // Nearly every line has a single stave, held without an array block.
  OwnedArray<CClef, true> staves;
  nChordArray firstVoice;
  nChordArray secondVoice;
  CInstrumentDlg* definition = nullptr;  // not owned
  nNotes* lastEnteredNote = nullptr;     // not owned
  int32_t columnCount = 1;               // chord columns of the system, set before drawing
  int32_t selectedVoice = 0;             // 0 the first voice, anything else the second
  int32_t nameWidth = 0;
  Rect lineRect;
  int32_t columnWidth = 0;
  uint32_t barPosition = 0;  // ticks into its last bar that re-barring left the first voice

  CInstrument();
  // A line built from a definition: a copy of each stave definition, its height the sum of
  // theirs, and the definition's voice selector.
  explicit CInstrument(CInstrumentDlg& definition);
  // The voices' events go (shared stave breaks stay alive where else they stand).
  ~CInstrument() override;
  CInstrument(const CInstrument&) = delete;
  CInstrument& operator=(const CInstrument&) = delete;

  // Points the line to `definition` and appends a copy of each of its staves.
  void AttachDefinition(CInstrumentDlg& definition);

  // Both voices, first then second; the list does not own them.
  CVoicesArray& Voices() { return voices_; }
  const CVoicesArray& Voices() const { return voices_; }
  nChordArray& Voice(size_t index) { return index == 0 ? firstVoice : secondVoice; }
  const nChordArray& Voice(size_t index) const { return index == 0 ? firstVoice : secondVoice; }
  nChordArray& GetSelectedVoice() { return selectedVoice != 0 ? secondVoice : firstVoice; }
  // Empties both voices.
  void DeleteAllChords();
  // A special event (status 18) with a time-signature meta-event at the start of the first
  // voice: cx the numerator, cy the denominator (low 8 bits each), the value the definition's
  // signature size − 50 in bits 16 and up, bit 0 set, bit 2 for short signatures, text "true".
  nChord* InsertInitialTimeSignature(int32_t numerator, int32_t denominator);
  // True when neither voice holds an event.
  bool IsEmpty() const { return firstVoice.empty() && secondVoice.empty(); }

  int32_t GetHeight() const;
  // The stave at the active index (std::out_of_range outside the list).
  CClef* GetCurrentStave() const { return staves.at(static_cast<size_t>(activeStave)); }
  // Makes the stave under (x, y) active and moves its cursor there; returns 1.
  int HitTestStave(int32_t x, int32_t y);
  // Moves the active stave's cursor forward onto the next chord that holds notes; false, the
  // cursor left at the last place it could reach, when none follows.
  bool MoveCursorToNextNote();
  // --- the cursor of the active stave and note entry there (CInstrumentCursor.cpp). The
  // cursor's column is an element index of the selected voice; its row a course on a
  // tablature (after the upside-down style's mapping) or a staff position.
  struct CursorPlace {
    int32_t column = 0;
    int32_t row = 0;
  };
  CursorPlace GetCursor() const;
  // The element under the cursor; with `create` a missing one is made (a cursor before the
  // voice's start is first put on its first element).
  nChord* GetCursorChord(bool create = false);
  nChord* GetChordBeforeCursor() const;
  nChord* GetChordTwoBeforeCursor() const;
  // The course a tablature row stands for.
  int RowToString(int32_t row) const;
  // The staff step under the cursor, with the clef in force at element `index`.
  int CursorStepAt(int32_t index) const;
  // The note of element `index` on course `row` (`byString`) or with interval `row`; on a
  // staff the note on the cursor's step. Null when there is none.
  nNotes* FindNote(int32_t index, int32_t row, bool byString);
  nNotes* GetCursorNote();
  // The name of the course or staff letter under the cursor.
  std::string GetCursorNoteLetter();
  void MoveCursorToNextChord();
  void MoveCursorToPreviousChord();
  // Tab's walk from bar line to bar line; false when it ran into the start or the end.
  bool MoveCursorToAdjacentBar(bool backward);
  // A typed fret or note name at the cursor; the chord, or null when nothing was entered.
  nChord* InputKeyAtCursor(char key, uint16_t rhythmWord, bool clear);
  // A MIDI pitch at the cursor (piano keyboard, rhythm preview); null when no course plays it.
  nChord* InputPitch(int pitch, uint16_t rhythmWord);
  // A fret on bourdon `bourdon` (0-7; 8 only clears the bourdons).
  nChord* EnterFretAtCursor(char key, int bourdon, uint16_t rhythmWord, bool clear);
  int DeleteNoteAtCursor();
  // Key code 38 moves up, any other down.
  nChord* MoveCursorNoteVertically(int keyCode);
  int MoveCursorNoteToAdjacentString(char sign);
  // `code` 0-61: the note palette's decorations (6 the fret editor, 61 a floating ornament).
  int ModifyCursorNote(int code);
  int SwitchCursorNoteToOtherVoice();
  int SplitCursorChord(bool noTie);
  nChord* InsertAlfabetoChordAtCursor(char letter, uint16_t rhythmWord);
  int SetCursorChordAlfabetoEvent(int letterIndex);
  // Fills the selected voice with the rhythm pattern below; null for a negative bar count.
  struct RhythmPattern {
    int32_t bars = 4;
    uint16_t chordsPerBar = 4;
    uint16_t denominatorCode = 2;
    uint16_t flags = 2;   // bits 0-2 value code - 1, bit 3 dotted, bits 4-7 flag kind
    uint32_t options = 1; // bit 0 a time signature first, bit 2 clear special chords
  };
  RhythmPattern rhythmPattern;
  int32_t lastPitch = 0;
  CInstrument* GenerateRhythmPattern();

  // Lays out and draws the staves from the top of `rect` through the installed stave
  // renderer; `rect` comes back with its top and bottom at the line's bottom. Returns 1.
  int LayoutAndDraw(DeviceContext& dc, Rect& rect, int32_t code, int32_t codeHigh, int32_t nameWidthIn,
                    int32_t columnWidthIn, uint32_t flags);

  std::string_view ClassName() const override { return kClassName; }
  // The staves (object array), the active stave and both voices; the second voice only from
  // versions above "6.1".
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // "instrument" with "active" and the two voices' "staff" elements.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  void WriteXml(XmlSink& out) const;
  // Requires "instrument"; returns the element after it.
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

 private:
  CVoicesArray voices_;
};

}  // namespace vornel
