#pragma once
// The dialogs that edit one chord or build chords, as structs with their ranges and their
// exchange with the chord: "Chord Properties" (one row per course), "Grace notes group",
// "Rhythm Pattern" and "Swap ornament". The chord effect is in SmallDialogs.h.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/instrument/CInstrument.h"
#include "model/instrument/CKey.h"
#include "model/voice/nChord.h"
#include "model/instrument/nTuning.h"

namespace vornel {

// "Chord Properties": the fret of each of six courses against the instrument's tuning.
struct CChordProperties {
  static constexpr int kRows = 6;
  static constexpr int kNoNote = -1;
  static constexpr int kMaxFret = 24;
  static constexpr uint16_t kBarreMark = 8;  // in bits 4-7 of a note's fingering word
  static constexpr std::array<std::string_view, kRows> kRowNames = {"1st string", "2nd string", "3rd string",
                                                                    "4th string", "5th string", "6th string"};
  struct Row {
    bool shown = false;  // a course of the tuning
    int fret = kNoNote;  // -1: no note on the course
    bool barre = false;
    std::string noteText;  // "%d [%s]": pitch and its name
    bool Editable() const { return shown && fret >= 0; }
    bool operator==(const Row&) const = default;
  };
  std::array<Row, kRows> rows;
  std::array<Row, kRows> opened;  // the rows as they were opened, to leave unchanged rows alone
  std::string description;
  bool allowDiapason = false;
  int diapason = -1;
  int diapasonMaximum = -1;  // the number of diapason courses; -1 when there are none
  bool asterixed = false;

  // Rows from the chord's notes on each course of the tuning.
  void Open(const nChord& chord, const nTuning& tuning);
  // A course's spin moved to `position`: below 0 the course loses its note.
  void StepSpin(int row, int position);
  std::string Validate() const;
  // OK: a cleared row removes the course's note and its events; a changed row sets the course's
  // pitch (spelled in `key`) and its barre mark only; unchanged rows are left alone.
  void Apply(nChord& chord, const nTuning& tuning, const CKey& key) const;
};

// "Grace notes group": the grace-note code of a kind-38 event and how it is drawn.
struct CGraceNotesDlg {
  static constexpr std::array<std::string_view, 12> kTypes = {
      "Appogiatura", "Mordent",      "Coulé (shleifer)", "Trill",          "Double appogiatura", "Roulade",
      "Long mordent", "3 note coulé", "Gruppetto",        "Base gruppetto", "Trillo",             "Slide"};
  static constexpr std::array<std::string_view, 6> kFlagValues = {"Half note",  "Quarter note", " 8th note",
                                                                  "16th note", "32d note",     "64th note"};
  static constexpr int kDescending = 64;

  int code = 0;
  int type = 0;
  bool descending = false;
  bool drawLigature = true;
  bool ligatureAbove = false;
  bool straightLigature = false;
  bool ternaryGroup = false;
  bool downwardStem = false;
  bool showTablatureFlag = false;
  bool deleteMe = false;
  int flagValue = 3;
  int rotations = 0;    // -7 to 7
  int startOffset = 0;  // -7 to 7, in scale intervals

  // The combo and "Descending" from the code; a code outside 1-103 leaves them as they are.
  void Open();
  // The drawing flags an event keeps beside its code: bit 0 "Draw ligature", bit 1 "Ligature
  // above notes" and bit 2 "Ternary group" (both only with bit 0), bit 3 "Downward stem", bit 4
  // "Show tablature flag", bit 5 "Straight ligature", bits 16-19 the flag value, bits 24-27 the
  // key rotations and bits 28-31 the start offset (3 bits of magnitude, bit 3 the sign). An
  // event without code and flags (never edited) keeps the defaults.
  void ReadFlags(int eventCode, uint32_t flags);
  uint32_t Flags() const;
  // "%d %s": the absolute rotation and "sharps" when positive, else "flats".
  std::string RotationText() const;
  // The code of the chosen type, plus 64 when descending.
  int Code() const;
  std::string Validate() const;
};

// "Rhythm Pattern": a regular pattern of chords for an empty voice.
struct CRhythmPattern {
  static constexpr std::array<std::string_view, 7> kFlags = {"whole", "half", "quarter", "8th", "16th", "32d", "64th"};
  static constexpr std::array<std::string_view, 5> kBeats = {"whole", "half", "quarter", "8th", "16th"};
  static constexpr int kOpeningBars = 12;
  static constexpr int kPreviewBars = 3;

