#include "view/commands/ScoreDialogs.h"

#include "layout/dialogs/SmallDialogs.h"
#include "model/instrument/CInstrumentDlg.h"
#include "platform/ServiceSlots.h"

namespace vornel::view {

namespace {

constexpr const char* kServiceName = "score dialog";

ScoreDialogs g_none;
ObjectSlot<ScoreDialogs> g_dialogs(kServiceName, g_none);

// The default of every dialog: nothing is installed to show it.
bool Missing() {
  ReportMissingService(kServiceName);
  return false;
}

}  // namespace

bool ScoreDialogs::EditTuning(CInstrumentDlg&) { return Missing(); }
bool ScoreDialogs::ChooseCourseTuning(const CInstrumentDlg&, CourseTuningChoice&) { return Missing(); }
bool ScoreDialogs::ChooseGlobalTuningShift(int&) { return Missing(); }
// The octave and bar range windows are the small editing dialogs the front end installs; an
// answer out of range counts as Cancel.
bool ScoreDialogs::ChooseOctaveLimit(COctaveDlg& dialog) {
  return SmallEditingDialogs().Octave(dialog) && dialog.Validate().empty();
}
bool ScoreDialogs::ChooseBarRange(CBarRangeDlg& dialog) {
  return SmallEditingDialogs().BarRange(dialog) && dialog.Validate().empty();
}
CInstrumentArray* ScoreDialogs::InstrumentBase() {
  Missing();
  return nullptr;
}
bool ScoreDialogs::SaveInstrumentBase() { return Missing(); }
std::unique_ptr<CInstrumentDlg> ScoreDialogs::ChooseFromTemplates(const CInstrumentDlg&) {
  Missing();
  return nullptr;
}
bool ScoreDialogs::CustomizeOrnaments(CInstrumentDlg&) { return Missing(); }
bool ScoreDialogs::EditDocumentFonts(CBriotabDoc&) { return Missing(); }
bool ScoreDialogs::ChooseTextureBitmap() { return Missing(); }
bool ScoreDialogs::ToggleChordChart(const CTabInstrument&) { return Missing(); }
bool ScoreDialogs::TextureOn() { return false; }

ScoreDialogs& ScoreCommandDialogs() { return g_dialogs.Get(); }

ScopedScoreDialogs::ScopedScoreDialogs(ScoreDialogs& dialogs) : previous_(g_dialogs.Exchange(&dialogs)) {}
ScopedScoreDialogs::~ScopedScoreDialogs() { g_dialogs.Exchange(previous_); }

}  // namespace vornel::view
