#pragma once
// Draws one stave of an instrument line: a five-line staff with its clef, key, notes of both
// voices, stems, beams, rests, bar lines and grace fragments, or the shared frame of a
// tablature stave (its notes and marks come from the tablature renderer, through the seams
// in MarkSeams.h). Every element of a voice owns one column, whose x is the tablature's, so
// that notation and tablature of one voice line up. What later drawing and hit testing read
// back (area, spacing, column x list, cursor rows) is left in the CClef.
//
// All lengths are device pixels of the device being drawn on; "spacing" is the distance of
// two staff lines.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "model/instrument/CClef.h"
#include "model/score/SystemSlots.h"
#include "platform/draw/DeviceContext.h"
#include "view/draw/DrawContext.h"
#include "view/draw/GraphicUtil.h"
#include "view/draw/ScaledNotationFont.h"
#include "view/render/TupletTracker.h"
#include "view/render/marks/SlurShape.h"
#include "view/render/tablature/TabColumns.h"

namespace vornel {

class CInstrumentDlg;
class CKey;
class CMetaEvent;
class CPedal;
class CTabInstrument;
class CVoicesArray;
class nChord;
class nChordArray;
class nNotes;

// The key as a staff draws it: moved by its transposition, which it then no longer holds.
CKey KeyAsDrawn(CKey key);

// A syllable as drawn: its text's left and right and its baseline.
struct PlacedSyllable {
  int32_t left = 0;
  int32_t right = 0;
  int32_t baseline = 0;
};

// The room a bar line or special event adds after itself to the columns that follow it (see
// ExtraHalfColumnsAfter).
int64_t ColumnRoomAfter(const nChord& e, bool halfColumnBars, int32_t step);

// The message of a stave that failed to draw.
inline constexpr const char* kStaffDrawingError = "Error drawing staff...";

// How far a chord's column moves for its chord mark (shifted left or right by a third).
int32_t ColumnShift(const nChord& e, int32_t columnWidth);

struct MarkSurroundings;

// What the tablature notes and the marks keep from one element to the next while a voice is
// drawn; cleared at the start of every voice pass.
struct MarkState {
  int lastFlag = -1;            // rhythm code of the last tablature flag drawn; -1 none
  int diapasonCount = 0;        // bourdons drawn in the current chord
  int32_t bourdonBaseline = 0;  // where the last bourdon was drawn
  Point previousNote;           // where the previous note was drawn
  bool sizeRun = false;         // a run of larger or smaller notes is open
  int32_t sizeChange = 0;       // its extra font size (tenths of a millimetre)
  bool alternateVoice = false;  // toggled by size mark 4
  int shiftSign = 1;            // chord mark 6 alternates the letters' shift
  std::vector<Rect> texts;      // the texts of events drawn so far, which later texts keep clear of
  // The chord being drawn: its column, the face of its letters and what its marks keep clear
  // of (see tablature/TabMarks.h); the marks beside letters and the slurs drawn so far.
  int32_t chordX = 0;
  std::optional<FontSpec> letterFont;  // the face its letters are drawn in
  std::vector<Rect> chordMarks;
  std::shared_ptr<const MarkSurroundings> surroundings;
  std::vector<Rect> slurs;
  // The bar of elements [from, to) of the voice, and whether none of its chords has a note;
  // kept so that the rests of a bar look it up once.
  struct BarOfRests {
    size_t from = 0;
    size_t to = 0;
    bool silent = false;
  };
  mutable BarOfRests barOfRests;
};

// A box of the ink of a staff's music, in drawing coordinates; `head` for a note head.
struct StaffInk {
  Rect box;
  bool head = false;
};

// A slur of a staff as its rule places it, waiting until the stave's notes of both voices
// are drawn, so that it can keep clear of them (DrawDeferredSlurs).
struct DeferredSlur {
  SlurCurve curve;       // its height the lift GraphicUtil::DrawSlur takes
  Point head;            // where the head of its first note was drawn
  int32_t endHeadY = 0;  // where the head of its last note stands, as its rule has it
  int32_t headWidth = 0;
  bool anchored = true;  // its ends belong to the heads at `head` and `endHeadY`
  COLORREF colour = 0;
  int number = 0;        // the number it shows at its middle; 0 none
  int32_t flag = 1;      // GraphicUtil::DrawSlur's flag: 0 pulls the control points out
};

class StaffRenderer {
 public:
  StaffRenderer(CClef& stave, GraphicUtil& g);
  ~StaffRenderer();
  StaffRenderer(const StaffRenderer&) = delete;
  StaffRenderer& operator=(const StaffRenderer&) = delete;

