#pragma once
// One stave of an instrument: a tablature stave or a staff of notation with its clef. An
// instrument definition keeps its stave definitions as CClef objects; every instrument line
// holds its own copies of them. Besides the stored settings a stave carries what the stave
// renderer leaves while it lays a line out (its area, line spacing and columns, read back by
// hit testing), its cursor, the key in force and the note groups of both voices.

#include <tinyxml2.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/BuildBudget.h"
#include "model/instrument/CKey.h"
#include "model/instrument/CPedal.h"
#include "model/text/dfLogFont.h"
#include "platform/archive/Persistent.h"
#include "platform/collections/OwnedArray.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

class CInstrumentDlg;
class CTabInstrument;

// One column of a voice group: the notes of one chord (or a rest) that share a stem.
struct CNoteGroup {
  int32_t column = 0;     // element index in the voice
  int32_t x = 0;
  int32_t y = 0;          // stem end, beam point
  uint8_t rhythm = 0;     // bits 0-2 the value code, bits 4-7 the tuplet code
  uint8_t noteCount = 0;  // 0 for a rest
  int32_t top = 0;        // highest and lowest notehead y
  int32_t bottom = 0;
  std::string text;       // fingering or label written at the stem end

  int ValueCode() const { return rhythm & 7; }
  bool HasNotes() const { return noteCount != 0; }
};

// The note groups of one voice of a stave, with the geometry of their stems and beams; never
// stored. The renderer fills and draws it; the small computations below are the model's.
class CVoiceGroup : public OwnedArray<CNoteGroup> {
 public:
  struct Segment {
    Point from;
    Point to;
    int32_t dx = 0;
    int32_t dy = 0;
  };

  bool stemsDown = false;
  int32_t noteheadWidth = 0;
  int32_t stemLength = 0;
  int32_t stemWidth = 0;     // the stave's stem thickness, eighths of which give the pen
  int32_t thickness = 0;     // beam thickness, negative for stems down
  int32_t spacing = 0;       // line spacing
  int32_t addedBeams = 0;
  int32_t tupletStyle = 0;
  int32_t flagPlacement = 0;
  int32_t minValue = 0;
  int32_t maxValue = 0;
  int32_t tabMode = 0;       // 0 staff notation, else tablature rhythm flags
  int32_t tupletNumber = 2;  // 2 means none
  COLORREF colour = 0;
  uint16_t glyphBase = 100;
  int32_t beamLevel = 0;
  int32_t beamResult = 0;
  int32_t flagLine = 0;
  bool stemsDrawn = true;
  bool slopeEnabled = false;
  float slope = 0.0f;
  int32_t beamStep = 0;
  int32_t firstNoted = 0;
  int32_t count = 0;
  bool beamedTablature = false;
  int32_t rhythmByte = 0;

  // The line from the first group's point to the last one's (beams); an empty list raises
  // std::out_of_range.
  Segment GetFirstToLastSegment() const;
  // The group at `x`, made when there is none, widened by a head at `y`. A head that does
  // not count (`counts` false) widens the group without adding to its notes.
  CNoteGroup& AddNoteHead(bool counts, uint8_t rhythm, std::string_view fingering, int32_t x, int32_t y,
                          int32_t column);
  // An entry without notes (a rest placed by the beam pass).
  CNoteGroup& AddRest(uint8_t rhythm, int32_t x, int32_t column);
  // Beam level: 0 (stems down) or 0xFFFF (stems up), then the lowest top or highest bottom
  // of the groups with notes.
  void ResetBeamLevel();
  int GetMinValue();
  int GetMaxValue();
  // Index of the first group with notes; the size when none has.
  int GetFirstNoted();
  // Beam thickness: spacing / 2.65 in notation, / 3.5 in tablature mode; negative for stems
  // down.
  void ComputeThickness();
  // Distance between beams.
  void ComputeStep();
  // Everything back to a new group's state.
  void Reset();
};

