#pragma once
// The small dialogs that editing commands open to ask for a few values, as plain structs with
// their range checks and the rules that couple their controls: the half-step transposition,
// the octave transposition, the bar range, the chain of chord transformations, the slur
// settings and the chord effect. Each only collects values; the caller applies them after OK.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/voice/nChordArray.h"

namespace vornel {

// "Insert new tempo", serving as the general number prompt: the caller sets the caption and the
// range.
struct CTempoDlg {
  std::string caption = "Insert new tempo";
  int minimum = 20;
  int maximum = 300;
  int value = 0;
  std::string Validate() const;
};

// "Transpose".
struct CTransposeDlg {
  int halfSteps = 0;
  bool adjustFingerings = false;
  std::string Validate() const;
};

// "Transpose notes by one octave".
struct COctaveDlg {
  int direction = 0;  // 0 "above", 1 "below"
  int limitPitch = 60;
  // The limit's name, "%s%d" of the pitch class and pitch / 12 (60 gives "C5"); computed when
  // the dialog opens, so it matches the limit from the start.
  std::string NoteName() const;
  std::string Validate() const;
};

// "Copy bar range" (or "Copy sections range" over sections).
struct CBarRangeDlg {
  std::string caption = "Copy bar range";
  int barCount = 1;
  int begin = 1;
  int end = 1;
  // Opening: the end at the bar count; the sliders' range 1 to the count with this tick.
  void Open();
  int TickFrequency() const { return barCount / 10; }
  // Releasing the begin slider keeps begin below end; releasing the end slider keeps end
  // above begin within the count.
  void ReleaseBegin();
  void ReleaseEnd();
  std::string Validate() const;
};

// "Chord transformations": five rows of operation, operand and "Preserve".
struct COperationDlg {
  static constexpr std::array<std::string_view, 17> kOperations = {
      "Do nothing",    "Clone",   "Transpose - intervals by scale", "Transpose - 1/2 steps", "Flip",
      "Mirror",        "Rotate",  "Shift",                          "Cascade",               "Amplify",
      "Tremoloize",    "Rotate flags", "Dot flags",                 "Arpeggiate - up",       "Arpeggiate - down",
      "Arpeggiate - up and down", "Arpeggiate - down and up"};
  static constexpr int kPreserve = ChordOperation::kRepeat;  // with operand 1

  struct Row {
    int operation = 0;
    int operand = 0;
    bool preserve = false;
    int minimum = -12;  // the operand spin's range
    int maximum = 12;
  };
  std::array<Row, 5> rows;
  int count = 0;  // the selected chords, bounding rotate and shift
  std::vector<ChordOperation> result;

  // A row's operation changed: its operand range follows the operation.
  void ChooseOperation(size_t row, int operation);
  // The rows up to the first "Do nothing", each after a preserve marker when checked.
  std::vector<ChordOperation> BuildList() const;
  // "Stack and Resolve >>": the rows join the result and are cleared for further rows.
  void StackAndResolve();
  // "Clear all": the five rows back to "Do nothing".
  void ClearAll();
  // OK: the stacked rows and then the rows present now.
  std::vector<ChordOperation> Finish() const;
  std::string Validate() const;
};

// "Slur control".
struct CSlurControlDlg {
  static constexpr std::array<std::string_view, 14> kTypes = {
      "Simple curve", "Pull",           "Hammer",         "Slide",          "Tenuto",           "Bend up",
      "Bend down",    "Straight line",  "Tied note",      "Curly brakcet",  "Square bracket",   "Transparent note",
      "Dotted line",  "Wide ligature"};
  int steps = 1;     // 1 to 8
  int position = 7;  // 0 to 14, shown as position - 7
  bool above = false;
  bool downwards = false;
  int type = 0;
  int PositionEcho() const { return position - 7; }
  std::string Validate() const;
};

// "Chord effect" on a chord's effect word.
struct CChordEffectDlg {
  static constexpr std::array<std::string_view, 7> kTypes = {"Strum",      "Slide",  "Tremolo", "Portamento",
                                                             "Arpeggio",   "Accent", "Breath"};
  static constexpr std::array<std::string_view, 4> kDivisions = {"Whole", "Half", "Third", "Quarter"};
  int type = 0;
  bool up = false;
  int division = 0;
  int steps = 0;      // 0 to 7: the word keeps three bits
  int alignment = 0;  // 0 "Left", 1 "Right"
  bool visible = false;

  // Type bits 8-11, "Up" when bits 0-1 are 2, division bits 2-3, steps bits 4-6, "Right" when
  // bit 12 is set, visible unless bit 13.
  void From(int32_t word);
  // type << 8 | steps << 4 | division << 2, 0x2000 when hidden, 0x1000 for "Right", 2 for "Up"
  // else 1.
  int32_t Word() const;
  std::string Validate() const;
};

// The windows of the octave and bar range dialogs, which document commands open; without them
// both say that none is installed and answer Cancel.
class SmallDialogs {
 public:
  virtual ~SmallDialogs() = default;
  virtual bool Octave(COctaveDlg& dialog);
  virtual bool BarRange(CBarRangeDlg& dialog);
};

SmallDialogs& SmallEditingDialogs();

class ScopedSmallDialogs {
 public:
  explicit ScopedSmallDialogs(SmallDialogs& dialogs);
  ~ScopedSmallDialogs();
  ScopedSmallDialogs(const ScopedSmallDialogs&) = delete;
  ScopedSmallDialogs& operator=(const ScopedSmallDialogs&) = delete;

 private:
  SmallDialogs* previous_;
};

}  // namespace vornel