  // ---- Entry and layout
  // Draws the stave at the top of `rect` (whose bottom comes back as the stave's) with room
  // `indent` left of it for the clef and key. Fewer than two voices raise
  // std::invalid_argument before anything is drawn; any failure while a voice is drawn is
  // reported once and leaves a marker, and the stave's clef, offset and groups as they were.
  void Draw(int32_t zoom, const CVoicesArray& voices, Rect& rect, int32_t indent, const CKey* key,
            int32_t columnWidth);
  void LayoutStave(const nChordArray& voice, int32_t columnWidth);
  void DrawStaffFrame(Rect& rect, int32_t columnWidth);
  void SetColumnMetrics(int32_t columnWidth);
  void DrawClefAndKey();
  void DrawKeySignature(int32_t x, bool afterClef);
  void DrawClefChange(const nChord& chord, int32_t x);
  int32_t ComputeTextBaseline() const;
  void DrawHeaderBackground(Rect rect);
  // One glyph of the stave's font at (x, y); returns the width of a space in that font.
  int32_t DrawGlyph(uint32_t code, int32_t x, int32_t y);
  int GetNoteHeadBase() const;

  // ---- Notes
  void DrawElement(nChord& element, int32_t x, size_t index);
  void DrawNote(nNotes& note, Point& position, uint16_t rhythm, size_t noteIndex);
  void DrawLedgerLines(int32_t x, int32_t y, int widthMode);
  void DrawAccidental(char accidental, int32_t x, int32_t y);
  void DrawRestGlyph(int code, int32_t x, int32_t yOffset);
  void DrawRest(uint16_t rhythm, int32_t x, int32_t y);
  // The note's ornament at its head or letter; `width` (0: a reference text's) is the width
  // the placement measures from.
  void DrawOrnament(const nNotes& note, int32_t x, int32_t y, int32_t width = 0);
  // Fingering beside a head on a staff (a tablature's: tablature/TabMarks.h).
  void DrawFingering(const nNotes& note, int32_t x, int32_t y, int32_t w, int32_t h);
  void DrawLowFingerMark(int code, int32_t x, int32_t y, bool withAccidental);
  void DrawHighFingerMark(int code, int32_t x, int32_t y, int32_t headY, bool withAccidental);
  void DrawBracketMark(int32_t x, bool left);
  void DrawChordMetaEvents(nChord& chord, int32_t x);
  // Lyrics are drawn once the stave's notes of both voices are, so that their line stands
  // under the lowest ink of the stave's music. Keeps the lyric of the chord being drawn and
  // returns true while the stave is drawn that way.
  bool DeferLyric(CMetaEvent& event, nChord& chord, const Rect& rect, int32_t u);
  // The lowest y of the stave's music that lyrics keep under (INT32_MIN until it is known).
  int32_t LyricFloor() const { return lyricFloor_; }
  // True while a syllable is drawn whose hyphen stands apart, between it and the next
  // syllable of its verse on the stave: the syllable is drawn without it.
  bool LyricHyphenApart() const { return lyricHyphenApart_; }
  // Where the syllable just drawn stands, for the hyphen before or after it.
  void SetPlacedSyllable(const PlacedSyllable& placed) { placedSyllable_ = placed; }
  // Slurs of a staff are drawn once the stave's notes of both voices are. Keeps the slur and
  // returns true while the stave is drawn that way.
  bool DeferSlur(const DeferredSlur& slur);
  // Directions (words, dynamics, hairpins) on a staff are drawn once the stave's notes and
  // slurs are, so that they stand clear of all of them over their width. Keeps the event and
  // returns true while the stave is drawn that way.
  bool DeferDirection(CMetaEvent& event, nChord& chord, const Rect& rect, int32_t u);
  // The box of the stave's music (notes, their marks and slurs) between two x, once it is
  // known (while waiting events are drawn); nothing where there is none.
  std::optional<Rect> MusicInkBetween(int32_t left, int32_t right) const;
  static char GetFingerLetter(int code, bool staff);
  // Hands the pending note group to the stem and beam pass (or the tablature flags).
  void FlushNoteGroup();

  // ---- Bar lines
  // The bar's meta-events are drawn with it and keep where they were drawn (their location,
  // for hit testing): the bar is changed.
  void DrawBarLine(nChord& barToLocate, int32_t x);
  void DrawRepeatDots(int32_t x, int side, bool innerOnly, bool withBracket);
  int32_t GetPrevColumnX() const;
  int32_t GetNextColumnX() const;
  int32_t GetColumnXAfter(int n) const;
  // The x of the element n columns after the one being drawn; the staff's right edge past the
  // line's last.
  int32_t ElementColumnX(int n) const;
  int32_t GetHalfStep() const;