class CClef : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CClef";
  // What one costs a reading under way (see BuildBudget).
  [[no_unique_address]] BuildCharge<288> buildCharge;
  // What reading builds for one stave, its voice groups included (see ArchiveReader::BuildWeight).
  static constexpr size_t kBuildWeight = 1536;

  // `type`
  static constexpr int32_t kStaff = 0;
  static constexpr int32_t kTablature = 1;
  // `clef-id`
  enum ClefId : int32_t { kG8Clef = 0, kGClef = 1, kFClef = 2, kCClef = 3 };
  // `enabled-voices`
  enum EnabledVoices : int32_t { kUpperVoice = 0, kLowerVoice = 1, kBothVoices = 2, kBothVoicesMerged = 3 };
  // Bits of the stored flags word.
  static constexpr uint32_t kSquareNotesBit = 0x1;
  static constexpr uint32_t kOldStyleBit = 0x10;
  static constexpr uint32_t kStemDirectionBit = 0x100;
  static constexpr uint32_t kHideMetaEventsBit = 0x1000;

  // --- stored settings
  int32_t type = -1;  // 0 a staff of notation, anything else a tablature
  int32_t clefId = kG8Clef;
  int32_t lines = 5;
  uint32_t spaceBelow = 1;  // 0-14; a stored 15 stands for 1
  int32_t enabledVoices = kUpperVoice;
  SizePair maxMoves;
  int32_t oldStyle = 1;     // clef style: 0 modern, 1 baroque, 2 renaissance (stored as a switch)
  int32_t squareNotes = 0;  // notes style: 0 regular, 1 handwriting, 2 square (stored as a switch)
  int32_t stemDirection = 0;   // the bottom note sets the flag direction
  int32_t hideMetaEvents = 0;
  int32_t hideFlags = 0;
  int32_t linkedFlags = 1;

  // --- settings copied with the stored ones but kept in neither form
  int32_t clefRaise = 0;  // -8 to 8, the definition's clef line
  int32_t transposition = 0;

  // The definition the stave belongs to and its tablature instrument; not owned.
  CInstrumentDlg* definition = nullptr;
  CTabInstrument* tabInstrument = nullptr;

  // --- what the renderer leaves at the last layout of the line
  Rect area;                 // left, top, right and bottom of the stave
  int32_t leftMargin = 0;    // the header left of the columns
  int32_t lineSpacing = 0;
  int32_t columnWidth = 0;
  int32_t columnCount = 0;   // columns laid out; also the line's column count handed down
  int32_t rowCount = 0;      // rows the cursor may take
  int32_t positionCode = 0;  // ((staves - 1) * 16 + stave index) over the caller's code
  int32_t positionCodeHigh = 0;
  bool tablatureLayout = false;
  bool highlighted = false;

  // --- the cursor
  int32_t cursorColumn = 0;  // element index of the selected voice under the cursor
  int32_t cursorRow = 0;

  // --- more of the last layout: what annotations, meta-events and the view read back
  int32_t zoom = 100;
  int32_t lineThickness = 0;
  int32_t textBaseline = 0;     // base line of annotations above (or, in one mode, below) the stave
  int32_t annotationTop = 0;    // top of the annotations above the stave
  int32_t annotationUnit = 0;   // a quarter of the stave font's average character width
  Rect headerRect;              // the clef zone, for hit testing
  int32_t highlightStart = 0;   // x range of the highlighted chords; both 0 for none
  int32_t highlightEnd = 0;
  bool active = false;          // set by the view for the stave being edited; cleared by drawing
  bool markHeader = false;      // the view asks for the header zone to be shaded
  bool drawingErrorReported = false;  // a failure to draw this stave was shown; not shown again
  int32_t currentStemsDown = 0;  // stem direction while a voice is drawn
  int32_t tabMode = 0;
  int32_t currentVoice = 0;     // the line's selected voice, set before drawing
  // A clef change recorded on a definition's stave: the clef the next lines start with.
  int32_t recordedClef = -1;    // -1 none
  int32_t recordedStepOffset = 0;

  // --- drawing state of the renderer
  CKey key;  // the key signature in force on the stave
  int32_t barValue = 0;
  int32_t stepOffset = 0;  // half-spaces the notes move by; clef changes set it while drawing

  CClef();
  // A new stave of a definition: the defaults, pointing back to it.
  explicit CClef(CInstrumentDlg* owner);
  // A stave made from a definition stave: the defaults, then its settings.
  CClef(const CClef& definitionStave);
  CClef& operator=(const CClef&) = delete;

  // The stored settings compare equal.
  bool operator==(const CClef& other) const;

  void SetDefaults();
  // Every stored setting, the kept settings, the layout values and the owner pointers; the
  // drawing positions are cleared.
  void CopySettingsFrom(const CClef& definitionStave);
  // Starts the note grouping of a bar.
  void ResetNoteGroups(int32_t bar);

  bool IsTablature() const { return type != kStaff; }
  // The diatonic step of the clef's reference line (21, 28, 16, 22, 25 for clefs 0-4, else 0).
  static int ReferenceStep(int32_t clef);
  // The pitch of the stave's bottom line: the step of the clef and step offset spelt in the
  // definition's key.
  int GetPositionPitch() const;
  // The pitch that divides stems up from stems down: the position pitch (low 8 bits) plus 6
  // for clefs 0-2 and plus 7 for clef 3.
  int GetStemDividingPitch() const;
  // The stave's height at its last layout.
  int32_t Height() const;

  // --- geometry of the stave frame (device pixels of the last layout)
  // Steps the key signature of a clef is drawn higher (0, 0, -2, -1, +3 for clefs 0-4).
  static int KeySignatureShift(int32_t clef);
  // Lines drawn: 5 on a staff, the tablature's lines otherwise.
  int32_t DrawnLineCount() const;
  // The rows the cursor may take: 17 on a staff, the courses on a tablature.
  int32_t CursorLineCount() const;
  // Lays the frame out at the top of `rect`: the top moves down by the line thickness, the
  // bottom is the last line plus the space below; the columns and cursor rows follow.
  void SetFrameGeometry(const Rect& rect, int32_t spacing, int32_t thickness, int32_t columnWidthIn,
                        int32_t dpiY, int32_t zoomPercent);
  // Width and height: the lines and 4 mm for each unit of space below.
  Size GetStaffSize(int32_t dpiY) const;
  // The y of a diatonic step (octave * 7 + letter, C = 0) under the current clef and offset.
  int32_t StepToY(int step) const;
  int GetCursorStep() const;
  int GetCursorStepAt(int32_t clef, int32_t offset) const;
  struct StepRange {
    int low = 0;
    int high = 0;
  };
  StepRange GetStepRange() const;
  Point GetCursorPoint() const;
  // Moves the cursor by a direction code (0/7 next column, 3 last, 4 first, 5 previous,
  // 6 up, 8 down); 1 when it moved.
  int MoveCursor(int code, int lowestLine);

  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // "clef" with its attributes and the "max-moves", "styles" and "options" children.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Requires "clef"; its three children are taken by position, and a missing child leaves
  // the settings it would carry as they were. Returns the element after "clef".
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

  // The column places and note groups drawing leaves on the stave. Most staves of a large
  // document are never drawn: a stave makes its own when drawing first asks for it.
  struct DrawnPlaces {
    std::array<std::vector<uint32_t>, 2> voicePositions;  // each voice's column x at its last pass
    // Where the system puts each voice's events, from the stave's left, so that what sounds
    // together stands one above the other on all its lines; empty: the stave's own columns.
    std::array<std::vector<int32_t>, 2> gridPlaces;
    std::vector<uint32_t> chordPositions;
    std::array<CVoiceGroup, 2> voiceGroups;
  };
  // The stave's own, made when it has none: what drawing writes.
  DrawnPlaces& Drawn();
  // What the last drawing left; empty places for a stave never drawn. Never makes them.
  const DrawnPlaces& LastDrawn() const;

 private:
  void ClearDrawingState();
  void ClearVoiceGroups();

  std::unique_ptr<DrawnPlaces> drawn_;
};

}  // namespace vornel