  int flag = 2;
  int beat = 2;
  int bars = kOpeningBars;
  int chordsPerBar = 4;
  bool printSignature = true;
  bool padOtherVoice = false;
  bool dotted = false;
  bool inputRests = false;
  bool triplets = false;

  // From the line's pattern; bars start at 12 whatever the pattern held.
  void From(const CInstrument::RhythmPattern& pattern);
  // The flag word: the flag, 8 dotted, 16 triplets.
  uint16_t FlagWord() const;
  // The pattern the fields describe, over `bars` bars.
  CInstrument::RhythmPattern Pattern(int barCount) const;
  std::string Validate() const;
};

// "Swap ornament": one ornament kind replaced by another over the document. Both lists hold
// the ornament kinds in kind order, so an entry's index is its kind number.
struct CSwapOrnamentDlg {
  static constexpr std::array<std::string_view, 32> kOrnaments = {
      "Asc. appogiatura",   "Desc. appogiatura",   "Asc. acciaccatura",  "Desc. acciaccatura", "Asc. 2-note coulé",
      "Desc. 2-note coulé", "Asc. double appogiatura", "Desc. double appogiatura", "Asc. mordent", "Desc. mordent",
      "Asc. long mordent",  "Desc. long mordent",  "Asc. roulade",       "Desc. roulade",      "Asc. trill",
      "Desc. trill",        "Asc. 3-note coulé",   "Desc. 3-note coulé", "Asc. gruppetto",     "Desc. gruppetto",
      "Asterisk",           "Accent",              "Vibrato",            "Marcato",            "Pizzicato",
      "Harmonic",           "Staccato",            "Legato",             "Inverse accent",     "Snap down",
      "Snap pull",          "Ghost note"};
  int select = 0;
  int replaceWith = 0;
  std::string Validate() const;
  // The ornament codes of the two chosen kinds; 0 for an entry outside the lists.
  uint8_t SelectedCode() const;
  uint8_t ReplacementCode() const;
};

// The windows that show these dialogs; without them each dialog says that none is installed
// and changes nothing.
class ChordDialogs {
 public:
  virtual ~ChordDialogs() = default;
  virtual bool EditChordProperties(CChordProperties& dialog);
  virtual bool EditGraceNotes(CGraceNotesDlg& dialog);
  virtual bool SwapOrnament(CSwapOrnamentDlg& dialog);
};

ChordDialogs& ChordEditingDialogs();

class ScopedChordDialogs {
 public:
  explicit ScopedChordDialogs(ChordDialogs& dialogs);
  ~ScopedChordDialogs();
  ScopedChordDialogs(const ScopedChordDialogs&) = delete;
  ScopedChordDialogs& operator=(const ScopedChordDialogs&) = delete;

 private:
  ChordDialogs* previous_;
};

// "Chord Properties" on a chord against its instrument's tuning and key; true on OK with the
// chord changed. `dialog` (may be null) brings the asterisk flag in and receives the fields
// left for the caller.
bool EditChordProperties(nChord& chord, const nTuning& tuning, const CKey& key, CChordProperties* dialog = nullptr);
// "Grace notes group" on a grace-note code; true on OK with the new code. `dialog` (may be null)
// brings the drawing flags in and receives the fields left for the caller ("Delete me" among
// them).
bool EditGraceNotes(int& code, CGraceNotesDlg* dialog = nullptr);

}  // namespace vornel