  // ---- Stems, beams and tuplets
  void MeasureNotationGlyphs();
  void LowerFlagsUnderLetters();
  void SetupVoiceGroups();
  void DrawVoiceGroups(uint16_t glyphBase, bool stemsDown);
  void DrawTabFlagGroups();
  void DrawTupletMark(const nChord& chord, int32_t x, int marker);

  // Selects the stave's notation font `extra` tenths of a millimetre larger (0: the stave's
  // own size, -40 grace notes); returns the font selected before.
  FontSpec SelectNotationFont(int32_t extra);
  // Selects the tablature's rhythm-flag font (the face of the tablature marks); returns the
  // font selected before, or nothing (and nothing selected) when the face cannot be drawn.
  std::optional<FontSpec> SelectFlagsFont();
  // The flags face (made once per voice pass), or nothing when it cannot be drawn.
  const std::optional<FontSpec>& FlagsFont();
  // A device made like the drawing device to measure on: what is selected and measured there
  // leaves the drawing device's state and log as they were.
  DeviceContext& MeasuringDevice();
  // Grace notes: the definition's ornament colour with colours shown, else black.
  COLORREF GraceColour() const;
  int32_t Zoom() const { return stave_.zoom; }

  CClef& Stave() { return stave_; }
  const CClef& Stave() const { return stave_; }
  GraphicUtil& Graphics() { return g_; }
  // Keeps the string of the last note drawn in the drawing context, for the meta-event drawing.
  void SetLastDrawnString(int string);
  int32_t Spacing() const { return stave_.lineSpacing; }
  int32_t Top() const { return stave_.area.top; }
  int32_t LineCount() const { return lineCount_; }
  bool IsTablature() const { return drawType_ != 0; }
  bool OnScreen() const { return !g_.dc.IsPrinting(); }
  // The note colour of the voice being drawn (black in print without colours).
  COLORREF NoteColour() const;
  // The pedal in force on a course at the chord being drawn, or null.
  const CPedal* PedalOn(int string) const;
  bool PedalsInForce() const { return !pedals_.empty(); }
  // The highest and lowest y the chord's notes reached (INT32_MAX and INT32_MIN without).
  int32_t ChordTop() const { return highestY_; }
  int32_t ChordBottom() const { return lowestY_; }
  // The length of the stems of the voice being drawn, and whether they point down.
  int32_t StemLength() const { return stemLength_; }
  bool StemsDown() const { return stave_.currentStemsDown != 0; }
  // An accidental was drawn for the chord's notes so far.
  bool AccidentalDrawn() const { return accidentalDrawn_; }
  // The left edge of the last accidental drawn beside its head (INT32_MAX when the last one
  // stood above or below its head instead).
  int32_t AccidentalLeft() const { return accidentalLeft_; }
  const CInstrumentDlg* Definition() const { return stave_.definition; }
  const PageDrawSettings* Settings() const { return settings_; }
  // Colour mode of the page: off draws notes and marks black.
  bool ColourOn() const { return settings_ != nullptr && settings_->colourOn; }
  int32_t Indent() const { return indent_; }
  bool Proportional() const { return proportional_; }
  bool OnGrid() const { return onGrid_; }
  // The voice being drawn, the element being drawn and the chord being drawn.
  const nChordArray* Voice() const { return voice_; }
  size_t ElementIndex() const { return elementIndex_; }
  nChord* CurrentChord() const { return currentChord_; }
  const nChord* LastDrawn() const { return lastDrawn_; }
  MarkState& Marks() { return marks_; }
  const MarkState& Marks() const { return marks_; }
  // The sign of the alternating letter shift of chord mark 6.
  int ShiftSign() const { return marks_.shiftSign; }
  // How far the stave's bourdons stand beyond their stored row (see ChordLetters.h).
  int32_t BourdonDrop() const { return bourdonDrop_.value_or(0); }
  // The element before the current one in the voice, or null.
  const nChord* PreviousElement() const;
  // The finger characters of a note that go into its note group: with the definition's
  // finger option on the high fingering code as '1'-'4', 'p', '0' or '5'; on a staff the
  // finger letter of the low code after it.
  std::string FingerCharacters(const nNotes& note) const;
  // The definition's option that writes the right-hand fingering into the note group.
  bool FingerOption() const;

