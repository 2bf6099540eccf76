#pragma once
// One stave of an instrument: a tablature stave or a staff of notation with its clef. An
// instrument definition keeps its stave definitions as CClef objects; every instrument line
// holds its own copies of them. Besides the stored settings a stave carries what the stave
// renderer leaves while it lays a line out (its area, line spacing and columns, read back by
// hit testing), its cursor, the key in force, its pedals and the note groups of both voices.

#include <tinyxml2.h>

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/CKey.h"
#include "model/CPedal.h"
#include "model/dfLogFont.h"
#include "platform/archive/Persistent.h"
#include "platform/collections/OwnedArray.h"
#include "platform/draw/DrawTypes.h"

namespace vornel {

class CInstrumentDlg;
class CTabInstrument;

// A group of notes drawn together (beams, flag groups).
struct CNoteGroup {
  int32_t chord = 0;  // chord reference
  int32_t x = 0;
  int32_t y = 0;
  uint8_t kind = 0;
  int32_t reserved = 0;
  uint16_t marker = 0xFFFF;
  std::string text;
};

// The note groups of one voice of a stave; never stored.
class CVoiceGroup : public OwnedArray<CNoteGroup> {
 public:
  struct Segment {
    Point from;
    Point to;
    int32_t dx = 0;
    int32_t dy = 0;
  };
  // The line from the first group's point to the last one's (beams); an empty list raises
  // std::out_of_range.
  Segment GetFirstToLastSegment() const;
};

class CClef : public Persistent {
 public:
  static constexpr std::string_view kClassName = "CClef";
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
  // Layout values the stave renderer reads; their meaning is the renderer's.
  std::array<int32_t, 7> rendererValues = {50, 10, 30, 20, 100, 28, 2};
  std::array<float, 2> rendererScales = {0.0f, 0.0f};

  // The definition the stave belongs to and its tablature instrument; not owned.
  CInstrumentDlg* definition = nullptr;
  CTabInstrument* tabInstrument = nullptr;

  // --- what the renderer leaves at the last layout of the line
  Rect area;                 // left, top, right and bottom of the stave
  int32_t staffHeight = 0;   // from the top line to the bottom of the stave's own space
  int32_t leftMargin = 0;    // the header left of the columns
  int32_t lineSpacing = 0;
  int32_t columnWidth = 0;
  int32_t columnCount = 0;   // columns laid out; also the line's column count handed down
  int32_t rowCount = 0;      // rows the cursor may take
  bool tablatureLayout = false;
  int32_t positionCode = 0;  // ((staves - 1) * 16 + stave index) over the caller's code
  int32_t positionCodeHigh = 0;
  bool highlighted = false;
  std::array<int32_t, 2> drawingOffsets = {0, 0};
  int32_t drawingFlag = 0;

  // --- the cursor
  int32_t cursorColumn = 0;  // element index of the selected voice under the cursor
  int32_t cursorRow = 0;

  // --- drawing state of the renderer
  std::vector<uint32_t> chordPositions;
  CKey key;  // the key signature in force on the stave
  std::array<CVoiceGroup, 2> voiceGroups;
  CPedalArray pedals;
  int32_t barValue = 0;
  int32_t groupingFlags = 0;
  int32_t stepOffset = 0;  // half-spaces the notes move by; clef changes set it while drawing

  CClef();
  // A new stave of a definition: the defaults, pointing back to it.
  explicit CClef(CInstrumentDlg* owner);
  // A stave made from a definition stave: the defaults, then its settings, with the drawing
  // offsets and the drawing flag cleared.
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

  std::string_view ClassName() const override { return kClassName; }
  void Store(ArchiveWriter& ar) const override;
  void Load(ArchiveReader& ar) override;

  // "clef" with its attributes and the "max-moves", "styles" and "options" children.
  tinyxml2::XMLElement* WriteXml(tinyxml2::XMLDocument& doc) const;
  // Requires "clef"; its three children are taken by position, and a missing child leaves
  // the settings it would carry as they were. Returns the element after "clef".
  const tinyxml2::XMLElement* ReadXml(const tinyxml2::XMLElement* element);

 private:
  void ClearDrawingState();
};

}  // namespace vornel
