#include "view/charts/ChordChartDlg.h"

#include <algorithm>
#include <vector>

#include "layout/dialogs/ChordDialogs.h"
#include "model/events/CMetaEvent.h"
#include "model/instrument/CTabInstrument.h"
#include "model/voice/TabChordHelpers.h"
#include "model/voice/nChord.h"
#include "platform/UserPrompts.h"
#include "platform/archive/ArchiveWriter.h"
#include "view/FramePanes.h"

namespace vornel {

namespace {

// Files the chord under the letter, named as made. The chart was emptied, so nothing is asked.
void FileChord(CTabInstrument& chart, char16_t letter, int root, int kind, bool minor, bool skipThird) {
  const std::unique_ptr<nChord> chord = MakeChord(root, kind, minor, skipThird, chart);
  if (chord == nullptr) return;
  chart.alfabeto.description = chord->name;
  chart.alfabeto.AssignChord(letter, *chord);
}

// The insert modes in the order of their commands' ids from 33392.
constexpr std::array<int, 3> kModesByCommand = {1523, 1521, 1522};
constexpr int kFirstModeCommand = 33392;

std::vector<uint8_t> AlfabetoBytes(const CAlfabeto& alfabeto) {
  ArchiveWriter ar;
  ar.SetExactCopy(true);
  alfabeto.Store(ar);
  return ar.TakeBytes();
}

}  // namespace

int LowestCoursePitch(const CTabInstrument& instrument) {
  int lowest = 127;
  const int courses = std::clamp(instrument.tuning.stringCount, 0, static_cast<int>(nTuning::kMaxCourses));
  for (int i = 0; i < courses; ++i) lowest = std::min(lowest, static_cast<int>(instrument.tuning.courses[static_cast<size_t>(i)].pitch));
  return lowest;
}

void AutoFillChart(CTabInstrument& chart, int kind, bool skipThird) {
  chart.alfabeto.RemoveAllChords();
  const int m = LowestCoursePitch(chart);
  for (int minor = 0; minor < 2; ++minor) {
    for (int k = 0; k < 12; ++k)
      FileChord(chart, static_cast<char16_t>(u'A' + minor * 12 + k), m + k, kind, minor != 0, skipThird);
  }
}

void FillCommonChords(CTabInstrument& chart) {
  chart.alfabeto.RemoveAllChords();
  const int m = LowestCoursePitch(chart);
  // The first A above the lowest course, then B, C, D, E, F, G and B flat.
  const int first = ((m + 2) / 12 + 1) * 12 - (m + 2);
  static constexpr std::array<int, 8> kSteps = {0, 2, 3, 5, 7, 8, 10, 1};
  for (int minor = 0; minor < 2; ++minor) {
    for (size_t i = 0; i < kSteps.size(); ++i)
      FileChord(chart, static_cast<char16_t>(u'A' + minor * 8 + static_cast<int>(i)), m + first + kSteps[i], 0,
                minor != 0, true);
  }
}

CChordChartDlg::CChordChartDlg(CTabInstrument* edited) : instrument(edited) {
  source.SetNotifyOnCell(true);
  source.LoadInstrument(instrument);
  source.LoadInstrument(nullptr);
  alfabeto.LoadInstrument(instrument);
}

void CChordChartDlg::AutoFill() {
  if (instrument != nullptr) source.Instrument().tuning.CopyFrom(instrument->tuning);
  AutoFillChart(source.Instrument(), chordType, skipThird);
  source.ClearSelection();
}

nChord* CChordChartDlg::SelectedChord() {
  const char16_t letter = alfabeto.SelectedLetter();
  nChord* chord = instrument != nullptr && letter != 0 ? instrument->alfabeto.FindChordByLetter(letter) : nullptr;
  if (chord == nullptr) Prompts().Beep(BeepKind::kExclamation);
  return chord;
}

bool CChordChartDlg::RenameChord() {
  nChord* chord = SelectedChord();
  if (chord == nullptr || !chord->PromptChordName()) return false;
  Reload();
  return true;
}

bool CChordChartDlg::DeleteChord() {
  nChord* chord = SelectedChord();
  if (chord == nullptr) return false;
  if (Prompts().Ask(kDeleteQuestion, Buttons::kYesNo, MessageKind::kQuestion, kDeleteCaption) != Answer::kYes)
    return false;
  size_t index = 0;
  instrument->alfabeto.FindChordByLetter(alfabeto.SelectedLetter(), &index);
  instrument->alfabeto.chart.erase(index);
  Reload();
  return true;
}

bool CChordChartDlg::ClearAll() {
  if (Prompts().Ask(kClearQuestion, Buttons::kYesNo, MessageKind::kQuestion, kDeleteCaption) != Answer::kYes)
    return false;
  if (instrument != nullptr) instrument->alfabeto.RemoveAllChords();
  Reload();
  return true;
}

bool CChordChartDlg::LoadCommonChords() {
  if (instrument == nullptr) return false;
  if (!instrument->alfabeto.chart.empty() &&
      Prompts().Ask(kClearQuestion, Buttons::kYesNo, MessageKind::kQuestion, kReplaceCaption) != Answer::kYes)
    return false;
  FillCommonChords(*instrument);
  Reload();
  return true;
}

bool EditAlfabetoChord(CTabInstrument* instrument, char16_t letter) {
  nChord* chord = instrument != nullptr && letter != 0 ? instrument->alfabeto.FindChordByLetter(letter) : nullptr;
  if (chord == nullptr) {
    Prompts().Beep(BeepKind::kError);
    return false;
  }
  CMetaEvent* mark = chord->metaEvents.Find(CMetaEvent::kAlfabeto);
  CChordProperties dialog;
  dialog.asterixed = mark != nullptr && mark->cy != 0;
  if (!EditChordProperties(*chord, instrument->tuning, CKey(), &dialog)) return false;
  if (mark != nullptr) mark->cy = dialog.asterixed ? 1 : 0;
  chord->name = dialog.description;
  return true;
}

bool CChordChartDlg::EditChord() {
  if (!EditAlfabetoChord(instrument, alfabeto.SelectedLetter())) return false;
  Reload();
  return true;
}

bool CChordChartDlg::ToggleAsterisk() {
  nChord* chord = SelectedChord();
  if (chord == nullptr) return false;
  CMetaEvent* event = chord->metaEvents.Find(CMetaEvent::kAlfabeto);
  if (event == nullptr) return false;
  event->cy = event->cy != 0 ? 0 : 1;
  Reload();
  return true;
}

bool CChordChartDlg::AssignFromSource() {
  const char16_t from = source.SelectedLetter();
  const char16_t to = alfabeto.SelectedLetter();
  const nChord* chord = from != 0 ? source.Instrument().alfabeto.FindChordByLetter(from) : nullptr;
  if (chord == nullptr || instrument == nullptr) {
    Prompts().Beep(BeepKind::kExclamation);
    return false;
  }
  // A letter chosen in the alfabeto chart, else the first free one.
  const char16_t letter = to != 0 ? to : instrument->alfabeto.ProposeLetter();
  instrument->alfabeto.description = chord->name;
  if (instrument->alfabeto.AssignChord(letter, *chord) == nullptr) return false;
  Reload();
  return true;
}

void CChordChartDlg::Reload() { alfabeto.LoadInstrument(instrument); }

int InsertModeCommand(int mode) {
  for (size_t i = 0; i < kModesByCommand.size(); ++i) {
    if (kModesByCommand[i] == mode) return kFirstModeCommand + static_cast<int>(i);
  }
  return 0;
}

bool ConfigureChordChart(CTabInstrument& instrument, const std::function<void(CChordChartDlg&)>& show) {
  const std::vector<uint8_t> before = AlfabetoBytes(instrument.alfabeto);
  CChordChartDlg core(&instrument);
  for (size_t i = 0; i < kModesByCommand.size(); ++i) {
    if (view::Panes().CommandStateOf(kFirstModeCommand + static_cast<int>(i)).checked.value_or(false))
      core.insertMode = kModesByCommand[i];
  }
  const int mode = core.insertMode;
  show(core);
  if (core.insertMode != mode && InsertModeCommand(core.insertMode) != 0)
    view::Panes().DispatchCommand(InsertModeCommand(core.insertMode));
  return AlfabetoBytes(instrument.alfabeto) != before;
}

}  // namespace vornel
