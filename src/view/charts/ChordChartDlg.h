#pragma once
// "Manage alfabeto charts" without its window: a source chart of generated chords and the
// alfabeto chart of the edited instrument, with the dialog's actions on them. Every action on
// a letter without a chord beeps and changes nothing.

#include <array>
#include <functional>
#include <string_view>

#include "view/charts/ChartGrids.h"

namespace vornel {

class CTabInstrument;

// The lowest pitch byte of the instrument's courses in use; 127 when it has none.
int LowestCoursePitch(const CTabInstrument& instrument);

// Fills the chart with chords of `kind` on twelve roots from the instrument's lowest course:
// major on 'A' to 'L', minor on 'M' to 'X' (a chord that cannot be placed leaves its letter
// free). The chart is emptied first.
void AutoFillChart(CTabInstrument& chart, int kind, bool skipThird);

// The eight common chords (A, B, C, D, E, F, G and B flat above the lowest course, without
// their thirds doubled) on 'A' to 'H', their minors on 'I' to 'P'. The chart is emptied first.
void FillCommonChords(CTabInstrument& chart);

// "Chord Properties" on the instrument's alfabeto chord of `letter`, with the asterisk of its
// alfabeto mark; on OK the chord, its asterisk and its name are stored. No instrument or no
// chord: a beep and false.
bool EditAlfabetoChord(CTabInstrument* instrument, char16_t letter);

struct CChordChartDlg {
  static constexpr std::string_view kDeleteQuestion = "OK to delete chord from alfabeto?";
  static constexpr std::string_view kClearQuestion = "OK to clear all alfabeto definitions?";
  static constexpr std::string_view kDeleteCaption = "Please confirm deletion";
  static constexpr std::string_view kReplaceCaption = "Please confirm you wnat to replace all definitions";

  explicit CChordChartDlg(CTabInstrument* instrument);

  CTabInstrument* instrument;  // edited, not owned
  ChordChartGrid source;       // generated chords on the instrument's tuning
  ChordChartGrid alfabeto;     // the instrument's alfabeto
  int insertMode = 1521;       // 1521 chord, 1522 chart, 1523 alfabeto symbol
  int chordType = 0;           // kChordTypeNames
  bool skipThird = false;

  // "Auto fill", also on a change of the chord type or of "skip a third".
  void AutoFill();
  // "Rename chord": the selected letter's chord renamed through the chord-name prompt.
  bool RenameChord();
  // "Delete chord", after the question.
  bool DeleteChord();
  // "Clear all", after the question.
  bool ClearAll();
  // "Load common chords", asking first when the alfabeto has chords.
  bool LoadCommonChords();
  // "Edit chord" on the selected letter's chord.
  bool EditChord();
  // "Asterisk alfabeto": toggles the star of the selected letter's chord.
  bool ToggleAsterisk();
  // A double-click on the source chart: its selected chord goes to the letter selected in the
  // alfabeto chart (asking before it replaces one).
  bool AssignFromSource();

  // The edited instrument's chord of the alfabeto chart's selected letter; null (after a beep)
  // when there is none.
  nChord* SelectedChord();

 private:
  void Reload();
};

// The command of the score view that sets a double-click insert mode (1521 chord, 1522 chart,
// 1523 alfabeto symbol); 0 for another mode.
int InsertModeCommand(int mode);

// "Manage alfabeto charts" on the instrument, edited in place: `show` runs the dialog over the
// core, which starts from the insert mode the score view has checked and hands a changed one
// back to the view. True when the instrument's alfabeto changed.
bool ConfigureChordChart(CTabInstrument& instrument, const std::function<void(CChordChartDlg&)>& show);

}  // namespace vornel