 private:
  struct VoiceDrawing {
    int index = 0;
    bool fullColour = true;
  };
  void DrawVoice(const nChordArray& voice, int index, int32_t stemsDown, bool fullColour, int32_t columnWidth);
  void ComputeTimeLayout(const CVoicesArray& voices, Rect rect, int32_t columnWidth);
  void ComputeColumnRoom(const CVoicesArray& voices, int32_t columnWidth);
  void ComputeColumns(const nChordArray& voice, int32_t columnWidth);
  void ComputeHighlight(const nChordArray& voice);
  void ReportFailure(const Rect& rect);
  void DrawChord(nChord& chord, int32_t x, size_t index);
  void DrawSpecialEvent(nChord& chord, int32_t x);
  bool StartsNoteGroup(const nChord& chord) const;
  int32_t PedalAlteration(int string) const;
  int32_t ThinBarWidth() const;
  int32_t ThickBarWidth() const;
  COLORREF BarColour(const nChord& bar) const;
  void DrawThinBar(int32_t x, bool alignRight = false);
  void DrawThickBar(int32_t x);
  void DrawStyledBar(const nChord& bar, int32_t x, bool lineStart, bool final);
  void SelectStaveFont();
  void RestoreFont();
  void DrawDeferredLyrics(int32_t floor);
  void DrawDeferredSlurs(const std::vector<StaffInk>& ink);
  void DrawDeferredDirections(const std::vector<StaffInk>& ink);

  CClef& stave_;
  GraphicUtil& g_;
  const PageDrawSettings* settings_ = nullptr;
  std::optional<CNotationFont> fontRecord_;
  std::optional<ScaledNotationFont> notationFont_;
  std::optional<FontSpec> previousFont_;
  std::optional<FontSpec> flagsFont_;  // made once per voice pass
  std::unique_ptr<DeviceContext> measuring_;
  int drawType_ = 0;
  int32_t lineCount_ = 5;
  int32_t indent_ = 0;
  Rect page_;
  // Time-proportional layout
  bool proportional_ = false;
  // The voice being drawn stands on the columns its system shares among its lines.
  bool onGrid_ = false;
  // The columns as what reaches beyond a tablature's letters needs them (see TabColumns.h);
  // the same for every stave of the line.
  TabColumnRoom columns_;
  double pixelsPerTick_ = 0;
  // The voice being drawn
  const nChordArray* voice_ = nullptr;
  VoiceDrawing drawing_;
  size_t elementIndex_ = 0;
  int32_t xBase_ = 0;
  int32_t highlightFirst_ = -1;
  int32_t highlightLast_ = 0;
  // Notes
  nChord* currentChord_ = nullptr;
  const nChord* lastDrawn_ = nullptr;
  bool accidentalDrawn_ = false;
  int32_t accidentalLeft_ = INT32_MAX;
  int previousStep_ = -1000;
  Point previousColumn_;
  int32_t groupCount_ = 0;
  int32_t chordsSinceFlush_ = 0;
  uint32_t tupletNumber_ = 2;
  int lastRhythm_ = -1;
  int32_t highestY_ = INT32_MAX;  // of the element being drawn
  int32_t lowestY_ = INT32_MIN;
  bool stringMarkBelow_ = false;
  int32_t transposition_ = 0;
  int32_t keyTransposition_ = 0;  // the instrument's: the staff shows written pitches
  int32_t noteheadWidth_ = 0;
  int32_t stemLength_ = 0;
  bool cancelKey_ = false;     // the signature is drawn as naturals
  bool noteFlipped_ = false;   // the note being drawn flipped its stem
  std::vector<const CPedal*> pedals_;
  TupletTracker tuplets_;
  MarkState marks_;
  // The voices of the stave being drawn, and the drop of its bourdons once measured.
  const CVoicesArray* voices_ = nullptr;
  std::optional<int32_t> bourdonDrop_;
  // Events waiting for the end of the stave, with what their placement reads of their chord
  // and of the voice being drawn.
  struct DeferredEvent {
    CMetaEvent* event;
    nChord* chord;
    Rect rect;
    int32_t u;
    int32_t chordTop;
    int32_t chordBottom;
    int32_t stemsDown;
    const nChordArray* voice;
    size_t element;
    int voiceIndex;
  };
  DeferredEvent Deferred(CMetaEvent& event, nChord& chord, const Rect& rect, int32_t u) const;
  // Draws an event as it would have been drawn at its chord.
  void DrawDeferredEvent(const DeferredEvent& deferred);
  std::vector<DeferredEvent> lyrics_;
  bool deferLyrics_ = false;
  std::vector<DeferredSlur> slurs_;
  bool deferSlurs_ = false;
  std::vector<DeferredEvent> directions_;
  // The ink of the stave's music while the events that wait for it are drawn.
  const std::vector<StaffInk>* musicInk_ = nullptr;
  int32_t lyricFloor_ = INT32_MIN;
  bool lyricHyphenApart_ = false;
  std::optional<PlacedSyllable> placedSyllable_;
};

}  // namespace vornel
